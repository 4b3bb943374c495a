// Picture elements: still pictures in their rectangle, the frame timer chain of an animated
// GIF with each frame's delay, pictures that do not decode, replacing the picture, pictures
// from icons, and the window's caption icon.

#include "skinui/controls/element_painting.h"
#include "skinui/controls/skin_picture.h"
#include "skinui/drawing/primitives.h"
#include "skinui/skin_window/element_dispatch.h"
#include "skinui/skin_window/messages.h"
#include "skinui/skinned_window_fixture.h"
#include "skinui/pictures.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <initializer_list>
#include <string>
#include <vector>

namespace {

using namespace skinui;
using namespace skinui::testing;
using Bytes = std::vector<std::uint8_t>;

// --- a small GIF89a writer ---------------------------------------------------------------

// The palette of the GIFs below.
enum GifColor : std::uint8_t { GifRed, GifGreen, GifBlue, GifWhite };
constexpr std::uint32_t GifRgb[] = {0xFF0000, 0x00FF00, 0x0000FF, 0xFFFFFF};

struct GifFrame {
    GifColor color;        // the whole frame in one colour
    std::uint16_t delay;   // hundredths of a second
};

// Appends LZW codes least significant bit first.
class CodeWriter {
  public:
    void write(unsigned code, int bits) {
        for (int i = 0; i < bits; ++i) {
            if (used_ == 0)
                bytes_.push_back(0);
            bytes_.back() |= static_cast<std::uint8_t>(((code >> i) & 1) << used_);
            used_ = (used_ + 1) % 8;
        }
    }
    const Bytes& bytes() const { return bytes_; }

  private:
    Bytes bytes_;
    int used_ = 0;
};

// An animated GIF of width x height that loops for ever: one full-size frame per entry, each
// with a graphic control extension carrying its delay. The image data uses a minimum code
// size of 2 and a clear code before every two pixels, so every code stays 3 bits wide.
Bytes animatedGif(int width, int height, std::initializer_list<GifFrame> frames) {
    Bytes gif = {'G', 'I', 'F', '8', '9', 'a'};
    auto add16 = [&gif](int value) {
        gif.push_back(static_cast<std::uint8_t>(value & 0xFF));
        gif.push_back(static_cast<std::uint8_t>(value >> 8));
    };
    add16(width);
    add16(height);
    gif.insert(gif.end(), {0x81, 0, 0}); // a global table of 4 colours
    for (std::uint32_t rgb : GifRgb)
        gif.insert(gif.end(), {static_cast<std::uint8_t>(rgb >> 16),
                               static_cast<std::uint8_t>(rgb >> 8), static_cast<std::uint8_t>(rgb)});
    gif.insert(gif.end(), {0x21, 0xFF, 0x0B, 'N', 'E', 'T', 'S', 'C', 'A', 'P', 'E', '2', '.', '0',
                           0x03, 0x01, 0x00, 0x00, 0x00});
    constexpr unsigned ClearCode = 4, EndCode = 5;
    for (const GifFrame& frame : frames) {
        gif.insert(gif.end(), {0x21, 0xF9, 0x04, 0x04}); // graphic control: keep the frame
        add16(frame.delay);
        gif.insert(gif.end(), {0x00, 0x00});
        gif.push_back(0x2C); // image descriptor at (0, 0), no local table
        add16(0);
        add16(0);
        add16(width);
        add16(height);
        gif.push_back(0x00);
        CodeWriter codes;
        for (int pixel = 0; pixel < width * height; ++pixel) {
            if (pixel % 2 == 0)
                codes.write(ClearCode, 3);
            codes.write(frame.color, 3);
        }
        codes.write(EndCode, 3);
        gif.push_back(2); // minimum code size
        const Bytes& data = codes.bytes();
        for (size_t at = 0; at < data.size(); at += 255) {
            const size_t length = std::min<size_t>(255, data.size() - at);
            gif.push_back(static_cast<std::uint8_t>(length));
            gif.insert(gif.end(), data.begin() + static_cast<std::ptrdiff_t>(at),
                       data.begin() + static_cast<std::ptrdiff_t>(at + length));
        }
        gif.push_back(0x00);
    }
    gif.push_back(0x3B);
    return gif;
}

// --- what the code under test passes to SetTimer -----------------------------------------

// While it lives, this program's import of user32's SetTimer points at a recorder that
// notes each call and then makes it.
class SetTimerRecorder {
  public:
    struct Call {
        HWND hwnd;
        UINT_PTR id;
        UINT period;
    };

