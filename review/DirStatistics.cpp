#include "review/DirStatistics.h"

#include <vector>

namespace paradrex {

void DirStatistics::Add(const FileRecord& file) {
    // Whatever width the record keeps the size in, the sums are 64-bit.
    const uint64_t size = static_cast<uint64_t>(file.size);
    switch (file.state) {
    case FileState::Preserved:
        ++preservedCount;
        preservedSize += size;
        break;
    case FileState::Deleted:
        ++deletedCount;
        deletedSize += size;
        break;
    case FileState::Unsettled:
        ++unsettledCount;
        unsettledSize += size;
        break;
    }
}

DirStatistics DirStatistics::Count(const ResultDir& top) {
    DirStatistics s;
    std::vector<const ResultDir*> stack{&top};
    while (!stack.empty()) {
        const ResultDir* dir = stack.back();
        stack.pop_back();
        s.groupCount += dir->cloneRefs.size() + dir->runRefs.size();
        for (const CloneRef& ref : dir->cloneRefs)
            for (const DuplicateGroup& group : *ref.set)
                s.Add(*group[ref.position]);
        for (const RunRef& ref : dir->runRefs) {
            const Run& run = ref.group->runs[ref.run];
            for (uint32_t i = 0; i < run.count; ++i)
                s.Add(*ref.group->group[run.first + i]);
        }
        s.subdirectoryCount += dir->children.size();
        for (const auto& [name, child] : dir->children)
            stack.push_back(child.get());
    }
    return s;
}

} // namespace paradrex
