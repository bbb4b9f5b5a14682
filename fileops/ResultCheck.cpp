#include "fileops/ResultCheck.h"

#include "engine/Checkpoint.h"
#include "engine/ContentComparer.h"
#include "engine/ResultBuilder.h"
#include "engine/ResultGroups.h"
#include "engine/SearchState.h"
#include "fileops/FileAction.h"

#include <algorithm>
#include <iterator>
#include <optional>
#include <system_error>
#include <thread>
#include <utility>

namespace paradrex {

namespace {

// What becomes of a group: nothing (it stays where it is), or the parts
// left of it, which are stored again.
using Parts = std::optional<std::vector<DuplicateGroup>>;

// A part whose files are all marked cross, cut from a group that kept a
// copy, keeps none: its marks go back to Unsettled.
void TakeBackMarks(const DuplicateGroup& original, DuplicateGroup& part, DropReport& report) {
    const auto crossed = [](const FileRecord* f) { return f->state == FileState::Deleted; };
    if (!std::all_of(part.begin(), part.end(), crossed) ||
        std::all_of(original.begin(), original.end(), crossed))
        return;
    for (FileRecord* f : part)
        f->state = FileState::Unsettled;
    report.marksTakenBack += part.size();
}

// Asks `decide` about every group in result order, takes the changed ones
// out, stores what is left of them again and builds the tree anew.
template <class Decide> void Reshape(SearchState& state, DropReport& report, Decide decide) {
    std::vector<std::pair<DuplicateGroup, std::vector<DuplicateGroup>>> changed;
    for (auto it = state.cloneSets.begin(); it != state.cloneSets.end();) {
        CloneSet& set = it->second;
        size_t kept = 0;
        for (size_t i = 0; i < set.size(); ++i) {
            Parts parts = decide(set[i]);
            if (parts)
                changed.emplace_back(std::move(set[i]), std::move(*parts));
            else if (kept++ != i)
                set[kept - 1] = std::move(set[i]);
        }
        set.resize(kept);
        it = set.empty() ? state.cloneSets.erase(it) : std::next(it);
    }
    for (auto it = state.runGroups.begin(); it != state.runGroups.end();) {
        Parts parts = decide(it->group);
        if (!parts) {
            ++it;
            continue;
        }
        changed.emplace_back(std::move(it->group), std::move(*parts));
        it = state.runGroups.erase(it);
    }
    if (changed.empty())
        return;
    for (auto& [original, parts] : changed) {
        bool kept = false;
        for (DuplicateGroup& part : parts) {
            if (part.size() < 2)
                continue;
            kept = true;
            TakeBackMarks(original, part, report);
            StoreGroup(state, std::move(part));
        }
        ++(kept ? report.groupsReshaped : report.groupsRemoved);
    }
    state.resultRoot.reset();
    if (!ResultGroups(state).empty())
        BuildResultTree(state);
}

DropReason ReasonOf(FileChange change) {
    switch (change) {
    case FileChange::Vanished:
        return DropReason::Vanished;
    case FileChange::Unreachable:
        return DropReason::Unreachable;
    case FileChange::NotRegular:
        return DropReason::NotRegular;
    case FileChange::Replaced:
        return DropReason::Replaced;
    case FileChange::Modified:
    case FileChange::None:
        break;
    }
    return DropReason::Modified;
}

std::string Counted(size_t n, const char* one, const char* many) {
    return std::to_string(n) + " " + (n == 1 ? one : many);
}

} // namespace

size_t DropReport::Count(DropReason reason) const {
    return static_cast<size_t>(std::count_if(
        files.begin(), files.end(), [&](const DroppedFile& f) { return f.reason == reason; }));
}

std::string DropReport::Summary() const {
    std::string text;
    auto sentence = [&](const std::string& s) {
        if (!text.empty())
            text += ' ';
        text += s;
    };
    if (!files.empty()) {
        struct Why {
            DropReason reason;
            const char *one, *many;
        };
        static const Why whys[] = {
            {DropReason::Vanished, "vanished", "vanished"},
            {DropReason::Replaced, "was replaced by another file", "were replaced by other files"},
            {DropReason::Modified, "was modified", "were modified"},
            {DropReason::NotRegular, "is no longer a regular file", "are no longer regular files"},
            {DropReason::Unreachable, "could not be looked at", "could not be looked at"},
            {DropReason::ContentDiffers, "no longer equals its group",
             "no longer equal their groups"},
        };
        std::string s =
            Counted(files.size(), "file was", "files were") + " taken out of the result:";
        bool first = true;
        for (const Why& w : whys) {
            const size_t n = Count(w.reason);
            if (n == 0)
                continue;
            s += first ? " " : ", ";
            first = false;
            s += std::to_string(n) + " " + (n == 1 ? w.one : w.many);
        }
        sentence(s + ".");
    }
    if (groupsRemoved > 0)
        sentence(Counted(groupsRemoved, "group was", "groups were") +
                 " left with fewer than two files and removed.");
    if (groupsReshaped > 0)
        sentence(Counted(groupsReshaped, "group keeps", "groups keep") +
                 " the files that are left.");
    if (marksTakenBack > 0)
        sentence(Counted(marksTakenBack, "file marked cross was", "files marked cross were") +
                 " set back to Unsettled, because no copy of it is kept any more.");
    if (stopped)
        sentence("The comparison was stopped before every group was compared.");
    return text;
}

std::vector<_Error_record> DropReport::ErrorRecords() const {
    std::vector<_Error_record> out;
    out.reserve(files.size() + readErrors.size());
    for (const DroppedFile& f : files) {
        const char* why = "";
        switch (f.reason) {
        case DropReason::Vanished:
            why = "vanished";
            break;
        case DropReason::Unreachable:
            why = "could not be looked at";
            break;
        case DropReason::NotRegular:
            why = "no longer a regular file";
            break;
        case DropReason::Replaced:
            why = "replaced by another file";
            break;
        case DropReason::Modified:
            why = "modified";
            break;
        case DropReason::ContentDiffers:
            why = "no longer equal to its group";
            break;
        }
        out.emplace_back(f.path + " left the result: " + why, f.error);
    }
    out.insert(out.end(), readErrors.begin(), readErrors.end());
    return out;
}

DropReport CheckAgainstDisk(SearchState& state) {
    // Looking at the files is most of the time an opened result takes, and
    // the system answers lstat on several threads at once: every file is
    // looked at first, in result order, and Reshape (which visits the groups
    // in that same order) takes the answers one after the other.
    std::vector<const FileRecord*> files;
    for (const DuplicateGroup& g : ResultGroups(state))
        files.insert(files.end(), g.begin(), g.end());
    std::vector<FileCheck> checks(files.size());
    auto look = [&](size_t begin, size_t end) {
        std::string path;
        for (size_t i = begin; i < end; ++i) {
            path.clear();
            AppendFilePath(path, files[i]->directory, files[i]->name);
            checks[i] = CheckFile(*files[i], path);
        }
    };
    constexpr size_t kFilesPerThread = 4096;
    const size_t threads = std::clamp<size_t>(
        std::min<size_t>(std::thread::hardware_concurrency(), files.size() / kFilesPerThread), 1,
        4);
    auto part = [&](size_t t) { return files.size() * t / threads; };
    std::vector<std::thread> helpers;
    size_t started = 1;
    try {
        for (; started < threads; ++started)
            helpers.emplace_back(look, part(started), part(started + 1));
    } catch (const std::system_error&) {
        // No more threads: this one looks at the rest.
    }
    look(0, part(1));
    for (size_t t = started; t < threads; ++t)
        look(part(t), part(t + 1));
    for (std::thread& h : helpers)
        h.join();

    DropReport report;
    size_t next = 0;
    Reshape(state, report, [&](const DuplicateGroup& group) -> Parts {
        DuplicateGroup left;
        for (FileRecord* f : group) {
            const FileCheck& check = checks[next++];
            if (check.change == FileChange::None)
                left.push_back(f);
            else
                report.files.push_back({FilePath(*f), ReasonOf(check.change), check.error});
        }
        if (left.size() == group.size())
            return std::nullopt;
        std::vector<DuplicateGroup> parts;
        parts.push_back(std::move(left));
        return parts;
    });
    return report;
}

DropReport Reverify(SearchState& state) {
    DropReport report;
    const ErrorSink sink = [&](const _Error_record& r) { report.readErrors.push_back(r); };
    ContentComparer comparer(state, sink);
    Reshape(state, report, [&](const DuplicateGroup& group) -> Parts {
        if (report.stopped)
            return std::nullopt;
        std::vector<DuplicateGroup> parts;
        try {
            comparer.Compare(group, parts);
        } catch (const StopSearch&) {
            report.stopped = true;
            return std::nullopt;
        }
        if (parts.size() == 1 && parts.front().size() == group.size())
            return std::nullopt;
        for (FileRecord* f : group) {
            const bool inPart = std::any_of(parts.begin(), parts.end(), [&](const auto& p) {
                return std::find(p.begin(), p.end(), f) != p.end();
            });
            if (!inPart)
                report.files.push_back({FilePath(*f), DropReason::ContentDiffers, 0});
        }
        return parts;
    });
    return report;
}

} // namespace paradrex
