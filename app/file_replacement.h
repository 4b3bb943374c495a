#pragma once
// Replacing several files as one step: either every destination ends up with its new
// bytes, or every destination is as it was. Used by the rank switch, whose three badge
// files must never be left half-switched.

#include <windows.h>

#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace yunti {

struct FileReplacement {
    std::wstring destination;
    std::vector<std::uint8_t> bytes;
};

struct ReplacementFailure {
    enum class Step {
        Stage,   // writing the new bytes beside a destination failed; nothing was changed
        Replace, // putting a file in place failed; the files already replaced were put back
    };
    Step step;
    std::wstring path;  // the destination that could not be staged or replaced
    DWORD error = 0;    // GetLastError() of the failed call
    std::wstring notRestored; // a destination that could not be put back (empty: all were)
};

// Called before each destination is put in place (index into the list); lets tests make
// a step fail the way a program opening the file at that moment would.
using BeforeReplaceHook = std::function<void(std::size_t index)>;

// Writes each replacement's bytes to a temporary file beside its destination, then moves
// the old files aside and the new ones into place (MoveFileExW, write-through). If any step
// fails, the old files are moved back. No temporary or backup file is left either way.
std::optional<ReplacementFailure> replaceFilesTogether(std::span<const FileReplacement> files,
                                                       const BeforeReplaceHook& hook = {});

} // namespace yunti
