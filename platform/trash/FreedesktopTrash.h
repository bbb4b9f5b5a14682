#pragma once
// The freedesktop.org trash, through QFile::moveToTrash, which finds the
// trash of the file's mount (the home trash, or a top directory's
// .Trash/UID or .Trash-UID) and writes the .trashinfo record that lets the
// desktop put the file back.
//
// Qt 6.4 has a trap: when the data location (~/.local/share, or
// $XDG_DATA_HOME) does not exist it reports success but moves the file into
// ./files/ under the working directory. So the data location is created
// first, and a trashing counts as done only when Qt answers an absolute path
// inside a trash folder and the source is gone; a file Qt moved anywhere
// else is moved back. A path whose bytes Qt cannot name (not valid in the
// locale's encoding, UTF-8) fails with EILSEQ and stays where it is.

#include "platform/Result.h"

#include <string>

namespace paradrex::platform {

// Makes the real system's Trash call (SystemCalls.h) use this trash. Call it
// once at start-up, before starting threads that trash files.
void UseFreedesktopTrash();

// Moves the file (or directory) to the trash and answers where it went. On
// failure the file stays where it was: it is never deleted instead.
Result<std::string> MoveToFreedesktopTrash(const std::string& path);

// True when `path` names an entry directly inside the files folder of a
// freedesktop.org trash: .../Trash/files/NAME, .../.Trash-UID/files/NAME or
// .../.Trash/UID/files/NAME, absolute.
bool IsInTrashFolder(const std::string& path);

} // namespace paradrex::platform