    SetTimerRecorder() {
        slot_ = importSlot("user32.dll", "SetTimer");
        if (!slot_)
            return;
        real_ = reinterpret_cast<SetTimerFunction>(*slot_);
        active() = this;
        patch(reinterpret_cast<ULONG_PTR>(&recordingSetTimer));
    }
    ~SetTimerRecorder() {
        if (slot_)
            patch(reinterpret_cast<ULONG_PTR>(real_));
        active() = nullptr;
    }
    SetTimerRecorder(const SetTimerRecorder&) = delete;
    SetTimerRecorder& operator=(const SetTimerRecorder&) = delete;

    bool installed() const { return slot_ != nullptr; }
    std::vector<Call>& calls() { return calls_; }
    // The periods of the calls for one timer id, in order.
    std::vector<UINT> periods(UINT_PTR id) const {
        std::vector<UINT> result;
        for (const Call& call : calls_)
            if (call.id == id)
                result.push_back(call.period);
        return result;
    }

  private:
    using SetTimerFunction = UINT_PTR(WINAPI*)(HWND, UINT_PTR, UINT, TIMERPROC);

    static SetTimerRecorder*& active() {
        static SetTimerRecorder* recorder = nullptr;
        return recorder;
    }

    static UINT_PTR WINAPI recordingSetTimer(HWND hwnd, UINT_PTR id, UINT period, TIMERPROC proc) {
        SetTimerRecorder* recorder = active();
        recorder->calls_.push_back({hwnd, id, period});
        return recorder->real_(hwnd, id, period, proc);
    }

    // The import address table entry of dll!function in the program's own image.
    static ULONG_PTR* importSlot(const char* dll, const char* function) {
        auto* base = reinterpret_cast<std::uint8_t*>(::GetModuleHandleW(nullptr));
        const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
        const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
        const IMAGE_DATA_DIRECTORY& imports =
            nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
        if (imports.VirtualAddress == 0)
            return nullptr;
        for (auto* descriptor =
                 reinterpret_cast<const IMAGE_IMPORT_DESCRIPTOR*>(base + imports.VirtualAddress);
             descriptor->Name != 0; ++descriptor) {
            if (_stricmp(reinterpret_cast<const char*>(base + descriptor->Name), dll) != 0)
                continue;
            const auto* names = reinterpret_cast<const IMAGE_THUNK_DATA*>(
                base + (descriptor->OriginalFirstThunk ? descriptor->OriginalFirstThunk
                                                       : descriptor->FirstThunk));
            auto* slots = reinterpret_cast<IMAGE_THUNK_DATA*>(base + descriptor->FirstThunk);
            for (; names->u1.AddressOfData != 0; ++names, ++slots) {
                if (IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal))
                    continue;
                const auto* byName =
                    reinterpret_cast<const IMAGE_IMPORT_BY_NAME*>(base + names->u1.AddressOfData);
                if (std::strcmp(reinterpret_cast<const char*>(byName->Name), function) == 0)
                    return reinterpret_cast<ULONG_PTR*>(&slots->u1.Function);
            }
        }
        return nullptr;
    }

    void patch(ULONG_PTR value) {
        DWORD old = 0;
        ::VirtualProtect(slot_, sizeof(*slot_), PAGE_READWRITE, &old);
        *slot_ = value;
        ::VirtualProtect(slot_, sizeof(*slot_), old, &old);
    }

    ULONG_PTR* slot_ = nullptr;
    SetTimerFunction real_ = nullptr;
    std::vector<Call> calls_;
};

// --- the tests -----------------------------------------------------------------------------

class Pictures : public SkinnedWindowTest {
  protected:
    // A layered white window, so what reaches the screen can be read from its layer.
    SkinWindow& pictureWindow() {
        AttachOptions options = noCaption();
        options.opacity = 255;
        return skinned(options, 200, 120);
    }

