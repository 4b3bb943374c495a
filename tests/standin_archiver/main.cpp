// A stand-in for the external archiver, for tests of the restore command.
//
// Accepts the command line the program builds:
//     <this exe> x [-switch ...] <archive> <destination folder>
// with -o+ (replace existing files, the default) or -o- (keep them); other switches are
// accepted and ignored. It extracts the stored RAR archive there with full paths and
// appends what it was given to standin_archiver.log beside itself (format: see
// tests/support/standin_archiver_log.h).
//
// Exit codes: 0 done, 1 bad command line, 2 archive unreadable or damaged, 3 write failure.
// When STANDIN_ARCHIVER_EXIT_CODE is set, the call is logged and that code is returned
// without extracting, so tests can play an archiver that fails.

#include "app/rar_archive.h"
#include "skinui/text_conversion.h"

#include <windows.h>
#include <shellapi.h>

#include <string>
#include <vector>

namespace {

std::wstring logPath() {
    wchar_t path[MAX_PATH] = {};
    ::GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring folder = path;
    return folder.substr(0, folder.find_last_of(L'\\')) + L"\\standin_archiver.log";
}

void appendLog(const std::wstring& commandLine, const std::vector<std::wstring>& arguments) {
    std::string record = "cmd\t" + skinui::toUtf8(commandLine) + "\n";
    for (const std::wstring& argument : arguments)
        record += "arg\t" + skinui::toUtf8(argument) + "\n";
    record += "end\n";
    HANDLE file = ::CreateFileW(logPath().c_str(), FILE_APPEND_DATA, FILE_SHARE_READ, nullptr,
                                OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return;
    DWORD written = 0;
    ::WriteFile(file, record.data(), static_cast<DWORD>(record.size()), &written, nullptr);
    ::CloseHandle(file);
}

} // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    const std::wstring commandLine = ::GetCommandLineW();
    int count = 0;
    LPWSTR* argv = ::CommandLineToArgvW(commandLine.c_str(), &count);
    std::vector<std::wstring> arguments(argv, argv + (argv ? count : 0));
    ::LocalFree(argv);
    appendLog(commandLine, arguments);

    wchar_t forced[16] = {};
    if (::GetEnvironmentVariableW(L"STANDIN_ARCHIVER_EXIT_CODE", forced, 16) > 0)
        return _wtoi(forced);

    // argv[0] is this program; then the command, switches, archive and destination.
    if (arguments.size() < 4 || arguments[1] != L"x")
        return 1;
    bool overwrite = true;
    std::vector<std::wstring> paths;
    for (size_t i = 2; i < arguments.size(); ++i) {
        const std::wstring& argument = arguments[i];
        if (!argument.empty() && argument[0] == L'-') {
            if (argument == L"-o-")
                overwrite = false;
            else if (argument == L"-o+")
                overwrite = true;
        } else {
            paths.push_back(argument);
        }
    }
    if (paths.size() != 2)
        return 1;

    std::string error;
    const auto archive = yunti::RarArchive::open(paths[0], error);
    if (!archive)
        return 2;
    return archive->extractTo(paths[1], overwrite).empty() ? 0 : 3;
}
