#pragma once
// Fixtures for tests that run the rank switcher against a real client folder: a stock
// client folder built from the embedded badge archive, and the stand-in archiver installed
// and registered as the archiver.

#include "app/rar_archive.h"
#include "support/standin_archiver_log.h"
#include "support/temp_folder.h"

#include <windows.h>

#include <map>
#include <optional>
#include <string>
#include <vector>

namespace testing_support {

// The archiver's App Paths entry in the registry of the test prefix; removed afterwards.
class ArchiverRegistration {
  public:
    explicit ArchiverRegistration(REGSAM view = 0) : view_(view) { remove(); }
    ~ArchiverRegistration() { remove(); }
    ArchiverRegistration(const ArchiverRegistration&) = delete;
    ArchiverRegistration& operator=(const ArchiverRegistration&) = delete;

    void set(const std::wstring& value, DWORD type = REG_SZ);

  private:
    void remove();
    REGSAM view_;
};

// A client folder as installed: the marker and the stock badge files from the archive.
class StockClient {
  public:
    explicit StockClient(const std::wstring& leaf = L"游戏 CF");
    std::string dir() const;
    std::wstring path() const { return temp_.path(); }
    std::wstring ui() const { return temp_ / L"rez\\UI"; }
    // What rez\UI holds after a full restore: every file of the archive.
    std::map<std::wstring, std::string> stock() const;
    // The stock bytes of one file, by its path under rez\UI ("class\\BigClass_3.tga").
    std::string stockFile(const std::wstring& relative) const;

  private:
    TempFolder temp_;
    std::optional<yunti::RarArchive> archive_;
};

// The stand-in archiver copied to a folder whose path has a blank and Chinese characters,
// registered as the archiver; it logs beside the copy.
class InstalledStandin {
  public:
    InstalledStandin();
    std::string path() const;
    std::vector<ArchiverCall> calls() const;

  private:
    TempFolder folder_;
    std::wstring path_;
    ArchiverRegistration registration_;
};

} // namespace testing_support
