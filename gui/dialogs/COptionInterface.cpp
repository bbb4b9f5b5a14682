#include "gui/dialogs/COptionInterface.h"

#include "gui/QtBytes.h"
#include "gui/dialogs/InterfacePreviews.h"
#include "gui/dialogs/OptionPageControls.h"

#include <QButtonGroup>
#include <QLabel>
#include <QRadioButton>

using namespace optionpage;
using paradrex::OptionInterfacePage;

namespace {

// The two groups one above the other: label and radio buttons on the left,
// pictures on the right.
constexpr int kLabelX = 7, kRadioX = 14, kLeftWidth = 84;
constexpr int kPictureX = 96, kPictureRight = 250;
constexpr int kMenuGroupY = 7, kListGroupY = 88;

} // namespace

void COptionInterface::FitTexts(DialogUnits& du) {
    du.Fit(Utf8Text(OptionInterfacePage::kMenuGroupLabel), kLeftWidth);
    du.Fit(Utf8Text(OptionInterfacePage::kListGroupLabel), kLeftWidth);
    for (auto texts : {OptionInterfacePage::kMenuStyleTexts, OptionInterfacePage::kListStyleTexts})
        for (std::string_view text : texts)
            du.Fit(Utf8Text(text), kLeftWidth - (kRadioX - kLabelX) - kIndicatorWidth);
}

COptionInterface::COptionInterface(OptionInterfacePage& page, const DialogUnits& du,
                                   CTypeIconCache& types, const CStateImages& states,
                                   QWidget* parent)
    : QWidget(parent), page_(page), types_(types), states_(states) {
    resize(du.Rect(0, 0, kWidth, kHeight).size());
    struct Group {
        std::string_view label;
        std::array<std::string_view, 2> texts;
        int firstId;
        int y;
        int checked;
        void (OptionInterfacePage::*set)(int);
        void (COptionInterface::*show)();
    };
    const Group groups[2] = {
        {OptionInterfacePage::kMenuGroupLabel, OptionInterfacePage::kMenuStyleTexts, 1050,
         kMenuGroupY, page_.menuStyle(), &OptionInterfacePage::SetMenuStyle,
         &COptionInterface::ShowMenuPictures},
        {OptionInterfacePage::kListGroupLabel, OptionInterfacePage::kListStyleTexts, 1052,
         kListGroupY, page_.listStyle(), &OptionInterfacePage::SetListStyle,
         &COptionInterface::ShowListPictures},
    };
    for (const Group& g : groups) {
        auto* label =
            Placed(new QLabel(Utf8Text(g.label), this), 0, du.Rect(kLabelX, g.y, kLeftWidth, 8));
        label->setTextFormat(Qt::PlainText);
        auto* buttons = new QButtonGroup(this);
        for (int i = 0; i < 2; ++i) {
            auto* radio =
                Placed(new QRadioButton(Utf8Text(g.texts[size_t(i)]), this), g.firstId + i,
                       du.Rect(kRadioX, g.y + 12 + 12 * i, kLeftWidth - 7, 10));
            radio->setChecked(i == g.checked);
            buttons->addButton(radio, i);
        }
        TabToCheckedButton(buttons);
        connect(buttons, &QButtonGroup::idClicked, this,
                [this, set = g.set, show = g.show](int id) {
                    (page_.*set)(id);
                    (this->*show)();
                });
    }
    const int width = kPictureRight - kPictureX;
    const QRect places[4] = {
        du.Rect(kPictureX, kMenuGroupY, width, 46),
        du.Rect(kPictureX, kMenuGroupY + 50, width, 20),
        du.Rect(kPictureX, kListGroupY, 62, kHeight - 7 - kListGroupY),
        du.Rect(kPictureX + 66, kListGroupY, width - 66, kHeight - 7 - kListGroupY),
    };
    for (int i = 0; i < 4; ++i)
        pictures_[size_t(i)] = Placed(new QLabel(this), 1111 + i, places[i]);
    ShowMenuPictures();
    ShowListPictures();
}

void COptionInterface::ShowMenuPictures() {
    pictures_[0]->setPixmap(MenuPreview(page_.menuStyle(), pictures_[0]->size()));
    pictures_[1]->setPixmap(ToolBarPreview(page_.menuStyle(), pictures_[1]->size()));
}

void COptionInterface::ShowListPictures() {
    pictures_[2]->setPixmap(TreePreview(page_.listStyle(), pictures_[2]->size()));
    pictures_[3]->setPixmap(ListPreview(page_.listStyle(), pictures_[3]->size(), types_, states_));
}
