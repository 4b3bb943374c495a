// The switch and restore operations on a real client folder in the temp folder.

#include "app/file_replacement.h"
#include "app/rar_archive.h"
#include "app/rank_files.h"
#include "skinui/text_conversion.h"
#include "skinui/unique_handle.h"
#include "support/client_fixtures.h"
#include "support/standin_archiver_log.h"
#include "support/temp_folder.h"

#include <gtest/gtest.h>

#include <windows.h>

using namespace yunti;
using namespace testing_support;
using Kind = RankOperationOutcome::Kind;
using skinui::toUtf8;
using skinui::toWide;

namespace {

const wchar_t* const kKinds[] = {L"BigClass_", L"class_", L"sclass_"};

// A client folder with the marker and five ranks of badge files, each file's bytes naming
// its kind and rank, so a test can tell which file landed where.
class ClientFolder {
  public:
    explicit ClientFolder(const std::wstring& leaf = L"游戏 CF") : temp_(leaf) {
        writeFile(temp_ / L"QQLogin.exe", std::string("MZ"));
        makeFolders(badgeFolder());
        for (const wchar_t* kind : kKinds)
            for (int rank = 1; rank <= 5; ++rank)
                writeFile(badge(kind, rank), badgeBytes(kind, rank));
        writeFile(temp_ / L"rez\\UI\\other.tga", std::string("unrelated"));
    }

    std::string dir() const { return toUtf8(temp_.path()); }
    const std::wstring& path() const { return temp_.path(); }
    std::wstring badgeFolder() const { return temp_ / L"rez\\UI\\class"; }
    std::wstring badge(const wchar_t* kind, int rank) const {
        return badgeFolder() + L"\\" + kind + std::to_wstring(rank) + L".tga";
    }
    static std::string badgeBytes(const wchar_t* kind, int rank) {
        return toUtf8(kind) + std::to_string(rank) + std::string(100 + rank, '#');
    }

