#pragma once
// Where the search sends its error records (files it cannot open or read).

#include "engine/SearchModel.h"
#include "platform/ErrorRecord.h"

#include <functional>
#include <string_view>

namespace paradrex {

using ErrorSink = std::function<void(const _Error_record&)>;

// Logs "<full path of the file><suffix>" with code 0.
inline void LogFileError(const ErrorSink& sink, const NameRecord* dir, std::string_view name,
                         std::string_view suffix) {
    std::string message;
    AppendFilePath(message, dir, name);
    message += suffix;
    _Error_record record(std::move(message), 0);
    if (sink)
        sink(record);
    else
        record.Write();
}

} // namespace paradrex
