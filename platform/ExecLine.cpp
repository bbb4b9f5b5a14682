#include "platform/ExecLine.h"

#include "platform/Paths.h"

#include <cstdlib>
#include <sys/stat.h>
#include <unistd.h>
#include <variant>

namespace paradrex::platform {

namespace {

// One argument of an Exec line as written: literal text and field codes.
struct Piece {
    char code = 0; // the field code's letter; 0 for text
    std::string text;
};
struct Word {
    std::vector<Piece> pieces;
    bool quoted = false; // a quoted argument stays even when it is empty
};

bool IsReserved(char c) {
    static constexpr std::string_view kReserved = "\t\n'\\><~|&;$*?#()`";
    return kReserved.find(c) != std::string_view::npos;
}

bool IsEscapable(char c) {
    return c == '"' || c == '`' || c == '$' || c == '\\';
}

bool IsFieldCode(char c) {
    static constexpr std::string_view kCodes = "fFuUickdDnNvm";
    return kCodes.find(c) != std::string_view::npos;
}

void AppendText(Word& w, char c) {
    if (w.pieces.empty() || w.pieces.back().code != 0)
        w.pieces.push_back({});
    w.pieces.back().text += c;
}

std::variant<std::vector<Word>, ExecLineError> Split(std::string_view line) {
    std::vector<Word> words;
    const size_t n = line.size();
    size_t i = 0;
    for (;;) {
        while (i < n && line[i] == ' ')
            ++i;
        if (i == n)
            break;
        Word w;
        while (i < n && line[i] != ' ') {
            const char c = line[i];
            if (c == '"') {
                w.quoted = true;
                ++i;
                bool closed = false;
                while (i < n && !closed) {
                    const char q = line[i];
                    if (q == '"') {
                        closed = true;
                        ++i;
                    } else if (q == '\\') {
                        if (i + 1 == n || !IsEscapable(line[i + 1]))
                            return ExecLineError::BadEscape;
                        AppendText(w, line[i + 1]);
                        i += 2;
                    } else if (q == '`' || q == '$') {
                        return ExecLineError::ReservedCharacter;
                    } else if (q == '%') {
                        // Only a literal percent sign: a file name must never
                        // land inside a quoted string another program may run.
                        if (i + 1 == n || line[i + 1] != '%')
                            return ExecLineError::BadFieldCode;
                        AppendText(w, '%');
                        i += 2;
                    } else {
                        AppendText(w, q);
                        ++i;
                    }
                }
                if (!closed)
                    return ExecLineError::UnterminatedQuote;
            } else if (c == '%') {
                if (i + 1 == n)
                    return ExecLineError::BadFieldCode;
                const char code = line[i + 1];
                if (code == '%')
                    AppendText(w, '%');
                else if (IsFieldCode(code))
                    w.pieces.push_back({code, {}});
                else
                    return ExecLineError::BadFieldCode;
                i += 2;
            } else if (IsReserved(c)) {
                return ExecLineError::ReservedCharacter;
            } else {
                AppendText(w, c);
                ++i;
            }
        }
        // A list of files stands alone: each file would be an argument.
        for (const Piece& p : w.pieces)
            if ((p.code == 'F' || p.code == 'U') && w.pieces.size() != 1)
                return ExecLineError::BadFieldCode;
        words.push_back(std::move(w));
    }
    if (words.empty())
        return ExecLineError::Empty;
    const Word& program = words.front();
    if (program.pieces.empty()) // ""
        return ExecLineError::BadProgram;
    for (const Piece& p : program.pieces)
        if (p.code != 0 || p.text.find('=') != std::string::npos)
            return ExecLineError::BadProgram;
    return words;
}

ExecArgv Failure(ExecLineError e) {
    return {{}, e};
}

bool IsExecutableFile(const std::string& path) {
    struct stat st;
    return !path.empty() && ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode) &&
           ::access(path.c_str(), X_OK) == 0;
}

} // namespace

ExecArgv ExecLineArgv(std::string_view line, std::string_view filePath) {
    auto split = Split(line);
    if (auto* e = std::get_if<ExecLineError>(&split))
        return Failure(*e);
    if (filePath.empty() || filePath.front() != '/')
        return Failure(ExecLineError::RelativeFile);
    const std::string path(filePath);
    ExecArgv out;
    bool fileGiven = false;
    for (const Word& w : std::get<std::vector<Word>>(split)) {
        std::string arg;
        bool produced = w.quoted;
        for (const Piece& p : w.pieces) {
            switch (p.code) {
            case 0:
                arg += p.text;
                produced = true;
                break;
            case 'f':
            case 'F':
            case 'u':
            case 'U':
                arg += (p.code == 'f' || p.code == 'F') ? path : FileUrl(path);
                produced = true;
                fileGiven = true;
                break;
            default: // nothing to put in: no icon, name or location; deprecated
                break;
            }
        }
        if (produced)
            out.argv.push_back(std::move(arg));
    }
    if (!fileGiven)
        out.argv.push_back(path);
    return out;
}

ExecArgv CommandArgv(std::string_view command, std::string_view filePath) {
    const std::string whole(command);
    if (whole.find('/') != std::string::npos && IsExecutableFile(whole)) {
        if (filePath.empty() || filePath.front() != '/')
            return Failure(ExecLineError::RelativeFile);
        return {{whole, std::string(filePath)}, ExecLineError::None};
    }
    return ExecLineArgv(command, filePath);
}

std::optional<std::string> CommandProgram(std::string_view command) {
    const std::string whole(command);
    if (whole.find('/') != std::string::npos && IsExecutableFile(whole))
        return whole;
    auto split = Split(command);
    if (std::holds_alternative<ExecLineError>(split))
        return std::nullopt;
    return std::get<std::vector<Word>>(split).front().pieces.front().text;
}

std::optional<std::string> FindProgram(std::string_view program, std::string_view searchPath) {
    if (program.empty())
        return std::nullopt;
    if (program.find('/') != std::string_view::npos) {
        std::string path(program);
        if (IsExecutableFile(path))
            return path;
        return std::nullopt;
    }
    while (!searchPath.empty()) {
        const size_t colon = searchPath.find(':');
        std::string_view dir = searchPath.substr(0, colon);
        searchPath =
            colon == std::string_view::npos ? std::string_view{} : searchPath.substr(colon + 1);
        if (dir.empty())
            continue;
        std::string candidate(dir);
        if (candidate.back() != '/')
            candidate += '/';
        candidate += program;
        if (IsExecutableFile(candidate))
            return candidate;
    }
    return std::nullopt;
}

std::optional<std::string> FindProgram(std::string_view program) {
    if (const char* path = std::getenv("PATH"))
        return FindProgram(program, path);
    std::string fallback(::confstr(_CS_PATH, nullptr, 0), '\0');
    if (!fallback.empty()) {
        ::confstr(_CS_PATH, fallback.data(), fallback.size());
        fallback.pop_back(); // the terminating NUL
    }
    return FindProgram(program, fallback);
}

bool CanStartCommand(std::string_view command) {
    const std::optional<std::string> program = CommandProgram(command);
    return program && FindProgram(*program);
}

} // namespace paradrex::platform
