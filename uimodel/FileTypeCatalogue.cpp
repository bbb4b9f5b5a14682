#include "uimodel/FileTypeCatalogue.h"

namespace paradrex {

const std::array<std::string_view, kFileTypeCategoryCount> kFileTypeCategories = {
    "Graphic", "Document", "Archive", "Music", "Movie", "Miscellaneous"};

namespace {

constexpr FileTypeEntry kEntries[] = {
    {0, 0, "BMP", "Bitmap Format", "bmp", "aaa.bmp"},
    {0, 1, "GIF", "Graphics Interchange Format [CompuServe]", "gif", "aaa.gif"},
    {0, 2, "ICO", "Icon", "ico cur ani", "aaa.ico"},
    {0, 3, "JPG", "Joint Photographic Experts Group", "jpg jpeg", "aaa.jpg"},
    {0, 4, "PNG", "Portable Network Graphics", "png", "aaa.png"},
    {1, 0, "CHM", "Compiled HTML Help", "chm", "aaa.chm"},
    {1, 1, "DOC", "Microsoft Word", "doc", "aaa.doc"},
    {1, 2, "HTML", "HyperText Markup Language", "htm html", "aaa.htm"},
    {1, 3, "MHTML", "MIME HTML", "mht mhtml", "aaa.mht"},
    {1, 4, "PDF", "Portable Document Format[Adobe]", "pdf", "aaa.pdf"},
    {1, 5, "PPT", "Microsoft Powerpoint", "ppt", "aaa.ppt"},
    {1, 6, "RTF", "Rich Text File Format", "rtf", "aaa.rtf"},
    {1, 7, "TXT", "Text File", "txt", "aaa.txt"},
    {1, 8, "XLS", "Microsoft Excel", "xls", "aaa.xls"},
    {1, 9, "XML", "Extended Markup Language", "xml", "aaa.xml"},
    {2, 0, "ACE", "Ace Archive", "ace", "aaa.ace"},
    {2, 1, "RAR", "Rar Archive", "rar", "aaa.rar"},
    {2, 2, "ZIP", "Zip Archive", "zip", "aaa.zip"},
    {3, 0, "AC3", "DVD Audio", "ac3", "aaa.ac3"},
    {3, 1, "APE", "Monkey's Audio", "ape", "aaa.ape"},
    {3, 2, "MIDI", "Musical Instrument Digital Interface", "mid midi", "aaa.mid"},
    {3, 3, "MP3", "MPEG-1 Audio Layer 3", "mp3", "aaa.mp3"},
    {3, 4, "MP4", "MPEG-4 Audio", "m4a mp4 aac", "aaa.mp4"},
    {3, 5, "MPC", "Musepack Audio", "mpc", "aaa.mpc"},
    {3, 6, "OGG", "Ogg Audio", "ogg", "aaa.ogg"},
    {3, 7, "RA", "Real Audio", "ra", "aaa.ra"},
    {3, 8, "WAV", "Wave Sound", "wav", "aaa.wav"},
    {3, 9, "WMA", "Windows Media Audio", "wma", "aaa.wma"},
    {4, 0, "AVI", "AVI", "avi", "aaa.avi"},
    {4, 1, "MOV", "QuickTime Movies", "mov", "aaa.mov"},
    {4, 2, "MPEG", "Moving Picture Experts Group", "mpg mpeg", "aaa.mpg"},
    {4, 3, "OGM", "OGG Media", "ogm", "aaa.ogm"},
    {4, 4, "RM", "RealMedia", "rm rmvb", "aaa.rm"},
    {4, 5, "WMV", "Windows Media", "wmv asf", "aaa.wmv"},
    {5, 0, "EXE", "Executable File", "exe", "aaa.exe"},
    {5, 1, "ISO", "ISO", "iso", "aaa.iso"},
    {5, 2, "SWF", "Shockwave Flash", "swf", "aaa.swf"},
};

} // namespace

std::span<const FileTypeEntry> FileTypeCatalogue() {
    return kEntries;
}

std::span<const FileTypeEntry> FileTypeCategory(int category) {
    std::span<const FileTypeEntry> all = kEntries;
    size_t first = 0;
    while (first < all.size() && all[first].category != category)
        ++first;
    size_t last = first;
    while (last < all.size() && all[last].category == category)
        ++last;
    return all.subspan(first, last - first);
}

ExtensionTable MakeExtensionTable() {
    ExtensionTable table;
    for (const FileTypeEntry& e : kEntries)
        table[static_cast<size_t>(e.slot())] = std::string(e.extension);
    return table;
}

std::string BuildTypeText(const FileTypeChecks& checks, std::string_view other) {
    const ExtensionTable table = MakeExtensionTable();
    std::string text;
    for (size_t slot = 0; slot < kFileTypeSlotCount; ++slot) {
        if (checks[slot]) {
            text += table[slot];
            text += ' ';
        }
    }
    text += other;
    return text;
}

} // namespace paradrex
