#pragma once
// The freedesktop.org trash: a file on the file system of the user's data
// folder ($XDG_DATA_HOME, else ~/.local/share) goes to its Trash; a file on
// another file system goes to the trash at the top of its mount, .Trash/UID
// when .Trash there is a real sticky directory, else .Trash-UID. The record
// info/NAME.trashinfo (the original path, percent-encoded byte for byte, and
// the deletion time) is created first, with O_EXCL, which reserves NAME; then
// the file is renamed, never replacing, to files/NAME. A taken name is
// followed by NAME.2, NAME.3, ...; names are bytes, so a name that is not
// UTF-8 is trashed like any other, and a name too long to have its record
// beside it is cut short (the record keeps the whole path). Every call goes
// through the system-call seam (SystemCalls.h). Nothing is ever copied: a
// file that cannot be renamed into the trash of its own file system stays
// where it is, and its record is removed again.

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
