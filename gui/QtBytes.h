#pragma once
// Path bytes to and from Qt. The program keeps paths as the bytes the system
// gives; widgets decode them for display only, hand the bytes themselves to
// the desktop in file:// URLs, and find file types by name. Texts of the
// program's own (UTF-8) resources come in here too.

#include <QIcon>
#include <QMimeType>
#include <QString>
#include <QUrl>
#include <QVariant>

#include <string>
#include <string_view>

// Display text of path bytes, a whole path or one name (QFile::decodeName).
QString DisplayText(std::string_view bytes);
// The bytes of a path typed or shown as text (QFile::encodeName).
std::string PathBytes(const QString& text);
// Text of the program's own resources: menu texts, captions, messages.
QString Utf8Text(std::string_view text);

// Path bytes kept in an item's data, and read back from it unchanged.
QVariant PathData(std::string_view bytes);
std::string PathOf(const QVariant& data);

// The file:// URL of an absolute path, its bytes percent-encoded as
// platform::FileUrl does, so a name that is not valid UTF-8 still reaches the
// right file.
QUrl FileUrl(std::string_view pathBytes);

// The MIME type a file name's extension gives; the file is not read.
QMimeType MimeTypeOfName(std::string_view fileName);
// The icon theme's icon of a type: its own icon, else its generic one, else
// `fallback`.
QIcon MimeIcon(const QMimeType& type, const QIcon& fallback = {});
