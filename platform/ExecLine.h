#pragma once
// The command a user configured to open a file with, turned into the argument
// vector of the program to start. The command is a program path, a program
// name found on PATH, or a desktop entry's Exec line with arguments and field
// codes. An Exec line is split by the desktop entry quoting rules, never by a
// shell, and the file's path is put in as one argument: nothing in a file name
// can become a second argument, an option or a command.
//
// Exec line grammar, as desktop entries write it (string escapes of the entry
// file already resolved):
//   - arguments are separated by blanks;
//   - a double-quoted part may hold any character; inside it `"`, `` ` ``, `$`
//     and `\` are written with a backslash before them, and no other
//     backslash is allowed;
//   - outside quotes the shell's special characters (tab, newline, `'`, `\`,
//     `>`, `<`, `~`, `|`, `&`, `;`, `$`, `*`, `?`, `#`, `(`, `)`, `` ` ``) are
//     refused: the line was meant for a shell, and no shell runs it;
//   - field codes: %f and %F give the file's path, %u and %U its file:// URL,
//     %% a percent sign; %F and %U only as a whole argument. %i, %c and %k
//     (icon, name and location of a desktop entry, which a stored command has
//     none of) and the deprecated %d %D %n %N %v %m give nothing: an argument
//     made of them alone is left out. Any other code, and any code but %%
//     inside quotes, is refused;
//   - the program (the first argument) is plain text without "=";
//   - without %f, %F, %u or %U the path is appended as the last argument.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace paradrex::platform {

enum class ExecLineError {
    None,
    Empty,             // no program
    UnterminatedQuote, // a double quote without its closing one
    BadEscape,         // a backslash inside quotes before another character
    ReservedCharacter, // a character a shell treats specially, unquoted or unescaped
    BadFieldCode,      // unknown, at the end, in quotes, or %F/%U inside an argument
    BadProgram,        // the program holds "=" or a field code
    RelativeFile,      // the file to open has no absolute path
};

// The arguments of a program to start (the program first), or why there are
// none.
struct ExecArgv {
    std::vector<std::string> argv; // empty when error is not None
    ExecLineError error = ExecLineError::None;

    bool ok() const { return error == ExecLineError::None; }
    bool operator==(const ExecArgv&) const = default;
};

// Splits an Exec line and puts in `filePath` (absolute) for its field codes,
// or appends it when there is none.
ExecArgv ExecLineArgv(std::string_view line, std::string_view filePath);

// The arguments a configured command starts a program with on `filePath`:
// the whole command when it names an existing executable file by a path
// (which may hold blanks: the default rows store bare program paths), else
// the command as an Exec line.
ExecArgv CommandArgv(std::string_view command, std::string_view filePath);

// The program a configured command starts, as written (a path or a name);
// nothing when the command has none or cannot be split.
std::optional<std::string> CommandProgram(std::string_view command);

// The executable file a program runs: a program holding "/" names it
// directly; a bare name is looked up in the directories of `searchPath`
// (a PATH value; empty entries are skipped). Only a regular file (a link to
// one counts) that the user may execute is found.
std::optional<std::string> FindProgram(std::string_view program, std::string_view searchPath);
// The same with the PATH of this process (the system's default path when
// PATH is unset).
std::optional<std::string> FindProgram(std::string_view program);

// Whether a configured command can be started: its program is found.
bool CanStartCommand(std::string_view command);

} // namespace paradrex::platform
