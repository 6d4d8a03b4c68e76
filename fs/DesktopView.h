#pragma once
// The folder view that shows the desktop's icons, as the shell hands it out: asked to sort by
// date modified and to keep its icons arranged, so that a new order of file times shows at once.
struct IShellWindows;

namespace cw {

// Through the shell's list of its windows: the desktop's browser, its active view, and that
// view's sort (by date modified, oldest first or newest first) and auto-arrange. False when any
// step fails or is not offered (an older shell, another shell, Wine): the user sorts by hand then.
bool SortDesktopViewByDate(IShellWindows& windows, bool oldestFirst);

} // namespace cw
