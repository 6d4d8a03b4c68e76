// The icon worker with lookups of its own making: the order it looks files up in, its thread and
// apartment, icons shared by source, notices by generation, and a lookup that hangs.
// (With the shell's lookups, and its handles and threads counted: tests/fs.)
#include "ProcessWindows.h"
#include "win32/IconWorker.h"

#include <gtest/gtest.h>

#include <objbase.h>

#include <condition_variable>
#include <memory>
#include <mutex>
#include <set>

using namespace cw;

namespace {

constexpr UINT kNotice = WM_APP + 7;

// A file's source is its first letter. The lookup of `hold` waits until Release.
class FakeLookup {
public:
    explicit FakeLookup(std::string hold) : hold_(std::move(hold)) {}

    IconWorker::Lookup Lookup() {
        return {[this](const std::string& file) {
                    std::unique_lock lock(mutex_);
                    asked.push_back(file);
                    threads.insert(GetCurrentThreadId());
                    APTTYPE type{};
                    APTTYPEQUALIFIER qualifier{};
                    apartmentThreaded &= SUCCEEDED(CoGetApartmentType(&type, &qualifier)) &&
                                         (type == APTTYPE_STA || type == APTTYPE_MAINSTA);
                    held_ = file == hold_;
                    changed_.notify_all();
                    changed_.wait(lock, [&] { return !held_; });
                    return file.substr(0, 1);
                },
                [this](const std::string&, int) {
                    const std::lock_guard lock(mutex_);
                    ++icons;
                    return OwnedIcon(CopyIcon(LoadIcon(nullptr, IDI_APPLICATION)));
                }};
    }
    void WaitHeld() {
        std::unique_lock lock(mutex_);
        changed_.wait(lock, [&] { return held_; });
    }
    void Release() {
        const std::lock_guard lock(mutex_);
        held_ = false;
        hold_.clear();
        changed_.notify_all();
    }
    std::vector<std::string> Asked() {
        const std::lock_guard lock(mutex_);
        return asked;
    }

    std::vector<std::string> asked;
    std::set<DWORD> threads;
    bool apartmentThreaded = true;
    int icons = 0;

private:
    std::mutex mutex_;
    std::condition_variable changed_;
    std::string hold_;
    bool held_ = false;
};

// A message-only window that the notices are posted to.
struct Owner {
    HWND hwnd = CreateWindowA("STATIC", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    ~Owner() {
        if (IsWindow(hwnd))
            DestroyWindow(hwnd);
    }
    // Waits for a notice of the generation (one of an earlier generation may come first).
    bool NoticeOf(WPARAM generation) const {
        return cwtest::WaitUntil([&] {
            MSG msg;
            while (PeekMessageA(&msg, hwnd, kNotice, kNotice, PM_REMOVE))
                if (msg.wParam == generation)
                    return true;
            return false;
        });
    }
};

bool AllKnown(const IconWorker& worker, const std::vector<std::string>& files) {
    return cwtest::WaitUntil([&] {
        return std::all_of(files.begin(), files.end(),
                           [&](const std::string& f) { return worker.IconOf(f) != nullptr; });
    });
}

} // namespace

TEST(IconWorker, LooksVisibleFilesUpFirstOnAnApartmentThreadOfItsOwnOneIconPerSource) {
    FakeLookup fake("a0");
    const Owner owner;
    IconWorker worker(owner.hwnd, kNotice, fake.Lookup());
    const std::vector<std::string> files{"a0", "a1", "b0", "b1", "c0", "c1", "d0"};
    const WPARAM first = worker.Restart(files, 16);
    fake.WaitHeld();
    worker.SetVisible({"d0", "c1"});
    fake.Release();
    ASSERT_TRUE(owner.NoticeOf(first));
    EXPECT_TRUE(worker.TakeNotice(first));
    ASSERT_TRUE(AllKnown(worker, files));
    EXPECT_EQ(fake.Asked(), (std::vector<std::string>{"a0", "d0", "c1", "a1", "b0", "b1", "c0"}));
    EXPECT_EQ(fake.icons, 4);
    EXPECT_EQ(worker.IconOf("a0"), worker.IconOf("a1"));
    EXPECT_NE(worker.IconOf("a0"), worker.IconOf("b0"));
    ASSERT_EQ(fake.threads.size(), 1u);
    EXPECT_NE(*fake.threads.begin(), GetCurrentThreadId());
    EXPECT_TRUE(fake.apartmentThreaded);

    // Known files stay known in the next generation and, made visible, are told at once; a notice
    // of the generation before does nothing.
    const WPARAM second = worker.Restart(files, 16);
    EXPECT_FALSE(worker.TakeNotice(first));
    EXPECT_NE(worker.IconOf("b1"), nullptr);
    worker.SetVisible({"b1"});
    ASSERT_TRUE(owner.NoticeOf(second));
    EXPECT_TRUE(worker.TakeNotice(second));

    // At another size each source gets its icon again; no file is read again.
    worker.Restart(files, 24);
    ASSERT_TRUE(AllKnown(worker, files));
    EXPECT_EQ(fake.icons, 8);
    EXPECT_EQ(fake.Asked().size(), files.size());
}

// A lookup that hangs (a drive that does not answer) holds none of the owner's calls, through a
// storm of refreshes; its notice, once it ends, goes to a window that is gone and does no harm.
TEST(IconWorker, AHungLookupHoldsNoCallOfTheOwnerAndALateNoticeToAWindowGoneDoesNoHarm) {
    FakeLookup fake("Q:\\gone.lnk");
    auto owner = std::make_unique<Owner>();
    {
        IconWorker worker(owner->hwnd, kNotice, fake.Lookup());
        const std::vector<std::string> files{"Q:\\gone.lnk", "a0"};
        WPARAM generation = worker.Restart(files, 16);
        fake.WaitHeld();
        for (int i = 0; i < 50; ++i) {
            generation = worker.Restart(files, 16 + i % 2 * 8);
            worker.SetVisible(files);
            EXPECT_EQ(worker.IconOf("Q:\\gone.lnk"), nullptr);
        }
        EXPECT_FALSE(worker.TakeNotice(generation - 1));
        owner.reset();
        fake.Release();
        ASSERT_TRUE(AllKnown(worker, files));
    }
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
        DispatchMessageA(&msg);
}