    static const WindowRecord& record(const SkinWindow& window) {
        return *windowRecord(window.windowIndex());
    }
    static int indexOf(const SkinControl& control) {
        return findElementIndex(control.getWindowIndex(), control.getElementId());
    }
    static UINT_PTR timerOf(const SkinControl& control) {
        return elementTimerId(control.getWindowIndex(), indexOf(control));
    }
    // One tick of the element's timer, delivered as the window delivers element timers.
    static void tick(const SkinWindow& window, const SkinControl& control) {
        dispatchToElement(window.windowIndex(), indexOf(control), window.hwnd(), WM_TIMER,
                          timerOf(control), 0, true);
    }
    // What the screen shows at the centre of the control.
    static std::uint32_t shown(const SkinWindow& window, const SkinControl& control) {
        const RectF b = control.getBounds();
        return record(window).layer.pixel(static_cast<int>(b.x + b.width / 2),
                                          static_cast<int>(b.y + b.height / 2));
    }
};

TEST(FrameDelays, ZeroDelaysAndFramesWithoutADelay) {
    std::vector<std::int32_t> delays{10, 0, 20, 0};
    fixZeroDelays(delays);
    EXPECT_EQ(delays, (std::vector<std::int32_t>{10, 10, 20, 10}));
    EXPECT_EQ(framePeriodMs(delays, 2), 200);
    EXPECT_EQ(framePeriodMs(delays, 4), 100) << "past the last delay";
    EXPECT_EQ(framePeriodMs({}, 0), 100);
    EXPECT_EQ(framePeriodMs({0}, 0), 0);
}

TEST_F(Pictures, AnimatedGifShowsEachFrameForItsDelay) {
    const Bytes gif =
        animatedGif(4, 4, {{GifRed, 10}, {GifGreen, 20}, {GifBlue, 0}});
    struct Case {
        bool fixZeroDelays;
        std::vector<UINT> periods; // frames 0, 1, 2, then 0 again
    };
    for (const Case& c : {Case{true, {100, 200, 100, 100}}, Case{false, {100, 200, 0, 100}}}) {
        SCOPED_TRACE(c.fixZeroDelays ? "zero delays fixed" : "zero delays kept");
        SkinWindow& window = pictureWindow();
        SetTimerRecorder timers;
        ASSERT_TRUE(timers.installed());
        SkinPicture picture;
        picture.create(window.hwnd(), 20, 30, 40, 30, gif, 1, c.fixZeroDelays);
        ASSERT_EQ(picture.frameCount(), 3);
        EXPECT_TRUE(picture.animationStarted());
        const std::uint32_t expectedColors[] = {GifRgb[0], GifRgb[1], GifRgb[2], GifRgb[0]};
        for (size_t frame = 0; frame < 4; ++frame) {
            if (frame > 0)
                tick(window, picture);
            EXPECT_TRUE(colorNear(shown(window, picture), expectedColors[frame])) << frame;
            EXPECT_EQ(picture.currentFrame(), static_cast<int>(frame % 3) + 1);
        }
        EXPECT_EQ(timers.periods(timerOf(picture)), c.periods);
        for (const auto& call : timers.calls())
            EXPECT_EQ(call.hwnd, window.hwnd());

        // A repaint in between neither advances the chain nor re-arms it, and a window-wide
        // redraw keeps the frame on the screen.
        picture.redraw();
        window.redrawWindow();
        EXPECT_TRUE(colorNear(shown(window, picture), GifRgb[0]));
        EXPECT_EQ(picture.currentFrame(), 1);
        EXPECT_EQ(timers.periods(timerOf(picture)).size(), 4u);

        // Stopped: frame 0 at once; the tick that was pending finds it still and ends.
        tick(window, picture);
        ASSERT_TRUE(colorNear(shown(window, picture), GifRgb[1]));
        EXPECT_EQ(picture.animate(0), 0);
        EXPECT_TRUE(colorNear(shown(window, picture), GifRgb[0]));
        tick(window, picture);
        EXPECT_TRUE(colorNear(shown(window, picture), GifRgb[0]));
        EXPECT_FALSE(::KillTimer(window.hwnd(), timerOf(picture))) << "the tick stopped it";
        picture.destroy();
        ::DestroyWindow(window.hwnd());
        pumpMessages();
    }
}

