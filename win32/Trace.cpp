#include "win32/Trace.h"

#include "win32/FileTime.h"
#include "win32/Handles.h"

#include <windows.h>

#include <psapi.h>

#include <algorithm>
#include <cstdio>

namespace cw {
namespace {

struct TraceFile {
    KernelHandle file;
    double ticksPerMs = 1;
    long long origin = 0;

    TraceFile() {
        char path[MAX_PATH] = "";
        const DWORD length = GetEnvironmentVariableA("CLUTTERWISE_TRACE", path, sizeof path);
        if (length == 0 || length >= sizeof path)
            return;
        file = KernelHandle(CreateFileA(path, FILE_APPEND_DATA, FILE_SHARE_READ, nullptr,
                                        OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
        LARGE_INTEGER frequency, now;
        QueryPerformanceFrequency(&frequency);
        QueryPerformanceCounter(&now);
        ticksPerMs = static_cast<double>(frequency.QuadPart) / 1000.0;
        // Times count from the process's creation, so that the first step's start shows what
        // loading the program and its libraries took.
        FILETIME created, unused, clock;
        GetSystemTimePreciseAsFileTime(&clock);
        const auto ms = [](const FILETIME& t) { return static_cast<double>(TicksOf(t)) / 10000.0; };
        const double alive =
            GetProcessTimes(GetCurrentProcess(), &created, &unused, &unused, &unused)
                ? std::max(0.0, ms(clock) - ms(created))
                : 0.0;
        origin = now.QuadPart - static_cast<long long>(alive * ticksPerMs);
    }
};

// Steps nest within their own thread: a step on another thread is not within the window's.
thread_local int depth = 0;

// Opened once, on the first step.
TraceFile& Trace() {
    static TraceFile trace;
    return trace;
}

long long Ticks() {
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return now.QuadPart;
}

} // namespace

bool TraceStep::Enabled() {
    return static_cast<bool>(Trace().file);
}

TraceStep::TraceStep(const char* name, const std::string& detail) {
    if (!Enabled())
        return;
    name_ = detail.empty() ? name : std::string(name) + " " + detail;
    ++depth;
    start_ = Ticks();
}

TraceStep::~TraceStep() {
    if (start_ < 0)
        return;
    TraceFile& trace = Trace();
    const long long end = Ticks();
    --depth;
    PROCESS_MEMORY_COUNTERS memory{};
    memory.cb = sizeof memory;
    GetProcessMemoryInfo(GetCurrentProcess(), &memory, sizeof memory);
    constexpr double kMB = 1024.0 * 1024.0;
    char line[512];
    const int length = std::snprintf(line, sizeof line, "%10.3f %9.3f %6.1f %6.1f %*s%s\r\n",
                                     static_cast<double>(start_ - trace.origin) / trace.ticksPerMs,
                                     static_cast<double>(end - start_) / trace.ticksPerMs,
                                     static_cast<double>(memory.WorkingSetSize) / kMB,
                                     static_cast<double>(memory.PeakWorkingSetSize) / kMB,
                                     2 * depth, "", name_.c_str());
    DWORD written = 0;
    if (length > 0)
        WriteFile(trace.file.Get(), line,
                  static_cast<DWORD>(std::min<int>(length, sizeof line - 1)), &written, nullptr);
}

} // namespace cw
