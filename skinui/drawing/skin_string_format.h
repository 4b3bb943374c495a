#pragma once
// SkinStringFormat: one owned GDI+ string format with the settings the text routines use.
//
// Order of use: useGenericTypographic, setAlign, setTrimming, setFlags, setHotkeyPrefix,
// then handle() for each GDI+ call that takes the format. Until useGenericTypographic the
// object holds no format, and no call reaches GDI+ (setters return false, getters 0).

#include "skinui/unique_handle.h"

#include <windows.h>
#include <gdiplus.h>

namespace skinui {

class SkinStringFormat final {
  public:
    SkinStringFormat() = default;
    SkinStringFormat(const SkinStringFormat&) = delete;
    SkinStringFormat& operator=(const SkinStringFormat&) = delete;

    void release() { format_.reset(); }

    // Takes a private copy of GDI+'s generic typographic format, releasing any format held
    // before. (The generic format itself is shared process-wide, so it is never changed.)
    void useGenericTypographic();

    bool setAlign(Gdiplus::StringAlignment align);
    bool setTrimming(Gdiplus::StringTrimming trimming);
    bool setHotkeyPrefix(Gdiplus::HotkeyPrefix prefix);
    // Replaces all flags, those of the generic typographic format included.
    bool setFlags(INT flags);
    Gdiplus::StringAlignment getAlign() const;
    // The flags now set; 0 when there is no format.
    INT flags() const;

    Gdiplus::GpStringFormat* handle() const { return format_.get(); }

  private:
    UniqueGpStringFormat format_;
};

} // namespace skinui
