#include "gui/dialogs/CDelEmptyDirDlg.h"

#include <QPlainTextEdit>
#include <QPushButton>

namespace {

// Places in dialog units.
constexpr int kWidth = 262, kHeight = 70;
constexpr int kMargin = 7, kBoxH = 34, kButtonW = 56, kButtonH = 14, kButtonGap = 6;

} // namespace

CDelEmptyDirDlg::CDelEmptyDirDlg(QWidget* parent, const std::string& path)
    : CConfirmDlg(parent, paradrex::EmptyDirectoryQuestion(path)) {
    setObjectName(QStringLiteral("id217"));
    DialogUnits& du = units();
    const struct {
        int id;
        const char* text;
    } buttons[] = {
        {kYesId, "&Yes"}, {kNoId, "&No"}, {kYesToAllId, "Yes to All"}, {kNoToAllId, "No to All"}};
    for (const auto& b : buttons)
        du.Fit(QString::fromLatin1(b.text), kButtonW - 8);
    setFixedSize(du.X(kWidth), du.Y(kHeight));
    questionBox()->setGeometry(du.Rect(kMargin, kMargin, kWidth - 2 * kMargin, kBoxH));

    const int rowW = 4 * kButtonW + 3 * kButtonGap;
    int x = (kWidth - rowW) / 2;
    const int y = kHeight - kMargin - kButtonH;
    for (const auto& b : buttons) {
        QPushButton* button =
            AddButton(b.id, QString::fromLatin1(b.text), du.Rect(x, y, kButtonW, kButtonH));
        connect(button, &QPushButton::clicked, this, [this, id = b.id] {
            answer_ = static_cast<paradrex::EmptyDirAnswer>(id - kYesId);
            QDialog::done(id - kYesId);
        });
        if (b.id == kYesId) {
            button->setDefault(true);
            button->setFocus();
        }
        x += kButtonW + kButtonGap;
    }
}
