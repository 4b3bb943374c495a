#pragma once
// A reader for RAR 1.5 - 4.x archives whose entries are stored (not compressed), like the
// program's own stock badge archive.
//
// Error policy: nothing throws. parse() and open() give no archive and an error text for a
// malformed, truncated, encrypted, split or compressed archive; extractTo() returns an
// error text (empty on success).

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace yunti {

// CRC-32 as RAR (and zlib) compute it.
std::uint32_t crc32(std::span<const std::uint8_t> bytes, std::uint32_t crc = 0);

struct RarEntry {
    std::string name;  // UTF-8, folders separated by backslashes, as stored
    bool isDirectory = false;
    std::uint32_t attributes = 0; // DOS attributes
    std::uint32_t crc = 0;        // CRC-32 of the data (0 for folders)
    std::span<const std::uint8_t> data; // the stored bytes, inside the archive's bytes
};

class RarArchive {
  public:
    // Reads an archive held in memory; the bytes must outlive the archive object.
    static std::optional<RarArchive> parse(std::span<const std::uint8_t> bytes,
                                           std::string& error);
    // Reads an archive file; the object keeps its own copy of the bytes.
    static std::optional<RarArchive> open(const std::wstring& path, std::string& error);

    const std::vector<RarEntry>& entries() const { return entries_; }
    const RarEntry* find(const std::string& name) const;

    // Writes every entry below `folder` (created as needed), keeping the stored paths.
    // Existing files are replaced when `overwrite` is true and left alone otherwise.
    std::string extractTo(const std::wstring& folder, bool overwrite) const;

  private:
    std::vector<std::uint8_t> storage_; // only for archives read from a file
    std::vector<RarEntry> entries_;
};

// Whether a stored entry name stays inside the folder it is extracted to: relative, no
// drive, no ".." component, no empty component.
bool isSafeEntryName(const std::string& name);

} // namespace yunti
