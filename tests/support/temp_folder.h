#pragma once
// A uniquely named folder under the temp folder, removed with everything in it (read-only
// files included) when the owner goes out of scope.

#include <windows.h>

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace testing_support {

class TempFolder {
  public:
    // `leaf` is appended as a sub-folder, so tests can put blanks and Chinese characters in
    // the path they hand to the code under test.
    explicit TempFolder(const std::wstring& leaf = L"");
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::wstring& path() const { return path_; }
    std::wstring operator/(const std::wstring& relative) const { return path_ + L"\\" + relative; }

  private:
    std::wstring root_;
    std::wstring path_;
};

void removeTree(const std::wstring& path);
void makeFolders(const std::wstring& path);
void writeFile(const std::wstring& path, const std::string& bytes);
void writeFile(const std::wstring& path, const std::vector<std::uint8_t>& bytes);
std::string readFile(const std::wstring& path);
bool exists(const std::wstring& path);

// Every file below `folder`, by path relative to it, with its bytes.
std::map<std::wstring, std::string> snapshot(const std::wstring& folder);

// The folder holding the running test program.
std::wstring programFolder();

} // namespace testing_support
