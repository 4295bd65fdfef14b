#pragma once
#include <windows.h>
#include <wininet.h>

// An owned WinINet handle (root or request).
class InetHandle {
public:
    InetHandle() : h_(nullptr) {}
    ~InetHandle() { Reset(); }
    InetHandle(const InetHandle&) = delete;
    InetHandle& operator=(const InetHandle&) = delete;

    void Reset(HINTERNET h = nullptr)
    {
        if (h_ != nullptr)
            InternetCloseHandle(h_);
        h_ = h;
    }
    HINTERNET Get() const { return h_; }
    explicit operator bool() const { return h_ != nullptr; }

private:
    HINTERNET h_;
};
