// The version check at start: the HTTP GET against a real server on 127.0.0.1, the
// comparison of the version text, and the update notice through a fake system shell.

#include "app/http_client.h"
#include "app/update_check.h"
#include "support/local_http_server.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

using namespace yunti;
using testing_support::LocalHttpServer;
using Behaviour = LocalHttpServer::Behaviour;

namespace {

std::vector<std::uint8_t> bytes(const std::string& text) {
    return {text.begin(), text.end()};
}
std::string text(const std::vector<std::uint8_t>& body) {
    return {body.begin(), body.end()};
}

const UINT kQuestion = MB_YESNO | MB_ICONQUESTION | MB_TASKMODAL;
const UINT kInformation = MB_OK | MB_ICONINFORMATION | MB_TASKMODAL;
const std::string kFirst = "系统发现最新版本，请下载最新的版本。";
const std::string kSecond = "当前不是最新版本，请下载最新的版本。";
const std::string kFinal = "很抱歉，当前版本已失效停用，请下载最新版本使用。";
const std::string kPage = "http://127.0.0.1:1/download/";

// Records every call in order, one line each, and answers the boxes from a script
// (No once the script runs out). exitProcess returns, so the test goes on.
class FakeShell final : public SystemShell {
  public:
    explicit FakeShell(std::vector<int> answers = {}) : answers_(std::move(answers)) {}

    int messageBox(const std::string& text, const std::string& caption, UINT flags) override {
        calls.push_back(box(text, flags, caption));
        return next_ < answers_.size() ? answers_[next_++] : IDNO;
    }
    void openUrl(const std::string& url) override { calls.push_back("open " + url); }
    void exitProcess(UINT code) override { calls.push_back("exit " + std::to_string(code)); }

    static std::string box(const std::string& text, UINT flags,
                           const std::string& caption = "信息：") {
        char hex[16];
        std::snprintf(hex, sizeof hex, "%#x", flags);
        return "box [" + caption + "] " + hex + " " + text;
    }

    std::vector<std::string> calls;

  private:
    std::vector<int> answers_;
    std::size_t next_ = 0;
};

const std::vector<std::string> kAnsweredYes = {FakeShell::box(kFirst, kQuestion), "open " + kPage,
                                               "exit 0"};

// Limits short enough that the time-out cases finish quickly.
HttpLimits quickLimits() {
    HttpLimits limits;
    limits.connectMs = 500;
    limits.sendMs = 500;
    limits.receiveMs = 300;
    limits.totalMs = 3000;
    return limits;
}

TEST(VersionText, OnlyExactlyOneIsCurrent) {
    struct Case {
        std::string body, expectedText;
        bool current;
    } cases[] = {
        {"1", "1", true},
        {std::string("1\0rest", 6), "1", true}, // the text ends at the first NUL
        {"1\r\n", "1\r\n", false},
        {"1\n", "1\n", false},
        {" 1", " 1", false},
        {"2", "2", false},
        {"11", "11", false},
        {"", "", false},
        {std::string("\0"
                     "1",
                     2),
         "", false},
        {"\xd2\xbb", "\xd2\xbb", false}, // "一" in GBK, left unconverted
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.body));
        const std::string remote = remoteVersionText(bytes(c.body));
        EXPECT_EQ(remote, c.expectedText);
        EXPECT_EQ(isCurrentVersion(remote), c.current);
    }
}

TEST(HttpGet, ReturnsTheWholeBodyOfA200AndNothingOtherwise) {
    HttpLimits small;
    small.maxBodyBytes = 16;
    const std::string binary("1\0\xff\xfe\r\n", 6);
    struct Case {
        const char* name;
        int status;
        std::string body;
        bool withLength;
        HttpLimits limits;
        std::string expected;
    } cases[] = {
        {"one", 200, "1", true, {}, "1"},
        {"bytes kept as sent", 200, binary, true, {}, binary},
        {"no length, ends at close", 200, "abc", false, {}, "abc"},
        {"empty body", 200, "", true, {}, ""},
        {"not found", 404, "1", true, {}, ""},
        {"server error", 500, "1", true, {}, ""},
        {"at the cap", 200, std::string(16, 'x'), true, small, std::string(16, 'x')},
        {"over the cap", 200, std::string(17, 'x'), true, small, ""},
        {"over the cap, no length", 200, std::string(17, 'x'), false, small, ""},
        {"default cap", 200, std::string(64 * 1024, 'x'), true, {}, std::string(64 * 1024, 'x')},
        {"over the default cap", 200, std::string(64 * 1024 + 1, 'x'), false, {}, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        LocalHttpServer server(c.status, c.body, c.withLength);
        EXPECT_EQ(text(httpGet(server.url(), c.limits)), c.expected);
        EXPECT_EQ(server.requests().size(), 1u);
    }
}

TEST(HttpGet, SendsOnePlainGetForThePathAndQuery) {
    LocalHttpServer server(200, "1");
    ASSERT_EQ(text(httpGet(server.url("/yunti/version.txt?x=1"))), "1");
    const std::vector<std::string> requests = server.requests();
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].substr(0, requests[0].find("\r\n")),
              "GET /yunti/version.txt?x=1 HTTP/1.1");
    EXPECT_NE(requests[0].find("Host: 127.0.0.1:" + std::to_string(server.port())),
              std::string::npos)
        << requests[0];
}

