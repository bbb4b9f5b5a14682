#include "gui/dialogs/COptionFileContextMenu.h"

#include "gui/QtBytes.h"
#include "gui/dialogs/OptionPageControls.h"

#include <QCheckBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

using namespace optionpage;
using paradrex::OptionFileContextMenuPage;

namespace {

constexpr int kCheckX = 7, kCaptionX = 20, kCaptionWidth = 80;
constexpr int kProgramX = 104, kProgramWidth = 126, kChooseX = 234, kChooseWidth = 16;
constexpr int kHeadingY = 7, kFirstRowY = 18, kRowStep = 17;
constexpr int kFirstCheckId = 1105, kFirstCaptionId = 1075, kFirstProgramId = 1085,
              kFirstChooseId = 1095;

} // namespace

void COptionFileContextMenu::FitTexts(DialogUnits& du) {
    du.Fit(Utf8Text(OptionFileContextMenuPage::kCaptionHeading), kCaptionWidth);
    du.Fit(Utf8Text(OptionFileContextMenuPage::kProgramHeading), kProgramWidth);
}

COptionFileContextMenu::COptionFileContextMenu(OptionFileContextMenuPage& page,
                                               const DialogUnits& du, QWidget* parent)
    : QWidget(parent), page_(page) {
    resize(du.Rect(0, 0, kWidth, kHeight).size());
    Placed(new QLabel(Utf8Text(OptionFileContextMenuPage::kCaptionHeading), this), 0,
           du.Rect(kCaptionX, kHeadingY, kCaptionWidth, 8));
    Placed(new QLabel(Utf8Text(OptionFileContextMenuPage::kProgramHeading), this), 0,
           du.Rect(kProgramX, kHeadingY, kProgramWidth, 8));
    for (size_t k = 0; k < rows_.size(); ++k) {
        const int y = kFirstRowY + int(k) * kRowStep;
        const int n = int(k);
        const OptionFileContextMenuPage::Row& values = page_.rows()[k];
        RowControls& row = rows_[k];
        row.check = Placed(new QCheckBox(this), kFirstCheckId + n, du.Rect(kCheckX, y + 2, 10, 10));
        row.check->setChecked(values.visible);
        row.caption = Placed(new QLineEdit(Utf8Text(values.caption), this), kFirstCaptionId + n,
                             du.Rect(kCaptionX, y, kCaptionWidth, 14));
        row.program = Placed(new QLineEdit(DisplayText(values.program), this), kFirstProgramId + n,
                             du.Rect(kProgramX, y, kProgramWidth, 14));
        auto* choose =
            Placed(new QPushButton(Utf8Text(OptionFileContextMenuPage::kChooseProgramText), this),
                   kFirstChooseId + n, du.Rect(kChooseX, y, kChooseWidth, 14));
        // The whole program line shows when it does not fit its box.
        row.program->setToolTip(row.program->text());
        connect(row.check, &QCheckBox::toggled, this, [this, k] { OnEdited(k); });
        connect(row.caption, &QLineEdit::textEdited, this, [this, k] { OnEdited(k); });
        connect(row.program, &QLineEdit::textEdited, this, [this, k] { OnEdited(k); });
        connect(choose, &QPushButton::clicked, this, [this, k] { OnChooseProgram(k); });
    }
}

void COptionFileContextMenu::OnEdited(size_t k) {
    // A text the user did not touch keeps its stored bytes.
    OptionFileContextMenuPage::Row value = page_.rows()[k];
    const RowControls& row = rows_[k];
    value.visible = row.check->isChecked();
    if (row.caption->isModified())
        value.caption = row.caption->text().toStdString();
    if (row.program->isModified())
        value.program = PathBytes(row.program->text());
    row.program->setToolTip(row.program->text());
    page_.SetRow(k, std::move(value));
}

void COptionFileContextMenu::OnChooseProgram(size_t k) {
    // Programs here have no suffix of their own: every file is listed.
    const QFileInfo current(rows_[k].program->text());
    const QString start = current.isAbsolute() && current.dir().exists()
                              ? current.absolutePath()
                              : QStringLiteral("/usr/bin");
    const QString chosen = QFileDialog::getOpenFileName(this, QStringLiteral("Open"), start,
                                                        QStringLiteral("All Files (*)"), nullptr,
                                                        QFileDialog::DontResolveSymlinks);
    if (chosen.isEmpty())
        return;
    rows_[k].program->setText(chosen);
    rows_[k].program->setModified(true);
    OnEdited(k);
}
