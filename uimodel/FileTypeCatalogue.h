#pragma once
// The fixed catalogue of file types that the file type selector offers, and
// the type text built from the rows a user checked there.
//
// Every entry sits at an extension slot, category * 10 + row (0..59); slots
// past a category's last row are empty.

#include <array>
#include <cstddef>
#include <span>
#include <string>
#include <string_view>

namespace paradrex {

struct FileTypeEntry {
    int category; // 0..5, see kFileTypeCategories
    int row;      // 0..9 within the category
    std::string_view format;
    std::string_view description;
    std::string_view extension; // lower-case extensions without dots, one space apart
    std::string_view iconProbe; // a file name whose type icon stands for the row

    constexpr int slot() const { return category * 10 + row; }
};

constexpr size_t kFileTypeSlotCount = 60;
constexpr size_t kFileTypeCategoryCount = 6;

extern const std::array<std::string_view, kFileTypeCategoryCount> kFileTypeCategories;

// The 37 entries, in slot order.
std::span<const FileTypeEntry> FileTypeCatalogue();
// The entries of one category, in row order (empty for an unknown category).
std::span<const FileTypeEntry> FileTypeCategory(int category);

// The extension string of every slot; empty where no entry sits.
using ExtensionTable = std::array<std::string, kFileTypeSlotCount>;
ExtensionTable MakeExtensionTable();

// Check marks of the selector, one per slot.
using FileTypeChecks = std::array<bool, kFileTypeSlotCount>;

// The type text for the checked slots: every checked slot's extension string
// followed by one space, in slot order, then the other text unchanged.
std::string BuildTypeText(const FileTypeChecks& checks, std::string_view other);

} // namespace paradrex
