#pragma once
// Outside a desktop session Qt knows no icon theme, and file type icons would
// all be blank: point it at the system icon folders and a theme that has type
// icons.

#include <QString>
#include <QStringList>

// The icon folders of the XDG data directories ($XDG_DATA_HOME, then each of
// $XDG_DATA_DIRS, default /usr/local/share:/usr/share), each + "/icons".
QStringList SystemIconFolders();

// When the platform reports no theme (or only the fallback "hicolor"), adds
// the system icon folders to the search path and chooses Breeze if it is
// installed. Returns the theme in use afterwards.
QString EnsureIconTheme();