TEST_F(Pictures, StillPictureIsStretchedIntoItsRectangleOnEveryPaint) {
    SkinWindow& window = pictureWindow();
    // Left half red, right half blue, 40 x 20 pixels: stretched twice over, so that the
    // smoothing blends only the pixels next to the middle and the edges.
    const Bytes bmp = bmpBytes(40, 20, [](int x, int) { return x < 20 ? RGB(255, 0, 0) : RGB(0, 0, 255); });
    SkinPicture picture;
    picture.create(window.hwnd(), 40, 20, 80, 40, bmp);
    EXPECT_EQ(picture.frameCount(), 1);
    const WindowRecord& w = record(window);
    EXPECT_TRUE(colorNear(w.layer.pixel(45, 25), 0xFF0000));
    EXPECT_TRUE(colorNear(w.layer.pixel(75, 55), 0xFF0000));
    EXPECT_TRUE(colorNear(w.layer.pixel(85, 25), 0x0000FF));
    EXPECT_TRUE(colorNear(w.layer.pixel(115, 55), 0x0000FF));
    EXPECT_TRUE(colorNear(w.layer.pixel(38, 40), 0xFFFFFF)) << "outside the rectangle";
    EXPECT_TRUE(colorNear(w.layer.pixel(122, 40), 0xFFFFFF));

    // Every paint draws it again, from the first frame.
    fillRect(w.frame.graphics(), picture.getBounds(), 0xFE00FF00);
    picture.redraw();
    EXPECT_TRUE(colorNear(w.layer.pixel(45, 25), 0xFF0000));

    // A border is drawn over the picture: here a colour of its own.
    SkinPicture framed;
    framed.create(window.hwnd(), 130, 20, 40, 40, bmp, 0, false, 0xFF00FF00);
    EXPECT_TRUE(colorNear(w.layer.pixel(130, 40), 0x00FF00));
    EXPECT_TRUE(colorNear(w.layer.pixel(135, 40), 0xFF0000));
}

TEST_F(Pictures, BytesThatDoNotDecodePresentAtOnceWithoutATimer) {
    SkinWindow& window = pictureWindow();
    const Bytes garbage = {'G', 'I', 'F', '8', '9', 'a', 0xFF, 0xFF, 0x13};
    for (int animate : {0, 1}) {
        SetTimerRecorder timers;
        SkinPicture picture;
        const WindowRecord& w = record(window);
        fillRect(w.layer.graphics(), makeRectF(0, 0, 200, 120), 0xFF00FF00); // the old screen
        picture.create(window.hwnd(), 20, 20, 50, 50, garbage, animate, true, 0);
        EXPECT_TRUE(picture.isCreated());
        EXPECT_EQ(picture.frameCount(), 0);
        EXPECT_EQ(picture.image().handle(), nullptr);
        EXPECT_TRUE(colorNear(shown(window, picture), 0xFFFFFF)) << "the background, presented";
        tick(window, picture);
        EXPECT_TRUE(timers.calls().empty()) << animate;
    }
}

TEST_F(Pictures, SetImageReplacesThePicture) {
    SkinWindow& window = pictureWindow();
    SkinPicture picture;
    picture.create(window.hwnd(), 20, 20, 40, 40,
                   bmpBytes(2, 2, [](int, int) { return RGB(255, 0, 0); }));
    ASSERT_TRUE(colorNear(shown(window, picture), 0xFF0000));

    picture.setImage(bmpBytes(2, 2, [](int, int) { return RGB(0, 0, 255); }));
    EXPECT_TRUE(colorNear(shown(window, picture), 0x0000FF));

    // Without redraw the screen keeps the old picture until the next paint.
    picture.setImage(animatedGif(2, 2, {{GifGreen, 5}, {GifWhite, 0}}), false);
    EXPECT_TRUE(colorNear(shown(window, picture), 0x0000FF));
    EXPECT_EQ(picture.frameCount(), 2);
    EXPECT_EQ(picture.frameDelays(), (std::vector<std::int32_t>{5, 0})) << "zero delays stay 0";
    picture.redraw();
    EXPECT_TRUE(colorNear(shown(window, picture), 0x00FF00));

    // Bytes that do not decode leave no picture: the background shows.
    picture.setImage(Bytes{1, 2, 3});
    EXPECT_EQ(picture.frameCount(), 0);
    EXPECT_TRUE(colorNear(shown(window, picture), 0xFFFFFF));
}

