#include "uimodel/OptionColorPage.h"

#include "settings/SettingFile.h"

namespace paradrex {

const std::array<OptionColorPage::PreviewRow, OptionColorPage::kPreviewRowCount>
    OptionColorPage::kPreviewRows = {{
        {"Lecture Notes on Physics.part1.rar", 1457664, "a.rar", "07/17/04 07:17",
         FileState::Deleted, kClassified},
        {"Lecture Notes on Physics.part2.rar", 1457664, "a.rar", "07/17/04 07:18",
         FileState::Deleted, kClassified},
        {"Harbour - view'80-00.jpg", 332990, "a.jpg", "07/07/03 17:07", FileState::Preserved,
         kInterval},
        {"Harbour - view'80-01.jpg", 261190, "a.jpg", "07/07/03 17:08", FileState::Preserved,
         kInterval},
        {"Still Life.jpg", 364148, "a.jpg", "07/07/03 17:17", FileState::Deleted, kDuplicate},
        {"Still Life(Unknown Painter).jpg", 364148, "a.jpg", "07/17/04 07:07", FileState::Preserved,
         kDuplicate},
        {"Tales From the River.rtf", 3314784, "a.rtf", "06/02/03 06:02", FileState::Unsettled,
         kInterval},
        {"Tales from the River(Unknown Author).rtf", 3314784, "a.rtf", "01/03/04 01:03",
         FileState::Unsettled, kInterval},
    }};

std::array<Colour, 16>& OptionColorPage::CustomColours() {
    static std::array<Colour, 16> colours = kInitialCustomColours;
    return colours;
}

void OptionColorPage::Load(const _Setting_file& settings) {
    colours_[kClassified] = settings.color.clrTextBk2.value;
    colours_[kDuplicate] = settings.color.clrTextBlock.value;
    colours_[kInterval] = settings.color.clrTextBk1.value;
}

void OptionColorPage::Store(_Setting_file& settings) const {
    settings.color.clrTextBk2 = colours_[kClassified];
    settings.color.clrTextBlock = colours_[kDuplicate];
    settings.color.clrTextBk1 = colours_[kInterval];
}

} // namespace paradrex
