#include "gui/dialogs/CDelAskDlg.h"

#include <QCheckBox>
#include <QPlainTextEdit>
#include <QPushButton>

namespace {

constexpr char kAllMarkedText[] =
    "Include the file, it and its duplicate files all had been marked cross";
constexpr char kNameMismatchText[] =
    "Include the file, the names of it and its duplicate files aren't all the same";

// Places in dialog units.
constexpr int kWidth = 300, kHeight = 102;
constexpr int kMargin = 7, kBoxH = 34, kCheckH = 10, kButtonW = 50, kButtonH = 14;

} // namespace

CDelAskDlg::CDelAskDlg(QWidget* parent, std::string_view question,
                       const paradrex::ConfirmBoxes& boxes)
    : CConfirmDlg(parent, question) {
    setObjectName(QStringLiteral("id218"));
    DialogUnits& du = units();
    const int inner = kWidth - 2 * kMargin;
    // The check boxes' mark takes about 12 units before the text.
    du.Fit(QString::fromLatin1(kNameMismatchText), inner - 12);
    setFixedSize(du.X(kWidth), du.Y(kHeight));
    questionBox()->setGeometry(du.Rect(kMargin, kMargin, inner, kBoxH));

    auto checkBox = [&](int id, const char* text, int y, bool enabled, bool checked) {
        auto* b = new QCheckBox(QString::fromLatin1(text), this);
        b->setObjectName(QStringLiteral("id%1").arg(id));
        b->setGeometry(du.Rect(kMargin, y, inner, kCheckH));
        b->setEnabled(enabled);
        b->setChecked(checked);
        return b;
    };
    const int firstY = kMargin + kBoxH + 6;
    allMarked_ = checkBox(kAllMarkedId, kAllMarkedText, firstY, boxes.allMarkedEnabled,
                          boxes.allMarkedChecked);
    nameMismatch_ = checkBox(kNameMismatchId, kNameMismatchText, firstY + kCheckH + 3,
                             boxes.nameMismatchEnabled, boxes.nameMismatchChecked);

    const int buttonY = kHeight - kMargin - kButtonH;
    QPushButton* yes = AddButton(kYesId, QStringLiteral("&Yes"),
                                 du.Rect(kWidth / 2 - 3 - kButtonW, buttonY, kButtonW, kButtonH));
    QPushButton* no = AddButton(kNoId, QStringLiteral("&No"),
                                du.Rect(kWidth / 2 + 3, buttonY, kButtonW, kButtonH));
    yes->setDefault(true);
    connect(yes, &QPushButton::clicked, this, &QDialog::accept);
    connect(no, &QPushButton::clicked, this, [this] { QDialog::done(QDialog::Rejected); });
    yes->setFocus();
}

paradrex::DeleteChoices CDelAskDlg::choices() const {
    return {.includeAllMarked = allMarked_->isEnabled() && allMarked_->isChecked(),
            .includeNameMismatch = nameMismatch_->isEnabled() && nameMismatch_->isChecked()};
}
