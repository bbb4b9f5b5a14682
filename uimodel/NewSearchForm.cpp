#include "uimodel/NewSearchForm.h"

#include "engine/PathSet.h"
#include "uimodel/FolderTreeSource.h"
#include "uimodel/SearchFilters.h"

#include <utility>

namespace paradrex {

NewSearchForm::NewSearchForm(SearchJob& job, DirectoryTest isDirectory)
    : job_(job), rule_(" had been added!", std::move(isDirectory)) {}

void NewSearchForm::Open(const std::vector<std::string>& defaultDirectories,
                         const std::vector<std::string>& recentDirectories) {
    accepted_ = false;
    job_.roots.Clear();
    for (const std::string& dir : rule_.ExistingDirectories(defaultDirectories))
        job_.roots.Add(dir);
    recent_.Load(recentDirectories);
}

NewSearchForm::Result NewSearchForm::Add(const std::string& path, bool useRecent) {
    const Outcome outcome = rule_.Add(job_.roots, path);
    const bool recentChanged = useRecent && recent_.Use(path);
    return {outcome, recentChanged};
}

NewSearchForm::Result NewSearchForm::AddEntry(std::string_view pathBoxText) {
    const std::string path = NormalizeDirEntry(pathBoxText);
    if (path.empty())
        return {Outcome::Nothing, false};
    if (!rule_.IsDirectory(path))
        return {rule_.Invalid(), false};
    return Add(path, true);
}

NewSearchForm::Result NewSearchForm::ChooseRecent(const std::string& entry) {
    if (rule_.IsDirectory(entry))
        return Add(entry, false);
    const bool removed = recent_.Remove(entry);
    return {rule_.Invalid(), removed};
}

void NewSearchForm::RemoveRoots(const std::vector<size_t>& positions) {
    // The roots are listed in set order, so a position is a place in it; the
    // members left contain one another no more than before.
    std::vector<std::string> kept = job_.roots.ToVector();
    ErasePositions(kept, positions);
    job_.roots.Clear();
    for (const std::string& path : kept)
        job_.roots.Add(path);
}

bool NewSearchForm::Accept(const SearchFilters& filters, std::string_view pathBoxText) {
    SearchJobOrError made = MakeSearchJob(filters, job_);
    if (!made.job)
        return false;
    job_ = std::move(*made.job);
    accepted_ = true;
    if (job_.roots.empty()) {
        const std::string path = NormalizeDirEntry(pathBoxText);
        if (!path.empty() && rule_.IsDirectory(path))
            Add(path, true);
    }
    return true;
}

} // namespace paradrex
