#include "uimodel/RecentDirList.h"

#include <algorithm>

namespace paradrex {

void RecentDirList::Load(const std::vector<std::string>& stored) {
    recent_.clear();
    sorted_.clear();
    for (const std::string& path : stored) {
        if (recent_.size() == kCapacity)
            break;
        if (sorted_.insert(path).second)
            recent_.push_back(path);
    }
}

bool RecentDirList::Use(const std::string& path) {
    auto it = std::find(recent_.begin(), recent_.end(), path);
    if (it != recent_.end()) {
        std::rotate(recent_.begin(), it, it + 1);
        return false;
    }
    if (recent_.size() >= kCapacity) {
        sorted_.erase(recent_.back());
        recent_.pop_back();
    }
    recent_.insert(recent_.begin(), path);
    sorted_.insert(path);
    return true;
}

bool RecentDirList::Remove(const std::string& path) {
    auto it = std::find(recent_.begin(), recent_.end(), path);
    if (it == recent_.end())
        return false;
    recent_.erase(it);
    sorted_.erase(path);
    return true;
}

} // namespace paradrex
