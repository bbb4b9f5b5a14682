#include "platform/Result.h"

#include <cerrno>
#include <cstring>

namespace paradrex::platform {

Error Error::FromErrno(const char* op, const std::string& path, const std::string& target) {
    const int code = errno;
    return Error{code, op, path, target};
}

std::string Error::Message() const {
    std::string text = op;
    if (!path.empty())
        text += ' ' + path;
    if (!target.empty())
        text += " -> " + target;
    text += ": ";
    // strerror_r (GNU) may answer a static text instead of filling the buffer.
    char buf[256];
    text += ::strerror_r(code, buf, sizeof buf);
    return text;
}

} // namespace paradrex::platform
