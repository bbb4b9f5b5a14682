#pragma once
// Where the user manual and the home page are: the manual beside the program
// in the build tree (Help/index.htm), or installed under the prefix
// (share/doc/paradrex/index.htm beside bin/); the home page as the build names
// it, or the manual when it names none.

#include <QString>

// The manual file that exists, looked for in that order (the source tree's
// last, for a program run from a build folder without its copy); the
// installed place when none does.
QString UserManualPath();
// The address "&Home Page" and the About box's link open.
QString HomePageAddress();
