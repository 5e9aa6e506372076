#pragma once
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <vector>

// Wall-clock milliseconds, and the one output line the bench script reads: a name, the
// median, then every figure in the order measured.
inline double NowMs() {
    static const LARGE_INTEGER frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return f;
    }();
    LARGE_INTEGER counter;
    QueryPerformanceCounter(&counter);
    return 1000.0 * static_cast<double>(counter.QuadPart) / static_cast<double>(frequency.QuadPart);
}

inline double Median(std::vector<double> values) {
    if (values.empty()) {
        return 0;
    }
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

inline void PrintFigures(const char* name, const std::vector<double>& values) {
    std::printf("%s %.1f", name, Median(values));
    for (double v : values) {
        std::printf(" %.1f", v);
    }
    std::printf("\n");
    std::fflush(stdout);
}
