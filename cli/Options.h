#pragma once
// Command-line options of paradrex-cli.

#include "uimodel/SearchFilters.h"

#include <optional>
#include <string>
#include <vector>

namespace paradrex::cli {

enum class Format { Text, Json };

// What --apply does to the files marked cross.
enum class ApplyMethod { Trash, Delete, Move };

struct Options {
    std::vector<std::string> roots;              // as given
    std::optional<std::string> minSize, maxSize; // "N", "NK", "NM" or "NG"
    bool readOnly = false, hidden = false, system = false;
    std::optional<std::string> types;
    std::vector<std::string> preserve, remove;
    Format format = Format::Text;
    std::optional<bool> progress; // unset: when standard error is a terminal
    bool quiet = false;
    bool timings = false;
    bool help = false, version = false;
    unsigned threads = 0;
    // --apply trash|delete|move=DIR: act on the files marked cross instead
    // of printing the groups; without --yes only the preview is printed.
    std::optional<ApplyMethod> apply;
    std::string moveDirectory; // as given after "move="
    bool yes = false;
    bool includeAllMarked = false;
    bool removeEmptyDirs = false;
    // --save FILE: write the result file; --load FILE: take the result from
    // one instead of searching (--reverify: compare its groups again).
    std::optional<std::string> save, load;
    bool reverify = false;
};

// Parses argv; on a usage error returns nothing and sets `error`.
std::optional<Options> ParseOptions(int argc, char** argv, std::string& error);

// Splits "12K" into the number text and the unit index (0 bytes, 1 KB, 2 MB,
// 3 GB); false when the text is not digits with an optional K, M or G.
bool SplitSize(const std::string& text, std::string& number, int& unit);

// The filters the options give, as the New Search dialog would hold them.
SearchFilters FiltersOf(const Options& options);

extern const char* const kUsage;

} // namespace paradrex::cli
