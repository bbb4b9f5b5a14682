#include "gui/QtBytes.h"

#include "platform/Paths.h"

#include <QByteArray>
#include <QFile>
#include <QMimeDatabase>

namespace {

QByteArray Bytes(std::string_view bytes) {
    return QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

} // namespace

QString DisplayText(std::string_view bytes) {
    return QFile::decodeName(Bytes(bytes));
}

std::string PathBytes(const QString& text) {
    return QFile::encodeName(text).toStdString();
}

QString Utf8Text(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QVariant PathData(std::string_view bytes) {
    return Bytes(bytes);
}

std::string PathOf(const QVariant& data) {
    return data.toByteArray().toStdString();
}

QUrl FileUrl(std::string_view pathBytes) {
    return QUrl::fromEncoded(QByteArray::fromStdString(paradrex::platform::FileUrl(pathBytes)));
}

QMimeType MimeTypeOfName(std::string_view fileName) {
    return QMimeDatabase().mimeTypeForFile(DisplayText(fileName), QMimeDatabase::MatchExtension);
}

QIcon MimeIcon(const QMimeType& type, const QIcon& fallback) {
    return QIcon::fromTheme(type.iconName(), QIcon::fromTheme(type.genericIconName(), fallback));
}