  private:
    TempFolder temp_;
};

TEST(RankChecks, RunInTheOrderFolderPresentTarget) {
    ClientFolder client;
    TempFolder notAClient;
    struct Case {
        std::string dir, present, target;
        Kind expected;
        const char* message;
    } cases[] = {
        {toUtf8(notAClient.path()), "", "", Kind::ClientDirNotValid, "请先选择游戏路径!"},
        {"", "1", "2", Kind::ClientDirNotValid, "请先选择游戏路径!"},
        {client.dir(), "", "", Kind::PresentRankMissing, "请选择你当前军衔"},
        {client.dir(), "", "3", Kind::PresentRankMissing, "请选择你当前军衔"},
        {client.dir(), "1", "", Kind::TargetRankMissing, "请选择要切换的军衔"},
    };
    const auto before = snapshot(client.path());
    for (const Case& c : cases) {
        const RankOperationOutcome outcome = switchRank(c.dir, c.present, c.target);
        EXPECT_EQ(outcome.kind, c.expected) << c.dir << " '" << c.present << "' '" << c.target;
        EXPECT_EQ(outcome.message, c.message);
        EXPECT_EQ(outcome.iconKind, 16);
    }
    EXPECT_EQ(restoreBadges(toUtf8(notAClient.path())).message, "请先选择游戏路径!");
    EXPECT_EQ(snapshot(client.path()), before);
}

// The rank texts become file names; one that is not a rank number could name a file
// outside the badge folder, so it is refused and nothing is touched.
TEST(RankChecks, RankTextsMustBeRankNumbers) {
    ClientFolder client;
    // A file a crafted rank text would reach: <client>\rez\UI\class\BigClass_..\..\x.tga
    writeFile(client.path() + L"\\x.tga", std::string("keep me"));
    const auto before = snapshot(client.path());
    for (const char* bad : {"..\\..\\..\\x", "1\\..\\2", "../3", "4.tga", "五", "1 ", "-1",
                            "1234", "0x1"}) {
        for (const bool asTarget : {false, true}) {
            const RankOperationOutcome outcome =
                asTarget ? switchRank(client.dir(), "1", bad) : switchRank(client.dir(), bad, "2");
            EXPECT_EQ(outcome.kind, Kind::SwitchFailed) << bad;
            EXPECT_EQ(outcome.iconKind, 16);
            EXPECT_NE(outcome.message.find("不是军衔编号"), std::string::npos) << outcome.message;
        }
    }
    EXPECT_EQ(snapshot(client.path()), before);
    for (const char* good : {"1", "37", "103", "007"})
        EXPECT_TRUE(isRankNumber(good)) << good;
    EXPECT_EQ(switchRank(client.dir(), "1", "2").kind, Kind::Switched);
}

TEST(RankChecks, MarkerMayBeAFolderAndPathsAreJoinedAsTheyStand) {
    TempFolder folder;
    ::CreateDirectoryW((folder / L"QQLogin.exe").c_str(), nullptr);
    EXPECT_TRUE(isClientDir(toUtf8(folder.path())));
    EXPECT_FALSE(isClientDir(toUtf8(folder / L"missing")));

    EXPECT_EQ(badgeFilePath("D:\\Games\\CF", kBadgePathLiterals[0], "7"),
              "D:\\Games\\CF\\rez\\UI\\class\\BigClass_7.tga");
    EXPECT_EQ(badgeFilePath("D:\\", kBadgePathLiterals[2], "103"),
              "D:\\\\rez\\UI\\class\\sclass_103.tga");
    EXPECT_EQ(badgeFilePath(" D:\\CF ", kBadgePathLiterals[1], "1"),
              " D:\\CF \\rez\\UI\\class\\class_1.tga");
}

TEST(SwitchRank, CopiesTheTargetRanksFilesOverThePresentRanksAndNothingElse) {
    ClientFolder client;
    auto expected = snapshot(client.path());
    for (const wchar_t* kind : kKinds)
        expected[L"rez\\UI\\class\\" + std::wstring(kind) + L"2.tga"] =
            ClientFolder::badgeBytes(kind, 4);

    const RankOperationOutcome outcome = switchRank(client.dir(), "2", "4");

    EXPECT_EQ(outcome.kind, Kind::Switched);
    EXPECT_EQ(outcome.message, "军衔切换成功!");
    EXPECT_EQ(outcome.iconKind, 64);
    // Exactly the three files changed, and no staging or backup file was left behind.
    EXPECT_EQ(snapshot(client.path()), expected);
}

TEST(SwitchRank, SameRankForBothLeavesTheFilesAsTheyAre) {
    ClientFolder client;
    const auto before = snapshot(client.path());
    EXPECT_EQ(switchRank(client.dir(), "3", "3").kind, Kind::Switched);
    EXPECT_EQ(snapshot(client.path()), before);
}

TEST(SwitchRank, FolderWithATrailingBackslashStillWorks) {
    ClientFolder client;
    EXPECT_EQ(switchRank(client.dir() + "\\", "1", "5").kind, Kind::Switched);
    EXPECT_EQ(readFile(client.badge(L"sclass_", 1)), ClientFolder::badgeBytes(L"sclass_", 5));
}

// Every way a switch can be refused before it starts leaves every file as it was and says
// which file is at fault.
TEST(SwitchRank, RefusesWithoutChangingAnythingWhenAFileIsUnusable) {
    struct Case {
        const char* name;
        const wchar_t* kind;
        int rank; // the file the case spoils; rank 4 is the source, rank 2 the destination
        const char* reason;
    } cases[] = {
        {"missing source", L"sclass_", 4, "找不到"},
        {"read-only destination", L"class_", 2, "文件被占用或只读"},
        {"destination held open without sharing", L"sclass_", 2, "文件被占用或只读"},
        {"source held open without sharing", L"BigClass_", 4, "无法读取"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ClientFolder client;
        const std::wstring spoiled = client.badge(c.kind, c.rank);
        auto before = snapshot(client.path());
        skinui::UniqueFile holder;
        if (std::string(c.name) == "missing source") {
            ::DeleteFileW(spoiled.c_str());
            before.erase(spoiled.substr(client.path().size() + 1));
        }
        else if (std::string(c.name) == "read-only destination")
            ::SetFileAttributesW(spoiled.c_str(), FILE_ATTRIBUTE_READONLY);
        else
            holder.reset(::CreateFileW(spoiled.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                       OPEN_EXISTING, 0, nullptr));

        const RankOperationOutcome outcome = switchRank(client.dir(), "2", "4");

        holder.reset();
        EXPECT_EQ(outcome.kind, Kind::SwitchFailed);
        EXPECT_EQ(outcome.iconKind, 16);
        EXPECT_NE(outcome.message.find(c.reason), std::string::npos) << outcome.message;
        EXPECT_NE(outcome.message.find(toUtf8(spoiled)), std::string::npos) << outcome.message;
        EXPECT_EQ(snapshot(client.path()), before);
    }
}

// A program that opens a destination between the checks and the replacement (the game
// client starting, say) makes that step fail; the files already replaced are put back.
TEST(FileReplacement, AFailedStepPutsBackTheFilesAlreadyReplaced) {
    ClientFolder client;
    const auto before = snapshot(client.path());
    std::vector<FileReplacement> files;
    for (const wchar_t* kind : kKinds)
        files.push_back({client.badge(kind, 1), {'n', 'e', 'w'}});

    for (size_t failing = 0; failing < files.size(); ++failing) {
        SCOPED_TRACE(failing);
        skinui::UniqueFile holder;
        const auto failure = replaceFilesTogether(files, [&](size_t index) {
            if (index == failing)
                holder.reset(::CreateFileW(files[index].destination.c_str(), GENERIC_READ, 0,
                                           nullptr, OPEN_EXISTING, 0, nullptr));
        });
        holder.reset();
        ASSERT_TRUE(failure.has_value());
        EXPECT_EQ(failure->step, ReplacementFailure::Step::Replace);
        EXPECT_EQ(failure->path, files[failing].destination);
        EXPECT_TRUE(failure->notRestored.empty());
        EXPECT_EQ(snapshot(client.path()), before);
    }
}

TEST(FileReplacement, StagingFailureChangesNothing) {
    ClientFolder client;
    const auto before = snapshot(client.path());
    std::vector<FileReplacement> files = {
        {client.badge(L"class_", 1), {'a'}},
        {client.path() + L"\\no such folder\\x.tga", {'b'}},
    };
    const auto failure = replaceFilesTogether(files);
    ASSERT_TRUE(failure.has_value());
    EXPECT_EQ(failure->step, ReplacementFailure::Step::Stage);
    EXPECT_EQ(snapshot(client.path()), before);
}

TEST(ArchiverCommandLine, QuotesOnlyArgumentsWithBlanks) {
    struct Case {
        std::string archiver, archive, destination;
        bool overwrite;
        std::optional<std::string> password;
        std::string expected;
    } cases[] = {
        {"C:\\Tools\\WinRAR\\WinRAR.exe", "C:\\WINDOWS\\class.rar", "D:\\Games\\CF\\rez\\UI\\",
         true, std::nullopt,
         "C:\\Tools\\WinRAR\\WinRAR.exe x -iext -ow -er -o+ C:\\WINDOWS\\class.rar "
         "D:\\Games\\CF\\rez\\UI\\"},
        {"C:\\Program Files\\WinRAR\\WinRAR.exe", "C:\\WINDOWS\\class.rar",
         "D:\\游戏 CF\\rez\\UI\\", true, std::nullopt,
         "\"C:\\Program Files\\WinRAR\\WinRAR.exe\" x -iext -ow -er -o+ C:\\WINDOWS\\class.rar "
         "\"D:\\游戏 CF\\rez\\UI\\\\\""},
        {"a.exe", "x y.rar", "d", false, std::string(""), "a.exe x -iext -ow -er -o- \"x y.rar\" d"},
        {"a.exe", "b.rar", "d", true, std::string("pw"), "a.exe x -iext -ow -er -o+ b.rar d -ppw"},
        {"a.exe", "b.rar", "d", true, std::string("p w\""),
         "a.exe x -iext -ow -er -o+ b.rar d \"-pp w\\\"\""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(buildArchiverCommandLine(c.archiver, c.archive, c.destination, c.overwrite,
                                           c.password),
                  c.expected);
}

// The quoted form must come back as the original arguments through the standard parser,
// a destination's trailing backslash included.
TEST(ArchiverCommandLine, ParsesBackIntoTheOriginalArguments) {
    const std::string line = buildArchiverCommandLine(
        "C:\\Program Files\\A\\a.exe", "C:\\WINDOWS\\class.rar", "D:\\游戏 CF\\rez\\UI\\", true,
        std::nullopt);
    int count = 0;
    LPWSTR* argv = ::CommandLineToArgvW(toWide(line).c_str(), &count);
    ASSERT_NE(argv, nullptr);
    ASSERT_EQ(count, 8);
    EXPECT_EQ(toUtf8(argv[0]), "C:\\Program Files\\A\\a.exe");
    EXPECT_EQ(toUtf8(argv[6]), "C:\\WINDOWS\\class.rar");
    EXPECT_EQ(toUtf8(argv[7]), "D:\\游戏 CF\\rez\\UI\\");
    ::LocalFree(argv);
}

TEST(DropArchive, WritesOnlyWhenNothingOfThatNameExists) {
    TempFolder folder;
    const std::vector<std::uint8_t> bytes = {'R', 'a', 'r', '!', 0x1A, 0x07, 0x00, 1, 2, 3};
    const std::wstring target = folder / L"class.rar";

    EXPECT_EQ(dropArchiveTo(toUtf8(target), bytes), DropResult::Written);
    EXPECT_EQ(readFile(target), std::string(bytes.begin(), bytes.end()));

    writeFile(target, std::string("other content"));
    EXPECT_EQ(dropArchiveTo(toUtf8(target), bytes), DropResult::AlreadyPresent);
    EXPECT_EQ(readFile(target), "other content");

    const std::wstring folderTarget = folder / L"folder.rar";
    ::CreateDirectoryW(folderTarget.c_str(), nullptr);
    EXPECT_EQ(dropArchiveTo(toUtf8(folderTarget), bytes), DropResult::AlreadyPresent);

    EXPECT_EQ(dropArchiveTo(toUtf8(folder / L"missing\\class.rar"), bytes), DropResult::Failed);
    // Nothing but what the test made: no temporary file stayed behind.
    EXPECT_EQ(snapshot(folder.path()).size(), 1u);
}

TEST(DropArchive, PutsTheEmbeddedArchiveAtTheFixedPath) {
    const std::wstring target = toWide(std::string(kArchiveDropPath));
    ::DeleteFileW(target.c_str());
    const auto archive = stockBadgeArchive();
    ASSERT_GT(archive.size(), 7u);
    EXPECT_EQ(std::string(archive.begin(), archive.begin() + 7), std::string("Rar!\x1a\x07\x00", 7));

    EXPECT_EQ(dropArchive(), DropResult::Written);
    EXPECT_EQ(readFile(target), std::string(archive.begin(), archive.end()));
    EXPECT_EQ(dropArchive(), DropResult::AlreadyPresent);
}

TEST(ArchiverRegistry, ReadsTheDefaultValueInEitherForm) {
    ArchiverRegistration registration;
    EXPECT_EQ(archiverPathFromRegistry(), "");

    registration.set(L"C:\\Tools\\解压\\WinRAR.exe");
    EXPECT_EQ(archiverPathFromRegistry(), "C:\\Tools\\解压\\WinRAR.exe");

    registration.set(L"\"C:\\Program Files\\WinRAR\\WinRAR.exe\"");
    EXPECT_EQ(archiverPathFromRegistry(), "C:\\Program Files\\WinRAR\\WinRAR.exe");

    ::SetEnvironmentVariableW(L"YUNTI_TEST_TOOLS", L"C:\\tools");
    registration.set(L"%YUNTI_TEST_TOOLS%\\WinRAR.exe", REG_EXPAND_SZ);
    EXPECT_EQ(archiverPathFromRegistry(), "C:\\tools\\WinRAR.exe");
}

TEST(ArchiverRegistry, FindsAnArchiverRegisteredInTheOtherRegistryView) {
    for (REGSAM view : {REGSAM(KEY_WOW64_64KEY), REGSAM(KEY_WOW64_32KEY)}) {
        ArchiverRegistration registration(view);
        registration.set(L"C:\\Tools\\WinRAR.exe");
        EXPECT_EQ(archiverPathFromRegistry(), "C:\\Tools\\WinRAR.exe") << view;
    }
}

TEST(ExtractArchive, ReportsAMissingOrUnstartableArchiver) {
    ArchiverRegistration none;
    ArchiverRun run = extractArchive("a.rar", "d\\", std::nullopt, std::nullopt, true);
    EXPECT_EQ(run.status, ArchiverRun::Status::NotRegistered);
    EXPECT_EQ(run.text(), "winrar不存在");
    EXPECT_EQ(extractArchive("a.rar", "d\\", std::string(""), std::nullopt, true).text(),
              "winrar不存在");

    run = extractArchive("a.rar", "d\\", std::string("C:\\no such folder\\x.exe"), std::nullopt,
                         true);
    EXPECT_EQ(run.status, ArchiverRun::Status::NotStarted);
    EXPECT_EQ(run.text(), "");
}

TEST(RestoreBadges, WithoutAnArchiverStillDropsTheArchiveAndSaysWhatIsMissing) {
    ArchiverRegistration none;
    ClientFolder client;
    const std::wstring drop = toWide(std::string(kArchiveDropPath));
    ::DeleteFileW(drop.c_str());

    const RankOperationOutcome outcome = restoreBadges(client.dir());

    EXPECT_EQ(outcome.kind, Kind::RestoreFailed);
    EXPECT_EQ(outcome.iconKind, 16);
    EXPECT_NE(outcome.message.find("winrar不存在"), std::string::npos) << outcome.message;
    EXPECT_TRUE(exists(drop));
}

TEST(RestoreBadges, AnArchiverThatCannotStartIsReported) {
    ArchiverRegistration registration;
    registration.set(L"C:\\no such folder\\WinRAR.exe");
    ClientFolder client;
    const RankOperationOutcome outcome = restoreBadges(client.dir());
    EXPECT_EQ(outcome.kind, Kind::RestoreFailed);
    EXPECT_NE(outcome.message.find("无法启动"), std::string::npos) << outcome.message;
}

void removeDroppedArchive() { ::DeleteFileW(toWide(std::string(kArchiveDropPath)).c_str()); }

TEST(RestoreBadges, PutsBackEveryStockFileThroughTheArchiver) {
    InstalledStandin archiver;
    StockClient client;
    ASSERT_EQ(switchRank(client.dir(), "2", "37").kind, Kind::Switched);
    ::DeleteFileW((client.ui() + L"\\class\\Reject.tga").c_str());
    ASSERT_NE(snapshot(client.ui()), client.stock());
    removeDroppedArchive();

    const RankOperationOutcome outcome = restoreBadges(client.dir());

    EXPECT_EQ(outcome.kind, Kind::Restored);
    EXPECT_EQ(outcome.message, "还原成功!已将全部军衔图标重置");
    EXPECT_EQ(outcome.iconKind, 64);
    EXPECT_EQ(snapshot(client.ui()), client.stock());

    const auto calls = archiver.calls();
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].commandLine,
              buildArchiverCommandLine(archiver.path(), "C:\\WINDOWS\\class.rar",
                                       client.dir() + "\\rez\\UI\\", true, std::nullopt));
    EXPECT_EQ(calls[0].arguments,
              (std::vector<std::string>{archiver.path(), "x", "-iext", "-ow", "-er", "-o+",
                                        "C:\\WINDOWS\\class.rar", client.dir() + "\\rez\\UI\\"}));
}

TEST(RestoreBadges, ReportsAnArchiverThatFails) {
    InstalledStandin archiver;
    StockClient client;
    removeDroppedArchive();
    ::SetEnvironmentVariableW(L"STANDIN_ARCHIVER_EXIT_CODE", L"3");
    const RankOperationOutcome outcome = restoreBadges(client.dir());
    ::SetEnvironmentVariableW(L"STANDIN_ARCHIVER_EXIT_CODE", nullptr);

    EXPECT_EQ(outcome.kind, Kind::RestoreFailed);
    EXPECT_EQ(outcome.iconKind, 16);
    EXPECT_NE(outcome.message.find("退出代码 3"), std::string::npos) << outcome.message;
}

// Whatever stands at the drop path stays; here it is no archive, so the archiver fails
// and the restore says so instead of claiming success.
TEST(RestoreBadges, LeavesAnExistingDropFileAlone) {
    InstalledStandin archiver;
    StockClient client;
    const std::wstring drop = toWide(std::string(kArchiveDropPath));
    writeFile(drop, std::string("not an archive"));

    const RankOperationOutcome outcome = restoreBadges(client.dir());

    EXPECT_EQ(readFile(drop), "not an archive");
    EXPECT_EQ(outcome.kind, Kind::RestoreFailed);
    EXPECT_NE(outcome.message.find("退出代码 2"), std::string::npos) << outcome.message;
    removeDroppedArchive();
}

} // namespace
