#include "cli/Options.h"

#include <cstring>

namespace paradrex::cli {

const char* const kUsage =
    "Usage: paradrex-cli [OPTIONS] [--] [DIR...]\n"
    "Finds files with identical content under the given directories (the\n"
    "current directory when none is given) and prints them in groups.\n"
    "\n"
    "  --min-size N[K|M|G] skip files smaller than N bytes (KB, MB, GB)\n"
    "  --max-size N[K|M|G] skip files larger than N bytes (KB, MB, GB)\n"
    "  --read-only         also search read-only files and directories\n"
    "  --hidden            also search hidden files and directories\n"
    "  --system            also search system files (none on Linux)\n"
    "  --types \"jpg png\"   only files with these extensions\n"
    "  --preserve DIR      mark duplicates under DIR Preserved (repeatable)\n"
    "  --delete DIR        mark duplicates under DIR Deleted (repeatable)\n"
    "  --format text|json  output format (text: one path per line, a blank\n"
    "                      line after each group)\n"
    "  --progress          show live counters on standard error\n"
    "  --no-progress       do not show them even on a terminal\n"
    "  --threads N         threads comparing files (default: one per processor)\n"
    "  --apply trash|delete|move=DIR\n"
    "                      act on the files marked cross (--delete, --preserve and\n"
    "                      the lists of a Setting.ini here) in groups without an\n"
    "                      unmarked file: move them to the trash, delete them, or\n"
    "                      move them under DIR with their whole path; prints the\n"
    "                      preview of the files marked cross and changes nothing\n"
    "                      unless --yes is given, else the log of what was done\n"
    "  --yes               with --apply: do it\n"
    "  --include-all-marked\n"
    "                      with --apply: also groups whose every file is marked\n"
    "                      cross (without it such groups are left alone)\n"
    "  --remove-empty-dirs with --apply: remove the directories the operation\n"
    "                      leaves empty (never a searched directory itself)\n"
    "  --save FILE         also write the result with its marks to FILE, a result\n"
    "                      file (.pdxr) that --load opens\n"
    "  --load FILE         take the result saved in FILE instead of searching: every\n"
    "                      file is checked against the disk first, and those that\n"
    "                      changed since are left out and listed on standard error;\n"
    "                      takes no directories or search filters\n"
    "  --reverify          with --load: compare the files of every group again\n"
    "  --quiet             no summary on standard error\n"
    "  --timings           print the time of each search phase (and of --apply,\n"
    "                      from its first file to its record) on standard error\n"
    "  --help              show this help\n"
    "  --version           show the version\n"
    "\n"
    "With --apply --yes each file's line and the summary are the log the desktop\n"
    "program shows, and the log is also appended to\n"
    "$XDG_STATE_HOME/Paradrex/operations.log (~/.local/state/Paradrex/...).\n"
    "\n"
    "Exit status: 0 when the search (and every file of --apply) succeeded, 1 when\n"
    "the search or any file failed, 2 on a usage error, 130 when interrupted (the\n"
    "files logged so far stay done, the rest is left as it was).\n";

bool SplitSize(const std::string& text, std::string& number, int& unit) {
    if (text.empty())
        return false;
    size_t n = text.size();
    unit = 0;
    char last = text.back();
    if (last == 'K' || last == 'k') {
        unit = 1;
        --n;
    } else if (last == 'M' || last == 'm') {
        unit = 2;
        --n;
    } else if (last == 'G' || last == 'g') {
        unit = 3;
        --n;
    }
    if (n == 0)
        return false;
    for (size_t i = 0; i < n; ++i)
        if (text[i] < '0' || text[i] > '9')
            return false;
    number = text.substr(0, n);
    return true;
}

SearchFilters FiltersOf(const Options& o) {
    SearchFilters f;
    f.typeText = o.types.value_or(std::string());
    // Sizes were checked when the options were parsed.
    if (o.minSize)
        f.moreThan = SplitSize(*o.minSize, f.moreThanNumber, f.moreThanUnit);
    if (o.maxSize)
        f.lessThan = SplitSize(*o.maxSize, f.lessThanNumber, f.lessThanUnit);
    f.readOnly = o.readOnly;
    f.hidden = o.hidden;
    f.system = o.system;
    return f;
}

std::optional<Options> ParseOptions(int argc, char** argv, std::string& error) {
    Options o;
    bool optionsEnded = false;
    for (int i = 1; i < argc; ++i) {
        std::string a = argv[i];
        if (optionsEnded || a.empty() || a[0] != '-' || a == "-") {
            o.roots.push_back(a);
            continue;
        }
        std::string value;
        bool hasInline = false;
        if (a.rfind("--", 0) == 0) {
            size_t eq = a.find('=');
            if (eq != std::string::npos) {
                value = a.substr(eq + 1);
                a = a.substr(0, eq);
                hasInline = true;
            }
        }
        auto takeValue = [&](std::string& out) -> bool {
            if (hasInline) {
                out = value;
                return true;
            }
            if (i + 1 >= argc) {
                error = "option " + a + " needs a value";
                return false;
            }
            out = argv[++i];
            return true;
        };
        auto noValue = [&]() -> bool {
            if (hasInline) {
                error = "option " + a + " takes no value";
                return false;
            }
            return true;
        };
        std::string v;
        if (a == "--") {
            optionsEnded = true;
        } else if (a == "--min-size" || a == "--max-size") {
            if (!takeValue(v))
                return std::nullopt;
            std::string number;
            int unit;
            if (!SplitSize(v, number, unit)) {
                error = "invalid size for " + a + ": '" + v + "' (expected N, NK, NM or NG)";
                return std::nullopt;
            }
            (a == "--min-size" ? o.minSize : o.maxSize) = v;
        } else if (a == "--read-only") {
            if (!noValue())
                return std::nullopt;
            o.readOnly = true;
        } else if (a == "--hidden") {
            if (!noValue())
                return std::nullopt;
            o.hidden = true;
        } else if (a == "--system") {
            if (!noValue())
                return std::nullopt;
            o.system = true;
        } else if (a == "--types") {
            if (!takeValue(v))
                return std::nullopt;
            o.types = v;
        } else if (a == "--preserve") {
            if (!takeValue(v))
                return std::nullopt;
            o.preserve.push_back(v);
        } else if (a == "--delete") {
            if (!takeValue(v))
                return std::nullopt;
            o.remove.push_back(v);
        } else if (a == "--format") {
            if (!takeValue(v))
                return std::nullopt;
            if (v == "text")
                o.format = Format::Text;
            else if (v == "json")
                o.format = Format::Json;
            else {
                error = "unknown format '" + v + "' (expected text or json)";
                return std::nullopt;
            }
        } else if (a == "--progress") {
            if (!noValue())
                return std::nullopt;
            o.progress = true;
        } else if (a == "--no-progress") {
            if (!noValue())
                return std::nullopt;
            o.progress = false;
        } else if (a == "--threads") {
            if (!takeValue(v))
                return std::nullopt;
            char* end = nullptr;
            unsigned long n = std::strtoul(v.c_str(), &end, 10);
            if (v.empty() || *end != '\0' || n < 1 || n > 64) {
                error = "invalid thread count '" + v + "' (expected 1 to 64)";
                return std::nullopt;
            }
            o.threads = static_cast<unsigned>(n);
        } else if (a == "--apply") {
            if (!takeValue(v))
                return std::nullopt;
            if (v == "trash") {
                o.apply = ApplyMethod::Trash;
            } else if (v == "delete") {
                o.apply = ApplyMethod::Delete;
            } else if (v.rfind("move=", 0) == 0 && v.size() > 5) {
                o.apply = ApplyMethod::Move;
                o.moveDirectory = v.substr(5);
            } else {
                error =
                    "invalid value for --apply: '" + v + "' (expected trash, delete or move=DIR)";
                return std::nullopt;
            }
        } else if (a == "--yes") {
            if (!noValue())
                return std::nullopt;
            o.yes = true;
        } else if (a == "--include-all-marked") {
            if (!noValue())
                return std::nullopt;
            o.includeAllMarked = true;
        } else if (a == "--remove-empty-dirs") {
            if (!noValue())
                return std::nullopt;
            o.removeEmptyDirs = true;
        } else if (a == "--save" || a == "--load") {
            if (!takeValue(v))
                return std::nullopt;
            if (v.empty()) {
                error = "option " + a + " needs a file name";
                return std::nullopt;
            }
            (a == "--save" ? o.save : o.load) = v;
        } else if (a == "--reverify") {
            if (!noValue())
                return std::nullopt;
            o.reverify = true;
        } else if (a == "--quiet" || a == "-q") {
            if (!noValue())
                return std::nullopt;
            o.quiet = true;
        } else if (a == "--timings") {
            if (!noValue())
                return std::nullopt;
            o.timings = true;
        } else if (a == "--help" || a == "-h") {
            o.help = true;
        } else if (a == "--version") {
            o.version = true;
        } else {
            error = "unknown option '" + a + "'";
            return std::nullopt;
        }
    }
    if (!o.apply && (o.yes || o.includeAllMarked || o.removeEmptyDirs)) {
        error = std::string("option ") +
                (o.yes                ? "--yes"
                 : o.includeAllMarked ? "--include-all-marked"
                                      : "--remove-empty-dirs") +
                " needs --apply";
        return std::nullopt;
    }
    if (o.reverify && !o.load) {
        error = "option --reverify needs --load";
        return std::nullopt;
    }
    if (o.load && (!o.roots.empty() || o.minSize || o.maxSize || o.readOnly || o.hidden ||
                   o.system || o.types)) {
        error = "--load takes no directories or search filters: the saved search has them";
        return std::nullopt;
    }
    return o;
}

} // namespace paradrex::cli
