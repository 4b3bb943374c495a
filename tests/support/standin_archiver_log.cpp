#include "support/standin_archiver_log.h"

#include "support/temp_folder.h"

#include <cstdlib>
#include <sstream>

namespace testing_support {
namespace {

std::string unescape(const std::string& field) {
    std::string text;
    for (size_t i = 0; i < field.size(); ++i) {
        if (field[i] == '%' && i + 2 < field.size()) {
            text += static_cast<char>(std::strtol(field.substr(i + 1, 2).c_str(), nullptr, 16));
            i += 2;
        } else {
            text += field[i];
        }
    }
    return text;
}

std::vector<std::string> splitFields(const std::string& line) {
    std::vector<std::string> fields;
    size_t start = 0;
    while (true) {
        const size_t tab = line.find('\t', start);
        fields.push_back(
            unescape(line.substr(start, tab == std::string::npos ? tab : tab - start)));
        if (tab == std::string::npos)
            return fields;
        start = tab + 1;
    }
}

} // namespace

std::wstring standinArchiverPath() {
    return programFolder() + L"\\standin_archiver.exe";
}
std::wstring standinArchiverLogPath() {
    return programFolder() + L"\\standin_archiver.log";
}

std::vector<ArchiverCall> readArchiverCalls(const std::wstring& logPath) {
    std::vector<ArchiverCall> calls;
    if (!exists(logPath))
        return calls;
    std::istringstream log(readFile(logPath));
    std::string line;
    while (std::getline(log, line)) {
        const std::vector<std::string> fields = splitFields(line);
        if (fields.size() < 3)
            continue; // not a record
        ArchiverCall call;
        call.exitCode = std::atoi(fields[0].c_str());
        call.outcome = fields[1];
        call.commandLine = fields[2];
        call.arguments.assign(fields.begin() + 3, fields.end());
        calls.push_back(std::move(call));
    }
    return calls;
}

std::optional<ArchiverCall> lastArchiverCall(const std::wstring& logPath) {
    std::vector<ArchiverCall> calls = readArchiverCalls(logPath);
    if (calls.empty())
        return std::nullopt;
    return std::move(calls.back());
}

} // namespace testing_support
