#include "uimodel/NewSearchForm.h"

#include "engine/PathSet.h"
#include "platform/Paths.h"
#include "uimodel/FolderTreeSource.h"
#include "uimodel/SearchFilters.h"

#include <iterator>

namespace paradrex {

NewSearchForm::NewSearchForm(SearchJob& job, DirectoryTest isDirectory)
    : job_(job), isDirectory_(isDirectory ? std::move(isDirectory) : platform::IsDirectory) {}

void NewSearchForm::Open(const std::vector<std::string>& defaultDirectories,
                         const std::vector<std::string>& recentDirectories) {
    accepted_ = false;
    job_.roots.Clear();
    for (const std::string& entry : defaultDirectories) {
        // A hand-edited list may hold "/data/" or "/data/./x"; roots are
        // kept lexically normal so that containment and joined paths hold.
        const std::string dir = entry.empty() ? entry : platform::AbsoluteNormalPath(entry);
        if (!dir.empty() && isDirectory_(dir))
            job_.roots.Add(dir);
    }
    recent_.Load(recentDirectories);
}

NewSearchForm::Result NewSearchForm::Add(const std::string& path, bool useRecent) {
    PathSet::AddResult added = job_.roots.Add(path);
    const bool recentChanged = useRecent && recent_.Use(path);
    if (added.added)
        return {Outcome::Added, recentChanged};
    balloonSelector_ = 1;
    message_ = "\"" + added.coveringMember + "\" had been added!";
    return {Outcome::Covered, recentChanged};
}

NewSearchForm::Result NewSearchForm::AddEntry(std::string_view pathBoxText) {
    const std::string path = NormalizeDirEntry(pathBoxText);
    if (path.empty())
        return {Outcome::Nothing, false};
    if (!isDirectory_(path)) {
        balloonSelector_ = 0;
        return {Outcome::Invalid, false};
    }
    return Add(path, true);
}

NewSearchForm::Result NewSearchForm::ChooseRecent(const std::string& entry) {
    if (isDirectory_(entry))
        return Add(entry, false);
    const bool removed = recent_.Remove(entry);
    balloonSelector_ = 0;
    return {Outcome::Invalid, removed};
}

void NewSearchForm::RemoveRoots(const std::vector<size_t>& positions) {
    std::vector<std::string> doomed;
    size_t index = 0;
    for (auto it = job_.roots.begin(); it != job_.roots.end(); ++it, ++index) {
        for (size_t p : positions)
            if (p == index)
                doomed.push_back(*it);
    }
    for (const std::string& path : doomed)
        job_.roots.Erase(path);
}

bool NewSearchForm::Accept(const SearchFilters& filters, std::string_view pathBoxText) {
    SearchJobOrError made = MakeSearchJob(filters, job_);
    if (!made.job)
        return false;
    job_ = std::move(*made.job);
    accepted_ = true;
    if (job_.roots.empty()) {
        const std::string path = NormalizeDirEntry(pathBoxText);
        if (!path.empty() && isDirectory_(path))
            Add(path, true);
    }
    return true;
}

std::string NewSearchForm::BalloonText() const {
    return balloonSelector_ == 0 ? std::string(kInvalidDirectory) : message_;
}

} // namespace paradrex
