#include "app/rank_picker.h"

#include "app/child_painting.h"
#include "skinui/text_conversion.h"

namespace yunti {

namespace {

constexpr const wchar_t* kPickerClassName = L"YuntiRankPicker";
constexpr const char* kPickerCaption = "CF军衔等级列表";
constexpr const char* kHintText = "提示：点击图标即可完成选择";

} // namespace

RankPicker::RankPicker(skinui::SkinWindow& skin, const BadgePictures& pictures, PickHandler onPick)
    : skin_(skin), pictures_(pictures), onPick_(std::move(onPick)),
      hintFont_(createUiFont(12, FW_BOLD)) {}

RankPicker::~RankPicker() {
    if (isLoaded()) {
        ::SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
        ::DestroyWindow(hwnd_);
    }
}

void RankPicker::load(HWND mainWindow) {
    if (isLoaded())
        return;
    registerObjectClass<RankPicker>({kPickerClassName, CS_DBLCLKS});
    boxes_.clear();
    // An ordinary top-level window without a parent; the skin gives it its frame.
    const HWND hwnd = ::CreateWindowExW(
        0, kPickerClassName, skinui::toWide(kPickerCaption).c_str(),
        WS_POPUP | WS_CLIPCHILDREN | WS_MINIMIZEBOX, kFormPlace.x, kFormPlace.y, kWidth, kHeight,
        nullptr, nullptr, ::GetModuleHandleW(nullptr), this);
    if (!hwnd)
        return;
    hint_ = createControl(hwnd, L"STATIC", kHintText, SS_OWNERDRAW, 115, 384, 228, 16, 0,
                          static_cast<HFONT>(hintFont_.get()));
    for (int rank = 1; rank <= kRankCount; ++rank) {
        auto box = std::make_unique<PictureBox>();
        const POINT origin = badgeOrigin(rank);
        box->create(hwnd, origin.x, origin.y, kBadgeSize, kBadgeSize);
        box->setPicture(pictures_.badge(rank));
        box->setOnLeftPress([this, rank] { pick(rank); });
        boxes_.push_back(std::move(box));
    }
    skinAndPlace(mainWindow);
    ::ShowWindow(hwnd, SW_SHOW);
    ::UpdateWindow(hwnd);
}

void RankPicker::skinAndPlace(HWND mainWindow) {
    skinui::AttachOptions options;
    options.backgroundColor = 0xFFFFFF;
    options.captionFlags = 0; // no title, no caption buttons, no icon
    options.fixedSize = 0;
    options.dragDisabled = 0;
    options.backgroundMargins = RECT{};
    skin_.attachToWindow(hwnd_, options);
    repaintChildrenOnSize(skin_);

    RECT main{};
    RECT own{};
    ::GetWindowRect(mainWindow, &main);
    ::GetWindowRect(hwnd_, &own);
    const int left = main.left + (main.right - main.left) - kOverlap;
    ::SetWindowPos(hwnd_, nullptr, left, own.top, 0, 0,
                   SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void RankPicker::close() {
    if (isLoaded())
        ::SendMessageW(hwnd_, WM_CLOSE, 0, 0);
}

void RankPicker::pick(int rank) {
    if (const PictureBox* box = badgeBox(rank)) {
        const Picture picture = box->picture();
        if (onPick_)
            onPick_(rank, picture);
    }
    close();
}

const PictureBox* RankPicker::badgeBox(int rank) const {
    if (!isLoaded() || rank < 1 || rank > static_cast<int>(boxes_.size()))
        return nullptr;
    return boxes_[rank - 1].get();
}

void RankPicker::setHandle(HWND hwnd) {
    hwnd_ = hwnd;
    if (!hwnd)
        hint_ = nullptr; // the hint label went with the window
}

LRESULT RankPicker::handleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_ERASEBKGND:
        return 1; // the skin paints the whole window
    case WM_DRAWITEM: {
        const auto& item = *reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
        if (item.CtlType == ODT_STATIC)
            drawLabel(item);
        return TRUE;
    }
    default:
        return ::DefWindowProcW(hwnd_, message, wParam, lParam);
    }
}

} // namespace yunti
