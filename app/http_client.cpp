#include "app/http_client.h"

#include "skinui/text_conversion.h"
#include "skinui/unique_handle.h"

#include <winhttp.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <climits>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <optional>
#include <system_error>
#include <thread>

namespace yunti {

namespace {

struct InternetTraits {
    static HINTERNET invalid() noexcept { return nullptr; }
    static void close(HINTERNET h) noexcept { ::WinHttpCloseHandle(h); }
};
using UniqueInternet = skinui::UniqueHandle<HINTERNET, InternetTraits>;

struct ParsedUrl {
    std::wstring host;
    std::wstring pathAndQuery;
    INTERNET_PORT port = 0;
    bool secure = false;
};

std::optional<ParsedUrl> parseUrl(const std::wstring& url) {
    URL_COMPONENTS parts{};
    parts.dwStructSize = sizeof parts;
    // Lengths of -1 ask for pointers into `url` rather than copies.
    parts.dwSchemeLength = static_cast<DWORD>(-1);
    parts.dwHostNameLength = static_cast<DWORD>(-1);
    parts.dwUrlPathLength = static_cast<DWORD>(-1);
    parts.dwExtraInfoLength = static_cast<DWORD>(-1);
    if (url.empty() || !::WinHttpCrackUrl(url.c_str(), static_cast<DWORD>(url.size()), 0, &parts))
        return std::nullopt;
    if (parts.nScheme != INTERNET_SCHEME_HTTP && parts.nScheme != INTERNET_SCHEME_HTTPS)
        return std::nullopt;
    if (parts.lpszHostName == nullptr || parts.dwHostNameLength == 0)
        return std::nullopt;
    ParsedUrl parsed;
    parsed.host.assign(parts.lpszHostName, parts.dwHostNameLength);
    if (parts.lpszUrlPath != nullptr)
        parsed.pathAndQuery.assign(parts.lpszUrlPath, parts.dwUrlPathLength);
    if (parsed.pathAndQuery.empty())
        parsed.pathAndQuery = L"/";
    if (parts.lpszExtraInfo != nullptr)
        parsed.pathAndQuery.append(parts.lpszExtraInfo, parts.dwExtraInfoLength);
    parsed.port = parts.nPort;
    parsed.secure = parts.nScheme == INTERNET_SCHEME_HTTPS;
    return parsed;
}

// Loopback hosts never go through a proxy: WinHTTP's default proxy setting (and, under
// Wine, the http_proxy environment variable) would otherwise send 127.0.0.1 to it.
bool isLoopbackHost(std::wstring host) {
    std::transform(host.begin(), host.end(), host.begin(),
                   [](wchar_t c) { return c >= L'A' && c <= L'Z' ? c - L'A' + L'a' : c; });
    return host == L"localhost" || host.rfind(L"127.", 0) == 0 || host == L"::1" ||
           host == L"[::1]";
}

// WinHTTP reads a time-out of 0 as "wait for ever".
int timeoutMs(DWORD ms) {
    return static_cast<int>(std::clamp<DWORD>(ms, 1, INT_MAX));
}

// The session, connection and request of one fetch. Closing them can take a few
// milliseconds (WinHTTP winds down its connection), so the worker closes them only after
// it has handed the body over.
struct RequestHandles {
    UniqueInternet session;
    UniqueInternet connection;
    UniqueInternet request;
};

// The request itself, run on the worker thread; the handles it opens stay in `handles`.
// Gives up between steps once `cancelled` is set (the caller's deadline has passed and
// nobody waits for the answer).
std::vector<std::uint8_t> fetch(const std::wstring& url, const HttpLimits& limits,
                                const std::atomic<bool>& cancelled, RequestHandles& handles) {
    const std::optional<ParsedUrl> parsed = parseUrl(url);
    if (!parsed)
        return {};

    const DWORD access = isLoopbackHost(parsed->host) ? WINHTTP_ACCESS_TYPE_NO_PROXY
                                                      : WINHTTP_ACCESS_TYPE_DEFAULT_PROXY;
    UniqueInternet& session = handles.session;
    session.reset(
        ::WinHttpOpen(L"Yunti", access, WINHTTP_NO_PROXY_NAME, WINHTTP_NO_PROXY_BYPASS, 0));
    if (!session)
        return {};
    if (!::WinHttpSetTimeouts(session.get(), timeoutMs(limits.connectMs),
                              timeoutMs(limits.connectMs), timeoutMs(limits.sendMs),
                              timeoutMs(limits.receiveMs)))
        return {};

    UniqueInternet& connection = handles.connection;
    connection.reset(::WinHttpConnect(session.get(), parsed->host.c_str(), parsed->port, 0));
    if (!connection)
        return {};
    // WinHTTP keeps no cache; REFRESH also asks proxies on the way not to answer from theirs.
    const DWORD flags = WINHTTP_FLAG_REFRESH | (parsed->secure ? WINHTTP_FLAG_SECURE : 0);
    UniqueInternet& request = handles.request;
    request.reset(::WinHttpOpenRequest(connection.get(), L"GET", parsed->pathAndQuery.c_str(),
                                       nullptr, WINHTTP_NO_REFERER, WINHTTP_DEFAULT_ACCEPT_TYPES,
                                       flags));
    if (!request || cancelled)
        return {};
    // The wait for the response head has a time-out of its own (90 s by default), which
    // WinHttpSetTimeouts leaves alone.
    DWORD headTimeout = static_cast<DWORD>(timeoutMs(limits.receiveMs));
    if (!::WinHttpSetOption(request.get(), WINHTTP_OPTION_RECEIVE_RESPONSE_TIMEOUT, &headTimeout,
                            sizeof headTimeout))
        return {};
    if (!::WinHttpSendRequest(request.get(), WINHTTP_NO_ADDITIONAL_HEADERS, 0,
                              WINHTTP_NO_REQUEST_DATA, 0, 0, 0) ||
        cancelled || !::WinHttpReceiveResponse(request.get(), nullptr) || cancelled)
        return {};

    DWORD status = 0;
    DWORD size = sizeof status;
    if (!::WinHttpQueryHeaders(request.get(), WINHTTP_QUERY_STATUS_CODE | WINHTTP_QUERY_FLAG_NUMBER,
                               WINHTTP_HEADER_NAME_BY_INDEX, &status, &size,
                               WINHTTP_NO_HEADER_INDEX) ||
        status != HTTP_STATUS_OK)
        return {};
    // A declared length over the cap fails before any of the body is read.
    DWORD declaredLength = 0;
    size = sizeof declaredLength;
    if (::WinHttpQueryHeaders(
            request.get(), WINHTTP_QUERY_CONTENT_LENGTH | WINHTTP_QUERY_FLAG_NUMBER,
            WINHTTP_HEADER_NAME_BY_INDEX, &declaredLength, &size, WINHTTP_NO_HEADER_INDEX) &&
        declaredLength > limits.maxBodyBytes)
        return {};

    std::vector<std::uint8_t> body;
    std::uint8_t chunk[4096];
    for (;;) {
        DWORD read = 0;
        if (cancelled || !::WinHttpReadData(request.get(), chunk, sizeof chunk, &read))
            return {};
        if (read == 0)
            return body;
        if (read > limits.maxBodyBytes - body.size())
            return {};
        body.insert(body.end(), chunk, chunk + read);
    }
}

// What the caller and the worker share; the last of them to let go frees it.
struct PendingRequest {
    std::mutex mutex;
    std::condition_variable done;
    bool finished = false;
    std::vector<std::uint8_t> body;
    std::atomic<bool> cancelled{false};
};

} // namespace

std::vector<std::uint8_t> httpGet(const std::string& url, const HttpLimits& limits) {
    auto pending = std::make_shared<PendingRequest>();
    try {
        std::thread([pending, url = skinui::toWide(url), limits] {
            RequestHandles handles;
            std::vector<std::uint8_t> body = fetch(url, limits, pending->cancelled, handles);
            {
                std::lock_guard<std::mutex> lock(pending->mutex);
                pending->body = std::move(body);
                pending->finished = true;
                pending->done.notify_all();
            }
            // `handles` closes here, while the caller goes on with the body.
        }).detach();
    } catch (const std::system_error&) {
        return {};
    }

    std::unique_lock<std::mutex> lock(pending->mutex);
    if (!pending->done.wait_for(lock, std::chrono::milliseconds(limits.totalMs),
                                [&] { return pending->finished; })) {
        // The worker may sit in a blocking receive; its own time-outs end it later.
        pending->cancelled = true;
        return {};
    }
    return std::move(pending->body);
}

} // namespace yunti
