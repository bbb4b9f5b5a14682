#pragma once
// The preview (Ctrl+W): every file marked cross, in the order the delete
// operation walks the result (per root, depth first, children before their
// parent; in a directory the CloneRefs' files, then the RunRefs'), one line
// each, then the total line. It lists every file marked cross without the
// rules by which the operation leaves groups out, so it can list more files
// than the operation then processes. Nothing on disk is touched.

#include "fileops/DeleteOption.h"

#include <cstdint>
#include <string>

namespace paradrex {

struct ResultDir;

struct PreviewLog {
    std::string text; // the lines and the total line (LogText.h)
    uint64_t count = 0;
};

// The preview of the result below `root` (the result's root ResultDir; null:
// no result, only the total line).
PreviewLog BuildPreview(ResultDir* root, const DeleteSettings& settings);

} // namespace paradrex
