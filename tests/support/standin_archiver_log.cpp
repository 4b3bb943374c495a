#include "support/standin_archiver_log.h"

#include "support/temp_folder.h"

#include <sstream>

namespace testing_support {

std::wstring standinArchiverPath() { return programFolder() + L"\\standin_archiver.exe"; }
std::wstring standinArchiverLogPath() { return programFolder() + L"\\standin_archiver.log"; }

std::vector<ArchiverCall> readArchiverCalls(const std::wstring& logPath) {
    std::vector<ArchiverCall> calls;
    if (!exists(logPath))
        return calls;
    std::istringstream log(readFile(logPath));
    std::string line;
    ArchiverCall call;
    while (std::getline(log, line)) {
        if (line.rfind("cmd\t", 0) == 0)
            call = ArchiverCall{line.substr(4), {}};
        else if (line.rfind("arg\t", 0) == 0)
            call.arguments.push_back(line.substr(4));
        else if (line == "end")
            calls.push_back(call);
    }
    return calls;
}

} // namespace testing_support
