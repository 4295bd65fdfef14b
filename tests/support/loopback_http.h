#pragma once
#include <atomic>
#include <cstdint>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

// A page the loopback server answers with.
struct LoopbackPage {
    enum class Ending {
        Complete,       // Content-Length and the whole body
        CloseMidBody,   // Content-Length promises more than the body; the connection then closes
        Endless,        // the body, then filler without end until the client goes away
    };
    std::string status = "200 OK";
    std::vector<std::string> headers;   // whole header lines without CR LF
    std::string body;
    Ending ending = Ending::Complete;
    // Above 0: the whole response, head and body, goes out one byte at a
    // time with this pause before each byte (a slow server).
    int byteDelayMs = 0;
    // Accepts and reads the request, then never answers (until the client
    // goes or the server stops).
    bool silent = false;
    // When set, the status a HEAD request gets instead (e.g. "405 Method
    // Not Allowed" from a server that refuses HEAD). HEAD never gets a body.
    std::string headStatus{};
};

// A small HTTP server on a loopback address (127.0.0.1 unless told; any
// of 127.0.0.2 to 127.0.0.250 stands for another host) with an ephemeral
// port, for tests that must not leave the machine. One thread per
// connection, one response per connection ("Connection: close"); unknown
// paths get a 404 page.
class LoopbackHttp {
public:
    explicit LoopbackHttp(const char* address = "127.0.0.1");
    ~LoopbackHttp();
    LoopbackHttp(const LoopbackHttp&) = delete;
    LoopbackHttp& operator=(const LoopbackHttp&) = delete;

    bool Running() const { return port_ != 0; }
    unsigned short Port() const { return port_; }

    void Serve(const std::string& path, const LoopbackPage& page);

    // http://address:port/path plus a query no earlier run has used, so
    // that no cache of the HTTP client can answer in the server's place.
    std::string Url(const std::string& path);

    int Requests(const std::string& path) const;
    uint64_t BodyBytesSent(const std::string& path) const;

private:
    void AcceptLoop();
    void Answer(uintptr_t client);
    bool SendAll(uintptr_t client, const std::string& bytes);
    bool SendSlowly(uintptr_t client, const std::string& bytes, int delayMs);
    void CountSent(const std::string& path, uint64_t bytes);

    std::string address_;
    uintptr_t listener_;
    unsigned short port_ = 0;
    std::atomic<bool> stopping_{false};
    void* stopped_ = nullptr;   // event: cuts the pauses of slow pages short
    mutable std::mutex mutex_;
    std::map<std::string, LoopbackPage> pages_;
    std::map<std::string, int> requests_;
    std::map<std::string, uint64_t> sent_;
    std::vector<uintptr_t> clients_;
    std::vector<std::thread> workers_;
    std::thread acceptor_;
    unsigned serial_ = 0;
};

// A loopback port on which nothing listens, kept bound (without listening)
// for the object's life, so that no other program can take it meanwhile and
// every connection to it is refused.
class RefusingLoopbackPort {
public:
    explicit RefusingLoopbackPort(const char* address = "127.0.0.1");
    ~RefusingLoopbackPort();
    RefusingLoopbackPort(const RefusingLoopbackPort&) = delete;
    RefusingLoopbackPort& operator=(const RefusingLoopbackPort&) = delete;
    unsigned short Port() const { return port_; }

private:
    uintptr_t socket_ = ~static_cast<uintptr_t>(0);
    unsigned short port_ = 0;
    bool started_ = false;
};
