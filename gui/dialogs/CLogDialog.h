#pragma once
// The log window that the file operations (CProcessDlg) and the preview
// (CPreviewDlg) share: a read-only log, "&Save..." and "&Close" in the
// bottom-right corner and a size grip. When the window is resized the log
// keeps its distance to all four edges and the buttons theirs to the
// bottom-right corner.
//
// The log takes the bytes the workers write (paths as the system gives
// them) and keeps them unchanged for Save...; the screen shows them decoded,
// in pieces of a bounded size with the event loop running between them, so
// that a log of 100,000 lines never holds the window up.

#include <QDialog>
#include <QTimer>

#include <string>
#include <string_view>

class QHBoxLayout;
class QPlainTextEdit;
class QPushButton;

class CLogDialog : public QDialog {
    Q_OBJECT
public:
    static constexpr int kLogId = 1011;
    static constexpr int kSaveId = 1073;
    static constexpr int kCloseId = 1074;

    QPlainTextEdit* logView() const { return log_; }
    QPushButton* saveButton() const { return save_; }
    QPushButton* closeButton() const { return close_; }

    // Every byte of the log taken so far, as it came: what Save... writes.
    const std::string& logText() const { return text_; }
    // Whether the screen shows everything taken.
    bool logShown() const { return shown_ == text_.size(); }
    // The largest piece of text put on the screen at once, in bytes.
    size_t largestPiece() const { return largestPiece_; }

    // Save...: asks for a text file (the save dialog asks before replacing
    // one) and writes the log to it with CR LF line ends; a file that cannot
    // be written is reported in an "Error" box.
    void SaveLogAs();

protected:
    // The window opens `widthDlu` x `heightDlu` dialog units large.
    CLogDialog(QWidget* parent, int widthDlu, int heightDlu);

    // Puts a button into the row, left of Save....
    void InsertButton(QPushButton* button);
    // Takes text for the log; the screen shows it within a few event-loop
    // turns.
    void AddLog(std::string_view bytes);

private:
    void ShowQueued();

    QPlainTextEdit* log_ = nullptr;
    QPushButton* save_ = nullptr;
    QPushButton* close_ = nullptr;
    QHBoxLayout* buttons_ = nullptr;
    QTimer showTimer_;
    std::string text_;
    size_t shown_ = 0; // bytes of text_ on the screen
    size_t largestPiece_ = 0;
};
