#pragma once
// One HTTP GET, the whole body as bytes. Used once at start for the version text.

#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace yunti {

// Bounds for one request. The per-step time-outs go to the HTTP stack; `totalMs` is
// enforced here as well, because a server that trickles bytes never trips a per-step
// time-out and some stacks ignore parts of them.
struct HttpLimits {
    DWORD connectMs = 5000; // name resolution and connect
    DWORD sendMs = 5000;    // sending the request
    DWORD receiveMs = 5000; // each wait for the response headers or a part of the body
    DWORD totalMs = 15000;  // the whole request, from call to return
    std::size_t maxBodyBytes = 64 * 1024;
};

// GETs `url` (http:// or https://) and returns the body of a 200 response. Returns an
// empty vector on any failure: a malformed URL, no server, a refused or reset connection,
// any status other than 200, a time-out, or a body longer than `maxBodyBytes` (a
// truncated body is never returned). Redirects are followed. Nothing is cached, and
// loopback hosts are always reached directly, whatever proxy the machine is set to.
//
// Blocks the calling thread for at most about `totalMs`: the request runs on a worker
// thread, and when the deadline passes the caller gets an empty result while the worker
// is told to stop and left to end on its own.
std::vector<std::uint8_t> httpGet(const std::string& url, const HttpLimits& limits = {});

} // namespace yunti
