#pragma once
// FrameDecorations: a window's border and shadow, drawn once per shape and stamped onto
// the frame at every redraw.
//
// The border is two outlines of sides and corners, the shadow four more: some forty GDI+
// strokes, each of which costs GDI+ far more than the few pixels it touches. They are drawn
// with drawWindowBorder and drawWindowShadow onto transparent strips along the window's four
// edges, which keep the outlines' pixels premultiplied; a redraw then blends the strips onto
// the frame with AlphaBlend, which gives the pixels the strokes would have given (GDI+
// composes its strokes source-over, and source-over is associative), at a fraction of the
// cost. The strips are made again when the window's size, margin or frame style changes.

#include "skinui/library/rect_f.h"
#include "skinui/unique_handle.h"

#include <windows.h>

#include <array>
#include <optional>

namespace skinui {

// The pixels a GDI+ clip to `area` keeps: those whose centres lie inside it (each edge
// rounded half up), for stamping inside an area.
RECT clipPixels(const RectF& area);

class FrameDecorations final {
  public:
    FrameDecorations() = default;
    FrameDecorations(const FrameDecorations&) = delete;
    FrameDecorations& operator=(const FrameDecorations&) = delete;
    FrameDecorations(FrameDecorations&&) noexcept = default;
    FrameDecorations& operator=(FrameDecorations&&) noexcept = default;

    // Makes the strips for a window cx x cy with margin m and the frame style, with the
    // shadow when `shadow`; nothing when they are made for that shape already. False when
    // the strips cannot be used (a window too small for them, or no memory): the caller
    // then draws with drawWindowBorder and drawWindowShadow itself.
    bool prepare(int cx, int cy, int m, int frameStyle, bool shadow);

    // Blends the border onto `target`, only inside `clip` when one is given.
    void stampBorder(HDC target, const std::optional<RECT>& clip = std::nullopt) const;
    // Blends the shadow onto `target` (nothing when it was prepared without one).
    void stampShadow(HDC target) const;

  private:
    struct Strip {
        RECT place{}; // in window coordinates
        UniqueDc dc;
        UniqueGdiObject bitmap;
        HGDIOBJ oldBitmap = nullptr;
        Strip() = default;
        Strip(Strip&& other) noexcept;
        Strip& operator=(Strip&& other) noexcept;
        ~Strip();
    };
    using Strips = std::array<Strip, 4>; // top, bottom, left, right

    struct Shape {
        int cx, cy, m, frameStyle;
        bool shadow;
        bool operator==(const Shape&) const = default;
    };

    static bool makeStrips(Strips& strips, const Shape& shape, bool shadowOnly);
    static void stamp(const Strips& strips, HDC target, const std::optional<RECT>& clip);

    std::optional<Shape> shape_;
    bool usable_ = false;
    Strips border_;
    Strips shadow_;
};

} // namespace skinui
