#include "support/client_fixtures.h"

#include "app/rank_files.h"
#include "skinui/text_conversion.h"

#include <gtest/gtest.h>

namespace testing_support {

using skinui::toUtf8;
using skinui::toWide;

void ArchiverRegistration::set(const std::wstring& value, DWORD type) {
    HKEY key = nullptr;
    ASSERT_EQ(::RegCreateKeyExW(HKEY_LOCAL_MACHINE,
                                std::wstring(yunti::kArchiverAppPathKey).c_str(), 0, nullptr, 0,
                                KEY_WRITE | view_, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    ::RegSetValueExW(key, nullptr, 0, type, reinterpret_cast<const BYTE*>(value.c_str()),
                     static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
    ::RegCloseKey(key);
}

void ArchiverRegistration::remove() {
    for (REGSAM view : {REGSAM(KEY_WOW64_64KEY), REGSAM(KEY_WOW64_32KEY)})
        ::RegDeleteKeyExW(HKEY_LOCAL_MACHINE, std::wstring(yunti::kArchiverAppPathKey).c_str(),
                          view, 0);
}

StockClient::StockClient(const std::wstring& leaf) : temp_(leaf) {
    writeFile(temp_ / L"QQLogin.exe", std::string("MZ"));
    std::string error;
    archive_ = yunti::RarArchive::parse(yunti::stockBadgeArchive(), error);
    if (!archive_ || !archive_->extractTo(temp_ / L"rez\\UI", true).empty())
        ADD_FAILURE() << "cannot build the stock client folder: " << error;
}

std::string StockClient::dir() const {
    return toUtf8(temp_.path());
}

std::map<std::wstring, std::string> StockClient::stock() const {
    std::map<std::wstring, std::string> files;
    if (archive_)
        for (const yunti::RarEntry& entry : archive_->entries())
            if (!entry.isDirectory)
                files[toWide(entry.name)] = std::string(entry.data.begin(), entry.data.end());
    return files;
}

std::string StockClient::stockFile(const std::wstring& relative) const {
    const auto files = stock();
    const auto found = files.find(relative);
    return found == files.end() ? std::string() : found->second;
}

InstalledStandin::InstalledStandin() : folder_(L"解压 工具") {
    path_ = folder_ / L"standin archiver.exe";
    ::CopyFileW(standinArchiverPath().c_str(), path_.c_str(), FALSE);
    registration_.set(path_);
}

std::string InstalledStandin::path() const {
    return toUtf8(path_);
}

std::vector<ArchiverCall> InstalledStandin::calls() const {
    return readArchiverCalls(folder_ / L"standin_archiver.log");
}

} // namespace testing_support
