#pragma once
// Without a desktop session Qt names no icon theme, or only the freedesktop
// base theme, which has no icons for file types. EnsureIconTheme() then adds
// the system icon folders to the search path and picks a theme that has
// type icons (Breeze when installed). A theme the desktop chose is kept.

void EnsureIconTheme();
