// The stored-RAR reader on the embedded stock archive and on small archives made here, and
// the stand-in archiver built on it.

#include "app/rar_archive.h"
#include "app/rank_files.h"
#include "skinui/text_conversion.h"
#include "support/standin_archiver_log.h"
#include "support/temp_folder.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <set>
#include <type_traits>

using namespace yunti;
using namespace testing_support;
using skinui::toUtf8;
using skinui::toWide;

namespace {

using Bytes = std::vector<std::uint8_t>;

void put16(Bytes& b, unsigned v) {
    b.push_back(v & 0xFF);
    b.push_back((v >> 8) & 0xFF);
}
void put32(Bytes& b, std::uint32_t v) {
    put16(b, v & 0xFFFF);
    put16(b, v >> 16);
}
Bytes bytesOf(const std::string& text) {
    return Bytes(text.begin(), text.end());
}

// A block with its header checksum: type, flags, the fields after the base header.
Bytes block(std::uint8_t type, unsigned flags, const Bytes& fields) {
    Bytes rest = {type};
    put16(rest, flags);
    put16(rest, static_cast<unsigned>(7 + fields.size()));
    rest.insert(rest.end(), fields.begin(), fields.end());
    Bytes out;
    put16(out, crc32(rest) & 0xFFFF);
    out.insert(out.end(), rest.begin(), rest.end());
    return out;
}

// One entry of a small archive; the defaults are a file as RAR 4 on Windows stores it.
struct Entry {
    std::string name{}; // the name field's bytes
    std::string data{};
    bool directory = false;
    std::uint8_t method = 0x30;
    unsigned flags = 0; // beyond 0x8000 and the directory bits
    std::uint8_t host = 2;
    std::optional<std::uint32_t> attributes{}; // default 0x20, or 0x10 for a folder
    std::uint32_t highPackSize = 0;            // written with flag 0x100
    Bytes afterName{};                         // salt, extended time
};

// A small stored archive, written the way RAR 4 writes one.
struct ArchiveWriter {
    Bytes bytes = {'R', 'a', 'r', '!', 0x1A, 0x07, 0x00};
    explicit ArchiveWriter(unsigned archiveFlags = 0) {
        const Bytes header = block(0x73, archiveFlags, {0, 0, 0, 0, 0, 0});
        bytes.insert(bytes.end(), header.begin(), header.end());
    }
    ArchiveWriter& add(const Entry& e) {
        const Bytes content = bytesOf(e.data);
        Bytes fields;
        put32(fields, static_cast<std::uint32_t>(content.size()));
        put32(fields, static_cast<std::uint32_t>(content.size()));
        fields.push_back(e.host);
        put32(fields, e.directory ? 0 : crc32(content));
        put32(fields, 0x5C216000);
        fields.push_back(20);
        fields.push_back(e.method);
        put16(fields, static_cast<unsigned>(e.name.size()));
        put32(fields, e.attributes.value_or(e.directory ? 0x10 : 0x20));
        if (e.flags & 0x100) {
            put32(fields, e.highPackSize);
            put32(fields, e.highPackSize);
        }
        fields.insert(fields.end(), e.name.begin(), e.name.end());
        fields.insert(fields.end(), e.afterName.begin(), e.afterName.end());
        const Bytes b = block(0x74, 0x8000 | (e.directory ? 0xE0 : 0) | e.flags, fields);
        bytes.insert(bytes.end(), b.begin(), b.end());
        bytes.insert(bytes.end(), content.begin(), content.end());
        return *this;
    }
    ArchiveWriter& file(const std::string& name, const std::string& data) {
        return add({.name = name, .data = data});
    }
    Bytes finish() const {
        Bytes out = bytes;
        const Bytes end = block(0x7B, 0x4000, {});
        out.insert(out.end(), end.begin(), end.end());
        return out;
    }
};

std::span<const std::uint8_t> stockArchive() {
    return stockBadgeArchive();
}

// A copy of an archive opened from a file would view its original's bytes.
static_assert(!std::is_copy_constructible_v<RarArchive> &&
              std::is_move_constructible_v<RarArchive>);

TEST(RarArchive, ReadsTheStockArchiveLayout) {
    std::string error;
    const auto archive = RarArchive::parse(stockArchive(), error);
    ASSERT_TRUE(archive) << error;
    ASSERT_EQ(archive->entries().size(), 355u);

    std::set<std::string> folders, files;
    for (const RarEntry& entry : archive->entries()) {
        (entry.isDirectory ? folders : files).insert(entry.name);
        if (!entry.isDirectory) {
            EXPECT_EQ(entry.size, entry.data.size()) << entry.name;
            EXPECT_EQ(crc32(entry.data), entry.crc) << entry.name;
        }
    }
    EXPECT_EQ(folders, (std::set<std::string>{"class", "class\\VIP_2ND", "class\\VIP_2ND\\12x12",
                                              "class\\VIP_2ND\\17x19", "class\\VIP_2ND\\23x26"}));
    ASSERT_EQ(files.size(), 350u);

    std::set<std::string> expected;
    for (int r = 1; r <= 103; ++r)
        expected.insert("class\\BigClass_" + std::to_string(r) + ".tga");
    for (int r = 0; r <= 103; ++r) {
        expected.insert("class\\class_" + std::to_string(r) + ".tga");
        expected.insert("class\\sclass_" + std::to_string(r) + ".tga");
    }
    for (int i = 0; i <= 9; ++i)
        expected.insert("class\\class_LineEff_Ani" + std::to_string(i) + ".tga");
    for (int i = 0; i <= 5; ++i)
        expected.insert("class\\class_AllEff_Ani" + std::to_string(i) + ".tga");
    for (const char* name : {"GreenCommunityUserBig", "GreenCommunityUserSmall", "PayUserIconBig",
                             "PayUserIconSmall", "Reject"})
        expected.insert(std::string("class\\") + name + ".tga");
    for (const char* size : {"12x12", "17x19", "23x26"})
        for (int v = 1; v <= 6; ++v)
            expected.insert(std::string("class\\VIP_2ND\\") + size + "\\VIP" + std::to_string(v) +
                            ".tga");
    EXPECT_EQ(files, expected);

    // The big badges are 100 x 100 24-bit TGA files with the 2.0 footer, a different
    // picture for every rank.
    std::set<std::string> distinct;
    for (int r = 1; r <= 103; ++r) {
        const RarEntry* big = archive->find("class\\BigClass_" + std::to_string(r) + ".tga");
        ASSERT_NE(big, nullptr);
        ASSERT_EQ(big->data.size(), 30044u);
        EXPECT_EQ(big->data[2], 2);   // uncompressed true colour
        EXPECT_EQ(big->data[16], 24); // bits per pixel
        EXPECT_EQ(std::string(big->data.end() - 18, big->data.end() - 1), "TRUEVISION-XFILE.");
        distinct.insert(std::string(big->data.begin(), big->data.end()));
    }
    EXPECT_EQ(distinct.size(), 103u);
}

TEST(RarArchive, ComputesTheStandardCrc32) {
    EXPECT_EQ(crc32(bytesOf("123456789")), 0xCBF43926u);
    EXPECT_EQ(crc32(bytesOf("6789"), crc32(bytesOf("12345"))), 0xCBF43926u);
    EXPECT_EQ(crc32({}), 0u);
}

TEST(RarArchive, RejectsDamagedAndUnsupportedArchives) {
    ArchiveWriter good;
    good.add({.name = "a", .directory = true}).file("a\\b.txt", "hello world");
    const Bytes valid = good.finish();
    std::string error;
    ASSERT_TRUE(RarArchive::parse(valid, error)) << error;

    const size_t fileHeader = 7 + 13;
    auto changed = [&](size_t at, std::uint8_t mask) {
        Bytes b = valid;
        b[at] ^= mask;
        return b;
    };
    auto withEntry = [](const Entry& e) { return ArchiveWriter().add(e).finish(); };
    struct Case {
        const char* name;
        Bytes bytes;
        const char* error;
    } cases[] = {
        {"not a RAR archive", Bytes{'P', 'K', 3, 4, 0, 0, 0, 0}, "not a RAR"},
        {"empty", Bytes{}, "not a RAR"},
        {"RAR 5", Bytes{'R', 'a', 'r', '!', 0x1A, 0x07, 0x01, 0x00, 0, 0, 0, 0}, "RAR 5"},
        {"header checksum", changed(fileHeader + 3, 0x01), "checksum"},
        {"a byte of a name", changed(fileHeader + 7 + 25, 0x01), "checksum"},
        {"file data", changed(valid.size() - 7 - 3, 0x20), "damaged"},
        {"no end block", Bytes(valid.begin(), valid.end() - 7), "no end block"},
        {"marker only", Bytes(valid.begin(), valid.begin() + 7), "no end block"},
        {"compressed", withEntry({.name = "x.txt", .data = "data", .method = 0x33}), "compressed"},
        {"encrypted", withEntry({.name = "x.txt", .data = "data", .flags = 0x04}), "encrypted"},
        {"split, continued", withEntry({.name = "x.txt", .data = "data", .flags = 0x01}), "split"},
        {"split, continues", withEntry({.name = "x.txt", .data = "data", .flags = 0x02}), "split"},
        {"solid", withEntry({.name = "x.txt", .data = "data", .flags = 0x10}), "solid"},
        {"high pack size", withEntry({.name = "x", .data = "d", .flags = 0x100, .highPackSize = 1}),
         "truncated"},
        {"encrypted headers", ArchiveWriter(0x80).file("x", "d").finish(), "encrypted"},
    };
    for (const Case& c : cases) {
        error.clear();
        EXPECT_FALSE(RarArchive::parse(c.bytes, error)) << c.name;
        EXPECT_NE(error.find(c.error), std::string::npos) << c.name << ": " << error;
    }

    // Cut anywhere, the archive is refused rather than read in part.
    for (size_t length = 0; length < valid.size(); ++length)
        EXPECT_FALSE(RarArchive::parse(std::span(valid).first(length), error)) << length;
}

TEST(RarArchive, ReadsTheHeaderFieldsRar4Writes) {
    // 源\游戏 温湡湢.tga packed against the 8-bit name "?\?? ?AB.tga" with every opcode:
    // byte with the high byte 6E, byte alone, full unit, run with a correction of 0x20 and
    // a plain run.
    const std::string plain = "?\\?? ?AB.tga";
    const Bytes packed = {0x6E, 0x46, 0x90, 0x5C, 0x38, 0x0F, 0x62,
                          0x1F, 0x20, 0x29, 0x80, 0x20, 0x02};
    const std::string packedName = plain + '\0' + std::string(packed.begin(), packed.end());
    const std::string packedExpected = toUtf8(std::wstring{
        0x6E90, L'\\', 0x6E38, 0x620F, L' ', 0x6E29, 0x6E61, 0x6E62, L'.', L't', L'g', L'a'});
    const std::string utf8Name = "游戏 CF\\徽章.tga";

    // Salt, then an extended time: its flags and the bytes they announce.
    const Bytes saltAndTime = {1, 2, 3, 4, 5, 6, 7, 8, 0x00, 0xF0, 0x11, 0x22, 0x33};
    ArchiveWriter writer;
    writer.add({.name = packedName, .data = "packed", .flags = 0x200})
        .add({.name = utf8Name, .data = "utf-8", .flags = 0x200})
        .add({.name = "big.bin",
              .data = "high",
              .flags = 0x100 | 0x400 | 0x1000,
              .afterName = saltAndTime})
        .add({.name = "unix/sub/file", .data = "mode 0664", .host = 3, .attributes = 0x81B4})
        .add({.name = "unixdir", .host = 3, .attributes = 0x41ED})
        .add({.name = "attrdir", .attributes = 0x10})
        .add({.name = "flagdir", .directory = true, .attributes = 0});
    const Bytes bytes = writer.finish();
    std::string error;
    const auto archive = RarArchive::parse(bytes, error);
    ASSERT_TRUE(archive) << error;

    struct Expected {
        std::string name;
        bool isDirectory;
        std::string data;
    } expected[] = {
        {packedExpected, false, "packed"},
        {utf8Name, false, "utf-8"},
        {"big.bin", false, "high"},
        {"unix\\sub\\file", false, "mode 0664"},
        {"unixdir", true, ""},
        {"attrdir", true, ""},
        {"flagdir", true, ""},
    };
    ASSERT_EQ(archive->entries().size(), std::size(expected));
    for (size_t i = 0; i < std::size(expected); ++i) {
        const RarEntry& entry = archive->entries()[i];
        EXPECT_EQ(entry.name, expected[i].name) << i;
        EXPECT_EQ(entry.isDirectory, expected[i].isDirectory) << entry.name;
        EXPECT_EQ(std::string(entry.data.begin(), entry.data.end()), expected[i].data)
            << entry.name;
        EXPECT_EQ(entry.size, expected[i].data.size()) << entry.name;
    }
}

TEST(RarArchive, RefusesEntriesThatWouldLandOutsideTheFolder) {
    struct Case {
        const char* name;
        bool safe;
    } cases[] = {
        {"class\\a.tga", true},
        {"a", true},
        {"游戏\\徽章.tga", true},
        {"...a", true},
        {"..\\evil.txt", false},
        {"a\\..\\..\\b", false},
        {"\\root.txt", false},
        {"C:\\x.txt", false},
        {"C:x.txt", false},
        {"a.txt:stream", false},
        {"a\\\\b", false},
        {"a/../b", false},
        {"", false},
        {".", false},
        {"a\\.\\b", false},
        {"...", false},
        {"a. ", false},
        {"b\\a.", false},
        {"NUL", false},
        {"con.txt", false},
        {"a\\COM1.tga", false},
        {"LPT9", false},
        {"console", true},
        {"a\x01"
         "b",
         false},
        {"a?b", false},
        {"a*b", false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(isSafeEntryName(c.name), c.safe) << c.name;

    for (const char* bad : {"..\\escaped.txt", "C:\\escaped.txt"}) {
        TempFolder outer;
        const std::wstring inside = outer / L"inside";
        const Bytes bytes = ArchiveWriter().file("fine.txt", "ok").file(bad, "bad").finish();
        std::string error;
        const auto archive = RarArchive::parse(bytes, error);
        ASSERT_TRUE(archive) << error;
        EXPECT_NE(archive->extractTo(inside, true), "") << bad;
        // Nothing at all was written, not even the harmless entry.
        EXPECT_FALSE(exists(outer / L"escaped.txt")) << bad;
        EXPECT_FALSE(exists(inside + L"\\fine.txt")) << bad;
    }
}

TEST(RarArchive, ExtractsEveryFileByteForByteUnderAChinesePathWithBlanks) {
    TempFolder folder(L"游戏 CF\\rez\\UI");
    std::string error;
    const auto archive = RarArchive::parse(stockArchive(), error);
    ASSERT_TRUE(archive) << error;
    ASSERT_EQ(archive->extractTo(folder.path() + L"\\", true), "");

    const auto files = snapshot(folder.path());
    ASSERT_EQ(files.size(), 350u);
    for (const RarEntry& entry : archive->entries()) {
        if (!entry.isDirectory) {
            EXPECT_EQ(files.at(toWide(entry.name)),
                      std::string(entry.data.begin(), entry.data.end()))
                << entry.name;
        }
    }
    const DWORD attributes = ::GetFileAttributesW((folder / L"class\\VIP_2ND\\12x12").c_str());
    EXPECT_TRUE(attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY));
}

TEST(RarArchive, OpensAFileAndKeepsItsBytes) {
    TempFolder folder(L"游戏 CF");
    const std::wstring path = folder / L"徽章 stock.rar";
    const auto stock = stockArchive();
    writeFile(path, Bytes(stock.begin(), stock.end()));

    std::string error;
    std::optional<RarArchive> moved;
    {
        auto opened = RarArchive::open(path, error);
        ASSERT_TRUE(opened) << error;
        moved = std::move(opened);
    }
    writeFile(path, std::string("overwritten"));
    const RarEntry* reject = moved->find("class\\Reject.tga");
    ASSERT_NE(reject, nullptr);
    EXPECT_EQ(crc32(reject->data), reject->crc);

    EXPECT_FALSE(RarArchive::open(folder / L"missing.rar", error));
    EXPECT_NE(error.find("cannot read"), std::string::npos) << error;
}

TEST(RarArchive, KeepsExistingFilesWithoutOverwrite) {
    TempFolder folder;
    const Bytes bytes = ArchiveWriter()
                            .file("a.txt", "from archive")
                            .file("sub\\b.txt", "from archive too")
                            .finish();
    std::string error;
    const auto archive = RarArchive::parse(bytes, error);
    ASSERT_TRUE(archive);
    writeFile(folder / L"a.txt", std::string("mine"));

    ASSERT_EQ(archive->extractTo(folder.path(), false), "");
    EXPECT_EQ(readFile(folder / L"a.txt"), "mine");
    EXPECT_EQ(readFile(folder / L"sub\\b.txt"), "from archive too");

    // Overwriting replaces read-only files as well.
    ::SetFileAttributesW((folder / L"a.txt").c_str(), FILE_ATTRIBUTE_READONLY);
    ASSERT_EQ(archive->extractTo(folder.path(), true), "");
    EXPECT_EQ(readFile(folder / L"a.txt"), "from archive");
}

TEST(RarArchive, ReportsWhatItCannotWrite) {
    TempFolder folder;
    writeFile(folder / L"sub", std::string("a file where a folder belongs"));
    std::string error;
    const Bytes files = ArchiveWriter().file("sub\\b.txt", "x").finish();
    const Bytes folders = ArchiveWriter().add({.name = "sub", .directory = true}).finish();
    for (const Bytes* bytes : {&files, &folders}) {
        const auto archive = RarArchive::parse(*bytes, error);
        ASSERT_TRUE(archive) << error;
        EXPECT_NE(archive->extractTo(folder.path(), true).find("sub"), std::string::npos);
    }
    const auto archive = RarArchive::parse(files, error);
    EXPECT_EQ(archive->extractTo(L"", true), "no destination folder");
}

DWORD runAndWait(std::wstring commandLine) {
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process{};
    if (!::CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                          &startup, &process))
        return 0xFFFFFFFF;
    ::WaitForSingleObject(process.hProcess, INFINITE);
    DWORD code = 0;
    ::GetExitCodeProcess(process.hProcess, &code);
    ::CloseHandle(process.hThread);
    ::CloseHandle(process.hProcess);
    return code;
}

std::wstring quoted(const std::wstring& path) {
    return L"\"" + path + L"\"";
}

class StandinArchiver : public ::testing::Test {
  protected:
    void SetUp() override {
        ::DeleteFileW(standinArchiverLogPath().c_str());
        const auto stock = stockArchive();
        writeFile(archive_, Bytes(stock.begin(), stock.end()));
    }
    void TearDown() override { ::SetEnvironmentVariableW(L"STANDIN_ARCHIVER_EXIT_CODE", nullptr); }

