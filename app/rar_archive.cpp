#include "app/rar_archive.h"

#include "app/file_io.h"
#include "skinui/text_conversion.h"

#include <windows.h>

#include <algorithm>
#include <array>
#include <cctype>

namespace yunti {
namespace {

// Block layout (little-endian). After the 7-byte marker "Rar!" 1A 07 00 every block
// starts with: u16 crc (low half of the CRC-32 over the header from the type byte on),
// u8 type, u16 flags, u16 header size. A file block (type 0x74) goes on with pack size,
// unpacked size, host OS, file CRC, DOS time, version, method, name size, attributes,
// [high pack/unpacked sizes], the name, [salt], [extended time]; its data follows the
// header. Other blocks with flag 0x8000 are followed by a u32 count of data bytes. The
// header size covers every optional field, so fields not needed here are stepped over
// with it.
constexpr std::uint8_t kMarker[] = {'R', 'a', 'r', '!', 0x1A, 0x07, 0x00};
constexpr std::uint8_t kMarkerRar5[] = {'R', 'a', 'r', '!', 0x1A, 0x07, 0x01};
constexpr std::uint8_t kBlockArchive = 0x73;
constexpr std::uint8_t kBlockFile = 0x74;
constexpr std::uint8_t kBlockService = 0x7A; // laid out like a file block
constexpr std::uint8_t kBlockEnd = 0x7B;

constexpr std::uint16_t kArchiveEncryptedHeaders = 0x0080;

constexpr std::uint16_t kFlagSplitBefore = 0x0001;
constexpr std::uint16_t kFlagSplitAfter = 0x0002;
constexpr std::uint16_t kFlagEncrypted = 0x0004;
constexpr std::uint16_t kFlagSolid = 0x0010;
constexpr std::uint16_t kFlagDirectoryMask = 0x00E0;
constexpr std::uint16_t kFlagHighSize = 0x0100;
constexpr std::uint16_t kFlagUnicodeName = 0x0200;
constexpr std::uint16_t kFlagLongBlock = 0x8000;
constexpr std::uint8_t kMethodStored = 0x30;

constexpr std::uint8_t kHostUnix = 3;
constexpr std::uint8_t kHostBeOs = 5;
constexpr std::uint32_t kAttributeDirectory = 0x10; // DOS, OS/2 and Windows hosts
constexpr std::uint32_t kModeTypeMask = 0xF000;     // Unix hosts: S_IFMT
constexpr std::uint32_t kModeDirectory = 0x4000;    // S_IFDIR

constexpr size_t kBaseHeader = 7;
constexpr size_t kFileFields = 25; // pack size .. attributes

std::uint16_t u16(const std::uint8_t* p) {
    return static_cast<std::uint16_t>(p[0] | p[1] << 8);
}
std::uint32_t u32(const std::uint8_t* p) {
    return static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8 |
           static_cast<std::uint32_t>(p[2]) << 16 | static_cast<std::uint32_t>(p[3]) << 24;
}

const std::array<std::uint32_t, 256>& crcTable() {
    static const std::array<std::uint32_t, 256> table = [] {
        std::array<std::uint32_t, 256> t{};
        for (std::uint32_t i = 0; i < 256; ++i) {
            std::uint32_t c = i;
            for (int k = 0; k < 8; ++k)
                c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            t[i] = c;
        }
        return t;
    }();
    return table;
}

// Names with flag 0x200 hold an 8-bit name, a NUL, then the UTF-16 name packed against
// it: a high byte, then groups of four 2-bit opcodes, most significant first (a byte
// alone, a byte with the high byte, a full 16-bit unit, or a run copied from the 8-bit
// name with an optional correction added to each byte).
std::wstring decodePackedName(std::span<const std::uint8_t> plain,
                              std::span<const std::uint8_t> packed) {
    std::wstring name;
    if (packed.empty())
        return name;
    size_t at = 0;
    const unsigned high = packed[at++];
    unsigned flags = 0, flagBits = 0;
    while (at < packed.size()) {
        if (flagBits == 0) {
            flags = packed[at++];
            flagBits = 8;
            if (at >= packed.size())
                break;
        }
        switch ((flags >> 6) & 3) {
        case 0:
            name += static_cast<wchar_t>(packed[at++]);
            break;
        case 1:
            name += static_cast<wchar_t>(packed[at++] | high << 8);
            break;
        case 2:
            if (at + 1 >= packed.size())
                return name;
            name += static_cast<wchar_t>(packed[at] | packed[at + 1] << 8);
            at += 2;
            break;
        case 3: {
            unsigned length = packed[at++];
            if (length & 0x80) {
                if (at >= packed.size())
                    return name;
                const unsigned correction = packed[at++];
                for (length = (length & 0x7F) + 2; length > 0 && name.size() < plain.size();
                     --length)
                    name += static_cast<wchar_t>(((plain[name.size()] + correction) & 0xFF) |
                                                 high << 8);
            } else {
                for (length += 2; length > 0 && name.size() < plain.size(); --length)
                    name += static_cast<wchar_t>(plain[name.size()]);
            }
            break;
        }
        }
        flags <<= 2;
        flagBits -= 2;
    }
    return name;
}

// Multi-byte text in `codePage`; nothing when it is not valid there.
std::optional<std::wstring> fromCodePage(std::span<const std::uint8_t> text, UINT codePage,
                                         DWORD flags) {
    if (text.empty())
        return std::wstring();
    const char* bytes = reinterpret_cast<const char*>(text.data());
    const int size = static_cast<int>(text.size());
    const int length = ::MultiByteToWideChar(codePage, flags, bytes, size, nullptr, 0);
    if (length <= 0)
        return std::nullopt;
    std::wstring wide(static_cast<size_t>(length), L'\0');
    ::MultiByteToWideChar(codePage, flags, bytes, size, wide.data(), length);
    return wide;
}

// The stored name field as UTF-8 with backslash separators. With flag 0x200 the field is
// either the 8-bit name, a NUL and the packed UTF-16 name, or (no NUL) the name in UTF-8.
// Plain names are in the OEM code page of a DOS or Windows host, or commonly UTF-8 from a
// Unix host.
std::string decodeName(std::span<const std::uint8_t> field, bool unicode, std::uint8_t host) {
    const size_t nul =
        static_cast<size_t>(std::find(field.begin(), field.end(), 0) - field.begin());
    const std::span<const std::uint8_t> plain = field.first(nul);
    std::wstring wide;
    if (unicode && nul < field.size())
        wide = decodePackedName(plain, field.subspan(nul + 1));
    if (wide.empty()) {
        std::optional<std::wstring> text;
        if (unicode || host == kHostUnix || host == kHostBeOs)
            text = fromCodePage(plain, CP_UTF8, MB_ERR_INVALID_CHARS);
        if (!text)
            text = fromCodePage(plain, CP_OEMCP, 0);
        wide = text.value_or(std::wstring());
    }
    std::replace(wide.begin(), wide.end(), L'/', L'\\');
    return skinui::toUtf8(wide);
}

bool isDirectoryEntry(std::uint16_t flags, std::uint8_t host, std::uint32_t attributes) {
    if ((flags & kFlagDirectoryMask) == kFlagDirectoryMask)
        return true;
    // Unix hosts store a mode, where 0x10 is the group's write permission.
    if (host == kHostUnix || host == kHostBeOs)
        return (attributes & kModeTypeMask) == kModeDirectory;
    return (attributes & kAttributeDirectory) != 0;
}

std::string describeAt(const char* what, size_t offset) {
    return std::string(what) + " at offset " + std::to_string(offset);
}

// Creates `path` and every folder above it; platform errors are left to the caller's
// check of the outcome.
void makeFolders(const std::wstring& path) {
    for (size_t at = path.find(L'\\'); at != std::wstring::npos; at = path.find(L'\\', at + 1))
        if (at > 0 && path[at - 1] != L':' && path[at - 1] != L'\\')
            ::CreateDirectoryW(path.substr(0, at).c_str(), nullptr);
    ::CreateDirectoryW(path.c_str(), nullptr);
}

bool isFolder(const std::wstring& path) {
    const DWORD attributes = ::GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool isDeviceName(std::string part) {
    // Windows resolves a device name with any extension (and trailing blanks) to the device.
    part = part.substr(0, part.find('.'));
    while (!part.empty() && part.back() == ' ')
        part.pop_back();
    for (char& c : part)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    if (part == "CON" || part == "PRN" || part == "AUX" || part == "NUL" || part == "CONIN$" ||
        part == "CONOUT$")
        return true;
    return part.size() == 4 && (part.starts_with("COM") || part.starts_with("LPT")) &&
           part[3] >= '0' && part[3] <= '9';
}

} // namespace

std::uint32_t crc32(std::span<const std::uint8_t> bytes, std::uint32_t crc) {
    const auto& table = crcTable();
    crc = ~crc;
    for (std::uint8_t b : bytes)
        crc = table[(crc ^ b) & 0xFF] ^ (crc >> 8);
    return ~crc;
}

bool isSafeEntryName(const std::string& name) {
    if (name.empty())
        return false;
    for (unsigned char c : name)
        if (c < 0x20 || c == 0x7F ||
            std::string_view(":*?\"<>|").find(static_cast<char>(c)) != std::string_view::npos)
            return false;
    size_t start = 0;
    while (true) {
        const size_t end = name.find_first_of("\\/", start);
        const std::string part = name.substr(start, end == std::string::npos ? end : end - start);
        if (part.empty() || part == "." || part == ".." || part.back() == '.' ||
            part.back() == ' ' || isDeviceName(part))
            return false;
        if (end == std::string::npos)
            return true;
        start = end + 1;
    }
}

std::optional<RarArchive> RarArchive::parse(std::span<const std::uint8_t> bytes,
                                            std::string& error) {
    auto startsWith = [&](std::span<const std::uint8_t> prefix) {
        return bytes.size() >= prefix.size() &&
               std::equal(prefix.begin(), prefix.end(), bytes.begin());
    };
    if (startsWith(kMarkerRar5)) {
        error = "not a RAR 1.5-4.x archive (RAR 5 format)";
        return std::nullopt;
    }
    if (!startsWith(kMarker)) {
        error = "not a RAR archive";
        return std::nullopt;
    }
    RarArchive archive;
    bool sawEnd = false;
    size_t at = sizeof(kMarker);
    while (at < bytes.size()) {
        if (bytes.size() - at < kBaseHeader) {
            error = describeAt("truncated block header", at);
            return std::nullopt;
        }
        const std::uint8_t* head = bytes.data() + at;
        const std::uint8_t type = head[2];
        const std::uint16_t flags = u16(head + 3);
        const size_t headerSize = u16(head + 5);
        if (headerSize < kBaseHeader || headerSize > bytes.size() - at) {
            error = describeAt("truncated or malformed block", at);
            return std::nullopt;
        }
        if ((crc32(bytes.subspan(at + 2, headerSize - 2)) & 0xFFFF) != u16(head)) {
            error = describeAt("header checksum mismatch", at);
            return std::nullopt;
        }
        const bool first = at == sizeof(kMarker);
        if (first != (type == kBlockArchive)) {
            error = describeAt(first ? "no archive header" : "a second archive header", at);
            return std::nullopt;
        }
        if (type == kBlockArchive && (flags & kArchiveEncryptedHeaders)) {
            error = "the archive's headers are encrypted";
            return std::nullopt;
        }
        if (type == kBlockEnd) {
            sawEnd = true;
            break;
        }

        std::uint64_t dataSize = 0;
        if (type == kBlockFile) {
            if (headerSize < kBaseHeader + kFileFields) {
                error = describeAt("file header too short", at);
                return std::nullopt;
            }
            const std::uint8_t* f = head + kBaseHeader;
            std::uint64_t packSize = u32(f);
            std::uint64_t unpackedSize = u32(f + 4);
            const std::uint8_t host = f[8];
            const std::uint32_t fileCrc = u32(f + 9);
            const std::uint8_t method = f[18];
            const size_t nameSize = u16(f + 19);
            const std::uint32_t attributes = u32(f + 21);
            size_t nameAt = kBaseHeader + kFileFields;
            if (flags & kFlagHighSize) {
                if (headerSize < nameAt + 8) {
                    error = describeAt("file header too short", at);
                    return std::nullopt;
                }
                packSize |= static_cast<std::uint64_t>(u32(head + nameAt)) << 32;
                unpackedSize |= static_cast<std::uint64_t>(u32(head + nameAt + 4)) << 32;
                nameAt += 8;
            }
            if (headerSize < nameAt + nameSize) {
                error = describeAt("file name runs past its header", at);
                return std::nullopt;
            }
            RarEntry entry;
            entry.name = decodeName(bytes.subspan(at + nameAt, nameSize),
                                    (flags & kFlagUnicodeName) != 0, host);
            entry.hostOs = host;
            entry.attributes = attributes;
            entry.isDirectory = isDirectoryEntry(flags, host, attributes);
            entry.crc = fileCrc;
            if (flags & (kFlagSplitBefore | kFlagSplitAfter)) {
                error = "entry " + entry.name + " is split across volumes";
                return std::nullopt;
            }
            if (flags & kFlagEncrypted) {
                error = "entry " + entry.name + " is encrypted";
                return std::nullopt;
            }
            if (!entry.isDirectory && (flags & kFlagSolid)) {
                error = "entry " + entry.name + " is solid; only stored entries are read";
                return std::nullopt;
            }
            if (!entry.isDirectory && (method != kMethodStored || packSize != unpackedSize)) {
                error = "entry " + entry.name + " is compressed; only stored entries are read";
                return std::nullopt;
            }
            dataSize = packSize;
            const size_t dataAt = at + headerSize;
            if (dataSize > bytes.size() - dataAt) {
                error = "entry " + entry.name + " is truncated";
                return std::nullopt;
            }
            if (!entry.isDirectory) {
                entry.size = unpackedSize;
                entry.data = bytes.subspan(dataAt, static_cast<size_t>(dataSize));
                if (crc32(entry.data) != entry.crc) {
                    error = "entry " + entry.name + " is damaged (checksum mismatch)";
                    return std::nullopt;
                }
            }
            archive.entries_.push_back(std::move(entry));
        } else if (flags & kFlagLongBlock) {
            if (headerSize < kBaseHeader + 4) {
                error = describeAt("malformed block", at);
                return std::nullopt;
            }
            dataSize = u32(head + kBaseHeader);
            if (type == kBlockService && (flags & kFlagHighSize) &&
                headerSize >= kBaseHeader + kFileFields + 4)
                dataSize |= static_cast<std::uint64_t>(u32(head + kBaseHeader + kFileFields)) << 32;
            if (dataSize > bytes.size() - at - headerSize) {
                error = describeAt("truncated block", at);
                return std::nullopt;
            }
        }
        at += headerSize + static_cast<size_t>(dataSize);
    }
    if (!sawEnd) {
        // RAR 3 and later always close an archive with this block; without it the bytes
        // may have been cut at a block boundary.
        error = describeAt("truncated archive: no end block", at);
        return std::nullopt;
    }
    return archive;
}

std::optional<RarArchive> RarArchive::open(const std::wstring& path, std::string& error) {
    std::vector<std::uint8_t> bytes;
    if (!readWholeFile(path, bytes)) {
        error = "cannot read " + skinui::toUtf8(path);
        return std::nullopt;
    }
    auto archive = parse(bytes, error);
    if (archive)
        archive->storage_ = std::move(bytes); // the entries' views move with the buffer
    return archive;
}

const RarEntry* RarArchive::find(const std::string& name) const {
    for (const RarEntry& entry : entries_)
        if (entry.name == name)
            return &entry;
    return nullptr;
}

std::string RarArchive::extractTo(const std::wstring& folder, bool overwrite) const {
    if (folder.empty())
        return "no destination folder";
    for (const RarEntry& entry : entries_)
        if (!isSafeEntryName(entry.name))
            return "refusing entry \"" + entry.name + "\": it would not land inside the folder";

    // "D:\x\" and "D:\x" name the same folder; a bare "\" stays the root.
    std::wstring base = folder;
    while (!base.empty() && (base.back() == L'\\' || base.back() == L'/'))
        base.pop_back();
    std::replace(base.begin(), base.end(), L'/', L'\\');
    if (!base.empty()) {
        makeFolders(base);
        if (!isFolder(base))
            return "cannot create folder " + skinui::toUtf8(base);
    }
    for (const RarEntry& entry : entries_) {
        std::wstring target = base + L"\\" + skinui::toWide(entry.name);
        std::replace(target.begin(), target.end(), L'/', L'\\');
        const std::wstring folderOfTarget = entry.isDirectory ? target : folderOf(target);
        makeFolders(folderOfTarget);
        if (!isFolder(folderOfTarget))
            return "cannot create folder " + skinui::toUtf8(folderOfTarget);
        if (entry.isDirectory)
            continue;
        if (pathExists(target)) {
            if (!overwrite)
                continue;
            ::SetFileAttributesW(target.c_str(), FILE_ATTRIBUTE_NORMAL); // read-only, hidden
        }
        if (!writeWholeFile(target, entry.data))
            return "cannot write " + skinui::toUtf8(target);
    }
    return {};
}

} // namespace yunti
