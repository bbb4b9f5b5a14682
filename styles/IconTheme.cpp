#include "styles/IconTheme.h"

#include <QFileInfo>
#include <QIcon>
#include <QStandardPaths>
#include <QStringList>

void EnsureIconTheme() {
    const QString current = QIcon::themeName();
    if (!current.isEmpty() && current != QStringLiteral("hicolor"))
        return;
    QStringList paths = QIcon::themeSearchPaths();
    QStringList dirs =
        QStandardPaths::locateAll(QStandardPaths::GenericDataLocation, QStringLiteral("icons"),
                                  QStandardPaths::LocateDirectory);
    dirs << QStringLiteral("/usr/share/icons");
    for (const QString& d : dirs)
        if (!paths.contains(d))
            paths << d;
    QIcon::setThemeSearchPaths(paths);
    for (const char* theme : {"breeze", "Adwaita", "hicolor"}) {
        const QString name = QString::fromLatin1(theme);
        for (const QString& d : paths)
            if (QFileInfo::exists(d + QLatin1Char('/') + name + QStringLiteral("/index.theme"))) {
                QIcon::setThemeName(name);
                if (QIcon::fallbackThemeName().isEmpty())
                    QIcon::setFallbackThemeName(QStringLiteral("hicolor"));
                return;
            }
    }
}