TEST(HttpGet, LoopbackIsReachedDirectlyWhateverTheProxySetting) {
    LocalHttpServer server(200, "1");
    const std::string deadProxy =
        "http_proxy=http://127.0.0.1:" + std::to_string(LocalHttpServer::closedPort());
    ::_putenv(deadProxy.c_str());
    const std::string body = text(httpGet(server.url(), quickLimits()));
    ::_putenv("http_proxy=");
    EXPECT_EQ(body, "1");
}

TEST(HttpGet, FailsWithoutAServer) {
    struct Case {
        const char* name;
        std::string url;
    } cases[] = {
        {"closed port", "http://127.0.0.1:" + std::to_string(LocalHttpServer::closedPort()) + "/v"},
        {"empty address", ""},
        {"not an address", "version.txt"},
        {"not http", "ftp://127.0.0.1/version.txt"},
        {"no host", "http:///version.txt"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_TRUE(httpGet(c.url, quickLimits()).empty());
    }
    LocalHttpServer hangsUp(Behaviour::CloseAtOnce);
    EXPECT_TRUE(httpGet(hangsUp.url(), quickLimits()).empty());
}

// A server that never answers, or that never finishes its body, ends in an empty result
// instead of a start-up that hangs. The elapsed times are recorded, not asserted.
TEST(HttpGet, GivesUpOnServersThatNeverFinish) {
    HttpLimits receiveTimeout = quickLimits(); // the receive time-out ends it
    HttpLimits deadline = quickLimits();       // only the total deadline can end it
    deadline.receiveMs = 60000;
    deadline.totalMs = 800;
    HttpLimits trickle = quickLimits(); // each byte arrives in time; the deadline ends it
    trickle.totalMs = 800;
    struct Case {
        const char* name;
        Behaviour behaviour;
        HttpLimits limits;
    } cases[] = {
        {"silent_receive_timeout_ms", Behaviour::Silent, receiveTimeout},
        {"silent_deadline_ms", Behaviour::Silent, deadline},
        {"trickle_deadline_ms", Behaviour::Trickle, trickle},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        LocalHttpServer server(c.behaviour);
        const auto start = std::chrono::steady_clock::now();
        EXPECT_TRUE(httpGet(server.url(), c.limits).empty());
        const auto elapsed = std::chrono::steady_clock::now() - start;
        testing::Test::RecordProperty(
            c.name,
            std::to_string(std::chrono::duration_cast<std::chrono::milliseconds>(elapsed).count()));
    }
}

TEST(UpdateNotice, EveryAnswerEndsWithThePageAndExitCodeZero) {
    struct Case {
        const char* name;
        std::vector<int> answers;
        std::vector<std::string> expected;
    } cases[] = {
        {"yes", {IDYES}, kAnsweredYes},
        {"no, then yes",
         {IDNO, IDYES},
         {FakeShell::box(kFirst, kQuestion), FakeShell::box(kSecond, kQuestion), "open " + kPage,
          "exit 0"}},
        {"no, no",
         {IDNO, IDNO, IDOK},
         {FakeShell::box(kFirst, kQuestion), FakeShell::box(kSecond, kQuestion),
          FakeShell::box(kFinal, kInformation), "open " + kPage, "exit 0"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        FakeShell shell(c.answers);
        runUpdateNotice(shell, kPage);
        EXPECT_EQ(shell.calls, c.expected);
    }
}

TEST(CheckVersion, GoesOnOnlyWhenTheServerSaysExactlyOne) {
    struct Case {
        const char* name;
        int status;
        std::string body;
        bool goesOn;
    } cases[] = {
        {"one", 200, "1", true},
        {"one and a line break", 200, "1\r\n", false},
        {"leading blank", 200, " 1", false},
        {"two", 200, "2", false},
        {"empty body", 200, "", false},
        {"not found", 404, "1", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        LocalHttpServer server(c.status, c.body);
        FakeShell shell({IDYES});
        EXPECT_EQ(checkVersion(shell, server.url(), kPage, quickLimits()), c.goesOn);
        EXPECT_EQ(shell.calls, c.goesOn ? std::vector<std::string>{} : kAnsweredYes);
        EXPECT_EQ(server.requests().size(), 1u);
    }
}

TEST(CheckVersion, AFailedFetchCountsAsANewerVersion) {
    LocalHttpServer silent(Behaviour::Silent);
    const std::string urls[] = {
        "http://127.0.0.1:" + std::to_string(LocalHttpServer::closedPort()) + "/yunti/version.txt",
        silent.url(),
    };
    for (const std::string& url : urls) {
        SCOPED_TRACE(url);
        FakeShell shell({IDYES});
        EXPECT_FALSE(checkVersion(shell, url, kPage, quickLimits()));
        EXPECT_EQ(shell.calls, kAnsweredYes);
    }
}

} // namespace
