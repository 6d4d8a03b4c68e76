#pragma once
// Stamps the shortcuts of the desktop of all users for a step that may run with an
// administrator's rights and is handed the names by a process it does not trust. It writes only
// the three times of a file directly inside that folder, whose name ends in ".lnk", ".url" or
// ".pif", that is no folder, no reparse point and has no second link, and whose final path, read
// from the open handle, is still inside the folder. Everything else is refused with its reason.
#include "win32/Handles.h"

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace cw {

// Why a file of the all-users desktop was stamped or not. The caller of the stamp refuses with
// the last three before any file is opened; the stamp itself gives the others.
enum class StampReason {
    Stamped,
    Outside,      // a separator, "..", a drive or a stream in the name; or a final path elsewhere
    NotPlainName, // empty, too long, not UTF-8, control or wildcard characters, trailing dot/blank
    DeviceName,   // CON, NUL, COM1, ... whatever the extension
    NotShortcut,  // not ".lnk", ".url" or ".pif"
    Missing,      // no such file
    Folder,       // a folder of that name
    ReparsePoint, // a symbolic link, junction or other reparse point
    MoreThanOneLink, // a hard link: the same file is reachable from elsewhere
    OtherName,       // the name reaches a file that is named otherwise (a short 8.3 name)
    AccessDenied,    // the file system refuses to write its times
    InUse,           // another program holds it without sharing
    Failed,          // any other failure to open or write it
    ChangedSince,    // its write time is no longer the one the run expects
    NotPlanned,      // times the run did not plan, or outside the run's time window
    NoFolder,        // the all-users desktop cannot be found or is itself reached through a link
};

// "outside the all-users desktop", "a reparse point", ...: for a person.
const char* Describe(StampReason reason);
// "outside", "reparse-point", ...: one word without blanks, for files other processes read.
const char* Keyword(StampReason reason);
// The reason of a keyword; false when the word is none of them.
bool ReasonOfKeyword(std::string_view word, StampReason& reason);

// The three times to write: 100 ns since 1601-01-01 UTC.
struct StampTimes {
    std::uint64_t created = 0, accessed = 0, written = 0;
    friend bool operator==(const StampTimes&, const StampTimes&) = default;
};

// Answers, given a file's present last-write time, whether the file is still as the caller
// expects it; read through the handle that will stamp it.
using WrittenCheck = std::function<bool(std::uint64_t written)>;

class GuardedStamp {
public:
    // The desktop of all users, as the system names it (CSIDL_COMMON_DESKTOPDIRECTORY); "" when
    // it names none.
    static std::string AllUsersDesktop();

    // Holds `folder` (UTF-8, the all-users desktop as the caller found it itself) open while files
    // are stamped in it, so that it cannot be renamed or removed meanwhile.
    explicit GuardedStamp(const std::string& folder);

    // False when the folder is missing, is not a folder, or its final path differs from the path
    // given (a link on the way): every stamp is then refused with NoFolder.
    bool Ready() const { return static_cast<bool>(folder_); }

    // What the name alone says, before any file is looked at: Stamped when it may be tried, else
    // Outside, NotPlainName, DeviceName or NotShortcut. The rule for a file a journal names, too.
    static StampReason NameReason(std::string_view name);

    // Gives the file `name` (UTF-8, untrusted) the three `times` when every rule holds, and
    // `expected` (when given) accepts its present write time.
    StampReason Stamp(std::string_view name, const StampTimes& times,
                      const WrittenCheck& expected = {}) const;

private:
    KernelHandle folder_;
    std::wstring path_;  // the folder in the extended form, without a final backslash
    std::wstring final_; // its final path without the extended prefix
};

} // namespace cw
