// Attaching a window: the window table, the caption parts, the buffers, the styles and the
// background colour; detaching; the window procedure's handling of unknown windows.

#include "skinned_window_fixture.h"

#include "skinui/skin_window/messages.h"

#include <objidl.h>

#include <cstdint>
#include <optional>
#include <vector>

namespace {

using namespace skinui;
using namespace skinui::testing;
namespace gdip = Gdiplus::DllExports;

// A PNG of width x height filled with `fill`, with one pixel of `marked` at (mx, my).
std::vector<std::uint8_t> pngWithPixel(int width, int height, Gdiplus::ARGB fill, int mx, int my,
                                       Gdiplus::ARGB marked) {
    Gdiplus::GpBitmap* bitmap = nullptr;
    gdip::GdipCreateBitmapFromScan0(width, height, 0, PixelFormat32bppARGB, nullptr, &bitmap);
    if (!bitmap)
        return {};
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            gdip::GdipBitmapSetPixel(bitmap, x, y, x == mx && y == my ? marked : fill);
    IStream* stream = nullptr;
    ::CreateStreamOnHGlobal(nullptr, TRUE, &stream);
    const CLSID png = {0x557cf406, 0x1a04, 0x11d3, {0x9a, 0x73, 0x00, 0x00, 0xf8, 0x1e, 0xf3, 0x2e}};
    gdip::GdipSaveImageToStream(bitmap, stream, &png, nullptr);
    gdip::GdipDisposeImage(bitmap);
    STATSTG stat{};
    stream->Stat(&stat, STATFLAG_NONAME);
    std::vector<std::uint8_t> bytes(static_cast<size_t>(stat.cbSize.QuadPart));
    LARGE_INTEGER zero{};
    stream->Seek(zero, STREAM_SEEK_SET, nullptr);
    ULONG read = 0;
    stream->Read(bytes.data(), static_cast<ULONG>(bytes.size()), &read);
    stream->Release();
    return bytes;
}

using SkinWindowAttach = SkinnedWindowTest;

TEST_F(SkinWindowAttach, WindowsAreNumberedInAttachOrder) {
    SkinWindow& first = skinned(noCaption());
    SkinWindow& second = skinned(noCaption());
    SkinWindow& third = skinned(noCaption());
    EXPECT_EQ(first.windowIndex(), 1);
    EXPECT_EQ(second.windowIndex(), 2);
    EXPECT_EQ(third.windowIndex(), 3);
    ASSERT_EQ(windowTable().size(), 3u);
    EXPECT_EQ(windowTable()[2].owner, &third);
    EXPECT_EQ(windowTable()[2].hwnd, third.hwnd());
    EXPECT_EQ(::GetPropW(third.hwnd(), SkinWindowProperty), &third);
    EXPECT_TRUE(third.isAttached());
}

struct CaptionCase {
    const char* name;
    std::optional<int> flags;
    DWORD style;
    bool maximized;
    int expectedFlags;
    std::vector<RECT> buttons; // x counted back from the window's right edge, y, width, height
    std::optional<POINT> icon;
    bool sysMenuStyle;
};

TEST_F(SkinWindowAttach, CaptionPartsFollowTheFlags) {
    const DWORD base = WS_POPUP | WS_THICKFRAME;
    const std::vector<CaptionCase> cases = {
        // 400 wide: the close button at x = 353, the minimize button at 325.
        {"title close minimize", 22, base, false, 22, {{47, 6, 39, 19}, {75, 6, 28, 19}},
         std::nullopt, true},
        {"omitted, minimize box only", std::nullopt, base | WS_MINIMIZEBOX, false, 1 | 2 | 4 | 16,
         {{47, 6, 39, 19}, {75, 6, 28, 19}}, POINT{11, 11}, true},
        {"omitted, both boxes", std::nullopt, base | WS_MINIMIZEBOX | WS_MAXIMIZEBOX, false, 31,
         {{47, 6, 39, 19}, {75, 6, 28, 19}, {103, 6, 28, 19}}, POINT{11, 11}, true},
        {"standard request plus an extra", 1024 | 32, base, false, 1024 | 32 | 7,
         {{47, 6, 39, 19}, {75, 6, 28, 19}}, POINT{11, 11}, true},
        {"none", 0, base, false, 0, {}, std::nullopt, false},
        {"maximized", 22 | 1, base | WS_MAXIMIZE, true, 23, {{42, 1, 39, 19}, {70, 1, 28, 19}},
         POINT{6, 6}, true},
    };
    for (const CaptionCase& c : cases) {
        SCOPED_TRACE(c.name);
        AttachOptions options;
        options.backgroundColor = 0xFFFFFF;
        options.captionFlags = c.flags;
        SkinWindow& window = skinned(options, 400, 300, c.style);
        ASSERT_EQ(::IsZoomed(window.hwnd()) != FALSE, c.maximized);
        EXPECT_EQ(window.captionFlags(), c.expectedFlags);
        const int cx = window.windowSize().cx;
        if (!c.maximized) {
            EXPECT_EQ(cx, 400);
        }
        ASSERT_EQ(window.captionButtons().size(), c.buttons.size());
        for (size_t i = 0; i < c.buttons.size(); ++i) {
            const RectF b = window.captionButtons()[i]->getBounds();
            EXPECT_EQ(b, makeRectF(static_cast<float>(cx - c.buttons[i].left),
                                   static_cast<float>(c.buttons[i].top),
                                   static_cast<float>(c.buttons[i].right),
                                   static_cast<float>(c.buttons[i].bottom)))
                << "button " << i;
        }
        EXPECT_EQ(window.iconElement().isCreated(), c.icon.has_value());
        if (c.icon) {
            EXPECT_EQ(window.iconElement().getBounds(),
                      makeRectF(static_cast<float>(c.icon->x), static_cast<float>(c.icon->y), 16, 16));
        }
        const LONG_PTR style = ::GetWindowLongPtrW(window.hwnd(), GWL_STYLE);
        EXPECT_EQ((style & WS_SYSMENU) != 0, c.sysMenuStyle);
        EXPECT_EQ(window.systemMenu() != nullptr, c.expectedFlags != 0);
    }
}

TEST_F(SkinWindowAttach, CaptionPartsAreElementsInCreationOrder) {
    AttachOptions options;
    options.backgroundColor = 0xFFFFFF;
    options.captionFlags = 1 | 4 | 16;
    SkinWindow& window = skinned(options);
    const auto& elements = windowTable()[0].elements;
    ASSERT_EQ(elements.size(), 3u);
    EXPECT_EQ(elements[0].elementType, ElementCaptionButton);
    EXPECT_EQ(elements[1].elementType, ElementCaptionButton);
    EXPECT_EQ(elements[2].elementType, ElementPicture);
    EXPECT_EQ(window.captionButtons()[0]->getKind(), CaptionButtonClose);
    EXPECT_EQ(window.captionButtons()[1]->getKind(), CaptionButtonMinimize);
    for (const ElementRecord& element : elements) {
        EXPECT_TRUE(element.visible);
        EXPECT_TRUE(element.focusable);
    }
    EXPECT_EQ(elements[2].id, window.iconElement().getElementId());
}

TEST_F(SkinWindowAttach, BuffersAndLayering) {
    SkinWindow& ordinary = skinned(noCaption(), 400, 300);
    AttachOptions layeredOptions = noCaption();
    layeredOptions.opacity = 200;
    SkinWindow& layered = skinned(layeredOptions, 320, 150);

    const WindowRecord& plainRecord = windowTable()[0];
    EXPECT_TRUE(plainRecord.windowDC);
    EXPECT_EQ(plainRecord.opacity, -1);
    EXPECT_EQ(plainRecord.frame.width(), ::GetSystemMetrics(SM_CXMAXTRACK));
    EXPECT_EQ(plainRecord.frame.height(), ::GetSystemMetrics(SM_CYMAXTRACK));
    EXPECT_EQ(plainRecord.windowBuffer.width(), 400);
    EXPECT_EQ(plainRecord.windowBuffer.height(), 300);
    EXPECT_NE(plainRecord.frame.graphics(), nullptr);
    EXPECT_EQ(plainRecord.layer.dc(), nullptr);
    EXPECT_FALSE(::GetWindowLongPtrW(ordinary.hwnd(), GWL_EXSTYLE) & WS_EX_LAYERED);

    const WindowRecord& layeredRecord = windowTable()[1];
    EXPECT_EQ(layeredRecord.opacity, 200);
    EXPECT_NE(layeredRecord.layer.dc(), nullptr);
    EXPECT_EQ(layeredRecord.layer.width(), 320);
    EXPECT_EQ(layeredRecord.layer.height(), 150);
    EXPECT_TRUE(::GetWindowLongPtrW(layered.hwnd(), GWL_EXSTYLE) & WS_EX_LAYERED);
    EXPECT_EQ(ordinary.tooltipWindow(), nullptr); // made when an element first has a tip
    EXPECT_FALSE(ordinary.animating());
}

TEST_F(SkinWindowAttach, FixedSizeSetsOrClearsTheSizingBorder) {
    struct Case {
        DWORD style;
        int fixedSize;
        bool thickFrame;
    };
    for (const Case c : {Case{WS_POPUP | WS_THICKFRAME, 1, false}, Case{WS_POPUP, 0, true},
                         Case{WS_POPUP | WS_THICKFRAME, 0, true}, Case{WS_POPUP, 1, false}}) {
        AttachOptions options = noCaption();
        options.fixedSize = c.fixedSize;
        SkinWindow& window = skinned(options, 200, 100, c.style);
        EXPECT_EQ((::GetWindowLongPtrW(window.hwnd(), GWL_STYLE) & WS_THICKFRAME) != 0,
                  c.thickFrame)
            << "style " << c.style << " fixedSize " << c.fixedSize;
        EXPECT_EQ(window.fixedSize(), c.fixedSize);
    }
}

TEST_F(SkinWindowAttach, BackgroundColourComesFromThePictureWhenItHasOne) {
    // Pixel (85, 34) of a 100 x 40 picture: the colour at 85 % of each side.
    const std::vector<std::uint8_t> picture =
        pngWithPixel(100, 40, 0xFF102030, 85, 34, 0xFF336699);
    ASSERT_FALSE(picture.empty());

    AttachOptions colourOnly = noCaption();
    EXPECT_EQ(skinned(colourOnly).backgroundColor(), 0xFFFFFFu);

    AttachOptions pictureOnly = noCaption();
    pictureOnly.backgroundColor.reset();
    pictureOnly.backgroundImageBytes = picture;
    EXPECT_EQ(skinned(pictureOnly).backgroundColor(), 0x996633u);

    // A given colour lasts only for windows without a picture: the first redraw takes the
    // picture's.
    AttachOptions both = noCaption();
    both.backgroundImageBytes = picture;
    EXPECT_EQ(skinned(both).backgroundColor(), 0x996633u);

    // Bytes that do not decode and no colour: black.
    const std::uint8_t junk[] = {1, 2, 3, 4};
    AttachOptions undecodable = noCaption();
    undecodable.backgroundColor.reset();
    undecodable.backgroundImageBytes = junk;
    EXPECT_EQ(skinned(undecodable).backgroundColor(), 0u);
}

TEST_F(SkinWindowAttach, FirstRedrawFillsAndPresentsTheBackgroundColour) {
    AttachOptions options = noCaption();
    options.backgroundColor = 0x2040C0; // COLORREF: red 0xC0, green 0x40, blue 0x20
    skinned(options, 200, 100);
    const WindowRecord& record = windowTable()[0];
    // Drawn with alpha 254, so a channel may come out one lower.
    EXPECT_TRUE(nearColor(record.windowBuffer.pixel(100, 50), 0xC04020)) << std::hex
        << record.windowBuffer.pixel(100, 50);
    EXPECT_TRUE(nearColor(record.frame.pixel(100, 50), 0xC04020)) << std::hex
        << record.frame.pixel(100, 50);
}

TEST_F(SkinWindowAttach, DestroyingTheWindowDetachesIt) {
    SkinWindow& window = skinned(noCaption());
    const HWND hwnd = window.hwnd();
    ProbeElement probe;
    probe.create(hwnd, makeRectF(10, 10, 20, 20));
    probe.setTooltip("提示");
    const HWND tooltip = window.tooltipWindow();
    ASSERT_TRUE(::IsWindow(tooltip));
    seenLog().clear();

    ::DestroyWindow(hwnd);
    EXPECT_FALSE(window.isAttached());
    EXPECT_EQ(window.windowIndex(), 0);
    EXPECT_TRUE(windowTable().empty());
    EXPECT_FALSE(probe.isCreated());
    EXPECT_EQ(probe.count(WM_DESTROY), 1u);
    // The previous procedure still gets WM_DESTROY, after the element did.
    EXPECT_EQ(countSeen("previous", WM_DESTROY), 1u);
    EXPECT_FALSE(::IsWindow(tooltip));
    EXPECT_EQ(window.tooltipWindow(), nullptr);
}

TEST_F(SkinWindowAttach, AWindowObjectGoingAwayDetachesFirst) {
    const HWND hwnd = plain();
    const auto previous = ::GetWindowLongPtrW(hwnd, GWLP_WNDPROC);
    {
        SkinWindow window;
        window.attachToWindow(hwnd, noCaption());
        EXPECT_NE(::GetWindowLongPtrW(hwnd, GWLP_WNDPROC), previous);
    }
    EXPECT_EQ(::GetWindowLongPtrW(hwnd, GWLP_WNDPROC), previous);
    EXPECT_EQ(::GetPropW(hwnd, SkinWindowProperty), nullptr);
    EXPECT_TRUE(windowTable().empty());
}

// A window that reaches the skinned procedure without a live SkinWindow gets the default
// procedure instead of a stale object.
TEST_F(SkinWindowAttach, ProcedureWithoutAKnownWindowFallsBackToTheDefault) {
    SkinWindow& window = skinned(noCaption());
    const auto skinnedProc = ::GetWindowLongPtrW(window.hwnd(), GWLP_WNDPROC);
    EXPECT_EQ(::SendMessageW(window.hwnd(), BackgroundColorMessage, 0, 0), 0xFFFFFF);

    const HWND stranger = plain();
    ::SetWindowLongPtrW(stranger, GWLP_WNDPROC, skinnedProc);
    EXPECT_EQ(::SendMessageW(stranger, BackgroundColorMessage, 0, 0), 0); // no property

    SkinWindow neverAttached;
    ::SetPropW(stranger, SkinWindowProperty, &neverAttached); // an object with no record
    EXPECT_EQ(::SendMessageW(stranger, BackgroundColorMessage, 0, 0), 0);
    ::SetPropW(stranger, SkinWindowProperty, &window); // a record, but for another window
    EXPECT_EQ(::SendMessageW(stranger, BackgroundColorMessage, 0, 0), 0);
    ::RemovePropW(stranger, SkinWindowProperty);
    ::DestroyWindow(stranger);
}

} // namespace
