#include "win32/IconWorker.h"

#include "win32/Com.h"

#include <algorithm>
#include <utility>

namespace cw {

IconWorker::IconWorker(HWND owner, UINT message, Lookup lookup)
    : owner_(owner), message_(message), lookup_(std::move(lookup)) {}

IconWorker::~IconWorker() {
    Stop();
}

WPARAM IconWorker::Restart(Files files, int size) {
    if (!files)
        files = std::make_shared<const TextList>();
    WPARAM generation;
    {
        const std::lock_guard lock(mutex_);
        generation = ++generation_;
        if (files != files_) {
            // What is known of a path carries over to its place in the new list.
            std::vector<std::uint32_t> sourceOf(files->Size(), kUnknown);
            const bool anyKnown = std::any_of(sourceOf_.begin(), sourceOf_.end(),
                                              [](std::uint32_t s) { return s != kUnknown; });
            for (std::size_t i = 0; anyKnown && i < files->Size(); ++i)
                if (const std::size_t old = files_->Find((*files)[i]); old < files_->Size())
                    sourceOf[i] = sourceOf_[old];
            files_ = std::move(files);
            sourceOf_ = std::move(sourceOf);
        }
        next_ = 0;
        urgent_.clear();
        visible_.clear();
        noticePending_ = false;
        if (size != size_) {
            for (std::optional<OwnedIcon>& icon : icons_)
                icon.reset();
            size_ = size;
        }
    }
    wake_.notify_one();
    if (!thread_.joinable())
        thread_ = std::thread([this] { Run(); });
    return generation;
}

void IconWorker::SetVisible(const std::vector<std::size_t>& files) {
    {
        const std::lock_guard lock(mutex_);
        std::vector<std::uint32_t> visible;
        urgent_.clear();
        bool shownWithout = false;
        for (const std::size_t file : files) {
            if (!files_ || file >= files_->Size())
                continue;
            const auto number = static_cast<std::uint32_t>(file);
            visible.push_back(number);
            if (!Known(number))
                urgent_.push_back(number);
            else if (!Visible(number))
                shownWithout = true;
        }
        std::sort(visible.begin(), visible.end());
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

HICON IconWorker::IconOf(std::size_t file) const {
    const std::lock_guard lock(mutex_);
    if (file >= sourceOf_.size())
        return nullptr;
    const std::uint32_t source = sourceOf_[file];
    return source < icons_.size() && icons_[source] ? icons_[source]->Get() : nullptr;
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
            std::uint32_t file = 0;
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
bool IconWorker::Known(std::uint32_t file) const {
    const std::uint32_t source = sourceOf_[file];
    return source == kNoSource || (source != kUnknown && icons_[source].has_value());
}

// Under the lock.
bool IconWorker::Visible(std::uint32_t file) const {
    return std::binary_search(visible_.begin(), visible_.end(), file);
}

// Under the lock: the next file not yet known, the visible ones first.
bool IconWorker::NextFile(std::uint32_t& file) {
    while (!urgent_.empty()) {
        file = urgent_.front();
        urgent_.erase(urgent_.begin());
        if (!Known(file))
            return true;
    }
    while (files_ && next_ < files_->Size()) {
        file = static_cast<std::uint32_t>(next_++);
        if (!Known(file))
            return true;
    }
    return false;
}

// Under the lock: the number of a source, given one when it is new.
std::uint32_t IconWorker::NumberOf(const std::string& source) {
    if (source.empty())
        return kNoSource;
    const auto [found, added] =
        sourceNumbers_.try_emplace(source, static_cast<std::uint32_t>(sources_.size()));
    if (added) {
        sources_.push_back(source);
        icons_.emplace_back();
    }
    return found->second;
}

// Under the lock: the source of file `file` of `files`, found while the owner may have restarted
// with another list; there the same path takes it.
void IconWorker::Found(const Files& files, std::uint32_t file, std::uint32_t source) {
    if (files == files_) {
        sourceOf_[file] = source;
        return;
    }
    if (const std::size_t same = files_->Find((*files)[file]); same < files_->Size())
        sourceOf_[same] = source;
}

// Called and returns under the lock, which is let go while a lookup runs: the owner may restart,
// change the size or stop meanwhile.
void IconWorker::LookUp(std::unique_lock<std::mutex>& lock, std::uint32_t file) {
    const WPARAM generation = generation_;
    const int size = size_;
    const Files files = files_; // the path stays while the lock is let go
    std::uint32_t source = sourceOf_[file];
    if (source == kUnknown) {
        lock.unlock();
        std::string found;
        try {
            found = lookup_.source(std::string((*files)[file]));
        } catch (...) {
            found.clear();
        }
        lock.lock();
        source = NumberOf(found);
        Found(files, file, source);
    }
    if (source != kNoSource && !icons_[source]) {
        const std::string name = sources_[source];
        lock.unlock();
        OwnedIcon icon;
        try {
            icon = lookup_.icon(name, size);
        } catch (...) {
            icon.Reset();
        }
        lock.lock();
        if (size == size_ && !icons_[source])
            icons_[source] = std::move(icon); // one made meanwhile stays; this goes
    }
    if (generation == generation_ && Visible(file))
        Notify();
}

// Under the lock. A notice that cannot be posted (the owner is gone) is not pending.
void IconWorker::Notify() {
    if (!noticePending_)
        noticePending_ = PostMessageA(owner_, message_, generation_, 0) != FALSE;
}

} // namespace cw
