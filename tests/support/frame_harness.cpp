#include "support/frame_harness.h"

#include <cstdio>
#include <cstdlib>

bool WaitUntil(const std::function<bool()>& condition, DWORD timeoutMs)
{
    const DWORD start = GetTickCount();
    while (!condition()) {
        if (GetTickCount() - start > timeoutMs)
            return false;
        Sleep(5);
    }
    return true;
}

void PumpMessages(DWORD milliseconds)
{
    DWORD end = GetTickCount() + milliseconds;
    do {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT) {
                PostQuitMessage(static_cast<int>(msg.wParam));
                return;
            }
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        Sleep(5);
    } while (static_cast<LONG>(GetTickCount() - end) < 0);
}

namespace {
CommandRecorder* activeRecorder = nullptr;
}

CommandRecorder::CommandRecorder(HWND only) : only_(only)
{
    activeRecorder = this;
    hook_ = SetWindowsHookExA(WH_CALLWNDPROC, Hook, nullptr, GetCurrentThreadId());
}

CommandRecorder::~CommandRecorder()
{
    if (hook_ != nullptr)
        UnhookWindowsHookEx(hook_);
    activeRecorder = nullptr;
}

LRESULT CALLBACK CommandRecorder::Hook(int code, WPARAM wParam, LPARAM lParam)
{
    if (code == HC_ACTION && activeRecorder != nullptr) {
        auto* msg = reinterpret_cast<CWPSTRUCT*>(lParam);
        if (msg->message == WM_COMMAND &&
            (activeRecorder->only_ == nullptr || msg->hwnd == activeRecorder->only_))
            activeRecorder->commands_.push_back(LOWORD(msg->wParam));
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

bool CommandRecorder::Saw(int command) const
{
    for (int c : commands_) {
        if (c == command)
            return true;
    }
    return false;
}

HeldKeys::HeldKeys(std::initializer_list<int> keys)
{
    GetKeyboardState(saved_);
    BYTE state[256];
    memcpy(state, saved_, sizeof state);
    for (int k : keys)
        state[k] |= 0x80;
    SetKeyboardState(state);
}

HeldKeys::~HeldKeys()
{
    SetKeyboardState(saved_);
}

std::string BesideTestProgram(const char* relative)
{
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    char* slash = strrchr(path, '\\');   // test paths are ASCII
    if (slash != nullptr)
        slash[1] = '\0';
    return std::string(path) + relative;
}

std::string SaveWindowShot(HWND window, const char* name)
{
    const char* folder = getenv("LINKCAIRN_ARTIFACTS");
    std::string dir;
    if (folder != nullptr && folder[0] == '/') {
        dir = std::string("Z:") + folder;
        for (char& c : dir) {
            if (c == '/')
                c = '\\';
        }
    } else {
        char tmp[MAX_PATH];
        GetTempPathA(MAX_PATH, tmp);
        dir = tmp;
    }
    CreateDirectoryA(dir.c_str(), nullptr);
    std::string path = dir + "\\" + name;

    RECT r;
    GetWindowRect(window, &r);
    int w = r.right - r.left;
    int h = r.bottom - r.top;
    HDC screen = GetDC(nullptr);
    HDC mem = CreateCompatibleDC(screen);
    BITMAPINFO bi = {};
    bi.bmiHeader.biSize = sizeof bi.bmiHeader;
    bi.bmiHeader.biWidth = w;
    bi.bmiHeader.biHeight = h;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 24;
    void* bits = nullptr;
    HBITMAP dib = CreateDIBSection(screen, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(mem, dib);
    BitBlt(mem, 0, 0, w, h, screen, r.left, r.top, SRCCOPY);
    SelectObject(mem, old);

    int stride = ((w * 3 + 3) / 4) * 4;
    BITMAPFILEHEADER fh = {};
    fh.bfType = 0x4D42;
    fh.bfOffBits = sizeof fh + sizeof bi.bmiHeader;
    fh.bfSize = fh.bfOffBits + stride * h;
    bool ok = false;
    if (FILE* f = fopen(path.c_str(), "wb")) {
        ok = fwrite(&fh, sizeof fh, 1, f) == 1 && fwrite(&bi.bmiHeader, sizeof bi.bmiHeader, 1, f) == 1 &&
             fwrite(bits, stride * h, 1, f) == 1;
        fclose(f);
    }
    DeleteObject(dib);
    DeleteDC(mem);
    ReleaseDC(nullptr, screen);
    return ok ? path : std::string();
}

std::string ClipboardText()
{
    std::string text;
    if (!OpenClipboard(nullptr))
        return text;
    if (HANDLE data = GetClipboardData(CF_TEXT)) {
        if (const char* p = static_cast<const char*>(GlobalLock(data))) {
            text = p;
            GlobalUnlock(data);
        }
    }
    CloseClipboard();
    return text;
}
