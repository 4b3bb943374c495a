#pragma once
// Small whole-file helpers over the wide Win32 file API.

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace yunti {

bool pathExists(const std::wstring& path);

// The folder part of a path ("." when it has none).
std::wstring folderOf(const std::wstring& path);

// Reads a whole file; other programs may hold it open for reading or writing meanwhile.
bool readWholeFile(const std::wstring& path, std::vector<std::uint8_t>& bytes);

// Creates or truncates `path` with exclusive access, writes every byte and flushes.
bool writeWholeFile(const std::wstring& path, std::span<const std::uint8_t> bytes);

// A new, empty file with a unique name in the same folder as `path`; empty on failure.
std::wstring createSiblingTempFile(const std::wstring& path, const wchar_t* prefix);

} // namespace yunti
