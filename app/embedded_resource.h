#pragma once
// Read-only views of the program's embedded RCDATA resources.

#include <cstdint>
#include <span>

namespace yunti {

// The bytes of RCDATA resource `id` in the running program; empty when it has none. The
// view stays valid for the life of the process (resources are mapped with the image).
std::span<const std::uint8_t> embeddedResource(int id);

} // namespace yunti
