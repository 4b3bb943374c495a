#include "skinui/skin_window/skin_window.h"

#include "skinui/library/color.h"
#include "skinui/library/window_table.h"
#include "skinui/skin_window/messages.h"
#include "skinui/skin_window/redraw_window.h"

#include <commctrl.h>

namespace skinui {

SkinWindow::SkinWindow() = default;

SkinWindow::~SkinWindow() {
    if (previousWndProc_ && hwnd_)
        detachWindow(hwnd_);
}

void addWindowStyle(HWND hwnd, LONG_PTR bits, bool extended) {
    const int which = extended ? GWL_EXSTYLE : GWL_STYLE;
    const LONG_PTR style = ::GetWindowLongPtrW(hwnd, which);
    if ((style & bits) == 0)
        ::SetWindowLongPtrW(hwnd, which, style | bits);
}

void SkinWindow::attachToWindow(HWND hwnd, const AttachOptions& options) {
    appliedRegion_.reset(); // a window of its own: its region is set at the first redraw
    backgroundImage_.loadFromBytes(options.backgroundImageBytes);

    COLORREF color = options.backgroundColor.value_or(0);
    if (!options.backgroundColor) {
        // A picture that did not decode reads as pixel 0: black.
        const int x = static_cast<int>(static_cast<double>(backgroundImage_.width()) * 0.85);
        const int y = static_cast<int>(static_cast<double>(backgroundImage_.height()) * 0.85);
        color = argbToColorref(backgroundImage_.pixel(x, y)).color;
    }

    int flags = options.captionFlags.value_or(0);
    if (!options.captionFlags || flags != 0)
        addWindowStyle(hwnd, WS_SYSMENU, false);
    if (!options.captionFlags || (flags & CaptionStandard)) {
        const LONG_PTR style = ::GetWindowLongPtrW(hwnd, GWL_STYLE);
        flags |= CaptionIcon | CaptionTitle | CaptionClose;
        if (style & WS_MAXIMIZEBOX)
            flags |= CaptionMaximize;
        if (style & WS_MINIMIZEBOX)
            flags |= CaptionMinimize;
    }

    const LONG_PTR style = ::GetWindowLongPtrW(hwnd, GWL_STYLE);
    if (options.fixedSize != 0 && (style & WS_THICKFRAME))
        ::SetWindowLongPtrW(hwnd, GWL_STYLE, style & ~static_cast<LONG_PTR>(WS_THICKFRAME));
    else if (options.fixedSize == 0 && !(style & WS_THICKFRAME))
        ::SetWindowLongPtrW(hwnd, GWL_STYLE, style | WS_THICKFRAME);

    captionFlags_ = flags;
    backgroundColor_ = color;
    fixedSize_ = options.fixedSize;
    dragDisabled_ = options.dragDisabled;
    edgeEffect_ = options.edgeEffect;
    frameStyle_ = options.frameStyle;
    if (frameStyle_ == 1)
        backgroundMargins_ = options.backgroundMargins;

    setUpWindow(hwnd, options.imageDrawMode, options.fadeElements, options.opacity);
}

HWND SkinWindow::ensureTooltipWindow() {
    if (tooltipWindow_ || !isAttached())
        return tooltipWindow_;
    // The tooltip class lives in comctl32; make sure it is registered.
    INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_WIN95_CLASSES};
    ::InitCommonControlsEx(&controls);
    tooltipWindow_ = ::CreateWindowExW(0, TOOLTIPS_CLASSW, L"", TTS_ALWAYSTIP, 0, 0, 0, 0,
                                       nullptr, nullptr, nullptr, nullptr);
    return tooltipWindow_;
}

WNDPROC SkinWindow::bindWindowHandle(HWND hwnd) {
    ::SetPropW(hwnd, SkinWindowProperty, static_cast<HANDLE>(this));
    if (WindowRecord* record = windowRecord(windowIndex_))
        record->owner = this;
    return &SkinWindow::skinnedWindowProc;
}

