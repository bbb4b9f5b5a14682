#pragma once
// The base of the two "Confirm" questions of the delete operation
// (CDelAskDlg, CDelEmptyDirDlg): a title bar without a close box, the
// question in a read-only box, and buttons that are the only way out:
// Escape and the window manager's close do nothing.

#include "gui/dialogs/DialogUnits.h"

#include <QDialog>

#include <string_view>

class QPlainTextEdit;
class QPushButton;

class CConfirmDlg : public QDialog {
    Q_OBJECT
public:
    static constexpr int kQuestionId = 1076;

    QString question() const;
    // The button with a dialog id, for tests.
    QPushButton* Button(int id) const;

    void reject() override {}

protected:
    // The question may hold path bytes; the derived dialog places the box
    // and its own controls in dialog units.
    CConfirmDlg(QWidget* parent, std::string_view question);

    DialogUnits& units() { return units_; }
    QPlainTextEdit* questionBox() const { return box_; }
    QPushButton* AddButton(int id, const QString& text, QRect place);

    void closeEvent(QCloseEvent* event) override;

private:
    DialogUnits units_;
    QPlainTextEdit* box_ = nullptr;
};
