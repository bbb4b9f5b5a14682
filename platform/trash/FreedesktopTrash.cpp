#include "platform/trash/FreedesktopTrash.h"

#include "platform/FileSystem.h"
#include "platform/SystemCalls.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QString>

#include <cerrno>
#include <string_view>
#include <unistd.h>

namespace paradrex::platform {

namespace {

std::string_view LastComponent(std::string_view path) {
    const size_t slash = path.rfind('/');
    return slash == std::string_view::npos ? path : path.substr(slash + 1);
}

std::string_view WithoutLastComponent(std::string_view path) {
    const size_t slash = path.rfind('/');
    return slash == std::string_view::npos ? std::string_view() : path.substr(0, slash);
}

bool Gone(const std::string& path) {
    Result<FileStatus> s = StatusOf(path);
    return !s && s.code() == ENOENT;
}

int TrashThroughQt(const char* path) {
    Result<std::string> r = MoveToFreedesktopTrash(path);
    if (r)
        return 0;
    errno = r.error().code;
    return -1;
}

} // namespace

bool IsInTrashFolder(const std::string& path) {
    if (path.empty() || path[0] != '/')
        return false;
    const std::string_view name = LastComponent(path);
    const std::string_view files = WithoutLastComponent(path);
    if (name.empty() || name == "." || name == ".." || LastComponent(files) != "files")
        return false;
    const std::string_view trash = WithoutLastComponent(files);
    const std::string_view trashName = LastComponent(trash);
    const std::string uid = std::to_string(::getuid());
    if (trashName == "Trash" || trashName == ".Trash-" + uid)
        return true;
    return trashName == uid && LastComponent(WithoutLastComponent(trash)) == ".Trash";
}

Result<std::string> MoveToFreedesktopTrash(const std::string& path) {
    const QByteArray bytes(path.data(), static_cast<qsizetype>(path.size()));
    const QString name = QFile::decodeName(bytes);
    if (QFile::encodeName(name) != bytes)
        return Error{EILSEQ, "trash", path, {}};

    const QString data = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    if (data.isEmpty() || !QDir::isAbsolutePath(data))
        return Error{ENOENT, "trash", path, {}};
    if (Result<void> made = MakeDirectories(QFile::encodeName(data).toStdString(), 0700); !made)
        return Error{made.code(), "trash", path, made.error().path};

    QString trashedTo;
    errno = 0;
    const bool moved = QFile::moveToTrash(name, &trashedTo);
    const int code = errno;
    const std::string where = QFile::encodeName(trashedTo).toStdString();
    if (!moved) {
        if (Gone(path))
            return Error{ENOENT, "trash", path, {}};
        return Error{code != 0 ? code : EIO, "trash", path, {}};
    }
    if (IsInTrashFolder(where) && Gone(path))
        return where;
    // Qt said yes, but the file is not where a trash keeps it: put it back,
    // and drop the record Qt wrote for it beside its files folder.
    if (!where.empty() && Gone(path) && RenameNoReplace(where, path)) {
        const std::string folder(WithoutLastComponent(WithoutLastComponent(where)));
        (void)RemoveFile((folder.empty() ? std::string(".") : folder) + "/info/" +
                         std::string(LastComponent(where)) + ".trashinfo");
    }
    return Error{EIO, "trash", path, where};
}

void UseFreedesktopTrash() {
    SetTrashImplementation(&TrashThroughQt);
}

} // namespace paradrex::platform
