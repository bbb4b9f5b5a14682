#include "gui/HelpLocations.h"

#include "gui/QtBytes.h"
#include "uimodel/AboutTexts.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QUrl>

QString UserManualPath() {
    const QString bin = QCoreApplication::applicationDirPath();
    const QString installed =
        QDir::cleanPath(bin + QStringLiteral("/../share/doc/paradrex/index.htm"));
    QStringList candidates{bin + QStringLiteral("/Help/index.htm"), installed};
#ifdef PARADREX_SOURCE_DIR
    candidates << QStringLiteral(PARADREX_SOURCE_DIR "/gui/Help/index.htm");
#endif
    for (const QString& path : candidates)
        if (QFileInfo::exists(path))
            return path;
    return installed;
}

QString HomePageAddress() {
    const QByteArray manual = QUrl::fromLocalFile(UserManualPath()).toEncoded();
    return Utf8Text(paradrex::HomePageTarget(PARADREX_HOME_PAGE, manual.toStdString()));
}
