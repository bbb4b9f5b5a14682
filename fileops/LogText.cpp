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

namespace {

std::string Arrow(const FileOutcome& outcome) {
    std::string text;
    text.reserve(outcome.path.size() + outcome.target.size() + 20);
    text += outcome.path;
    text += " -> ";
    text += outcome.target;
    if (!outcome.succeeded())
        text += " ......Failed";
    return text;
}

std::string NamesSummary(std::string_view heading, std::string_view directoryPath,
                         uint64_t succeeded, uint64_t failed) {
    std::string text = "\n";
    text += heading;
    text += '"';
    text += directoryPath;
    text += "\"\n";
    return text + std::to_string(succeeded) + " files succeed, " + std::to_string(failed) +
           " files failed";
}

} // namespace

std::string RenameLogLine(const FileOutcome& outcome) {
    return Arrow(outcome) + '\n';
}

std::string RenameBaseLogSummary(std::string_view directoryPath, bool recursive, uint64_t succeeded,
                                 uint64_t failed) {
    return NamesSummary(recursive ? "Renamed files base on files (recursively) in "
                                  : "Renamed files base on files in ",
                        directoryPath, succeeded, failed);
}

std::string RestoreNamesLogSummary(std::string_view directoryPath, bool recursive,
                                   uint64_t succeeded, uint64_t failed) {
    return NamesSummary(recursive ? "Restored filenames (recursively) in "
                                  : "Restored files' names in ",
                        directoryPath, succeeded, failed);
}

std::string RenameErrorMessage(const FileOutcome& outcome) {
    return "Rename Error: " + outcome.path + " -> " + outcome.target;
}

std::string RestoreMessage(const FileOutcome& outcome) {
    return Arrow(outcome);
}

} // namespace paradrex
