#include "gui/styles/IconTheme.h"

#include <QDir>
#include <QFileInfo>
#include <QIcon>

QStringList SystemIconFolders() {
    QStringList folders;
    QString dataHome = qEnvironmentVariable("XDG_DATA_HOME");
    if (dataHome.isEmpty())
        dataHome = QDir::homePath() + QStringLiteral("/.local/share");
    folders << dataHome + QStringLiteral("/icons");
    QString dataDirs = qEnvironmentVariable("XDG_DATA_DIRS");
    if (dataDirs.isEmpty())
        dataDirs = QStringLiteral("/usr/local/share:/usr/share");
    for (const QString& dir : dataDirs.split(u':', Qt::SkipEmptyParts))
        folders << dir + QStringLiteral("/icons");
    return folders;
}

QString EnsureIconTheme() {
    const QString current = QIcon::themeName();
    if (!current.isEmpty() && current != QStringLiteral("hicolor"))
        return current;
    QStringList paths = QIcon::themeSearchPaths();
    for (const QString& folder : SystemIconFolders())
        if (!paths.contains(folder))
            paths << folder;
    QIcon::setThemeSearchPaths(paths);
    for (const QString& folder : paths) {
        if (QFileInfo::exists(folder + QStringLiteral("/breeze/index.theme"))) {
            QIcon::setThemeName(QStringLiteral("breeze"));
            break;
        }
    }
    return QIcon::themeName();
}
