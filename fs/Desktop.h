#pragma once
// The desktop window itself: re-arranging and refreshing its icons after their files changed.
namespace cw {

class Desktop {
public:
    // Asks the desktop's icon view to arrange its icons by its current rule; does nothing
    // when there is no such view.
    void Arrange() const;
    // Tells the shell that file associations changed (it redraws every icon) and waits until
    // the notification is delivered.
    void Refresh() const;
    // Asks the shell's view of the desktop to sort its icons by date modified, oldest first or
    // newest first, and to keep them arranged; true when it did. COM is started for the call
    // only where the thread has not started it already.
    bool SortByDate(bool oldestFirst) const;
};

} // namespace cw
