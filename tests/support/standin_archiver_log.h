#pragma once
// Reading what the stand-in archiver recorded. Each run appends one record to
// standin_archiver.log beside the program:
//     cmd<TAB><the raw command line>
//     arg<TAB><argument>          (one line per parsed argument, argv[0] first)
//     end
// all in UTF-8.

#include <string>
#include <vector>

namespace testing_support {

struct ArchiverCall {
    std::string commandLine;
    std::vector<std::string> arguments;
};

// The stand-in archiver beside the test program, and its log.
std::wstring standinArchiverPath();
std::wstring standinArchiverLogPath();

// Every recorded call, oldest first; none when the log is missing.
std::vector<ArchiverCall> readArchiverCalls(const std::wstring& logPath = standinArchiverLogPath());

} // namespace testing_support
