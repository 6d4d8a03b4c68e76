#pragma once
// File times as the program writes them: local time in whole seconds (counted from 1601), read
// through the directory entry so that reading never touches the file's own access time.
#include <string>

namespace cwtest {

struct FileStamps {
    long long created = -1, accessed = -1, written = -1; // -1: no such file
};

FileStamps StampsOf(const std::string& path);
long long LocalSecondsNow();
// Gives the file this local time (plus milliseconds) as all three of its times.
void SetLocalStamp(const std::string& path, long long localSeconds, int milliseconds = 0);

} // namespace cwtest
