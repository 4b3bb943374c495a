#pragma once
// Move-only owners for Win32 and GDI+ handles. Each owner kind fixes its release call at
// compile time, so a handle has exactly one place that frees it.

#include <windows.h>
#include <gdiplus.h>

#include <utility>

namespace skinui {

// Holds one handle of type T and releases it with Traits::close(T) unless it equals
// Traits::invalid(). Not copyable; moving transfers ownership.
template <typename T, typename Traits> class UniqueHandle {
  public:
    UniqueHandle() noexcept = default;
    explicit UniqueHandle(T handle) noexcept : handle_(handle) {}
    ~UniqueHandle() { reset(); }

    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;
    UniqueHandle(UniqueHandle&& other) noexcept : handle_(other.release()) {}
    UniqueHandle& operator=(UniqueHandle&& other) noexcept {
        if (this != &other)
            reset(other.release());
        return *this;
    }

    T get() const noexcept { return handle_; }
    explicit operator bool() const noexcept { return handle_ != Traits::invalid(); }

    // Gives up ownership without releasing.
    T release() noexcept { return std::exchange(handle_, Traits::invalid()); }

    void reset(T handle = Traits::invalid()) noexcept {
        T old = std::exchange(handle_, handle);
        if (old != Traits::invalid())
            Traits::close(old);
    }

  private:
    T handle_ = Traits::invalid();
};

namespace handle_traits {

// Kernel objects whose "no handle" value is null (processes, threads, events).
struct Kernel {
    static HANDLE invalid() noexcept { return nullptr; }
    static void close(HANDLE h) noexcept { ::CloseHandle(h); }
};

// Files, whose "no handle" value is INVALID_HANDLE_VALUE.
struct File {
    static HANDLE invalid() noexcept { return INVALID_HANDLE_VALUE; }
    static void close(HANDLE h) noexcept { ::CloseHandle(h); }
};

struct Find {
    static HANDLE invalid() noexcept { return INVALID_HANDLE_VALUE; }
    static void close(HANDLE h) noexcept { ::FindClose(h); }
};

struct RegKey {
    static HKEY invalid() noexcept { return nullptr; }
    static void close(HKEY h) noexcept { ::RegCloseKey(h); }
};

struct GdiObject {
    static HGDIOBJ invalid() noexcept { return nullptr; }
    static void close(HGDIOBJ h) noexcept { ::DeleteObject(h); }
};

struct Dc {
    static HDC invalid() noexcept { return nullptr; }
    static void close(HDC h) noexcept { ::DeleteDC(h); }
};

struct Global {
    static HGLOBAL invalid() noexcept { return nullptr; }
    static void close(HGLOBAL h) noexcept { ::GlobalFree(h); }
};

struct Icon {
    static HICON invalid() noexcept { return nullptr; }
    static void close(HICON h) noexcept { ::DestroyIcon(h); }
};

// A GDI+ object of type T, released by its flat-API delete call. The owners hold the base
// type the delete call takes (a bitmap is held as a GpImage, a solid fill as a GpBrush).
template <typename T, ::Gdiplus::GpStatus(WINGDIPAPI* Delete)(T*)> struct GdiplusObject {
    static T* invalid() noexcept { return nullptr; }
    static void close(T* object) noexcept { Delete(object); }
};

// A COM interface pointer (an IStream over a memory block, for instance).
struct ComObject {
    static IUnknown* invalid() noexcept { return nullptr; }
    static void close(IUnknown* object) noexcept { object->Release(); }
};

} // namespace handle_traits

using UniqueKernelHandle = UniqueHandle<HANDLE, handle_traits::Kernel>;
using UniqueFile = UniqueHandle<HANDLE, handle_traits::File>;
using UniqueFind = UniqueHandle<HANDLE, handle_traits::Find>;
using UniqueRegKey = UniqueHandle<HKEY, handle_traits::RegKey>;
using UniqueGdiObject = UniqueHandle<HGDIOBJ, handle_traits::GdiObject>;
using UniqueDc = UniqueHandle<HDC, handle_traits::Dc>;
using UniqueGlobal = UniqueHandle<HGLOBAL, handle_traits::Global>;
using UniqueIcon = UniqueHandle<HICON, handle_traits::Icon>;
using UniqueComObject = UniqueHandle<IUnknown*, handle_traits::ComObject>;

// GDI+ owners.
template <typename T, ::Gdiplus::GpStatus(WINGDIPAPI* Delete)(T*)>
using UniqueGdiplus = UniqueHandle<T*, handle_traits::GdiplusObject<T, Delete>>;

using UniqueGpGraphics =
    UniqueGdiplus<Gdiplus::GpGraphics, Gdiplus::DllExports::GdipDeleteGraphics>;
using UniqueGpImage = UniqueGdiplus<Gdiplus::GpImage, Gdiplus::DllExports::GdipDisposeImage>;
using UniqueGpPath = UniqueGdiplus<Gdiplus::GpPath, Gdiplus::DllExports::GdipDeletePath>;
using UniqueGpBrush = UniqueGdiplus<Gdiplus::GpBrush, Gdiplus::DllExports::GdipDeleteBrush>;
using UniqueGpPen = UniqueGdiplus<Gdiplus::GpPen, Gdiplus::DllExports::GdipDeletePen>;
using UniqueGpFont = UniqueGdiplus<Gdiplus::GpFont, Gdiplus::DllExports::GdipDeleteFont>;
using UniqueGpFontFamily =
    UniqueGdiplus<Gdiplus::GpFontFamily, Gdiplus::DllExports::GdipDeleteFontFamily>;
using UniqueGpStringFormat =
    UniqueGdiplus<Gdiplus::GpStringFormat, Gdiplus::DllExports::GdipDeleteStringFormat>;
using UniqueGpImageAttributes =
    UniqueGdiplus<Gdiplus::GpImageAttributes, Gdiplus::DllExports::GdipDisposeImageAttributes>;

} // namespace skinui
