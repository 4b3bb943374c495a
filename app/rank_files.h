#pragma once
// The rank badge operations behind "修改" (switch) and "还原" (restore).
//
// The client draws a player's rank badge from three files per rank under
// <client>\rez\UI\class. A switch copies the target rank's three files over the present
// rank's; a restore drops the stock badge archive at C:\WINDOWS\class.rar and has the
// archiver extract it over <client>\rez\UI\. Each operation runs to its end on the calling
// thread and reports a RankOperationOutcome for the message box.

#include <windows.h>

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace yunti {

// Kinds of badge file, in the order a switch copies them; each literal is appended to the
// client folder, followed by the rank number and ".tga".
inline constexpr std::string_view kBadgePathLiterals[] = {
    "\\rez\\UI\\class\\BigClass_",
    "\\rez\\UI\\class\\class_",
    "\\rez\\UI\\class\\sclass_",
};

// Where the stock badge archive is dropped: a fixed literal, not the system's Windows
// folder as the system reports it.
inline constexpr std::string_view kArchiveDropPath = "C:\\WINDOWS\\class.rar";

// The archiver's registry entry (HKEY_LOCAL_MACHINE, the key's default value).
inline constexpr std::wstring_view kArchiverAppPathKey =
    L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\WinRAR.exe";

// Message box icon kinds used by the outcomes.
inline constexpr int kIconError = 16;
inline constexpr int kIconInformation = 64;

// What an operation tells the user: a message text and the message box icon kind.
struct RankOperationOutcome {
    enum class Kind {
        ClientDirNotValid,
        PresentRankMissing,
        TargetRankMissing,
        Switched,
        Restored,
        SwitchFailed,  // nothing was changed (or everything was put back); message says why
        RestoreFailed, // message says which step failed
    };

    Kind kind;
    std::string message;
    int iconKind;

    // The fixed outcomes with their texts and icons; the two failure kinds carry their own
    // message and are made with failure().
    static RankOperationOutcome of(Kind kind);
    static RankOperationOutcome failure(Kind kind, std::string message);

    bool succeeded() const { return kind == Kind::Switched || kind == Kind::Restored; }
};

// True when a directory search for <clientDir>\QQLogin.exe finds a file or folder.
// Wildcards in clientDir act as wildcards, as in any directory search.
bool isClientDir(const std::string& clientDir);

// <clientDir><literal><rank>.tga, joined as they stand (nothing trimmed or normalised).
std::string badgeFilePath(std::string_view clientDir, std::string_view literal,
                          std::string_view rank);

// A rank number as the pickers write it: one to three decimal digits.
bool isRankNumber(std::string_view rank);

// "修改": copies the target rank's three badge files over the present rank's, all or
// nothing. Checks the folder, then the present rank, then the target rank, then that both
// are rank numbers (isRankNumber); then that every source can be read and every
// destination written; only then replaces the three files.
RankOperationOutcome switchRank(const std::string& clientDir, const std::string& presentRank,
                                const std::string& targetRank);

// The stock badge archive embedded in the program.
std::span<const std::uint8_t> stockBadgeArchive();

enum class DropResult {
    AlreadyPresent, // something of that name exists and was left as it is
    Written,
    Failed,
};

// Writes `bytes` to `path` unless a file or folder of that name exists. The bytes go to a
// temporary file beside it first, so a partly written archive never stands at `path`.
DropResult dropArchiveTo(const std::string& path, std::span<const std::uint8_t> bytes);

// Drops the stock badge archive at C:\WINDOWS\class.rar.
DropResult dropArchive();

// How a run of the archiver went.
struct ArchiverRun {
    enum class Status {
        NotRegistered, // no archiver path given and none in the registry
        NotStarted,    // CreateProcess failed; `error` holds GetLastError()
        Exited,        // the archiver ran to its end; `exitCode` holds its exit code
    };

    Status status = Status::NotRegistered;
    DWORD exitCode = 0;
    DWORD error = 0;
    std::string commandLine; // as started (empty when not registered)

    // The archiver's classic answer: "winrar不存在" when none is known, otherwise empty.
    std::string text() const;
};

// The archiver's path from its App Paths entry: REG_SZ as it stands, REG_EXPAND_SZ
// expanded, surrounding quotes removed; empty when there is none. Looks in the registry
// view of this process first, then in the other one (a 64-bit archiver registers in the
// 64-bit view, which a 32-bit process does not see by default).
std::string archiverPathFromRegistry();

// The archiver's command line:
//   <archiver> x -iext -ow -er -o+|-o- <archive> <destination>[ -p<password>]
// Each of the paths (and the password switch) is quoted when it contains a blank, with
// backslashes before a closing quote doubled, so "D:\游戏 CF\rez\UI\" still arrives as the
// folder with its trailing backslash.
std::string buildArchiverCommandLine(const std::string& archiverPath,
                                     const std::string& archivePath,
                                     const std::string& destination, bool overwrite,
                                     const std::optional<std::string>& password);

// Runs the archiver hidden over `archivePath` into `destination` and waits for it to end.
// Without an archiver path the registry entry is used.
ArchiverRun extractArchive(const std::string& archivePath, const std::string& destination,
                           const std::optional<std::string>& archiverPath,
                           const std::optional<std::string>& password, bool overwrite);

// "还原": drops the archive (when absent) and has the archiver extract it over
// <clientDir>\rez\UI\. Reports success only when the archive is in place and the archiver
// exited with 0.
RankOperationOutcome restoreBadges(const std::string& clientDir);

} // namespace yunti
