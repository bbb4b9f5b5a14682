#pragma once
// The recently searched directories: most recently used first, at most ten,
// and the same paths in ascending byte order, which is how the recent box
// lists them.

#include <cstddef>
#include <set>
#include <string>
#include <vector>

namespace paradrex {

class RecentDirList {
public:
    static constexpr size_t kCapacity = 10;

    // Takes a stored list (most recent first). Only its first ten entries are
    // kept, and a path that occurs twice is kept at its first place.
    void Load(const std::vector<std::string>& stored);
    // The list in recency order, for the settings store.
    std::vector<std::string> Store() const { return recent_; }

    // Makes the path the most recent one. A path already listed only moves to
    // the front; a new one drops the least recent entry when the list is
    // full. True when the set of listed paths changed (the box must be
    // refilled).
    bool Use(const std::string& path);
    // Drops the path (exact bytes). True when it was listed.
    bool Remove(const std::string& path);

    bool Contains(const std::string& path) const { return sorted_.count(path) != 0; }
    size_t size() const { return recent_.size(); }
    // The paths in recency order.
    const std::vector<std::string>& recent() const { return recent_; }
    // The paths in ascending byte order, as the recent box shows them.
    std::vector<std::string> Sorted() const { return {sorted_.begin(), sorted_.end()}; }

private:
    std::vector<std::string> recent_;
    std::set<std::string> sorted_; // plain byte order
};

} // namespace paradrex
