#include "app/rar_archive.h"

#include "app/file_io.h"
#include "skinui/text_conversion.h"

#include <windows.h>

#include <array>

namespace yunti {
namespace {

// Block layout (little-endian). After the 7-byte marker "Rar!" 1A 07 00 every block
// starts with: u16 crc (low half of the CRC-32 over the header from the type byte on),
// u8 type, u16 flags, u16 header size. A file block (type 0x74) goes on with pack size,
// unpacked size, host OS, file CRC, DOS time, version, method, name size, attributes,
// [high pack/unpacked sizes], the name, [salt], [extended time]; its data follows the
// header. Other blocks with flag 0x8000 are followed by a u32 count of data bytes.
constexpr std::uint8_t kMarker[] = {'R', 'a', 'r', '!', 0x1A, 0x07, 0x00};
constexpr std::uint8_t kBlockArchive = 0x73;
constexpr std::uint8_t kBlockFile = 0x74;
constexpr std::uint8_t kBlockEnd = 0x7B;

constexpr std::uint16_t kFlagSplitBefore = 0x0001;
constexpr std::uint16_t kFlagSplitAfter = 0x0002;
constexpr std::uint16_t kFlagEncrypted = 0x0004;
constexpr std::uint16_t kFlagSolid = 0x0010;
constexpr std::uint16_t kFlagDirectoryMask = 0x00E0;
constexpr std::uint16_t kFlagHighSize = 0x0100;
constexpr std::uint16_t kFlagUnicodeName = 0x0200;
constexpr std::uint16_t kFlagLongBlock = 0x8000;
constexpr std::uint8_t kMethodStored = 0x30;
constexpr std::uint32_t kAttributeDirectory = 0x10;

constexpr size_t kBaseHeader = 7;
constexpr size_t kFileFields = 25; // pack size .. attributes

std::uint16_t u16(const std::uint8_t* p) { return static_cast<std::uint16_t>(p[0] | p[1] << 8); }
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
// it: a high byte, then groups of four 2-bit opcodes (byte with the high byte, byte alone,
// full 16-bit unit, or a run copied from the 8-bit name with an optional correction).
std::wstring decodeUnicodeName(std::span<const std::uint8_t> field) {
    size_t nul = 0;
    while (nul < field.size() && field[nul] != 0)
        ++nul;
    const std::span<const std::uint8_t> plain = field.first(nul);
    if (nul + 1 >= field.size())
        return {};
    const std::span<const std::uint8_t> packed = field.subspan(nul + 1);
    std::wstring name;
    size_t at = 0;
    const std::uint8_t high = packed[at++];
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
                const std::uint8_t correction = packed[at++];
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

std::string decodeName(std::span<const std::uint8_t> field, bool unicode) {
    if (unicode) {
        const std::wstring wide = decodeUnicodeName(field);
        if (!wide.empty())
            return skinui::toUtf8(wide);
    }
    size_t length = 0;
    while (length < field.size() && field[length] != 0)
        ++length;
    // Plain names are in the OEM code page of the system that made the archive.
    const int size = static_cast<int>(length);
    const char* text = reinterpret_cast<const char*>(field.data());
    const int wideLength = ::MultiByteToWideChar(CP_OEMCP, 0, text, size, nullptr, 0);
    std::wstring wide(static_cast<size_t>(wideLength), L'\0');
    ::MultiByteToWideChar(CP_OEMCP, 0, text, size, wide.data(), wideLength);
    return skinui::toUtf8(wide);
}

std::string describeAt(const char* what, size_t offset) {
    return std::string(what) + " at offset " + std::to_string(offset);
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
    if (name.empty() || name.find(':') != std::string::npos)
        return false;
    size_t start = 0;
    while (true) {
        const size_t end = name.find_first_of("\\/", start);
        const std::string part = name.substr(start, end == std::string::npos ? end : end - start);
        if (part.empty() || part == "." || part == "..")
            return false;
        if (end == std::string::npos)
            return true;
        start = end + 1;
    }
}

std::optional<RarArchive> RarArchive::parse(std::span<const std::uint8_t> bytes,
                                            std::string& error) {
    if (bytes.size() < sizeof(kMarker) ||
        !std::equal(std::begin(kMarker), std::end(kMarker), bytes.begin())) {
        error = "not a RAR archive";
        return std::nullopt;
    }
    RarArchive archive;
    bool sawArchiveHeader = false;
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
        if (type == kBlockEnd)
            break;

        std::uint64_t dataSize = 0;
        if (type == kBlockFile) {
            if (headerSize < kBaseHeader + kFileFields) {
                error = describeAt("file header too short", at);
                return std::nullopt;
            }
            const std::uint8_t* f = head + kBaseHeader;
            std::uint64_t packSize = u32(f);
            std::uint64_t unpackedSize = u32(f + 4);
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
                                    (flags & kFlagUnicodeName) != 0);
            entry.attributes = attributes;
            entry.isDirectory = (flags & kFlagDirectoryMask) == kFlagDirectoryMask ||
                                (attributes & kAttributeDirectory) != 0;
            entry.crc = fileCrc;
            if (flags & (kFlagSplitBefore | kFlagSplitAfter)) {
                error = "entry " + entry.name + " is split across volumes";
                return std::nullopt;
            }
            if (flags & kFlagEncrypted) {
                error = "entry " + entry.name + " is encrypted";
                return std::nullopt;
            }
            if (!entry.isDirectory && ((flags & kFlagSolid) || method != kMethodStored ||
                                       packSize != unpackedSize)) {
                error = "entry " + entry.name + " is compressed; only stored entries are read";
                return std::nullopt;
            }
            dataSize = packSize;
            const size_t dataAt = at + headerSize;
            if (dataSize > bytes.size() - dataAt) {
                error = "entry " + entry.name + " is truncated";
                return std::nullopt;
            }
            entry.data = bytes.subspan(dataAt, static_cast<size_t>(dataSize));
            if (!entry.isDirectory && crc32(entry.data) != entry.crc) {
                error = "entry " + entry.name + " is damaged (checksum mismatch)";
                return std::nullopt;
            }
            archive.entries_.push_back(std::move(entry));
        } else {
            sawArchiveHeader = sawArchiveHeader || type == kBlockArchive;
            if (flags & kFlagLongBlock) {
                if (headerSize < kBaseHeader + 4) {
                    error = describeAt("malformed block", at);
                    return std::nullopt;
                }
                dataSize = u32(head + kBaseHeader);
                if (dataSize > bytes.size() - at - headerSize) {
                    error = describeAt("truncated block", at);
                    return std::nullopt;
                }
            }
        }
        at += headerSize + static_cast<size_t>(dataSize);
    }
    if (!sawArchiveHeader) {
        error = "no archive header";
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
    std::wstring base = folder;
    while (!base.empty() && (base.back() == L'\\' || base.back() == L'/'))
        base.pop_back();
    for (const RarEntry& entry : entries_)
        if (!isSafeEntryName(entry.name))
            return "refusing entry " + entry.name + ": it would land outside the folder";

    auto makeFolders = [](const std::wstring& path) {
        for (size_t at = path.find(L'\\'); at != std::wstring::npos; at = path.find(L'\\', at + 1))
            if (at > 0 && path[at - 1] != L':')
                ::CreateDirectoryW(path.substr(0, at).c_str(), nullptr);
        ::CreateDirectoryW(path.c_str(), nullptr);
    };
    makeFolders(base);
    for (const RarEntry& entry : entries_) {
        std::wstring relative = skinui::toWide(entry.name);
        for (wchar_t& c : relative)
            if (c == L'/')
                c = L'\\';
        const std::wstring target = base + L"\\" + relative;
        if (entry.isDirectory) {
            makeFolders(target);
            continue;
        }
        makeFolders(folderOf(target));
        if (pathExists(target)) {
            if (!overwrite)
                continue;
            ::SetFileAttributesW(target.c_str(), FILE_ATTRIBUTE_NORMAL);
        }
        if (!writeWholeFile(target, entry.data))
            return "cannot write " + skinui::toUtf8(target);
    }
    return {};
}

} // namespace yunti
