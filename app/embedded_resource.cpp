#include "app/embedded_resource.h"

#include <windows.h>

namespace yunti {

std::span<const std::uint8_t> embeddedResource(int id) {
    HMODULE module = ::GetModuleHandleW(nullptr);
    HRSRC info = ::FindResourceW(module, MAKEINTRESOURCEW(id), RT_RCDATA);
    if (!info)
        return {};
    HGLOBAL loaded = ::LoadResource(module, info);
    const void* data = loaded ? ::LockResource(loaded) : nullptr;
    if (!data)
        return {};
    return {static_cast<const std::uint8_t*>(data), ::SizeofResource(module, info)};
}

} // namespace yunti
