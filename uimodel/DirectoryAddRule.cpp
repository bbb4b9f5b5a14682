#include "uimodel/DirectoryAddRule.h"

#include "platform/Paths.h"

#include <utility>

namespace paradrex {

DirectoryAddRule::DirectoryAddRule(std::string_view coveredText, DirectoryTest isDirectory)
    : coveredText_(coveredText),
      isDirectory_(isDirectory ? std::move(isDirectory) : platform::IsDirectory) {}

std::vector<std::string>
DirectoryAddRule::ExistingDirectories(const std::vector<std::string>& entries) const {
    std::vector<std::string> existing;
    for (const std::string& entry : entries) {
        // Kept lexically normal so that containment and joined paths hold.
        const std::string dir = entry.empty() ? entry : platform::AbsoluteNormalPath(entry);
        if (!dir.empty() && isDirectory_(dir))
            existing.push_back(dir);
    }
    return existing;
}

DirectoryAddRule::Outcome DirectoryAddRule::Add(PathSet& set, const std::string& path) {
    PathSet::AddResult added = set.Add(path);
    if (added.added)
        return Outcome::Added;
    covered_ = true;
    message_ = "\"" + added.coveringMember + "\"" + coveredText_;
    return Outcome::Covered;
}

DirectoryAddRule::Outcome DirectoryAddRule::Invalid() {
    covered_ = false;
    return Outcome::Invalid;
}

std::string DirectoryAddRule::BalloonText() const {
    return covered_ ? message_ : std::string(kInvalidDirectory);
}

void ErasePositions(std::vector<std::string>& rows, const std::vector<size_t>& positions) {
    std::vector<bool> doomed(rows.size(), false);
    for (size_t p : positions) {
        if (p < rows.size())
            doomed[p] = true;
    }
    size_t kept = 0;
    for (size_t i = 0; i < rows.size(); ++i) {
        if (doomed[i])
            continue;
        if (kept != i)
            rows[kept] = std::move(rows[i]);
        ++kept;
    }
    rows.resize(kept);
}

} // namespace paradrex
