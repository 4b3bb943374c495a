#pragma once
// RankPicker: one of the two windows with the grid of the 103 rank badges. The main window
// owns one for the present rank and one for the target rank; a click on a badge reports
// the rank and its picture to the main window and closes the picker.

#include "app/window_object.h"
#include "app/badge_pictures.h"
#include "app/picture_box.h"
#include "skinui/skin_window/skin_window.h"
#include "skinui/unique_handle.h"

#include <windows.h>

#include <functional>
#include <memory>
#include <vector>

namespace yunti {

class RankPicker final {
  public:
    // Called with the rank picked (1..103) and its badge picture, before the picker closes.
    using PickHandler = std::function<void(int rank, const Picture& picture)>;

    static constexpr int kWidth = 364;
    static constexpr int kHeight = 422;
    static constexpr POINT kFormPlace{50, 50};
    // How far a picker overlaps the main window's right edge.
    static constexpr int kOverlap = 12;
    static constexpr int kBadgeSize = 30;

    // `skin` is the picker's SkinWindow, attached anew each time the picker is loaded.
    RankPicker(skinui::SkinWindow& skin, const BadgePictures& pictures, PickHandler onPick);
    // Closes the picker when it is loaded.
    ~RankPicker();
    RankPicker(const RankPicker&) = delete;
    RankPicker& operator=(const RankPicker&) = delete;

    // Loads the picker: the window with its hint and badges, then its created event (skin
    // the window, place it beside `mainWindow`), then shows it. Nothing when loaded.
    void load(HWND mainWindow);
    // Closes the picker (WM_CLOSE); nothing when it is not loaded.
    void close();
    bool isLoaded() const { return hwnd_ != nullptr && ::IsWindow(hwnd_); }
    HWND hwnd() const { return hwnd_; }

    // The click on the badge of `rank`: reports it, then closes the picker.
    void pick(int rank);

    // The badge box of rank 1..103 while the picker is loaded; null otherwise.
    const PictureBox* badgeBox(int rank) const;
    HWND hintLabel() const { return hint_; }

    // Top left corner of the badge of rank r: ten columns on a 35-pixel pitch from (10, 23).
    static constexpr POINT badgeOrigin(int rank) {
        return POINT{10 + 35 * ((rank - 1) % 10), 23 + 35 * ((rank - 1) / 10)};
    }

  private:
    template <typename> friend LRESULT CALLBACK objectWindowProc(HWND, UINT, WPARAM, LPARAM);
    void setHandle(HWND hwnd);
    LRESULT handleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    // The created event: skin the window and put it beside the main window.
    void skinAndPlace(HWND mainWindow);

    skinui::SkinWindow& skin_;
    const BadgePictures& pictures_;
    PickHandler onPick_;
    skinui::UniqueGdiObject hintFont_;
    HWND hwnd_ = nullptr;
    HWND hint_ = nullptr;
    // Kept after the window closes (a pick closes it from inside a box's own message) and
    // replaced at the next load.
    std::vector<std::unique_ptr<PictureBox>> boxes_;
};

} // namespace yunti
