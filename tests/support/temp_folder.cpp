#include "support/temp_folder.h"

#include <stdexcept>

namespace testing_support {

TempFolder::TempFolder(const std::wstring& leaf) {
    static int counter = 0;
    wchar_t temp[MAX_PATH] = {};
    ::GetTempPathW(MAX_PATH, temp);
    root_ = std::wstring(temp) + L"yunti-test-" + std::to_wstring(::GetCurrentProcessId()) +
            L"-" + std::to_wstring(++counter);
    path_ = leaf.empty() ? root_ : root_ + L"\\" + leaf;
    removeTree(root_);
    makeFolders(path_);
}

TempFolder::~TempFolder() { removeTree(root_); }

void removeTree(const std::wstring& path) {
    const DWORD attributes = ::GetFileAttributesW(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return;
    if (!(attributes & FILE_ATTRIBUTE_DIRECTORY)) {
        ::SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
        ::DeleteFileW(path.c_str());
        return;
    }
    WIN32_FIND_DATAW found;
    HANDLE search = ::FindFirstFileW((path + L"\\*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            const std::wstring name = found.cFileName;
            if (name != L"." && name != L"..")
                removeTree(path + L"\\" + name);
        } while (::FindNextFileW(search, &found));
        ::FindClose(search);
    }
    ::RemoveDirectoryW(path.c_str());
}

void makeFolders(const std::wstring& path) {
    for (size_t at = path.find(L'\\', 3); ; at = path.find(L'\\', at + 1)) {
        ::CreateDirectoryW(path.substr(0, at).c_str(), nullptr);
        if (at == std::wstring::npos)
            break;
    }
}

void writeFile(const std::wstring& path, const std::string& bytes) {
    HANDLE file = ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        throw std::runtime_error("cannot write a test file");
    DWORD written = 0;
    ::WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    ::CloseHandle(file);
}

void writeFile(const std::wstring& path, const std::vector<std::uint8_t>& bytes) {
    writeFile(path, std::string(bytes.begin(), bytes.end()));
}

std::string readFile(const std::wstring& path) {
    HANDLE file = ::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return "<missing>";
    std::string bytes(::GetFileSize(file, nullptr), '\0');
    DWORD got = 0;
    ::ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &got, nullptr);
    ::CloseHandle(file);
    return bytes;
}

bool exists(const std::wstring& path) {
    return ::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

namespace {
void collect(const std::wstring& folder, const std::wstring& prefix,
             std::map<std::wstring, std::string>& files) {
    WIN32_FIND_DATAW found;
    HANDLE search = ::FindFirstFileW((folder + L"\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return;
    do {
        const std::wstring name = found.cFileName;
        if (name == L"." || name == L"..")
            continue;
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
            collect(folder + L"\\" + name, prefix + name + L"\\", files);
        else
            files[prefix + name] = readFile(folder + L"\\" + name);
    } while (::FindNextFileW(search, &found));
    ::FindClose(search);
}
} // namespace

std::map<std::wstring, std::string> snapshot(const std::wstring& folder) {
    std::map<std::wstring, std::string> files;
    collect(folder, L"", files);
    return files;
}

std::wstring programFolder() {
    wchar_t path[MAX_PATH] = {};
    ::GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring folder = path;
    return folder.substr(0, folder.find_last_of(L'\\'));
}

} // namespace testing_support