void SkinWindow::setUpWindow(HWND hwnd, int imageDrawMode, int fadeElements, int opacity) {
    WindowTable& table = windowTable();
    windowIndex_ = static_cast<int>(table.size()) + 1;
    table.emplace_back();
    hwnd_ = hwnd;

    WindowRecord& record = table.back();
    record.hwnd = hwnd;
    record.imageDrawMode = imageDrawMode;
    record.fadeElements = fadeElements;
    record.opacity = opacity;
    const WNDPROC procedure = bindWindowHandle(hwnd);

    ::GetWindowRect(hwnd, &record.windowRect);
    windowSize_ = SIZE{record.windowRect.right - record.windowRect.left,
                       record.windowRect.bottom - record.windowRect.top};
    record.windowDC = WindowDc(hwnd);

    // The frame buffer is as large as any window can be tracked to, so that sizing and
    // maximizing never reallocate it.
    record.frame = BackBuffer::compatibleWith(record.windowDC.get());
    record.frame.createBackBuffer(::GetSystemMetrics(SM_CXMAXTRACK),
                                  ::GetSystemMetrics(SM_CYMAXTRACK));
    record.windowBuffer = BackBuffer::compatibleWith(record.windowDC.get());
    record.windowBuffer.createBackBuffer(windowSize_.cx, windowSize_.cy);
    if (opacity != -1) {
        record.layer = BackBuffer::compatibleWith(record.windowDC.get());
        record.layer.createBackBuffer(windowSize_.cx, windowSize_.cy);
        addWindowStyle(hwnd, WS_EX_LAYERED, true);
    }

    previousWndProc_ = reinterpret_cast<WNDPROC>(::SetWindowLongPtrW(
        hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(procedure)));

    if (captionFlags_ != 0) {
        buildCaptionParts();
        systemMenu_ = ::GetSystemMenu(hwnd, FALSE);
    }

    redrawWindow();
}

// The caption parts, right to left from the window's right edge: the close button, then the
// other buttons in the order of their bits, and the icon at the top left.
void SkinWindow::buildCaptionParts() {
    const int margin = ::IsZoomed(hwnd_) ? 0 : 5; // the frame margin: none while maximized
    int x = windowSize_.cx - margin - 3;
    const int y = margin + 1;
    // A SkinWindow attached again (the message box's is, for every box) builds its parts
    // anew: the buttons of the window before lost their elements with it.
    captionButtons_.clear();
    if (captionFlags_ & CaptionClose) {
        x -= 39;
        captionButtons_.push_back(std::make_unique<SkinCaptionButton>());
        captionButtons_.back()->create(hwnd_, x, y, 39, 19, CaptionButtonClose);
    }
    for (int kind : {CaptionButtonMaximize, CaptionButtonMinimize, CaptionButtonMenu,
                     CaptionButtonSkin, CaptionButtonFeedback, CaptionButtonSettings}) {
        if (!(captionFlags_ & kind))
            continue;
        x -= 28;
        captionButtons_.push_back(std::make_unique<SkinCaptionButton>());
        captionButtons_.back()->create(hwnd_, x, y, 28, 19, kind);
    }
    if (captionFlags_ & CaptionIcon)
        iconElement_.create(hwnd_, margin + 6, margin + 6, 16, 16);
}

void SkinWindow::setElementCallback(ElementEvent event, ElementCallback callback) {
    elementCallbacks_[static_cast<size_t>(event)] = std::move(callback);
}

void SkinWindow::callElementCallback(ElementEvent event, int elementIndex) {
    const ElementRecord* element = elementRecord(windowIndex_, elementIndex);
    // A copy: the callback may replace itself.
    const ElementCallback callback = elementCallbacks_[static_cast<size_t>(event)];
    if (!element || !callback)
        return;
    callback(hwnd_, element->id, element->control, element->elementType);
}

} // namespace skinui
