#pragma once
// Reading what the stand-in archiver recorded. Each run appends one line to
// standin_archiver.log beside the program, in UTF-8, ended by LF, its fields separated by
// TAB:
//     <exit code> TAB <what happened> TAB <raw command line> TAB <argv[0]> TAB <argv[1]> ...
// The arguments are those CommandLineToArgvW parsed from the command line, the program's
// own path first. Inside a field '%', TAB, CR, LF and the other control characters are
// written as %XX (two upper-case hex digits).

#include <optional>
#include <string>
#include <vector>

namespace testing_support {

struct ArchiverCall {
    int exitCode = 0;
    std::string outcome; // e.g. "extracted 355 entries", or what went wrong
    std::string commandLine;
    std::vector<std::string> arguments;
};

// The stand-in archiver beside the test program, and its log.
std::wstring standinArchiverPath();
std::wstring standinArchiverLogPath();

// Every recorded call, oldest first; none when the log is missing.
std::vector<ArchiverCall> readArchiverCalls(const std::wstring& logPath = standinArchiverLogPath());

// The most recent call; nothing when the log is missing or empty.
std::optional<ArchiverCall>
lastArchiverCall(const std::wstring& logPath = standinArchiverLogPath());

} // namespace testing_support
