#include "app/file_replacement.h"

#include "app/file_io.h"

namespace yunti {
namespace {

constexpr DWORD kMoveReplace = MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH;

struct Slot {
    const FileReplacement* file;
    std::wstring staged; // new bytes, waiting beside the destination
    std::wstring backup; // the old file, moved aside (empty when there was none)
    bool oldMovedAside = false;
    bool placed = false;
};

// Our own staging and backup files; a backup keeps the old file's attributes, which may
// include read-only.
void removeIfPresent(const std::wstring& path) {
    if (path.empty())
        return;
    ::SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    ::DeleteFileW(path.c_str());
}

// Puts every slot back as it was; returns the first destination that could not be restored.
std::wstring rollBack(std::vector<Slot>& slots) {
    std::wstring notRestored;
    for (auto it = slots.rbegin(); it != slots.rend(); ++it) {
        const std::wstring& destination = it->file->destination;
        bool restored = true;
        if (it->oldMovedAside)
            restored = ::MoveFileExW(it->backup.c_str(), destination.c_str(), kMoveReplace) != 0;
        else if (it->placed)
            restored = ::DeleteFileW(destination.c_str()) != 0;
        if (!restored && notRestored.empty())
            notRestored = destination;
        removeIfPresent(it->staged);
        if (restored)
            removeIfPresent(it->backup);
    }
    return notRestored;
}

} // namespace

std::optional<ReplacementFailure> replaceFilesTogether(std::span<const FileReplacement> files,
                                                       const BeforeReplaceHook& hook) {
    std::vector<Slot> slots;
    slots.reserve(files.size());

    // Stage every new file first; until all are written nothing at a destination changes.
    for (const FileReplacement& file : files) {
        Slot slot{&file, createSiblingTempFile(file.destination, L"ytn"), {}};
        slots.push_back(slot);
        if (slot.staged.empty() || !writeWholeFile(slot.staged, file.bytes)) {
            const DWORD error = ::GetLastError();
            rollBack(slots);
            return ReplacementFailure{ReplacementFailure::Step::Stage, file.destination, error, {}};
        }
    }

    for (size_t i = 0; i < slots.size(); ++i) {
        Slot& slot = slots[i];
        const std::wstring& destination = slot.file->destination;
        if (hook)
            hook(i);
        bool ok = true;
        if (pathExists(destination)) {
            slot.backup = createSiblingTempFile(destination, L"ytb");
            ok = !slot.backup.empty() &&
                 ::MoveFileExW(destination.c_str(), slot.backup.c_str(), kMoveReplace);
            slot.oldMovedAside = ok;
        }
        ok = ok && ::MoveFileExW(slot.staged.c_str(), destination.c_str(), kMoveReplace);
        if (!ok) {
            const DWORD error = ::GetLastError();
            return ReplacementFailure{ReplacementFailure::Step::Replace, destination, error,
                                      rollBack(slots)};
        }
        slot.placed = true;
        slot.staged.clear();
    }

    for (Slot& slot : slots)
        removeIfPresent(slot.backup);
    return std::nullopt;
}

} // namespace yunti
