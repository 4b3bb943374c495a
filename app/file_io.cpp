#include "app/file_io.h"

#include "skinui/unique_handle.h"

#include <algorithm>

namespace yunti {
namespace {
constexpr size_t kChunk = 1u << 20;
}

bool pathExists(const std::wstring& path) {
    return ::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::wstring folderOf(const std::wstring& path) {
    const size_t slash = path.find_last_of(L"\\/");
    return slash == std::wstring::npos ? std::wstring(L".") : path.substr(0, slash);
}

bool readWholeFile(const std::wstring& path, std::vector<std::uint8_t>& bytes) {
    skinui::UniqueFile file(::CreateFileW(path.c_str(), GENERIC_READ,
                                          FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                          nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    LARGE_INTEGER size{};
    if (!file || !::GetFileSizeEx(file.get(), &size) || size.QuadPart > (1LL << 30))
        return false;
    bytes.resize(static_cast<size_t>(size.QuadPart));
    for (size_t done = 0; done < bytes.size();) {
        DWORD got = 0;
        const DWORD chunk = static_cast<DWORD>(std::min(bytes.size() - done, kChunk));
        if (!::ReadFile(file.get(), bytes.data() + done, chunk, &got, nullptr) || got == 0)
            return false;
        done += got;
    }
    return true;
}

bool writeWholeFile(const std::wstring& path, std::span<const std::uint8_t> bytes) {
    skinui::UniqueFile file(::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                          FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file)
        return false;
    for (size_t done = 0; done < bytes.size();) {
        DWORD written = 0;
        const DWORD chunk = static_cast<DWORD>(std::min(bytes.size() - done, kChunk));
        if (!::WriteFile(file.get(), bytes.data() + done, chunk, &written, nullptr) || written == 0)
            return false;
        done += written;
    }
    return ::FlushFileBuffers(file.get()) != 0;
}

std::wstring createSiblingTempFile(const std::wstring& path, const wchar_t* prefix) {
    wchar_t name[MAX_PATH + 16] = {};
    if (!::GetTempFileNameW(folderOf(path).c_str(), prefix, 0, name))
        return {};
    return name;
}

} // namespace yunti
