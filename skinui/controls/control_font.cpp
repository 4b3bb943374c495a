#include "skinui/controls/control_font.h"

#include "skinui/library/fonts.h"
#include "skinui/library/library.h"

namespace skinui {

void ControlFont::choose(const FontChoice& choice) {
    own_.reset();
    if (!choice.face && !choice.size && !choice.style)
        return;
    Gdiplus::GpFont* defaultFont = Library::instance().defaultFont.get();
    const std::string face = choice.face ? *choice.face : fontFamilyName(defaultFont);
    own_ = createFontOrFallback(face, choice.size.value_or(12.0f),
                                choice.style.value_or(Gdiplus::FontStyleRegular));
}

Gdiplus::GpFont* ControlFont::get() const {
    return own_ ? own_.get() : Library::instance().defaultFont.get();
}

} // namespace skinui
