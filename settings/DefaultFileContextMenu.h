#pragma once
// The file context menu rows a first start begins with (no Setting.ini yet):
// "Open as &Text", "Open as &Image", "Open as &Audio" and "Open as &Video",
// each with the program the desktop opens text/plain, image/bmp, audio/x-wav
// (or audio/wav) and video/x-msvideo files with.

#include "settings/SettingKeys.h"

#include <string>
#include <string_view>

namespace paradrex {

namespace platform {
class MimeAssociations;
}

// The program path of a command line. A command that begins with a double
// quote gives the text up to the next quote (the rest when none follows).
// Otherwise the path ends before the blank in front of the first "%" from
// the third character on (empty when the second character is "%"), or is the
// whole command.
std::string ProgramPathFromCommand(std::string_view command);

// The program a default row gets from a command: empty for a command that
// begins with "rundll" (in any case), else its program path.
std::string DefaultRowProgram(std::string_view command);

// Sets the captions of rows 1 to 4. When the association service is
// available, rows 2 to 4 become visible, and each row whose type has a
// default program gets it as its command and becomes visible. Without the
// service the rows keep only their captions and stay invisible.
void ComputeDefaultFileContextMenu(_File_context_menu_section& menu,
                                   const platform::MimeAssociations& associations);

} // namespace paradrex
