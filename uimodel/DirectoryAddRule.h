#pragma once
// Adding a directory to a set of chosen directories, and the balloon that
// answers a refusal: the one rule the New Search dialog and the default
// directory pages of the options sheet share.

#include "engine/PathSet.h"

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace paradrex {

class DirectoryAddRule {
public:
    static constexpr std::string_view kInvalidDirectory = "Not a valid directory!";

    using DirectoryTest = std::function<bool(const std::string&)>;

    enum class Outcome {
        Nothing, // nothing to add, nothing happened
        Added,   // the path is a member now
        Covered, // a member already holds the path; the balloon names it
        Invalid, // not an existing directory; the balloon says so
    };
    static bool ShowsBalloon(Outcome outcome) {
        return outcome == Outcome::Covered || outcome == Outcome::Invalid;
    }

    // `coveredText` follows the quoted covering member in the balloon
    // (" had been added!"); `isDirectory` decides whether a path names an
    // existing directory (the real file system when empty).
    explicit DirectoryAddRule(std::string_view coveredText, DirectoryTest isDirectory = {});

    bool IsDirectory(const std::string& path) const { return isDirectory_(path); }
    // The stored entries that name existing directories, made lexically
    // normal (a hand-edited "/data/./x/" is "/data/x"), in stored order.
    std::vector<std::string> ExistingDirectories(const std::vector<std::string>& entries) const;

    // Puts an existing directory into the set: Added (members inside it are
    // replaced), or Covered by the member that equals or contains it, which
    // the balloon then names; the set is unchanged then.
    Outcome Add(PathSet& set, const std::string& path);
    // The balloon says the path is not a valid directory.
    Outcome Invalid();

    // The balloon's text for the last Covered or Invalid outcome (bytes).
    std::string BalloonText() const;

private:
    std::string coveredText_;
    DirectoryTest isDirectory_;
    bool covered_ = false; // false: the invalid-directory text
    std::string message_;
};

// Removes the rows at the given positions (out-of-range and repeated
// positions are ignored); the other rows keep their order.
void ErasePositions(std::vector<std::string>& rows, const std::vector<size_t>& positions);

} // namespace paradrex
