#include "app/AllUsersRights.h"

#include "app/AllUsersStep.h"
#include "app/Journal.h"
#include "app/StepOutcome.h"
#include "fs/FileActions.h"
#include "fs/GuardedFile.h"
#include "fs/GuardedStamp.h"
#include "fs/WidePath.h"
#include "win32/FileTime.h"
#include "win32/Program.h"

#include <windows.h>
#include <shellapi.h>

#include <algorithm>
#include <cstdio>
#include <unordered_map>
#include <unordered_set>

namespace cw {
namespace {

constexpr size_t kNamesShown = 20;

std::string NameOf(const std::string& path) {
    return path.substr(path.find_last_of('\\') + 1);
}

// Starts the elevated copy on `requestPath` and waits for it to end, keeping this thread's windows
// painted meanwhile. False when it did not start (declined, or no copy could be started).
bool RunElevatedCopy(const std::string& requestPath) {
    const std::wstring program = Widen(Program::Path());
    const std::wstring parameters = Widen(std::string(kStepSwitch) + " \"" + requestPath + "\"");
    SHELLEXECUTEINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_NOASYNC;
    info.hwnd = GetActiveWindow();
    info.lpVerb = L"runas";
    info.lpFile = program.c_str();
    info.lpParameters = parameters.c_str();
    info.nShow = SW_HIDE;
    if (program.empty() || !ShellExecuteExW(&info) || !info.hProcess)
        return false;
    for (;;) {
        const DWORD woke =
            MsgWaitForMultipleObjects(1, &info.hProcess, FALSE, INFINITE, QS_ALLINPUT);
        if (woke != WAIT_OBJECT_0 + 1)
            break; // the copy ended (or the wait failed: the outcome tells what was done)
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
    }
    CloseHandle(info.hProcess);
    return true;
}

} // namespace

std::optional<std::string> StepRequestOf(std::string_view commandLine) {
    const auto trim = [](std::string_view text) {
        const size_t first = text.find_first_not_of(" \t");
        if (first == std::string_view::npos)
            return std::string_view();
        return text.substr(first, text.find_last_not_of(" \t") + 1 - first);
    };
    commandLine = trim(commandLine);
    const std::string_view name = kStepSwitch;
    if (commandLine.size() <= name.size() ||
        lstrcmpiA(std::string(commandLine.substr(0, name.size())).c_str(), kStepSwitch) != 0 ||
        (commandLine[name.size()] != ' ' && commandLine[name.size()] != '\t'))
        return std::nullopt;
    std::string_view path = trim(commandLine.substr(name.size()));
    if (path.size() >= 2 && path.front() == '"' && path.back() == '"')
        path = path.substr(1, path.size() - 2);
    if (path.empty() || path.find('"') != std::string_view::npos)
        return std::nullopt;
    return std::string(path);
}

int RunStepSwitch(const std::string& requestPath) {
    return RunAllUsersStep(requestPath, GuardedStamp::AllUsersDesktop(), UtcNow());
}

std::string AskForRightsText(size_t count) {
    return std::to_string(count) + (count == 1 ? " shortcut" : " shortcuts") +
           " on the desktop of all users need" + (count == 1 ? "s" : "") +
           " administrator rights to be re-stamped. Ask Windows for them now?";
}

std::string NotDoneText(const std::vector<std::string>& paths, bool restore) {
    if (paths.empty())
        return {};
    std::string text =
        std::to_string(paths.size()) + (paths.size() == 1 ? " shortcut" : " shortcuts") +
        " on the desktop of all users " + (paths.size() == 1 ? "was" : "were") +
        (restore ? " not restored" : " not stamped") + ", as they need administrator rights:";
    for (size_t i = 0; i < paths.size() && i < kNamesShown; ++i)
        text += "\r\n" + NameOf(paths[i]);
    if (paths.size() > kNamesShown)
        text += "\r\nand " + std::to_string(paths.size() - kNamesShown) + " more";
    return text;
}

std::vector<std::string> DoWithRights(Journal& journal, JournalRun& run,
                                      const std::vector<RefusedFile>& files, StepAction action) {
    std::vector<std::string> notDone;
    for (const RefusedFile& file : files)
        notDone.push_back(file.path);
    if (files.empty() || run.allUsersFolder.empty() || run.number < 1)
        return notDone;

    std::unordered_map<std::string, JournalEntry*> entries;
    for (JournalEntry& entry : run.files)
        entries.emplace(entry.path, &entry);
    StepRequest request;
    request.run = run.number;
    request.action = action;
    request.started = run.started;
    request.step = run.step;
    for (const RefusedFile& file : files) {
        const auto entry = entries.find(file.path);
        if (entry == entries.end() || !file.path.starts_with(run.allUsersFolder))
            continue;
        StepFile step;
        step.name = file.path.substr(run.allUsersFolder.size());
        step.row = static_cast<std::int32_t>(entry->second->offset / run.step);
        const FileTimes& original = entry->second->original;
        step.original = {original.created, original.accessed, original.written};
        step.stamp = action == StepAction::Stamp ? file.stamp : entry->second->stamped;
        request.files.push_back(std::move(step));
    }
    request.until = UtcNow();
    const std::optional<std::string> text = WriteStepRequest(request);
    if (!text || request.files.empty())
        return notDone;

    // Beside the run's journal, new: a request or outcome left by an earlier try goes first.
    char name[48];
    std::snprintf(name, sizeof name, "journal-%06lld", static_cast<long long>(run.number));
    const std::string requestPath = journal.Folder() + name + ".request.txt";
    const std::string outcomePath = OutcomePathOf(requestPath);
    RemoveFileAt(requestPath);
    RemoveFileAt(outcomePath);
    {
        GuardedFile written(requestPath);
        if (!written || !written.Append(*text) || !written.Finish())
            return notDone;
    }
    if (action == StepAction::Stamp) {
        run.finished.reset();
        if (!journal.Save(run))
            return notDone;
    }
    const bool ran = RunElevatedCopy(requestPath);

    // Untrusted, as the copy may have run as anyone: a file is done when it shows it.
    std::unordered_set<std::string> done;
    const GuardedRead read = GuardedFile::Read(outcomePath, kMaxRequestBytes);
    const std::optional<StepOutcome> outcome =
        ran && read.fault == ReadFault::None ? ReadStepOutcome(read.text) : std::nullopt;
    if (outcome && outcome->run == run.number)
        for (const OutcomeFile& file : outcome->files) {
            if (file.reason != StampReason::Stamped || file.name.find('\\') != std::string::npos)
                continue;
            const std::string path = run.allUsersFolder + file.name;
            const auto entry = entries.find(path);
            const std::optional<FileInfo> present = FileInfoOf(path);
            if (entry == entries.end() || !present)
                continue;
            for (const StepFile& asked : request.files)
                if (asked.name == file.name &&
                    present->times.written == TargetTimes(request, asked).written) {
                    done.insert(path);
                    if (action == StepAction::Stamp)
                        entry->second->stamped = present->times.written;
                }
        }
    RemoveFileAt(requestPath);
    RemoveFileAt(outcomePath);

    if (action == StepAction::Stamp) {
        run.finished = UtcNow();
    } else {
        std::erase_if(run.pending, [&](const std::string& path) { return done.count(path) > 0; });
        if (run.pending.empty())
            run.undone = UtcNow();
    }
    journal.Save(run);
    std::erase_if(notDone, [&](const std::string& path) { return done.count(path) > 0; });
    return notDone;
}

void RestoreWithRights(Journal& journal, UndoReport& report) {
    std::vector<RefusedFile> files;
    for (const std::string& path : report.refused)
        files.push_back({path, std::nullopt});
    const std::vector<std::string> left =
        DoWithRights(journal, report.run, files, StepAction::Restore);
    const std::unordered_set<std::string> still(left.begin(), left.end());
    report.restored += static_cast<int>(report.refused.size() - left.size());
    std::erase_if(report.failed, [&](const std::string& path) {
        return still.count(path) == 0 && std::find(report.refused.begin(), report.refused.end(),
                                                   path) != report.refused.end();
    });
    report.refused = left;
}

} // namespace cw
