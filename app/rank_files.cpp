#include "app/rank_files.h"

#include "app/file_io.h"
#include "app/file_replacement.h"
#include "resource_ids.h"
#include "skinui/library/library.h"
#include "skinui/text_conversion.h"
#include "skinui/unique_handle.h"

#include <algorithm>
#include <array>
#include <vector>

namespace yunti {

using skinui::toUtf8;
using skinui::toWide;

namespace {

bool directorySearchFinds(const std::string& path) {
    WIN32_FIND_DATAW found;
    skinui::UniqueFind search(::FindFirstFileW(toWide(path).c_str(), &found));
    return static_cast<bool>(search);
}

// An existing destination must be open-able for writing and deleting: this fails for a
// read-only file and for one that another program (the running client) holds without
// sharing. A missing destination is created by the switch, as a copy would.
bool destinationWritable(const std::wstring& path) {
    const DWORD attributes = ::GetFileAttributesW(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return true;
    if (attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY))
        return false;
    skinui::UniqueFile file(::CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE | DELETE,
                                          FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                          nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    return static_cast<bool>(file);
}

std::string switchFailure(std::string reason) { return "军衔切换失败：" + std::move(reason); }

RankOperationOutcome describeReplacementFailure(const ReplacementFailure& failure) {
    const std::string path = toUtf8(failure.path);
    std::string message;
    if (failure.step == ReplacementFailure::Step::Stage)
        message = switchFailure("无法写入 " + path + "，文件未作改动");
    else if (failure.notRestored.empty())
        message = switchFailure("无法替换 " + path + "，原文件均已恢复");
    else
        message = switchFailure("无法替换 " + path + "，且未能恢复 " + toUtf8(failure.notRestored));
    return RankOperationOutcome::failure(RankOperationOutcome::Kind::SwitchFailed, message);
}

// True for the characters that split a command-line argument.
bool needsQuotes(std::string_view argument) {
    return argument.empty() || argument.find_first_of(" \t\"") != std::string_view::npos;
}

// Quotes one argument so that the standard Windows parsing (CommandLineToArgvW and the C
// run time) gives it back unchanged: backslashes are literal except before a quote, where
// they are doubled. Arguments without blanks or quotes stay as they are.
std::string quoteArgument(std::string_view argument) {
    if (!needsQuotes(argument))
        return std::string(argument);
    std::string quoted = "\"";
    size_t backslashes = 0;
    for (char c : argument) {
        if (c == '\\') {
            ++backslashes;
            continue;
        }
        quoted.append(c == '"' ? backslashes * 2 + 1 : backslashes, '\\');
        backslashes = 0;
        quoted += c;
    }
    quoted.append(backslashes * 2, '\\');
    quoted += '"';
    return quoted;
}

std::string readRegistryText(REGSAM view) {
    HKEY raw = nullptr;
    if (::RegOpenKeyExW(HKEY_LOCAL_MACHINE, std::wstring(kArchiverAppPathKey).c_str(), 0,
                        KEY_READ | view, &raw) != ERROR_SUCCESS)
        return {};
    skinui::UniqueRegKey key(raw);
    DWORD type = 0, size = 0;
    if (::RegQueryValueExW(key.get(), nullptr, nullptr, &type, nullptr, &size) != ERROR_SUCCESS ||
        (type != REG_SZ && type != REG_EXPAND_SZ))
        return {};
    std::wstring value(size / sizeof(wchar_t) + 1, L'\0');
    if (::RegQueryValueExW(key.get(), nullptr, nullptr, &type,
                           reinterpret_cast<BYTE*>(value.data()), &size) != ERROR_SUCCESS)
        return {};
    value.resize(wcsnlen(value.c_str(), value.size()));
    if (type == REG_EXPAND_SZ) {
        const DWORD needed = ::ExpandEnvironmentStringsW(value.c_str(), nullptr, 0);
        std::wstring expanded(needed, L'\0');
        ::ExpandEnvironmentStringsW(value.c_str(), expanded.data(), needed);
        expanded.resize(wcsnlen(expanded.c_str(), expanded.size()));
        value = expanded;
    }
    // Installers sometimes register the path in quotes; we add our own where needed.
    if (value.size() >= 2 && value.front() == L'"' && value.back() == L'"')
        value = value.substr(1, value.size() - 2);
    return toUtf8(value);
}

} // namespace

RankOperationOutcome RankOperationOutcome::of(Kind kind) {
    switch (kind) {
    case Kind::ClientDirNotValid:
        return {kind, "请先选择游戏路径!", kIconError};
    case Kind::PresentRankMissing:
        return {kind, "请选择你当前军衔", kIconError};
    case Kind::TargetRankMissing:
        return {kind, "请选择要切换的军衔", kIconError};
    case Kind::Switched:
        return {kind, "军衔切换成功!", kIconInformation};
    case Kind::Restored:
        return {kind, "还原成功!已将全部军衔图标重置", kIconInformation};
    case Kind::SwitchFailed:
        return {kind, "军衔切换失败", kIconError};
    case Kind::RestoreFailed:
        return {kind, "还原失败", kIconError};
    }
    return {kind, {}, kIconError};
}

RankOperationOutcome RankOperationOutcome::failure(Kind kind, std::string message) {
    RankOperationOutcome outcome = of(kind);
    outcome.message = std::move(message);
    return outcome;
}

bool isClientDir(const std::string& clientDir) {
    return directorySearchFinds(clientDir + "\\QQLogin.exe");
}

std::string badgeFilePath(std::string_view clientDir, std::string_view literal,
                          std::string_view rank) {
    std::string path;
    path.reserve(clientDir.size() + literal.size() + rank.size() + 4);
    path.append(clientDir).append(literal).append(rank).append(".tga");
    return path;
}

bool isRankNumber(std::string_view rank) {
    return !rank.empty() && rank.size() <= 3 &&
           std::all_of(rank.begin(), rank.end(), [](char c) { return c >= '0' && c <= '9'; });
}

RankOperationOutcome switchRank(const std::string& clientDir, const std::string& presentRank,
                                const std::string& targetRank) {
    using Kind = RankOperationOutcome::Kind;
    if (!isClientDir(clientDir))
        return RankOperationOutcome::of(Kind::ClientDirNotValid);
    if (presentRank.empty())
        return RankOperationOutcome::of(Kind::PresentRankMissing);
    if (targetRank.empty())
        return RankOperationOutcome::of(Kind::TargetRankMissing);
    // The rank texts become part of file names: anything but a rank number (the pickers
    // only ever write those; the hidden fields can be typed into) could name a file
    // outside the badge folder.
    for (const std::string* rank : {&presentRank, &targetRank})
        if (!isRankNumber(*rank))
            return RankOperationOutcome::failure(Kind::SwitchFailed,
                                                 switchFailure("“" + *rank + "”不是军衔编号"));

    // The target rank's files are the sources, the present rank's are overwritten.
    std::array<FileReplacement, std::size(kBadgePathLiterals)> replacements;
    for (size_t i = 0; i < replacements.size(); ++i) {
        const std::string source = badgeFilePath(clientDir, kBadgePathLiterals[i], targetRank);
        const std::wstring wideSource = toWide(source);
        if (!pathExists(wideSource))
            return RankOperationOutcome::failure(Kind::SwitchFailed,
                                                 switchFailure("找不到 " + source));
        if (!readWholeFile(wideSource, replacements[i].bytes))
            return RankOperationOutcome::failure(Kind::SwitchFailed,
                                                 switchFailure("无法读取 " + source));
    }
    for (size_t i = 0; i < replacements.size(); ++i) {
        const std::string destination =
            badgeFilePath(clientDir, kBadgePathLiterals[i], presentRank);
        replacements[i].destination = toWide(destination);
        if (!destinationWritable(replacements[i].destination))
            return RankOperationOutcome::failure(Kind::SwitchFailed,
                                                 switchFailure(destination + " 文件被占用或只读"));
    }

    if (const auto failure = replaceFilesTogether(replacements))
        return describeReplacementFailure(*failure);
    return RankOperationOutcome::of(Kind::Switched);
}

std::span<const std::uint8_t> stockBadgeArchive() { return skinui::moduleResource(IDR_STOCK_ARCHIVE); }

DropResult dropArchiveTo(const std::string& path, std::span<const std::uint8_t> bytes) {
    if (directorySearchFinds(path))
        return DropResult::AlreadyPresent;
    if (bytes.empty())
        return DropResult::Failed;
    // Stage beside the target, then move into place without replacing: if something of
    // that name appeared meanwhile it stays, like any existing file.
    const std::wstring target = toWide(path);
    const std::wstring temp = createSiblingTempFile(target, L"ytr");
    if (temp.empty())
        return DropResult::Failed;
    if (!writeWholeFile(temp, bytes) ||
        !::MoveFileExW(temp.c_str(), target.c_str(), MOVEFILE_WRITE_THROUGH)) {
        ::DeleteFileW(temp.c_str());
        return directorySearchFinds(path) ? DropResult::AlreadyPresent : DropResult::Failed;
    }
    return DropResult::Written;
}

DropResult dropArchive() { return dropArchiveTo(std::string(kArchiveDropPath), stockBadgeArchive()); }

std::string ArchiverRun::text() const {
    return status == Status::NotRegistered ? "winrar不存在" : std::string();
}

std::string archiverPathFromRegistry() {
    // This process's own view first, then the 64-bit and the 32-bit one.
    for (REGSAM view : {REGSAM(0), REGSAM(KEY_WOW64_64KEY), REGSAM(KEY_WOW64_32KEY)}) {
        std::string path = readRegistryText(view);
        if (!path.empty())
            return path;
    }
    return {};
}

std::string buildArchiverCommandLine(const std::string& archiverPath,
                                     const std::string& archivePath,
                                     const std::string& destination, bool overwrite,
                                     const std::optional<std::string>& password) {
    std::string line = quoteArgument(archiverPath);
    line += overwrite ? " x -iext -ow -er -o+ " : " x -iext -ow -er -o- ";
    line += quoteArgument(archivePath);
    line += ' ';
    line += quoteArgument(destination);
    if (password && !password->empty()) {
        std::string passwordSwitch = "-p";
        passwordSwitch += *password;
        line += ' ';
        line += quoteArgument(passwordSwitch);
    }
    return line;
}

ArchiverRun extractArchive(const std::string& archivePath, const std::string& destination,
                           const std::optional<std::string>& archiverPath,
                           const std::optional<std::string>& password, bool overwrite) {
    ArchiverRun run;
    const std::string archiver = archiverPath ? *archiverPath : archiverPathFromRegistry();
    if (archiver.empty())
        return run;

    run.commandLine =
        buildArchiverCommandLine(archiver, archivePath, destination, overwrite, password);
    std::wstring commandLine = toWide(run.commandLine); // CreateProcessW may write to it
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_HIDE;
    PROCESS_INFORMATION process{};
    if (!::CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                          nullptr, &startup, &process)) {
        run.status = ArchiverRun::Status::NotStarted;
        run.error = ::GetLastError();
        return run;
    }
    skinui::UniqueKernelHandle processHandle(process.hProcess);
    skinui::UniqueKernelHandle threadHandle(process.hThread);
    // The archiver runs to its end before the restore reports; the window waits with it.
    ::WaitForSingleObject(processHandle.get(), INFINITE);
    ::GetExitCodeProcess(processHandle.get(), &run.exitCode);
    run.status = ArchiverRun::Status::Exited;
    return run;
}

RankOperationOutcome restoreBadges(const std::string& clientDir) {
    using Kind = RankOperationOutcome::Kind;
    if (!isClientDir(clientDir))
        return RankOperationOutcome::of(Kind::ClientDirNotValid);
    if (dropArchive() == DropResult::Failed)
        return RankOperationOutcome::failure(
            Kind::RestoreFailed, "还原失败：无法写入 " + std::string(kArchiveDropPath));

    const ArchiverRun run = extractArchive(std::string(kArchiveDropPath),
                                           clientDir + "\\rez\\UI\\", std::nullopt, std::nullopt,
                                           true);
    switch (run.status) {
    case ArchiverRun::Status::NotRegistered:
        return RankOperationOutcome::failure(Kind::RestoreFailed, "还原失败：" + run.text());
    case ArchiverRun::Status::NotStarted:
        return RankOperationOutcome::failure(
            Kind::RestoreFailed,
            "还原失败：无法启动解压程序（错误代码 " + std::to_string(run.error) + "）");
    case ArchiverRun::Status::Exited:
        if (run.exitCode != 0)
            return RankOperationOutcome::failure(
                Kind::RestoreFailed,
                "还原失败：解压程序出错（退出代码 " + std::to_string(run.exitCode) + "）");
        break;
    }
    return RankOperationOutcome::of(Kind::Restored);
}

} // namespace yunti
