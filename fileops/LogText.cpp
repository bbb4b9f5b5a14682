#include "fileops/LogText.h"

namespace paradrex {

std::string DeleteLogLine(const FileOutcome& outcome) {
    return outcome.path + (outcome.succeeded() ? "......Succeed\n" : "......Failed\n");
}

std::string DeleteLogSummary(const DeleteSettings& settings, uint64_t succeeded, uint64_t failed) {
    std::string text = "\n";
    switch (settings.method) {
    case DeleteMethod::Trash:
        text += "Deleted files marked cross to Recycle Bin,\n";
        break;
    case DeleteMethod::DeleteDirectly:
        text += "Deleted files marked cross directly,\n";
        break;
    case DeleteMethod::Move:
        text += "Moved files marked cross to " + settings.moveDirectory + ",\n";
        break;
    }
    return text + std::to_string(succeeded) + " files succeed, " + std::to_string(failed) +
           " files failed";
}

std::string PreviewLogLine(std::string_view path) {
    std::string line(path);
    line += '\n';
    return line;
}

std::string PreviewLogTotal(uint64_t count, const DeleteSettings& settings) {
    std::string text = "\nTotal " + std::to_string(count) + " files you had marked cross will be ";
    switch (settings.method) {
    case DeleteMethod::Trash:
        return text + "deleted to Recycle Bin";
    case DeleteMethod::DeleteDirectly:
        return text + "deleted directly";
    case DeleteMethod::Move:
        return text + "moved to " + settings.moveDirectory;
    }
    return text;
}

} // namespace paradrex