TEST_F(Pictures, CreateFromIconShowsTheIcon) {
    SkinWindow& window = pictureWindow();
    // A 16 x 16 icon, opaque orange.
    const UniqueIcon icon = solidIcon(0xFFFF8000);
    ASSERT_TRUE(icon);

    SkinPicture picture;
    picture.createFromIcon(window.hwnd(), 30, 30, 32, 32, icon.get());
    EXPECT_EQ(picture.animate(), 0);
    EXPECT_TRUE(colorNear(shown(window, picture), 0xFF8000));
    EXPECT_EQ(picture.image().width(), 16);

    // Hidden, it is not drawn; the frames still count on.
    const int frame = picture.currentFrame();
    picture.visible(0);
    EXPECT_TRUE(colorNear(shown(window, picture), 0xFFFFFF));
    picture.renderFrame(window.windowIndex(), indexOf(picture), picture.getBounds(), true);
    EXPECT_EQ(picture.currentFrame(), frame + 1);
    EXPECT_TRUE(colorNear(shown(window, picture), 0xFFFFFF));
}

TEST_F(Pictures, RemovingAStillPictureStopsItsTimer) {
    SkinWindow& window = pictureWindow();
    SkinPicture first, second;
    const Bytes bmp = bmpBytes(2, 2, [](int, int) { return RGB(0, 0, 0); });
    // Each paint of a picture with frames arms its timer once; the first tick would end it.
    first.create(window.hwnd(), 10, 10, 20, 20, bmp);
    second.create(window.hwnd(), 40, 10, 20, 20, bmp);
    const UINT_PTR firstTimer = timerOf(first), secondTimer = timerOf(second);
    first.destroy();
    // Timers are named by places: the first picture's stopped with it, and the second
    // picture, now first in the list, took its running timer along to its new place (left
    // where it was, the tick would reach whatever element comes to hold the old place).
    EXPECT_EQ(timerOf(second), firstTimer);
    EXPECT_FALSE(::KillTimer(window.hwnd(), secondTimer)) << "moved with its element";
    EXPECT_TRUE(::KillTimer(window.hwnd(), firstTimer)) << "the second picture's, moved";

    UINT_PTR scopedTimer = 0;
    {
        SkinPicture scoped;
        scoped.create(window.hwnd(), 70, 10, 20, 20, bmp);
        scopedTimer = timerOf(scoped);
    } // going out of scope removes the element like destroy
    EXPECT_FALSE(::KillTimer(window.hwnd(), scopedTimer));
    EXPECT_EQ(record(window).elements.size(), 1u);
}

TEST_F(Pictures, CaptionIconShowsTheWindowIcon) {
    const UniqueIcon icon = solidIcon(0xFF2080FF);
    ASSERT_TRUE(icon);

    const HWND hwnd = plain(300, 200);
    ::SendMessageW(hwnd, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon.get()));
    auto skin = std::make_unique<SkinWindow>();
    AttachOptions options;
    options.backgroundColor = RGB(0, 0, 0);
    options.opacity = 255;
    skin->attachToWindow(hwnd, options);
    const SkinPicture& iconElement = skin->iconElement();
    ASSERT_TRUE(iconElement.isCreated());
    const RectF b = iconElement.getBounds();
    EXPECT_EQ(b, makeRectF(11, 11, 16, 16)); // the frame margin 5, then 6 in
    const ElementRecord* element =
        elementRecord(skin->windowIndex(), indexOf(iconElement));
    ASSERT_NE(element, nullptr);
    EXPECT_EQ(element->elementType, ElementPicture);

    const WindowRecord& w = *windowRecord(skin->windowIndex());
    EXPECT_TRUE(colorNear(w.layer.pixel(19, 19), 0x2080FF));
    // The element paints itself as what lies beneath it: the icon stays.
    fillRect(w.frame.graphics(), b, 0xFE00FF00);
    dispatchToElement(skin->windowIndex(), indexOf(iconElement), hwnd, WM_PAINT, 0, RepaintAny,
                      true);
    EXPECT_TRUE(colorNear(w.layer.pixel(19, 19), 0x2080FF));
    EXPECT_TRUE(colorNear(w.frame.pixel(19, 19), 0x2080FF));
    EXPECT_FALSE(::KillTimer(hwnd, timerOf(iconElement))) << "nothing to animate";
    ::DestroyWindow(hwnd);
    pumpMessages();
    skin.reset();
}

} // namespace
