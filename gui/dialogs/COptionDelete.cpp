#include "gui/dialogs/COptionDelete.h"

#include "gui/QtBytes.h"
#include "gui/dialogs/FolderChooser.h"
#include "gui/dialogs/OptionPageControls.h"

#include <QButtonGroup>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

using namespace optionpage;
using paradrex::OptionDeletePage;

namespace {

constexpr int kFirstRadioId = 1050;
constexpr int kRadioX = 14, kRadioWidth = 230, kFirstRadioY = 12, kRadioStep = 16;
constexpr int kButtonX = 200, kButtonWidth = 50;
constexpr int kEditX = kRadioX + kIndicatorWidth, kEditWidth = kButtonX - 6 - kEditX;

} // namespace

void COptionDelete::FitTexts(DialogUnits& du) {
    for (std::string_view text : OptionDeletePage::kChoiceTexts)
        du.Fit(Utf8Text(text), kRadioWidth - kIndicatorWidth);
    du.Fit(QStringLiteral("&Browse..."), kButtonWidth - 8);
}

COptionDelete::COptionDelete(OptionDeletePage& page, const DialogUnits& du, QWidget* parent)
    : QWidget(parent), page_(page) {
    resize(du.Rect(0, 0, kWidth, kHeight).size());
    auto* group = new QButtonGroup(this);
    for (int i = 0; i < int(OptionDeletePage::kChoiceTexts.size()); ++i) {
        auto* radio = Placed(
            new QRadioButton(Utf8Text(OptionDeletePage::kChoiceTexts[size_t(i)]), this),
            kFirstRadioId + i, du.Rect(kRadioX, kFirstRadioY + i * kRadioStep, kRadioWidth, 10));
        radio->setChecked(i == page_.choice());
        group->addButton(radio, i);
    }
    TabToCheckedButton(group);
    // The move directory sits under its radio button; it and its button stay
    // enabled whatever is chosen.
    const int y = kFirstRadioY + 3 * kRadioStep;
    edit_ = Placed(new QLineEdit(DisplayText(page_.moveDirectory()), this), 1002,
                   du.Rect(kEditX, y, kEditWidth, 14));
    auto* browse = Placed(new QPushButton(QStringLiteral("&Browse..."), this), 1003,
                          du.Rect(kButtonX, y, kButtonWidth, 14));

    connect(group, &QButtonGroup::idClicked, this, [this](int id) { page_.SetChoice(id); });
    // Only what the user types replaces the stored bytes, which the shown
    // text may not give back for a name that is not UTF-8.
    connect(edit_, &QLineEdit::textEdited, this,
            [this](const QString& text) { page_.SetMoveDirectory(PathBytes(text)); });
    connect(browse, &QPushButton::clicked, this, &COptionDelete::OnBrowse);
}

void COptionDelete::OnBrowse() {
    const QString chosen = ChooseFolder(this, edit_->text());
    edit_->setText(chosen);
    page_.SetMoveDirectory(PathBytes(chosen));
    edit_->setFocus();
}