    TempFolder work_{L"游戏 CF"};
    const std::wstring exe_ = quoted(standinArchiverPath());
    const std::wstring archive_ = work_ / L"stock badges.rar";
};

TEST_F(StandinArchiver, ExtractsIntoAQuotedFolderAndRecordsItsCommandLine) {
    // The destination as the program quotes it: the trailing backslash doubled, so that it
    // does not escape the closing quote.
    const std::wstring line = exe_ + L" x -iext -ow -er -o+ " + quoted(archive_) + L" \"" +
                              work_.path() + L"\\rez\\UI\\\\\"";
    EXPECT_EQ(runAndWait(line), 0u);

    EXPECT_EQ(snapshot(work_ / L"rez\\UI").size(), 350u);
    const auto calls = readArchiverCalls();
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].exitCode, 0);
    EXPECT_EQ(calls[0].outcome, "extracted 355 entries");
    EXPECT_EQ(calls[0].commandLine, toUtf8(line));
    EXPECT_EQ(
        calls[0].arguments,
        (std::vector<std::string>{toUtf8(standinArchiverPath()), "x", "-iext", "-ow", "-er", "-o+",
                                  toUtf8(archive_), toUtf8(work_.path()) + "\\rez\\UI\\"}));
}

TEST_F(StandinArchiver, KeepsExistingFilesWithOMinusAndTakesAPasswordAfterThePaths) {
    const std::wstring ui = work_ / L"rez\\UI";
    makeFolders(ui + L"\\class");
    writeFile(ui + L"\\class\\Reject.tga", std::string("mine"));
    const std::wstring line = exe_ + L" x -iext -ow -er -o- " + quoted(archive_) + L" " +
                              quoted(ui + L"\\\\") + L" \"-pp w\\\"\"";
    EXPECT_EQ(runAndWait(line), 0u);

    EXPECT_EQ(readFile(ui + L"\\class\\Reject.tga"), "mine");
    EXPECT_EQ(snapshot(ui).size(), 350u);
    const auto call = lastArchiverCall();
    ASSERT_TRUE(call);
    EXPECT_EQ(call->commandLine, toUtf8(line));
    ASSERT_EQ(call->arguments.size(), 9u);
    EXPECT_EQ(call->arguments[8], "-pp w\"");
}

