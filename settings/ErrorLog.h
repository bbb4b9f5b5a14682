#pragma once
// The error log of the desktop program: error.log in its settings folder (the
// working directory unless its command line names another).
// Construction trims a log grown beyond 65,535 bytes (keeping the lines after
// byte 32,767, through "tmp.log"), opens it for appending and points the
// error records (_Error_record::Write) at it; destruction gives the records
// their former stream back. The process's file descriptor 2 is left alone:
// programs it starts (the desktop's file opener, context-menu programs) keep
// writing to the terminal, and error.log holds the program's own records only.
// Every step fails silently: a log that cannot be opened leaves the records on
// standard error.

#include <string>

namespace paradrex {

class _Error_log {
public:
    // `directory` is where error.log and tmp.log live; empty means the
    // working directory.
    explicit _Error_log(std::string directory = {});
    ~_Error_log();
    _Error_log(const _Error_log&) = delete;
    _Error_log& operator=(const _Error_log&) = delete;

    bool isOpen() const { return logFd_ >= 0; }

    // Trimming on its own (run by the constructor).
    static void Trim(const std::string& directory);

private:
    int logFd_ = -1;
    int previousStream_ = -1;
};

} // namespace paradrex
