#pragma once
// A tiny HTTP server on 127.0.0.1 for tests of the HTTP client: one listening socket on an
// ephemeral port, a background thread that serves one connection at a time the way the
// test asks, and a destructor that closes everything and joins the thread.

#include <atomic>
#include <chrono>
#include <cstdint>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace testing_support {

class LocalHttpServer {
  public:
    enum class Behaviour {
        Answer,      // reads the request, sends the configured status and body, closes
        Silent,      // accepts and reads the request, then never answers
        CloseAtOnce, // closes each connection as soon as it is accepted
        Trickle,     // sends a 200 head for 1000 bytes, then one body byte every 50 ms
    };

    // Answers every request with `status` and `body` (with a Content-Length header unless
    // `withLength` is false; the body then ends where the connection closes).
    explicit LocalHttpServer(int status, std::string body, bool withLength = true);
    explicit LocalHttpServer(Behaviour behaviour);
    // Answers like the first form, on a fixed port. A port still held by another program
    // is retried for up to `wait`; then the constructor throws.
    struct FixedPort {
        unsigned short port;
        std::chrono::milliseconds wait{60000};
    };
    LocalHttpServer(FixedPort where, int status, std::string body);
    ~LocalHttpServer();
    LocalHttpServer(const LocalHttpServer&) = delete;
    LocalHttpServer& operator=(const LocalHttpServer&) = delete;

    unsigned short port() const { return port_; }
    std::string url(const std::string& path = "/yunti/version.txt") const;

    // The head (request line and headers) of every request received so far.
    std::vector<std::string> requests() const;

    // A port on 127.0.0.1 that nothing listens on (it was bound a moment ago and freed).
    static unsigned short closedPort();

  private:
    void start(unsigned short port = 0, std::chrono::milliseconds wait = {});
    void serve();
    void serveConnection(std::uintptr_t client);
    bool stopping() const { return stop_; }

    Behaviour behaviour_;
    int status_ = 200;
    std::string body_;
    bool withLength_ = true;

    std::uintptr_t listener_ = ~std::uintptr_t{0}; // a SOCKET; INVALID_SOCKET when closed
    unsigned short port_ = 0;
    std::vector<std::uintptr_t> heldOpen_; // connections the Silent server keeps
    std::atomic<bool> stop_{false};
    mutable std::mutex mutex_;
    std::vector<std::string> requests_;
    std::thread thread_;
};

} // namespace testing_support
