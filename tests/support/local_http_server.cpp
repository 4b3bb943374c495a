#include "support/local_http_server.h"

#include <winsock2.h>
#include <ws2tcpip.h>

#include <chrono>
#include <stdexcept>

namespace testing_support {

namespace {

constexpr auto kPoll = std::chrono::milliseconds(20);

// Waits up to one poll interval for `s` to become readable.
bool readable(SOCKET s) {
    fd_set set;
    FD_ZERO(&set);
    FD_SET(s, &set);
    timeval wait{0, static_cast<long>(std::chrono::microseconds(kPoll).count())};
    return ::select(0, &set, nullptr, nullptr, &wait) == 1;
}

bool sendAll(SOCKET s, const std::string& bytes) {
    std::size_t sent = 0;
    while (sent < bytes.size()) {
        const int n = ::send(s, bytes.data() + sent, static_cast<int>(bytes.size() - sent), 0);
        if (n <= 0)
            return false;
        sent += static_cast<std::size_t>(n);
    }
    return true;
}

const char* reason(int status) {
    switch (status) {
    case 200:
        return "OK";
    case 404:
        return "Not Found";
    case 500:
        return "Internal Server Error";
    default:
        return "Status";
    }
}

// Winsock is reference-counted: every server starts and ends its own use of it.
struct WinsockUse {
    WinsockUse() {
        WSADATA data;
        if (::WSAStartup(MAKEWORD(2, 2), &data) != 0)
            throw std::runtime_error("WSAStartup failed");
    }
    ~WinsockUse() { ::WSACleanup(); }
};

// Listens on 127.0.0.1:port (0: an ephemeral port) and reports the port bound.
SOCKET listenOnLoopback(unsigned short& port) {
    SOCKET s = ::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    if (s == INVALID_SOCKET)
        throw std::runtime_error("socket failed");
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = htons(port);
    int length = sizeof address;
    if (::bind(s, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        ::listen(s, SOMAXCONN) != 0 ||
        ::getsockname(s, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
        ::closesocket(s);
        throw std::runtime_error("cannot listen on 127.0.0.1");
    }
    port = ntohs(address.sin_port);
    return s;
}

} // namespace

LocalHttpServer::LocalHttpServer(int status, std::string body, bool withLength)
    : behaviour_(Behaviour::Answer), status_(status), body_(std::move(body)),
      withLength_(withLength) {
    start();
}

LocalHttpServer::LocalHttpServer(Behaviour behaviour) : behaviour_(behaviour) {
    start();
}

LocalHttpServer::LocalHttpServer(FixedPort where, int status, std::string body)
    : behaviour_(Behaviour::Answer), status_(status), body_(std::move(body)) {
    start(where.port, where.wait);
}

void LocalHttpServer::start(unsigned short port, std::chrono::milliseconds wait) {
    WSADATA data;
    if (::WSAStartup(MAKEWORD(2, 2), &data) != 0)
        throw std::runtime_error("WSAStartup failed");
    const auto giveUp = std::chrono::steady_clock::now() + wait;
    while (true) {
        try {
            port_ = port;
            listener_ = listenOnLoopback(port_);
            break;
        } catch (...) {
            if (std::chrono::steady_clock::now() < giveUp) {
                std::this_thread::sleep_for(std::chrono::milliseconds(500));
                continue;
            }
            ::WSACleanup();
            throw;
        }
    }
    thread_ = std::thread([this] { serve(); });
}

LocalHttpServer::~LocalHttpServer() {
    stop_ = true;
    thread_.join();
    for (std::uintptr_t s : heldOpen_)
        ::closesocket(s);
    ::closesocket(listener_);
    ::WSACleanup();
}

std::string LocalHttpServer::url(const std::string& path) const {
    return "http://127.0.0.1:" + std::to_string(port_) + path;
}

std::vector<std::string> LocalHttpServer::requests() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return requests_;
}

unsigned short LocalHttpServer::closedPort() {
    WinsockUse winsock;
    unsigned short port = 0;
    ::closesocket(listenOnLoopback(port));
    return port;
}

void LocalHttpServer::serve() {
    while (!stopping()) {
        if (!readable(listener_))
            continue;
        SOCKET client = ::accept(listener_, nullptr, nullptr);
        if (client != INVALID_SOCKET)
            serveConnection(client);
    }
}

void LocalHttpServer::serveConnection(std::uintptr_t client) {
    if (behaviour_ == Behaviour::CloseAtOnce) {
        ::closesocket(client);
        return;
    }

    // The request head ends with an empty line; the client sends no body with a GET.
    std::string head;
    while (!stopping() && head.find("\r\n\r\n") == std::string::npos) {
        if (!readable(client))
            continue;
        char buffer[1024];
        const int n = ::recv(client, buffer, sizeof buffer, 0);
        if (n <= 0)
            break;
        head.append(buffer, static_cast<std::size_t>(n));
    }
    {
        std::lock_guard<std::mutex> lock(mutex_);
        requests_.push_back(head.substr(0, head.find("\r\n\r\n")));
    }

    switch (behaviour_) {
    case Behaviour::Silent:
        heldOpen_.push_back(client);
        return;
    case Behaviour::Trickle:
        if (sendAll(client, "HTTP/1.1 200 OK\r\nContent-Length: 1000\r\n\r\n"))
            while (!stopping() && sendAll(client, "1"))
                std::this_thread::sleep_for(std::chrono::milliseconds(50));
        break;
    default: {
        std::string reply = "HTTP/1.1 " + std::to_string(status_) + " " + reason(status_) + "\r\n";
        if (withLength_)
            reply += "Content-Length: " + std::to_string(body_.size()) + "\r\n";
        reply += "Connection: close\r\n\r\n" + body_;
        sendAll(client, reply);
        break;
    }
    }
    // A graceful close, so the client reads the whole reply rather than a reset.
    ::shutdown(client, SD_SEND);
    char drain[256];
    while (!stopping() && readable(client) && ::recv(client, drain, sizeof drain, 0) > 0) {
    }
    ::closesocket(client);
}

} // namespace testing_support
