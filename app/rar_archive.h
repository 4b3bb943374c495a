#pragma once
// A reader for RAR 1.5 - 4.x archives whose entries are stored (not compressed), like the
// program's own stock badge archive.
//
// Error policy: nothing throws. parse() and open() give no archive and an error text for a
// malformed, truncated, encrypted, split or compressed archive; extractTo() returns an
// error text, empty on success.

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace yunti {

// CRC-32 as RAR (and zlib) compute it; pass a previous result to go on over more bytes.
std::uint32_t crc32(std::span<const std::uint8_t> bytes, std::uint32_t crc = 0);

struct RarEntry {
    std::string name; // UTF-8, folders separated by backslashes
    bool isDirectory = false;
    std::uint64_t size = 0;             // bytes of data (0 for folders)
    std::uint32_t crc = 0;              // CRC-32 of the data (0 for folders)
    std::uint32_t attributes = 0;       // as stored: DOS attributes, or a mode from a Unix host
    std::uint8_t hostOs = 0;            // 0 MS-DOS, 1 OS/2, 2 Windows, 3 Unix, 4 Mac OS, 5 BeOS
    std::span<const std::uint8_t> data; // the stored bytes, inside the archive's bytes
};

class RarArchive final {
  public:
    // Reads an archive held in memory; the bytes must outlive the archive object. Every
    // header checksum and every file's CRC-32 is checked here.
    static std::optional<RarArchive> parse(std::span<const std::uint8_t> bytes, std::string& error);
    // Reads an archive file; the object keeps its own copy of the bytes.
    static std::optional<RarArchive> open(const std::wstring& path, std::string& error);

    // Move-only: the entries' data views point into the bytes the object was made from,
    // which a copy of an opened archive would not own.
    RarArchive(RarArchive&&) noexcept = default;
    RarArchive& operator=(RarArchive&&) noexcept = default;
    RarArchive(const RarArchive&) = delete;
    RarArchive& operator=(const RarArchive&) = delete;

    // In archive order.
    const std::vector<RarEntry>& entries() const { return entries_; }
    // The entry stored under `name` (compared exactly), or null.
    const RarEntry* find(const std::string& name) const;

    // Writes every entry below `folder` (created as needed), keeping the stored paths.
    // Existing files are replaced when `overwrite` is true (read-only ones too) and left
    // alone otherwise. Nothing is written when any entry name fails isSafeEntryName.
    std::string extractTo(const std::wstring& folder, bool overwrite) const;

  private:
    RarArchive() = default;

    std::vector<std::uint8_t> storage_; // only for archives read from a file
    std::vector<RarEntry> entries_;
};

// Whether a stored entry name stays inside the folder it is extracted to and names an
// ordinary file there: relative, no drive or stream (':'), no "." or ".." or empty
// component, no component Windows would trim (trailing dot or blank), no device name (CON,
// NUL, COM1 ...), no control or wildcard characters.
bool isSafeEntryName(const std::string& name);

} // namespace yunti
