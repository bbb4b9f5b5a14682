#include "gui/panes/CTypeIconCache.h"

#include "gui/styles/IconTheme.h"
#include "review/ListCells.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QStyle>

CTypeIconCache::CTypeIconCache() {
    EnsureIconTheme();
    QIcon fallback = QApplication::style()->standardIcon(QStyle::SP_FileIcon);
    default_ = EntryFor(db_.mimeTypeForName(QStringLiteral("application/octet-stream")), fallback);
}

CTypeIconCache::Entry CTypeIconCache::EntryFor(const QMimeType& type, const QIcon& fallback) const {
    QIcon icon =
        QIcon::fromTheme(type.iconName(), QIcon::fromTheme(type.genericIconName(), fallback));
    return {icon, type.comment()};
}

const CTypeIconCache::Entry& CTypeIconCache::Lookup(std::string_view fileName) {
    return LookupExtension(paradrex::TypeExtension(fileName));
}

const CTypeIconCache::Entry& CTypeIconCache::LookupExtension(std::string_view extension) {
    if (extension.empty())
        return default_;
    auto it = cache_.find(extension);
    if (it != cache_.end())
        return it->second;
    // By name only: the file is not read.
    QString probe =
        QStringLiteral("x.") + QFile::decodeName(QByteArray(extension.data(), extension.size()));
    QMimeType type = db_.mimeTypeForFile(probe, QMimeDatabase::MatchExtension);
    Entry entry = type.isDefault() ? default_ : EntryFor(type, default_.icon);
    return cache_.emplace(std::string(extension), std::move(entry)).first->second;
}
