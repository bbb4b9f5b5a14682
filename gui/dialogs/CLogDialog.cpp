#include "gui/dialogs/CLogDialog.h"

#include "fileops/LogFiles.h"
#include "gui/QtBytes.h"
#include "gui/dialogs/DialogUnits.h"

#include <QElapsedTimer>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTextCursor>
#include <QVBoxLayout>

#include <algorithm>

namespace {

// A piece of the log put on the screen at once, and the time the pieces of
// one turn of the event loop may take together. A piece decodes and lays
// out in a few milliseconds; a backlog waits for the next turn.
constexpr size_t kPieceBytes = 32 * 1024;
constexpr qint64 kTurnBudgetMs = 25;

// Margins, the gap between the log and the buttons, and the buttons' size,
// in dialog units.
constexpr int kMargin = 7, kGap = 7, kButtonGap = 6, kButtonW = 50, kButtonH = 14;

} // namespace

CLogDialog::CLogDialog(QWidget* parent, int widthDlu, int heightDlu) : QDialog(parent) {
    setModal(true);
    setSizeGripEnabled(true);
    DialogUnits du(font());
    du.Fit(QStringLiteral("&Save..."), kButtonW - 8);

    log_ = new QPlainTextEdit(this);
    log_->setObjectName(QStringLiteral("id%1").arg(kLogId));
    log_->setReadOnly(true);
    log_->setUndoRedoEnabled(false);
    log_->setLineWrapMode(QPlainTextEdit::NoWrap);
    log_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    log_->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);

    auto makeButton = [&](int id, const char* text) {
        auto* b = new QPushButton(QString::fromLatin1(text), this);
        b->setObjectName(QStringLiteral("id%1").arg(id));
        b->setFixedSize(du.X(kButtonW), du.Y(kButtonH));
        b->setAutoDefault(false);
        return b;
    };
    save_ = makeButton(kSaveId, "&Save...");
    close_ = makeButton(kCloseId, "&Close");
    close_->setDefault(true);
    connect(save_, &QPushButton::clicked, this, &CLogDialog::SaveLogAs);
    connect(close_, &QPushButton::clicked, this, &QDialog::accept);

    buttons_ = new QHBoxLayout;
    buttons_->setSpacing(du.X(kButtonGap));
    buttons_->addStretch(1);
    buttons_->addWidget(save_);
    buttons_->addWidget(close_);
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(du.X(kMargin), du.Y(kMargin), du.X(kMargin), du.Y(kMargin));
    column->setSpacing(du.Y(kGap));
    column->addWidget(log_, 1);
    column->addLayout(buttons_);

    resize(du.X(widthDlu), du.Y(heightDlu));
    // Small enough to get out of the way, large enough for the buttons.
    setMinimumSize(du.X(4 * kButtonW), du.Y(4 * kButtonH));
    log_->setFocus();

    showTimer_.setSingleShot(true);
    showTimer_.setInterval(0);
    connect(&showTimer_, &QTimer::timeout, this, &CLogDialog::ShowQueued);
}

void CLogDialog::InsertButton(QPushButton* button) {
    // After the stretch, before Save....
    buttons_->insertWidget(1, button);
}

void CLogDialog::AddLog(std::string_view bytes) {
    if (bytes.empty())
        return;
    text_.append(bytes);
    if (!showTimer_.isActive())
        showTimer_.start();
}

void CLogDialog::ShowQueued() {
    QScrollBar* bar = log_->verticalScrollBar();
    QElapsedTimer turn;
    turn.start();
    while (shown_ < text_.size()) {
        // Whole lines where the piece allows it.
        size_t end = std::min(text_.size(), shown_ + kPieceBytes);
        if (end < text_.size()) {
            const size_t lineEnd = text_.rfind('\n', end - 1);
            if (lineEnd != std::string::npos && lineEnd >= shown_)
                end = lineEnd + 1;
        }
        // The end stays in view unless the user scrolled away from it.
        const bool followEnd = bar->value() == bar->maximum();
        QTextCursor at(log_->document());
        at.movePosition(QTextCursor::End);
        at.insertText(DisplayText(std::string_view(text_).substr(shown_, end - shown_)));
        largestPiece_ = std::max(largestPiece_, end - shown_);
        shown_ = end;
        if (followEnd)
            bar->setValue(bar->maximum());
        if (turn.elapsed() >= kTurnBudgetMs)
            break;
    }
    if (shown_ < text_.size())
        showTimer_.start();
}

void CLogDialog::SaveLogAs() {
    QFileDialog chooser(this);
    chooser.setAcceptMode(QFileDialog::AcceptSave);
    chooser.setFileMode(QFileDialog::AnyFile);
    chooser.setNameFilter(QStringLiteral("Text Files (*.txt)"));
    chooser.setDefaultSuffix(QStringLiteral("txt"));
    if (chooser.exec() != QDialog::Accepted || chooser.selectedFiles().isEmpty())
        return;
    const std::string path = PathBytes(chooser.selectedFiles().first());
    if (auto saved = paradrex::SaveLog(path, text_); !saved)
        QMessageBox::critical(this, QStringLiteral("Error"),
                              Utf8Text(paradrex::SaveLogFailureMessage(saved.error())));
}