TEST_F(StandinArchiver, ReportsFailuresThroughItsExitCode) {
    writeFile(work_ / L"broken.rar", std::string("Rar!\x1a\x07\x00garbage", 14));
    writeFile(work_ / L"escape.rar", ArchiveWriter().file("..\\escaped.txt", "x").finish());
    writeFile(work_ / L"a file", std::string("in the way"));
    const std::wstring broken = quoted(work_ / L"broken.rar");
    const std::wstring out = quoted(work_ / L"out");
    struct Case {
        std::wstring arguments;
        DWORD exitCode;
    } cases[] = {
        {L"x -o+ " + broken + L" " + out, 2},
        {L"x " + quoted(work_ / L"missing.rar") + L" " + out, 2},
        {L"x " + quoted(work_ / L"escape.rar") + L" " + out, 2},
        {L"x " + quoted(archive_) + L" " + quoted(work_ / L"a file\\sub"), 3},
        {L"e " + quoted(archive_) + L" " + out, 1},
        {L"", 1},
        {L"x " + quoted(archive_), 1},
        {L"x " + quoted(archive_) + L" " + out + L" extra", 1},
        {L"x -y " + quoted(archive_) + L" " + out, 1},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(runAndWait(exe_ + L" " + c.arguments), c.exitCode) << toUtf8(c.arguments);
        const auto call = lastArchiverCall();
        ASSERT_TRUE(call);
        EXPECT_EQ(call->exitCode, static_cast<int>(c.exitCode)) << call->outcome;
    }
    EXPECT_FALSE(exists(work_ / L"escaped.txt"));
    EXPECT_EQ(readArchiverCalls().size(), std::size(cases));
}

TEST_F(StandinArchiver, ReturnsTheExitCodeItIsToldToWithoutExtracting) {
    const std::wstring line =
        exe_ + L" x -iext -ow -er -o+ " + quoted(archive_) + L" " + quoted(work_ / L"rez\\UI\\\\");
    ::SetEnvironmentVariableW(L"STANDIN_ARCHIVER_EXIT_CODE", L"7");
    EXPECT_EQ(runAndWait(line), 7u);
    EXPECT_FALSE(exists(work_ / L"rez"));
    const auto call = lastArchiverCall();
    ASSERT_TRUE(call);
    EXPECT_EQ(call->exitCode, 7);
    EXPECT_EQ(call->commandLine, toUtf8(line));
    EXPECT_EQ(call->arguments.size(), 8u);

    // Not a number: ignored, the archiver extracts as usual.
    ::SetEnvironmentVariableW(L"STANDIN_ARCHIVER_EXIT_CODE", L"soon");
    EXPECT_EQ(runAndWait(line), 0u);
    EXPECT_EQ(snapshot(work_ / L"rez\\UI").size(), 350u);
}

} // namespace
