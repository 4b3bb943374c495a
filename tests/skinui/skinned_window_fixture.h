#pragma once
// Real top-level windows to skin in tests, and a probe element that records what it is sent.

#include "skinui/controls/skin_control.h"
#include "skinui/library/window_table.h"
#include "skinui/skin_window/skin_window.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <cstdint>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

namespace skinui {

inline void PrintTo(const RectF& r, std::ostream* out) {
    *out << "(" << r.x << ", " << r.y << ", " << r.width << ", " << r.height << ")";
}

} // namespace skinui

namespace skinui::testing {

// One message as an element or a window procedure saw it.
struct Seen {
    UINT message = 0;
    WPARAM wParam = 0;
    LPARAM lParam = 0;
    bool direct = false;
    std::string who;
};

// The messages seen, in order, by every probe and plain window procedure of a test.
inline std::vector<Seen>& seenLog() {
    static std::vector<Seen> log;
    return log;
}

inline size_t countSeen(const std::string& who, UINT message) {
    size_t n = 0;
    for (const Seen& seen : seenLog())
        n += seen.who == who && seen.message == message;
    return n;
}

// An element kind of the tests' own: records every message its handler gets.
class ProbeElement final : public SkinControl {
  public:
    explicit ProbeElement(std::string name = "probe") : name_(std::move(name)) {}

    void create(HWND parent, RectF bounds, int visible = 1, bool focusable = true,
                ElementType type = ElementButton) {
        SkinControl::create(parent, bounds, type, visible, focusable);
    }

    LRESULT handleMessage(HWND, UINT message, WPARAM wParam, LPARAM lParam, int, int,
                          bool direct) override {
        seenLog().push_back({message, wParam, lParam, direct, name_});
        return 7;
    }

    size_t count(UINT message) const { return countSeen(name_, message); }
    const std::string& name() const { return name_; }

  private:
    std::string name_;
};

// The procedure of the test windows before they are skinned: logs under "previous".
inline LRESULT CALLBACK plainWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    seenLog().push_back({message, wParam, lParam, false, "previous"});
    return ::DefWindowProcW(hwnd, message, wParam, lParam);
}

inline const wchar_t* plainWindowClass() {
    static const wchar_t* name = [] {
        WNDCLASSEXW windowClass{};
        windowClass.cbSize = sizeof(windowClass);
        windowClass.style = CS_DBLCLKS;
        windowClass.lpfnWndProc = plainWindowProc;
        windowClass.hInstance = ::GetModuleHandleW(nullptr);
        windowClass.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
        windowClass.lpszClassName = L"YuntiTestWindow";
        ::RegisterClassExW(&windowClass);
        return L"YuntiTestWindow";
    }();
    return name;
}

inline HWND createPlainWindow(int width = 400, int height = 300,
                              DWORD style = WS_POPUP | WS_THICKFRAME | WS_MINIMIZEBOX) {
    return ::CreateWindowExW(0, plainWindowClass(), L"test", style, 100, 100, width, height,
                             nullptr, nullptr, ::GetModuleHandleW(nullptr), nullptr);
}

inline void pumpMessages() {
    MSG msg;
    for (int round = 0; round < 3; ++round) {
        while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        }
        ::Sleep(5);
    }
}

// Each of the RGB channels of 0xAARRGGBB within one of 0xRRGGBB (colours drawn with alpha
// 254 come out premultiplied, a channel one lower).
inline bool nearColor(std::uint32_t argb, std::uint32_t rgb) {
    for (int shift : {0, 8, 16}) {
        const int a = static_cast<int>((argb >> shift) & 0xFF);
        const int b = static_cast<int>((rgb >> shift) & 0xFF);
        if (a - b > 1 || b - a > 1)
            return false;
    }
    return true;
}

inline LPARAM at(int x, int y) {
    return MAKELPARAM(x, y);
}

// Each test starts with an empty window table and destroys the windows it made.
class SkinnedWindowTest : public ::testing::Test {
  protected:
    void SetUp() override {
        seenLog().clear();
        ASSERT_TRUE(windowTable().empty());
    }

    void TearDown() override {
        for (HWND hwnd : windows_)
            if (::IsWindow(hwnd))
                ::DestroyWindow(hwnd);
        pumpMessages();
        EXPECT_TRUE(windowTable().empty());
        skins_.clear();
    }

    // A plain window skinned with the options; the SkinWindow lives as long as the test.
    SkinWindow& skinned(const AttachOptions& options = {}, int width = 400, int height = 300,
                        DWORD style = WS_POPUP | WS_THICKFRAME | WS_MINIMIZEBOX) {
        HWND hwnd = createPlainWindow(width, height, style);
        EXPECT_NE(hwnd, nullptr);
        windows_.push_back(hwnd);
        skins_.push_back(std::make_unique<SkinWindow>());
        skins_.back()->attachToWindow(hwnd, options);
        return *skins_.back();
    }

    HWND plain(int width = 400, int height = 300) {
        HWND hwnd = createPlainWindow(width, height);
        windows_.push_back(hwnd);
        return hwnd;
    }

    static AttachOptions noCaption() {
        AttachOptions options;
        options.backgroundColor = 0xFFFFFF;
        options.captionFlags = 0;
        return options;
    }
    // Without the sizing border, which takes the mouse over the window's outer 8 pixels.
    static AttachOptions noCaptionFixedSize() {
        AttachOptions options = noCaption();
        options.fixedSize = 1;
        return options;
    }

    std::vector<HWND> windows_;
    std::vector<std::unique_ptr<SkinWindow>> skins_;
};

} // namespace skinui::testing
