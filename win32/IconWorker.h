#pragma once
// Looks the icons of many files up on a thread of its own, so that a window lists its rows at once
// and draws their icons as they come. The visible files go first, then the others in their order.
// What is found is kept for the session: by file, where its icon comes from, and by source, the
// icon, so that files with the same icon share one. The owner names a file by its place in the
// list it gave, and the worker keeps a small number per file, not a copy of its path: with tens
// of thousands of files the paths are the largest part of the memory the lookups cost.
//
// The thread never calls into the window: when an icon of a visible file has come, it posts the
// owner's message (WPARAM: the generation), at most one at a time, and the owner draws its visible
// rows again. A notice of an earlier generation, or one posted to a window that is gone, does
// nothing. Only the owner's thread calls the members.
#include "win32/Handles.h"
#include "win32/TextList.h"

#include <windows.h>

#include <condition_variable>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <unordered_map>
#include <vector>

namespace cw {

class IconWorker {
public:
    // Both run on the worker's thread, which has COM (apartment-threaded).
    struct Lookup {
        // Where a file's icon comes from: files with the same icon give the same key; "" none.
        std::function<std::string(const std::string& file)> source;
        // The icon of a source at `size` pixels square; null when there is none.
        std::function<OwnedIcon(const std::string& source, int size)> icon;
    };

    // The files' full paths, which the owner keeps unchanged while the worker has them; indexed
    // (TextList::Index), so that a restart finds the paths it knows in the next list at once.
    using Files = std::shared_ptr<const TextList>;

    IconWorker(HWND owner, UINT message, Lookup lookup);
    // Stops the thread (see Stop); every icon goes with the worker.
    ~IconWorker();
    IconWorker(const IconWorker&) = delete;
    IconWorker& operator=(const IconWorker&) = delete;

    // A new generation: these files, in this order, at `size` pixels; from now on a file is its
    // place in `files`. What was queued is dropped and what is in flight is not told; what was
    // found before stays known for the same paths (icons at another size are looked up again).
    // Never waits for a lookup in progress. Returns the generation.
    WPARAM Restart(Files files, int size);
    // The files the owner shows now: looked up before the rest, and told when they come. A file
    // already known that was not visible before is told at once (it may have been drawn without).
    void SetVisible(const std::vector<std::size_t>& files);
    // For the owner's message: true when it is of this generation (draw the visible rows again).
    bool TakeNotice(WPARAM generation);
    // The file's icon at the present size; null while it is not known, or when it has none.
    HICON IconOf(std::size_t file) const;
    // Ends the thread once the lookup in progress is done (lookups never wait on a missing or
    // network drive). The next Restart starts it again.
    void Stop();

private:
    // A file's source: its number in sources_, or one of these.
    static constexpr std::uint32_t kUnknown = UINT32_MAX, kNoSource = UINT32_MAX - 1;

    void Run();
    bool Known(std::uint32_t file) const;
    bool NextFile(std::uint32_t& file);
    void LookUp(std::unique_lock<std::mutex>& lock, std::uint32_t file);
    std::uint32_t NumberOf(const std::string& source);
    void Found(const Files& files, std::uint32_t file, std::uint32_t source);
    bool Visible(std::uint32_t file) const;
    void Notify();

    const HWND owner_;
    const UINT message_;
    const Lookup lookup_;

    mutable std::mutex mutex_;
    std::condition_variable wake_;
    bool stop_ = false;
    WPARAM generation_ = 0;
    int size_ = 0;
    Files files_;                         // this generation's, in order
    std::vector<std::uint32_t> sourceOf_; // of each of files_
    std::size_t next_ = 0;                // the first of files_ not yet taken
    std::vector<std::uint32_t> urgent_;
    std::vector<std::uint32_t> visible_; // ascending
    bool noticePending_ = false;
    std::vector<std::string> sources_;                             // by number
    std::unordered_map<std::string, std::uint32_t> sourceNumbers_; // source -> number
    std::vector<std::optional<OwnedIcon>> icons_; // by source number at size_, once looked up
    std::thread thread_;
};

} // namespace cw
