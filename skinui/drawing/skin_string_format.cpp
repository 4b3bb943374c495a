#include "skinui/drawing/skin_string_format.h"

namespace skinui {

namespace gdip = Gdiplus::DllExports;

void SkinStringFormat::useGenericTypographic() {
    format_.reset();
    Gdiplus::GpStringFormat* generic = nullptr;
    if (gdip::GdipStringFormatGetGenericTypographic(&generic) != Gdiplus::Ok || !generic)
        return;
    Gdiplus::GpStringFormat* copy = nullptr;
    gdip::GdipCloneStringFormat(generic, &copy);
    format_.reset(copy);
}

bool SkinStringFormat::setAlign(Gdiplus::StringAlignment align) {
    return format_ && gdip::GdipSetStringFormatAlign(format_.get(), align) == Gdiplus::Ok;
}

bool SkinStringFormat::setTrimming(Gdiplus::StringTrimming trimming) {
    return format_ && gdip::GdipSetStringFormatTrimming(format_.get(), trimming) == Gdiplus::Ok;
}

bool SkinStringFormat::setHotkeyPrefix(Gdiplus::HotkeyPrefix prefix) {
    return format_ && gdip::GdipSetStringFormatHotkeyPrefix(format_.get(), prefix) == Gdiplus::Ok;
}

bool SkinStringFormat::setFlags(INT flags) {
    return format_ && gdip::GdipSetStringFormatFlags(format_.get(), flags) == Gdiplus::Ok;
}

Gdiplus::StringAlignment SkinStringFormat::getAlign() const {
    Gdiplus::StringAlignment align = Gdiplus::StringAlignmentNear;
    if (!format_ || gdip::GdipGetStringFormatAlign(format_.get(), &align) != Gdiplus::Ok)
        return Gdiplus::StringAlignmentNear;
    return align;
}

INT SkinStringFormat::flags() const {
    INT value = 0;
    if (!format_ || gdip::GdipGetStringFormatFlags(format_.get(), &value) != Gdiplus::Ok)
        return 0;
    return value;
}

} // namespace skinui
