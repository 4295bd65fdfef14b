#pragma once
#include <windows.h>

#include "bench/bench_timing.h"

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <thread>
#include <vector>

// Helpers of the benchmarks that run windows: a median of measured times,
// and an answer to any message box.

inline double Median(std::vector<double> times)
{
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

// A message box means something failed: print it and answer it, so that
// the benchmark never hangs. The new-entry dialog (it has edit boxes) is
// left alone.
class BoxWatch {
public:
    BoxWatch()
        : thread_([this] {
              while (!stop_) {
                  for (HWND box = FindWindowExA(nullptr, nullptr, "#32770", nullptr); box != nullptr;
                       box = FindWindowExA(nullptr, box, "#32770", nullptr)) {
                      if (FindWindowExA(box, nullptr, "Edit", nullptr) != nullptr ||
                          GetDlgItem(box, 0xFFFF) == nullptr)
                          continue;
                      char text[1024] = {};
                      GetDlgItemTextA(box, 0xFFFF, text, sizeof text);
                      printf("  !! message box: %s\n", text);
                      PostMessageA(box, WM_COMMAND, IDOK, 0);
                  }
                  Sleep(50);
              }
          })
    {
    }
    ~BoxWatch()
    {
        stop_ = true;
        thread_.join();
    }

private:
    std::atomic<bool> stop_{false};
    std::thread thread_;
};
