#pragma once
// Where the search sends its error records (files it cannot open or read).

#include "engine/SearchModel.h"
#include "platform/ErrorRecord.h"

#include <functional>
#include <mutex>
#include <string_view>

namespace paradrex {

using ErrorSink = std::function<void(const _Error_record&)>;

// A sink that passes one record at a time to `log` (or standard error),
// for phases that run on several threads.
inline ErrorSink SerializedSink(const ErrorSink& log, std::mutex& mutex) {
    return [&log, &mutex](const _Error_record& r) {
        std::lock_guard lock(mutex);
        if (log)
            log(r);
        else
            r.Write();
    };
}

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
