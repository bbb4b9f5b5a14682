#include "fileops/Preview.h"

#include "engine/SearchModel.h"
#include "fileops/LogText.h"
#include "review/ResultTreeOrder.h"

namespace paradrex {

PreviewLog BuildPreview(ResultDir* root, const DeleteSettings& settings) {
    PreviewLog log;
    std::string path;
    auto add = [&](const FileRecord& f) {
        if (f.state != FileState::Deleted)
            return;
        path.clear();
        AppendFilePath(path, f.directory, f.name);
        log.text += PreviewLogLine(path);
        ++log.count;
    };
    if (root) {
        for (auto& [name, top] : root->children)
            ForEachInPostOrder(*top, true, [&](ResultDir& dir) {
                for (const CloneRef& ref : dir.cloneRefs)
                    for (const DuplicateGroup& group : *ref.set)
                        add(*group[ref.position]);
                for (const RunRef& ref : dir.runRefs) {
                    const Run& run = ref.group->runs[ref.run];
                    for (uint32_t i = run.first; i < run.first + run.count; ++i)
                        add(*ref.group->group[i]);
                }
            });
    }
    log.text += PreviewLogTotal(log.count, settings);
    return log;
}

} // namespace paradrex
