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

// A small stored archive, written the way RAR 4 writes one.
struct ArchiveWriter {
    Bytes bytes = {'R', 'a', 'r', '!', 0x1A, 0x07, 0x00};
    ArchiveWriter() {
        const Bytes header = block(0x73, 0, {0, 0, 0, 0, 0, 0});
        bytes.insert(bytes.end(), header.begin(), header.end());
    }
    void add(const std::string& name, const std::string& data, bool directory = false,
             std::uint8_t method = 0x30, unsigned extraFlags = 0) {
        const Bytes content(data.begin(), data.end());
        Bytes fields;
        put32(fields, static_cast<std::uint32_t>(content.size()));
        put32(fields, static_cast<std::uint32_t>(content.size()));
        fields.push_back(2);
        put32(fields, directory ? 0 : crc32(content));
        put32(fields, 0x5C216000);
        fields.push_back(20);
        fields.push_back(method);
        put16(fields, static_cast<unsigned>(name.size()));
        put32(fields, directory ? 0x10 : 0x20);
        fields.insert(fields.end(), name.begin(), name.end());
        const Bytes b = block(0x74, 0x8000 | (directory ? 0xE0 : 0) | extraFlags, fields);
        bytes.insert(bytes.end(), b.begin(), b.end());
        bytes.insert(bytes.end(), content.begin(), content.end());
    }
    Bytes finish() {
        const Bytes end = block(0x7B, 0x4000, {});
        bytes.insert(bytes.end(), end.begin(), end.end());
        return bytes;
    }
};

std::span<const std::uint8_t> stockArchive() { return stockBadgeArchive(); }

TEST(RarArchive, ReadsTheStockArchiveLayout) {
    std::string error;
    const auto archive = RarArchive::parse(stockArchive(), error);
    ASSERT_TRUE(archive) << error;

    std::set<std::string> folders, files;
    for (const RarEntry& entry : archive->entries())
        (entry.isDirectory ? folders : files).insert(entry.name);
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

TEST(RarArchive, RejectsDamagedAndUnsupportedArchives) {
    ArchiveWriter good;
    good.add("a", "", true);
    good.add("a\\b.txt", "hello world");
    const Bytes valid = good.finish();
    std::string error;
    ASSERT_TRUE(RarArchive::parse(valid, error)) << error;

    const size_t fileHeader = 7 + 13;
    struct Case {
        const char* name;
        Bytes bytes;
        const char* error;
    } cases[] = {
        {"not a RAR archive", Bytes{'P', 'K', 3, 4, 0, 0, 0, 0}, "not a RAR"},
        {"header checksum", valid, "checksum"},
        {"file data", valid, "damaged"},
        {"truncated", Bytes(valid.begin(), valid.end() - 12), "truncated"},
        {"empty", Bytes{}, "not a RAR"},
    };
    cases[1].bytes[fileHeader + 3] ^= 0x01; // a flag bit of the first file block
    cases[2].bytes[valid.size() - 7 - 3] ^= 0x20; // a byte of "hello world"
    for (const Case& c : cases) {
        error.clear();
        EXPECT_FALSE(RarArchive::parse(c.bytes, error)) << c.name;
        EXPECT_NE(error.find(c.error), std::string::npos) << c.name << ": " << error;
    }

    ArchiveWriter compressed;
    compressed.add("x.txt", "data", false, 0x33);
    EXPECT_FALSE(RarArchive::parse(compressed.finish(), error));
    EXPECT_NE(error.find("compressed"), std::string::npos) << error;

    ArchiveWriter encrypted;
    encrypted.add("x.txt", "data", false, 0x30, 0x04);
    EXPECT_FALSE(RarArchive::parse(encrypted.finish(), error));
    EXPECT_NE(error.find("encrypted"), std::string::npos) << error;
}

TEST(RarArchive, RefusesEntriesThatWouldLandOutsideTheFolder) {
    struct Case {
        const char* name;
        bool safe;
    } cases[] = {
        {"class\\a.tga", true}, {"a", true},          {"..\\evil.txt", false},
        {"a\\..\\..\\b", false}, {"\\root.txt", false}, {"C:\\x.txt", false},
        {"a\\\\b", false},       {"a/../b", false},    {"", false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(isSafeEntryName(c.name), c.safe) << c.name;

    TempFolder outer;
    const std::wstring inside = outer / L"inside";
    ArchiveWriter writer;
    writer.add("fine.txt", "ok");
    writer.add("..\\escaped.txt", "bad");
    const Bytes bytes = writer.finish();
    std::string error;
    const auto archive = RarArchive::parse(bytes, error);
    ASSERT_TRUE(archive) << error;
    EXPECT_NE(archive->extractTo(inside, true), "");
    // Nothing at all was written, not even the harmless entry.
    EXPECT_FALSE(exists(outer / L"escaped.txt"));
    EXPECT_FALSE(exists(inside + L"\\fine.txt"));
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
            EXPECT_EQ(files.at(toWide(entry.name)), std::string(entry.data.begin(), entry.data.end()))
                << entry.name;
        }
    }
}

TEST(RarArchive, KeepsExistingFilesWithoutOverwrite) {
    TempFolder folder;
    ArchiveWriter writer;
    writer.add("a.txt", "from archive");
    writer.add("b.txt", "from archive too");
    const Bytes bytes = writer.finish();
    std::string error;
    const auto archive = RarArchive::parse(bytes, error);
    ASSERT_TRUE(archive);
    writeFile(folder / L"a.txt", std::string("mine"));

    ASSERT_EQ(archive->extractTo(folder.path(), false), "");
    EXPECT_EQ(readFile(folder / L"a.txt"), "mine");
    EXPECT_EQ(readFile(folder / L"b.txt"), "from archive too");

    ASSERT_EQ(archive->extractTo(folder.path(), true), "");
    EXPECT_EQ(readFile(folder / L"a.txt"), "from archive");
}

DWORD runAndWait(std::wstring commandLine) {
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process{};
    if (!::CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                          nullptr, &startup, &process))
        return 0xFFFFFFFF;
    ::WaitForSingleObject(process.hProcess, INFINITE);
    DWORD code = 0;
    ::GetExitCodeProcess(process.hProcess, &code);
    ::CloseHandle(process.hThread);
    ::CloseHandle(process.hProcess);
    return code;
}

