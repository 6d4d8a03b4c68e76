#pragma once
// Work begun on a thread of its own, whose result the starting thread takes when it needs it: the
// thread is joined then (or when the object goes). A failure of the work is thrown again by Get.
// Kept to std::thread alone: the standard library's futures need thread-local state that not
// every toolchain the program is built with provides.
#include <exception>
#include <optional>
#include <thread>
#include <utility>

namespace cw {

template <typename Result> class Background {
public:
    template <typename Work>
    explicit Background(Work work)
        : thread_([this, work = std::move(work)]() mutable {
              try {
                  result_.emplace(work());
              } catch (...) {
                  failure_ = std::current_exception();
              }
          }) {}
    ~Background() {
        if (thread_.joinable())
            thread_.join();
    }
    Background(const Background&) = delete;
    Background& operator=(const Background&) = delete;

    // Waits for the work; once only.
    Result Get() {
        if (thread_.joinable())
            thread_.join();
        if (failure_)
            std::rethrow_exception(failure_);
        return std::move(*result_);
    }

private:
    std::optional<Result> result_;
    std::exception_ptr failure_;
    std::thread thread_; // last: it starts once the rest is there
};

} // namespace cw
