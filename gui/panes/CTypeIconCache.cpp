#include "gui/panes/CTypeIconCache.h"

#include "gui/QtBytes.h"
#include "gui/styles/IconTheme.h"
#include "review/ListCells.h"

#include <QApplication>
#include <QMimeDatabase>
#include <QStyle>

CTypeIconCache::CTypeIconCache() {
    EnsureIconTheme();
    QIcon fallback = QApplication::style()->standardIcon(QStyle::SP_FileIcon);
    default_ = EntryFor(QMimeDatabase().mimeTypeForName(QStringLiteral("application/octet-stream")),
                        fallback);
}

CTypeIconCache::Entry CTypeIconCache::EntryFor(const QMimeType& type, const QIcon& fallback) {
    return {MimeIcon(type, fallback), type.comment()};
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
    QMimeType type = MimeTypeOfName("x." + std::string(extension));
    Entry entry = type.isDefault() ? default_ : EntryFor(type, default_.icon);
    return cache_.emplace(std::string(extension), std::move(entry)).first->second;
}
