#pragma once
// File-type icons and type names for the result lists, from the desktop's
// MIME database and icon theme, looked up once per extension text (case
// kept) and kept for the life of the cache. There is no limit on the number
// of extensions.

#include <QIcon>
#include <QMimeType>
#include <QString>

#include <functional>
#include <map>
#include <string>
#include <string_view>

class CTypeIconCache {
public:
    struct Entry {
        QIcon icon;
        QString name;
    };

    CTypeIconCache();

    // The entry for a file name, by the name's type extension. Extensions the
    // MIME database does not know share the look of a file without extension,
    // but are cached all the same.
    const Entry& Lookup(std::string_view fileName);
    const Entry& LookupExtension(std::string_view extension);
    // The entry of a file without extension.
    const Entry& defaultEntry() const { return default_; }
    // Number of extensions looked up so far (the default entry not counted).
    size_t size() const { return cache_.size(); }

private:
    static Entry EntryFor(const QMimeType& type, const QIcon& fallback);

    Entry default_;
    std::map<std::string, Entry, std::less<>> cache_;
};
