// A stand-in for the external archiver, for tests of the restore command.
//
// Accepts the command line the program builds:
//     <this exe> x <switches and paths>
// where the switches may stand anywhere after the command (until "--"): -iext, -ow, -er,
// -o+ (replace existing files, the default), -o- (keep them) and -p<password> (recorded,
// not used). Any other switch is a bad command line, so a test sees a changed command
// line at once. Exactly two paths are expected, the archive and then the destination
// folder. It extracts the stored RAR archive there with full paths.
//
// Each run appends one record to standin_archiver.log beside this program; the format is
// described in tests/support/standin_archiver_log.h, which reads it back.
//
// Exit codes: 0 done, 1 bad command line, 2 archive unreadable, damaged or with names that
// would land outside the folder, 3 write failure. When STANDIN_ARCHIVER_EXIT_CODE is set to
// a number, the call is logged and that code is returned without extracting, so tests can
// play an archiver that fails.

#include "app/rar_archive.h"
#include "skinui/text_conversion.h"

#include <windows.h>
#include <shellapi.h>

#include <climits>
#include <cwchar>
#include <optional>
#include <string>
#include <vector>

namespace {

struct Outcome {
    int exitCode = 0;
    std::string message;
};

std::wstring ownPath() {
    std::wstring path(MAX_PATH, L'\0');
    while (true) {
        const DWORD length =
            ::GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length < path.size()) {
            path.resize(length);
            return path;
        }
        path.resize(path.size() * 2);
    }
}

std::wstring logPath() {
    const std::wstring self = ownPath();
    return self.substr(0, self.find_last_of(L'\\')) + L"\\standin_archiver.log";
}

// A field of a log line: '%', TAB, CR, LF and the other control characters as %XX.
std::string logField(const std::string& text) {
    static const char hex[] = "0123456789ABCDEF";
    std::string field;
    for (unsigned char c : text) {
        if (c < 0x20 || c == 0x7F || c == '%') {
            field += '%';
            field += hex[c >> 4];
            field += hex[c & 15];
        } else {
            field += static_cast<char>(c);
        }
    }
    return field;
}

void appendLog(const std::wstring& commandLine, const std::vector<std::wstring>& arguments,
               const Outcome& outcome) {
    std::string record = std::to_string(outcome.exitCode);
    for (const std::string& field : {outcome.message, skinui::toUtf8(commandLine)})
        record.append("\t").append(logField(field));
    for (const std::wstring& argument : arguments)
        record.append("\t").append(logField(skinui::toUtf8(argument)));
    record += '\n';
    // Shared for writing, so that runs that overlap both get their line in.
    HANDLE file =
        ::CreateFileW(logPath().c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE,
                      nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return;
    DWORD written = 0;
    ::WriteFile(file, record.data(), static_cast<DWORD>(record.size()), &written, nullptr);
    ::CloseHandle(file);
}

// STANDIN_ARCHIVER_EXIT_CODE as a number; nothing when unset or not a number.
std::optional<int> forcedExitCode() {
    const DWORD size = ::GetEnvironmentVariableW(L"STANDIN_ARCHIVER_EXIT_CODE", nullptr, 0);
    if (size == 0)
        return std::nullopt;
    std::wstring value(size, L'\0');
    value.resize(::GetEnvironmentVariableW(L"STANDIN_ARCHIVER_EXIT_CODE", value.data(), size));
    wchar_t* end = nullptr;
    const long long code = std::wcstoll(value.c_str(), &end, 10);
    if (value.empty() || *end != L'\0' || code < INT_MIN || code > UINT_MAX)
        return std::nullopt;
    return static_cast<int>(static_cast<unsigned>(code));
}

bool isSwitch(const std::wstring& argument, const wchar_t* name) {
    return ::CompareStringOrdinal(argument.c_str(), -1, name, -1, TRUE) == CSTR_EQUAL;
}

Outcome run(const std::vector<std::wstring>& arguments) {
    if (const auto code = forcedExitCode())
        return {*code, "exit code forced by STANDIN_ARCHIVER_EXIT_CODE"};

    // argv[0] is this program; then the command, switches, archive and destination.
    if (arguments.size() < 2 || !isSwitch(arguments[1], L"x"))
        return {1, "the command must be x"};
    bool overwrite = true;
    bool switchesEnded = false;
    std::vector<std::wstring> paths;
    for (size_t i = 2; i < arguments.size(); ++i) {
        const std::wstring& argument = arguments[i];
        if (switchesEnded || argument.empty() || argument[0] != L'-') {
            paths.push_back(argument);
        } else if (argument == L"--") {
            switchesEnded = true;
        } else if (isSwitch(argument, L"-o+") || isSwitch(argument, L"-o-")) {
            overwrite = argument[2] == L'+';
        } else if (!isSwitch(argument, L"-iext") && !isSwitch(argument, L"-ow") &&
                   !isSwitch(argument, L"-er") &&
                   !(argument.size() > 2 && (argument[1] == L'p' || argument[1] == L'P'))) {
            return {1, "unknown switch " + skinui::toUtf8(argument)};
        }
    }
    if (paths.size() != 2)
        return {1, "expected an archive and a destination folder, got " +
                       std::to_string(paths.size()) + " paths"};

    std::string error;
    const auto archive = yunti::RarArchive::open(paths[0], error);
    if (!archive)
        return {2, error};
    for (const yunti::RarEntry& entry : archive->entries())
        if (!yunti::isSafeEntryName(entry.name))
            return {2, "unsafe entry name " + entry.name};
    error = archive->extractTo(paths[1], overwrite);
    if (!error.empty())
        return {3, error};
    return {0, "extracted " + std::to_string(archive->entries().size()) + " entries"};
}

} // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    const std::wstring commandLine = ::GetCommandLineW();
    int count = 0;
    LPWSTR* argv = ::CommandLineToArgvW(commandLine.c_str(), &count);
    const std::vector<std::wstring> arguments(argv, argv + (argv ? count : 0));
    ::LocalFree(argv);

    const Outcome outcome = run(arguments);
    appendLog(commandLine, arguments, outcome);
    return outcome.exitCode;
}
