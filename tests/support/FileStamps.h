#pragma once
// File times as the program writes them: local time in whole seconds (counted from 1601), read
// through the directory entry so that reading never touches the file's own access time.
#include <map>
#include <string>

namespace cwtest {

struct FileStamps {
    long long created = -1, accessed = -1, written = -1; // -1: no such file
};

FileStamps StampsOf(const std::string& path);
long long LocalSecondsNow();
// Gives the file this local time (plus milliseconds) as all three of its times.
void SetLocalStamp(const std::string& path, long long localSeconds, int milliseconds = 0);

// All three times at full resolution (100 ns since 1601, UTC), read the same way.
struct ExactTimes {
    unsigned long long created = 0, accessed = 0, written = 0; // all 0: no such file
    friend bool operator==(const ExactTimes&, const ExactTimes&) = default;
};
ExactTimes ExactTimesOf(const std::string& path);
void SetExactTimes(const std::string& path, const ExactTimes& times);
// Every entry of a folder but its parent, by name, with its times as the folder's listing gives
// them: two snapshots are equal when nothing was made, removed, renamed or stamped there.
std::map<std::string, ExactTimes> FolderTimes(const std::string& folder);

} // namespace cwtest
