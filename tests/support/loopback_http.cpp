#include "support/loopback_http.h"

// winsock2.h must precede windows.h.
#include <winsock2.h>
#include <ws2tcpip.h>
#include <windows.h>

#include <algorithm>
#include <cstdio>

namespace {

const size_t kMaxRequest = 16 * 1024;
const uint64_t kEndlessCap = 64ull * 1024 * 1024;   // a runaway client still ends
const DWORD kSocketTimeoutMs = 20000;

SOCKET BindLoopback(const char* host, unsigned short* port)
{
    SOCKET s = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    if (s == INVALID_SOCKET)
        return s;
    sockaddr_in address = {};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = inet_addr(host);
    address.sin_port = 0;
    int length = sizeof address;
    if (bind(s, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        getsockname(s, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
        closesocket(s);
        return INVALID_SOCKET;
    }
    *port = ntohs(address.sin_port);
    return s;
}

// The path of "GET /path?query HTTP/1.1", without its query.
std::string RequestPath(const std::string& request)
{
    const size_t start = request.find(' ');
    if (start == std::string::npos)
        return "";
    const size_t end = request.find_first_of(" ?\r\n", start + 1);
    return request.substr(start + 1, end == std::string::npos ? std::string::npos : end - start - 1);
}

}  // namespace

LoopbackHttp::LoopbackHttp(const char* address) : address_(address), listener_(INVALID_SOCKET)
{
    stopped_ = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    WSADATA wsa;
    if (WSAStartup(MAKEWORD(2, 2), &wsa) != 0)
        return;
    unsigned short port = 0;
    SOCKET s = BindLoopback(address_.c_str(), &port);
    if (s == INVALID_SOCKET)
        return;
    if (listen(s, SOMAXCONN) != 0) {
        closesocket(s);
        return;
    }
    listener_ = s;
    port_ = port;
    acceptor_ = std::thread(&LoopbackHttp::AcceptLoop, this);
}

LoopbackHttp::~LoopbackHttp()
{
    stopping_ = true;
    SetEvent(stopped_);
    if (listener_ != INVALID_SOCKET)
        closesocket(listener_);
    if (acceptor_.joinable())
        acceptor_.join();
    {
        // Wakes workers blocked in recv or send; each closes its own socket.
        std::lock_guard<std::mutex> lock(mutex_);
        for (uintptr_t client : clients_)
            shutdown(client, SD_BOTH);
    }
    for (std::thread& worker : workers_)
        worker.join();
    WSACleanup();
    CloseHandle(stopped_);
}

void LoopbackHttp::Serve(const std::string& path, const LoopbackPage& page)
{
    std::lock_guard<std::mutex> lock(mutex_);
    pages_[path] = page;
}

std::string LoopbackHttp::Url(const std::string& path)
{
    char query[64];
    {
        std::lock_guard<std::mutex> lock(mutex_);
        snprintf(query, sizeof query, "?run=%lu-%llu-%u", GetCurrentProcessId(),
                 static_cast<unsigned long long>(GetTickCount64()), ++serial_);
    }
    return "http://" + address_ + ":" + std::to_string(port_) + path + query;
}

int LoopbackHttp::Requests(const std::string& path) const
{
    std::lock_guard<std::mutex> lock(mutex_);
    auto it = requests_.find(path);
    return it == requests_.end() ? 0 : it->second;
}

uint64_t LoopbackHttp::BodyBytesSent(const std::string& path) const
{
    std::lock_guard<std::mutex> lock(mutex_);
    auto it = sent_.find(path);
    return it == sent_.end() ? 0 : it->second;
}

void LoopbackHttp::AcceptLoop()
{
    while (!stopping_) {
        SOCKET client = accept(listener_, nullptr, nullptr);
        if (client == INVALID_SOCKET)
            break;   // the listener was closed
        setsockopt(client, SOL_SOCKET, SO_RCVTIMEO, reinterpret_cast<const char*>(&kSocketTimeoutMs),
                   sizeof kSocketTimeoutMs);
        setsockopt(client, SOL_SOCKET, SO_SNDTIMEO, reinterpret_cast<const char*>(&kSocketTimeoutMs),
                   sizeof kSocketTimeoutMs);
        std::lock_guard<std::mutex> lock(mutex_);
        clients_.push_back(client);
        workers_.emplace_back(&LoopbackHttp::Answer, this, client);
    }
}

bool LoopbackHttp::SendAll(uintptr_t client, const std::string& bytes)
{
    size_t done = 0;
    while (done < bytes.size()) {
        const int n = send(client, bytes.data() + done, static_cast<int>(bytes.size() - done), 0);
        if (n <= 0)
            return false;
        done += static_cast<size_t>(n);
    }
    return true;
}

bool LoopbackHttp::SendSlowly(uintptr_t client, const std::string& bytes, int delayMs)
{
    for (char byte : bytes) {
        if (WaitForSingleObject(stopped_, static_cast<DWORD>(delayMs)) == WAIT_OBJECT_0 ||
            send(client, &byte, 1, 0) != 1)
            return false;
    }
    return true;
}

void LoopbackHttp::CountSent(const std::string& path, uint64_t bytes)
{
    std::lock_guard<std::mutex> lock(mutex_);
    sent_[path] += bytes;
}

void LoopbackHttp::Answer(uintptr_t client)
{
    std::string request;
    char buffer[2048];
    while (request.find("\r\n\r\n") == std::string::npos && request.size() < kMaxRequest) {
        const int n = recv(client, buffer, sizeof buffer, 0);
        if (n <= 0)
            break;
        request.append(buffer, static_cast<size_t>(n));
    }

    const std::string path = RequestPath(request);
    LoopbackPage page;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        ++requests_[path];
        auto it = pages_.find(path);
        if (it != pages_.end()) {
            page = it->second;
        } else {
            page.status = "404 Not Found";
            page.body = "<html><title>No such page</title></html>";
        }
    }

    if (page.silent) {
        // Holds the connection without a word until the client goes.
        while (WaitForSingleObject(stopped_, 0) != WAIT_OBJECT_0) {
            fd_set readable;
            FD_ZERO(&readable);
            FD_SET(static_cast<SOCKET>(client), &readable);
            timeval tick = {0, 100000};
            int ready = select(0, &readable, nullptr, nullptr, &tick);
            if (ready < 0 || (ready > 0 && recv(client, buffer, sizeof buffer, 0) <= 0))
                break;
        }
        std::lock_guard<std::mutex> lock(mutex_);
        clients_.erase(std::remove(clients_.begin(), clients_.end(), client), clients_.end());
        closesocket(client);
        return;
    }
    const bool isHead = request.compare(0, 5, "HEAD ") == 0;
    if (isHead) {
        if (!page.headStatus.empty())
            page.status = page.headStatus;
        page.body.clear();
        page.ending = LoopbackPage::Ending::Complete;
    }
    std::string head = "HTTP/1.1 " + page.status + "\r\n";
    for (const std::string& line : page.headers)
        head += line + "\r\n";
    head += "Content-Type: text/html\r\nConnection: close\r\n";
    if (page.ending == LoopbackPage::Ending::Complete)
        head += "Content-Length: " + std::to_string(page.body.size()) + "\r\n";
    else if (page.ending == LoopbackPage::Ending::CloseMidBody)
        head += "Content-Length: " + std::to_string(page.body.size() * 2 + 100) + "\r\n";
    head += "\r\n";

    auto sendAll = [&](const std::string& bytes) {
        return page.byteDelayMs > 0 ? SendSlowly(client, bytes, page.byteDelayMs) : SendAll(client, bytes);
    };
    if (sendAll(head) && sendAll(page.body)) {
        CountSent(path, page.body.size());
        if (page.ending == LoopbackPage::Ending::Endless) {
            const std::string filler(8192, 'x');
            uint64_t total = page.body.size();
            while (!stopping_ && total < kEndlessCap && SendAll(client, filler)) {
                total += filler.size();
                CountSent(path, filler.size());
            }
        }
    }

    {
        std::lock_guard<std::mutex> lock(mutex_);
        clients_.erase(std::remove(clients_.begin(), clients_.end(), client), clients_.end());
    }
    if (page.ending != LoopbackPage::Ending::CloseMidBody)
        shutdown(client, SD_SEND);
    closesocket(client);
}

RefusingLoopbackPort::RefusingLoopbackPort(const char* address)
{
    WSADATA wsa;
    if (WSAStartup(MAKEWORD(2, 2), &wsa) != 0)
        return;
    started_ = true;
    SOCKET s = BindLoopback(address, &port_);
    socket_ = s;
    if (s == INVALID_SOCKET)
        port_ = 0;
}

RefusingLoopbackPort::~RefusingLoopbackPort()
{
    if (static_cast<SOCKET>(socket_) != INVALID_SOCKET)
        closesocket(static_cast<SOCKET>(socket_));
    if (started_)
        WSACleanup();
}
