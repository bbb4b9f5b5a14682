#include "settings/SettingFile.h"

#include "platform/FileIo.h"
#include "platform/MimeAssociations.h"
#include "settings/DefaultFileContextMenu.h"
#include "settings/IniReader.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <fcntl.h>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>

namespace paradrex {

namespace {

constexpr const char* kFirstLine = "; Don't modify anything in this file!";
// A settings file is a few kilobytes; more than this is not read.
constexpr size_t kReadLimit = 16 * 1024 * 1024;

std::string WorkingDirectory() {
    std::string buf(PATH_MAX, '\0');
    for (;;) {
        if (::getcwd(buf.data(), buf.size()) != nullptr) {
            buf.resize(std::char_traits<char>::length(buf.c_str()));
            return buf;
        }
        if (errno != ERANGE || buf.size() > (1u << 20))
            return ".";
        buf.resize(buf.size() * 2);
    }
}

// Line ends as the reader sees them: every CR LF becomes LF.
std::string WithLfLineEnds(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size());
    for (size_t i = 0; i < bytes.size(); ++i) {
        if (bytes[i] == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n')
            continue;
        out += bytes[i];
    }
    return out;
}

std::string WithCrLfLineEnds(std::string_view text) {
    std::string out;
    out.reserve(text.size() + text.size() / 16);
    for (char c : text) {
        if (c == '\n')
            out += '\r';
        out += c;
    }
    return out;
}

} // namespace

_Setting_file::_Setting_file(InMemory, std::string_view fileBytes) : existed_(true) {
    Load(fileBytes);
}

_Setting_file::_Setting_file(std::string directory)
    : _Setting_file(std::move(directory), Options()) {}

_Setting_file::_Setting_file(std::string directory, Options options)
    : directory_(directory.empty() ? WorkingDirectory() : std::move(directory)),
      access_(options.access) {
    struct stat st;
    if (::stat(path().c_str(), &st) != 0 && errno == ENOENT) {
        // First start: defaults, and the file context menu rows of the
        // desktop's default programs.
        version.Version = kVersion;
        ComputeDefaultFileContextMenu(fileContextMenu, options.associations
                                                           ? platform::MimeAssociations()
                                                           : platform::MimeAssociations::None());
        return;
    }
    existed_ = true;
    platform::Result<std::string> bytes = platform::ReadRegularFile(path(), kReadLimit);
    if (!bytes)
        unreadable_ = true;
    Load(bytes ? *bytes : std::string());
}

_Setting_file::~_Setting_file() {
    if (access_ == Access::ReadWrite)
        Save();
}

namespace {

std::string& InstanceDirectory() {
    static std::string directory;
    return directory;
}

} // namespace

void _Setting_file::SetInstanceDirectory(std::string directory) {
    InstanceDirectory() = std::move(directory);
}

_Setting_file& _Setting_file::Instance() {
    static _Setting_file instance{InstanceDirectory()};
    return instance;
}

_Setting_file _Setting_file::ReadOnly(std::string directory) {
    return _Setting_file(std::move(directory), Options{Access::ReadOnly, false});
}

_Setting_file _Setting_file::FromText(std::string_view fileBytes) {
    return _Setting_file(InMemory{}, fileBytes);
}

std::string _Setting_file::path() const {
    if (directory_.empty() || directory_.back() == '/')
        return directory_ + kFileName;
    return directory_ + "/" + kFileName;
}

void _Setting_file::Load(std::string_view fileBytes) {
    version.Version = 0;
    HV::_Ini_reader in(fileBytes);
    in.SkipRestOfLine(HV::kIniSkipLimit); // line 1, whatever it holds
    HV::_Ini_section* sections[] = {&version,        &layout,       &color,
                                    &interfaceStyle, &deleteOption, &fileContextMenu};
    for (HV::_Ini_section* section : sections)
        section->Read(in);
    HV::_Ini_dir_list* lists[] = {&defaultSearchDirectory, &defaultPreserveDirectory,
                                  &defaultDeleteDirectory, &recentDirectory};
    for (HV::_Ini_dir_list* list : lists)
        list->Read(in);
    // Another layout version keeps everything but the colours.
    if (version.Version.value != kVersion) {
        color = _Color_section();
        version.Version = kVersion;
    }
}

std::string _Setting_file::TextLf() const {
    std::string text = kFirstLine;
    text += '\n';
    const HV::_Ini_section* sections[] = {&version,        &layout,       &color,
                                          &interfaceStyle, &deleteOption, &fileContextMenu};
    for (const HV::_Ini_section* section : sections)
        section->Write(text);
    const HV::_Ini_dir_list* lists[] = {&defaultSearchDirectory, &defaultPreserveDirectory,
                                        &defaultDeleteDirectory, &recentDirectory};
    for (const HV::_Ini_dir_list* list : lists)
        list->Write(text);
    return text;
}

std::string _Setting_file::Text() const {
    return WithCrLfLineEnds(TextLf());
}

bool _Setting_file::Save() {
    if (access_ != Access::ReadWrite || unreadable_ || directory_.empty())
        return false;
    std::string target = path();
    // A Setting.ini that is a link (a managed dotfile) is written through.
    struct stat lst;
    if (::lstat(target.c_str(), &lst) == 0 && S_ISLNK(lst.st_mode)) {
        if (char* real = ::realpath(target.c_str(), nullptr)) {
            target = real;
            std::free(real);
        }
    }
    const std::string lf = TextLf();
    struct stat st;
    const bool exists = ::stat(target.c_str(), &st) == 0;
    if (exists) {
        // Compared as the reader sees it: a file with bare LF line ends and
        // the same content counts as unchanged and keeps its line ends.
        platform::Result<std::string> current = platform::ReadRegularFile(target, kReadLimit);
        if (current && current->size() < kReadLimit && WithLfLineEnds(*current) == lf)
            return true;
        // A file the user made read-only is not replaced behind their back.
        if (!S_ISREG(st.st_mode) || ::faccessat(AT_FDCWD, target.c_str(), W_OK, AT_EACCESS) != 0)
            return false;
    }
    return platform::ReplaceFileAtomically(target, WithCrLfLineEnds(lf),
                                           exists ? std::optional<mode_t>(st.st_mode)
                                                  : std::nullopt)
        .has_value();
}

bool _Setting_file::SameValues(const _Setting_file& other) const {
    return version == other.version && layout == other.layout && color == other.color &&
           interfaceStyle == other.interfaceStyle && deleteOption == other.deleteOption &&
           fileContextMenu == other.fileContextMenu &&
           defaultSearchDirectory == other.defaultSearchDirectory &&
           defaultPreserveDirectory == other.defaultPreserveDirectory &&
           defaultDeleteDirectory == other.defaultDeleteDirectory &&
           recentDirectory == other.recentDirectory;
}

} // namespace paradrex
