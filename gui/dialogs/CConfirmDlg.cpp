#include "gui/dialogs/CConfirmDlg.h"

#include "gui/QtBytes.h"

#include <QCloseEvent>
#include <QPlainTextEdit>
#include <QPushButton>

CConfirmDlg::CConfirmDlg(QWidget* parent, std::string_view question)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint), units_(font()) {
    setWindowTitle(QStringLiteral("Confirm"));
    setModal(true);
    box_ = new QPlainTextEdit(this);
    box_->setObjectName(QStringLiteral("id%1").arg(kQuestionId));
    box_->setReadOnly(true);
    box_->setUndoRedoEnabled(false);
    box_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    box_->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    // A long path breaks anywhere rather than running out of the box.
    box_->setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    box_->setPlainText(DisplayText(question));
}

QString CConfirmDlg::question() const {
    return box_->toPlainText();
}

QPushButton* CConfirmDlg::Button(int id) const {
    return findChild<QPushButton*>(QStringLiteral("id%1").arg(id));
}

QPushButton* CConfirmDlg::AddButton(int id, const QString& text, QRect place) {
    auto* b = new QPushButton(text, this);
    b->setObjectName(QStringLiteral("id%1").arg(id));
    b->setGeometry(place);
    b->setAutoDefault(false);
    return b;
}

void CConfirmDlg::closeEvent(QCloseEvent* event) {
    event->ignore();
}
