#include "win32/IconWorker.h"

#include "win32/Com.h"

#include <utility>

namespace cw {

IconWorker::IconWorker(HWND owner, UINT message, Lookup lookup)
    : owner_(owner), message_(message), lookup_(std::move(lookup)) {}

IconWorker::~IconWorker() {
    Stop();
}

WPARAM IconWorker::Restart(std::vector<std::string> files, int size) {
    WPARAM generation;
    {
        const std::lock_guard lock(mutex_);
        generation = ++generation_;
        files_ = std::move(files);
        next_ = 0;
        urgent_.clear();
        visible_.clear();
        noticePending_ = false;
        if (size != size_) {
            icons_.clear();
            size_ = size;
        }
    }
    wake_.notify_one();
    if (!thread_.joinable())
        thread_ = std::thread([this] { Run(); });
    return generation;
}

void IconWorker::SetVisible(const std::vector<std::string>& files) {
    {
        const std::lock_guard lock(mutex_);
        std::unordered_set<std::string> visible(files.begin(), files.end());
        urgent_.clear();
        bool shownWithout = false;
        for (const std::string& file : files) {
            if (!Known(file))
                urgent_.push_back(file);
            else if (!visible_.count(file))
                shownWithout = true;
        }
        visible_ = std::move(visible);
        if (shownWithout)
            Notify();
    }
    wake_.notify_one();
}

bool IconWorker::TakeNotice(WPARAM generation) {
    const std::lock_guard lock(mutex_);
    if (generation != generation_)
        return false;
    noticePending_ = false;
    return true;
}

HICON IconWorker::IconOf(const std::string& file) const {
    const std::lock_guard lock(mutex_);
    const auto source = sources_.find(file);
    if (source == sources_.end())
        return nullptr;
    const auto icon = icons_.find(source->second);
    return icon == icons_.end() ? nullptr : icon->second.Get();
}

void IconWorker::Stop() {
    {
        const std::lock_guard lock(mutex_);
        stop_ = true;
    }
    wake_.notify_one();
    if (thread_.joinable())
        thread_.join();
    const std::lock_guard lock(mutex_);
    stop_ = false;
}

void IconWorker::Run() {
    const ComApartment com(COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
    try {
        std::unique_lock lock(mutex_);
        while (!stop_) {
            std::string file;
            if (NextFile(file))
                LookUp(lock, file);
            else
                wake_.wait(lock);
        }
    } catch (...) {
        // Out of memory: the icons stop coming and the rows keep their placeholders.
    }
}

// Under the lock.
bool IconWorker::Known(const std::string& file) const {
    const auto source = sources_.find(file);
    return source != sources_.end() && (source->second.empty() || icons_.count(source->second));
}

// Under the lock: the next file not yet known, the visible ones first.
bool IconWorker::NextFile(std::string& file) {
    while (!urgent_.empty()) {
        file = std::move(urgent_.front());
        urgent_.erase(urgent_.begin());
        if (!Known(file))
            return true;
    }
    while (next_ < files_.size()) {
        file = files_[next_++];
        if (!Known(file))
            return true;
    }
    return false;
}

// Called and returns under the lock, which is let go while a lookup runs: the owner may restart,
// change the size or stop meanwhile.
void IconWorker::LookUp(std::unique_lock<std::mutex>& lock, const std::string& file) {
    const WPARAM generation = generation_;
    const int size = size_;
    const auto known = sources_.find(file);
    std::string source = known == sources_.end() ? std::string() : known->second;
    if (known == sources_.end()) {
        lock.unlock();
        try {
            source = lookup_.source(file);
        } catch (...) {
            source.clear();
        }
        lock.lock();
        sources_.insert_or_assign(file, source);
    }
    if (!source.empty() && !icons_.count(source)) {
        lock.unlock();
        OwnedIcon icon;
        try {
            icon = lookup_.icon(source, size);
        } catch (...) {
            icon.Reset();
        }
        lock.lock();
        if (size == size_)
            icons_.try_emplace(source, std::move(icon)); // one made meanwhile stays; this goes
    }
    if (generation == generation_ && visible_.count(file))
        Notify();
}

// Under the lock. A notice that cannot be posted (the owner is gone) is not pending.
void IconWorker::Notify() {
    if (!noticePending_)
        noticePending_ = PostMessageA(owner_, message_, generation_, 0) != FALSE;
}

} // namespace cw
