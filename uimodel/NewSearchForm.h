#pragma once
// The New Search dialog without its widgets: the chosen directories (the
// roots of the search job), the recent list, the balloon message and the
// filters written on OK. The dialog forwards every user action here and
// shows what comes back.

#include "engine/SearchState.h"
#include "uimodel/DirectoryAddRule.h"
#include "uimodel/RecentDirList.h"
#include "uimodel/SearchFilters.h"

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace paradrex {

class NewSearchForm {
public:
    static constexpr std::string_view kInvalidDirectory = DirectoryAddRule::kInvalidDirectory;

    using DirectoryTest = DirectoryAddRule::DirectoryTest;

    // Edits `job` in place; `isDirectory` decides whether a path names an
    // existing directory (the real file system unless a test says otherwise).
    explicit NewSearchForm(SearchJob& job, DirectoryTest isDirectory = {});

    // Opening: the roots are cleared and filled from the default search
    // directories that exist (covered ones dropped, contained ones replaced,
    // silently); the recent list is loaded, at most its first ten entries.
    // The job's filters are not touched until Accept.
    void Open(const std::vector<std::string>& defaultDirectories,
              const std::vector<std::string>& recentDirectories);

    // Nothing for an empty entry; Added, Covered (by a root) or Invalid.
    using Outcome = DirectoryAddRule::Outcome;
    struct Result {
        Outcome outcome;
        bool recentChanged; // the recent box must be refilled
        bool showBalloon() const { return DirectoryAddRule::ShowsBalloon(outcome); }
    };

    // "-> &A" with the path box text: normalised, added to the roots, and
    // made the most recent directory (even when the roots refuse it).
    Result AddEntry(std::string_view pathBoxText);
    // A recent entry chosen from the box: taken as it stands; an existing
    // directory is added to the roots without reordering the recent list, a
    // vanished one is dropped from the recent list.
    Result ChooseRecent(const std::string& entry);
    // Erases the roots at the given positions of the set order.
    void RemoveRoots(const std::vector<size_t>& positions);

    // OK: false when the type text is refused (nothing changes; the dialog
    // shows kTypeInputError). Otherwise writes the filters into the job
    // (MakeSearchJob), marks the form accepted and, when no root was chosen,
    // adds the path box entry as "-> &A" would, without any message.
    bool Accept(const SearchFilters& filters, std::string_view pathBoxText);
    void Reject() { accepted_ = false; }
    bool accepted() const { return accepted_; }

    std::vector<std::string> Roots() const { return job_.roots.ToVector(); }
    const RecentDirList& recent() const { return recent_; }
    // The balloon's text for the last Covered or Invalid result (bytes).
    std::string BalloonText() const { return rule_.BalloonText(); }

private:
    Result Add(const std::string& path, bool useRecent);

    SearchJob& job_;
    DirectoryAddRule rule_;
    RecentDirList recent_;
    bool accepted_ = false;
};

} // namespace paradrex
