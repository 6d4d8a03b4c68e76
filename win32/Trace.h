#pragma once
// An opt-in trace of where the program's time goes. With CLUTTERWISE_TRACE=<file> in the
// environment when the program starts, every traced step appends one line to that file when it
// ends: its start (from the process's creation) and its duration in milliseconds, the working set
// and its peak then in MB, and its name, indented by nesting. Without it (the normal case) a step
// costs one test of a flag and nothing is written.
#include <string>

namespace cw {

class TraceStep {
public:
    explicit TraceStep(const char* name, const std::string& detail = {});
    ~TraceStep();
    TraceStep(const TraceStep&) = delete;
    TraceStep& operator=(const TraceStep&) = delete;

    static bool Enabled();

private:
    std::string name_;
    long long start_ = -1; // -1: tracing is off
};

} // namespace cw
