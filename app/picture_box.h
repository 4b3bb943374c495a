#pragma once
// PictureBox: a small child window that shows a picture over the skinned window behind it
// and reports a left press. The rank badges of the main window and of the pickers are
// picture boxes.

#include "app/window_object.h"
#include "skinui/skin_image/skin_image.h"

#include <windows.h>

#include <functional>
#include <memory>

namespace yunti {

// Pictures are decoded once and shared: copying a picture from one box to another shares
// the same decoded image, which nobody changes after loading.
using Picture = std::shared_ptr<const skinui::SkinImage>;

class PictureBox final {
  public:
    using PressHandler = std::function<void()>;

    PictureBox() = default;
    // Destroys the box's window when it still exists.
    ~PictureBox();
    PictureBox(const PictureBox&) = delete;
    PictureBox& operator=(const PictureBox&) = delete;

    // Creates the box as a child of `parent` at (x, y), width x height. False when the
    // window could not be created.
    bool create(HWND parent, int x, int y, int width, int height);

    HWND hwnd() const { return hwnd_; }

    // Shows `picture` (null: nothing) and repaints.
    void setPicture(Picture picture);
    const Picture& picture() const { return picture_; }

    // Called on a left press inside the box. The handler may destroy the box's window (a
    // pick closes its picker); the box touches nothing of itself after calling it.
    void setOnLeftPress(PressHandler handler) { onLeftPress_ = std::move(handler); }

    // Draws the box as it looks into dc at (0, 0): the skin behind it, then the picture at
    // its natural size from the top left corner. WM_PAINT and WM_PRINTCLIENT use it.
    void paint(HDC dc) const;

  private:
    template <typename> friend LRESULT CALLBACK objectWindowProc(HWND, UINT, WPARAM, LPARAM);
    void setHandle(HWND hwnd) { hwnd_ = hwnd; }
    LRESULT handleMessage(UINT message, WPARAM wParam, LPARAM lParam);

    HWND hwnd_ = nullptr;
    Picture picture_;
    PressHandler onLeftPress_;
};

// The window class of picture boxes.
inline constexpr const wchar_t* kPictureBoxClassName = L"YuntiPictureBox";

} // namespace yunti
