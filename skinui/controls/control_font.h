#pragma once
// The font of a label or a button: the library's default font, or one of its own made from
// a face, a size and a style given at creation.

#include "skinui/unique_handle.h"

#include <windows.h>
#include <gdiplus.h>

#include <optional>
#include <string>

namespace skinui {

// A control's font choice at creation: nothing given means the library's default font.
struct FontChoice {
    std::optional<std::string> face; // omitted: the default font's family
    std::optional<float> size;       // pixels; omitted: 12
    std::optional<INT> style;        // Gdiplus::FontStyle bits; omitted: regular
};

class ControlFont final {
  public:
    // The default font when none of face, size and style is given. Otherwise a font of its
    // own: the face (or the default font's family) at the size (or 12 px) in the style, by
    // createFontOrFallback. A font the control had before is deleted first.
    void choose(const FontChoice& choice);

    // The font to draw with: the control's own, else the library's default font (which may
    // be null when the system has no face at all).
    Gdiplus::GpFont* get() const;

    // True when the control draws with the library's default font.
    bool isDefault() const { return !own_; }

    // Deletes the control's own font (the element is going away); the default is kept.
    void release() { own_.reset(); }

  private:
    UniqueGpFont own_;
};

} // namespace skinui