TEST(StandinArchiver, ExtractsIntoAQuotedFolderAndRecordsItsCommandLine) {
    TempFolder work(L"游戏 CF");
    const std::wstring archivePath = work / L"stock.rar";
    const auto stock = stockArchive();
    writeFile(archivePath, Bytes(stock.begin(), stock.end()));
    ::DeleteFileW(standinArchiverLogPath().c_str());

    const std::wstring line = L"\"" + standinArchiverPath() + L"\" x -iext -ow -er -o+ \"" +
                              archivePath + L"\" \"" + work.path() + L"\\rez\\UI\\\\\"";
    EXPECT_EQ(runAndWait(line), 0u);

    EXPECT_EQ(snapshot(work / L"rez\\UI").size(), 350u);
    const auto calls = readArchiverCalls();
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].commandLine, toUtf8(line));
    ASSERT_EQ(calls[0].arguments.size(), 8u);
    EXPECT_EQ(calls[0].arguments[1], "x");
    EXPECT_EQ(calls[0].arguments[5], "-o+");
    EXPECT_EQ(calls[0].arguments[6], toUtf8(archivePath));
    EXPECT_EQ(calls[0].arguments[7], toUtf8(work.path()) + "\\rez\\UI\\");
}

TEST(StandinArchiver, ReportsFailuresThroughItsExitCode) {
    TempFolder work;
    writeFile(work / L"broken.rar", std::string("Rar!\x1a\x07\x00garbage", 14));
    const std::wstring exe = L"\"" + standinArchiverPath() + L"\"";
    EXPECT_EQ(runAndWait(exe + L" x -o+ " + (work / L"broken.rar") + L" " + work.path()), 2u);
    EXPECT_EQ(runAndWait(exe + L" e"), 1u);

    ::SetEnvironmentVariableW(L"STANDIN_ARCHIVER_EXIT_CODE", L"7");
    EXPECT_EQ(runAndWait(exe + L" x -o+ a.rar d"), 7u);
    ::SetEnvironmentVariableW(L"STANDIN_ARCHIVER_EXIT_CODE", nullptr);
}

} // namespace
