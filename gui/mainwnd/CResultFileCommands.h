#pragma once
// Saving the result with its review and reopening it (Jobs > Save Result...,
// Open Result..., Open Last Result), re-verifying it (Tools > Re-verify
// Result...), and keeping it in last.pdxr when the window closes with
// decisions that were not saved. fileops/ResultFile.h does the work; this
// class asks for the file names, hands the views over and shows the answers.

#include <QObject>

#include <cstdint>
#include <string>

class CMainFrame;
class QWidget;

namespace paradrex {
class SearchState;
struct DropReport;
} // namespace paradrex

class CResultFileCommands : public QObject {
    Q_OBJECT
public:
    // Sets the handlers of the four commands on `frame`; lives as its child.
    CResultFileCommands(CMainFrame& frame, paradrex::SearchState& state);

    // The file chooser of "Save Result..." (save true) and "Open Result...";
    // the path bytes, empty when cancelled.
    static std::string ChooseFile(QWidget* parent, bool save);

    // Saves to `path` (".pdxr" added when missing, asking before that name
    // is replaced); false when nothing was saved.
    bool Save(const std::string& path);
    // Opens `path` in place of the current result and shows it as after a
    // search.
    void Open(const std::string& path);

private:
    void Reverify();
    // Shows what a check took out: one "Message" box, the list in error.log.
    void ReportDropped(const paradrex::DropReport& dropped);
    // The review as it is now counts as kept (after a search, open or save).
    void TakeFingerprint();
    // Before the review goes (the window closes, a new search or another
    // result replaces it): keeps a result whose review changed since in
    // last.pdxr, without a question; a failure goes to error.log.
    void KeepIfChanged();
    void UpdateLastResultCommand();

    CMainFrame& frame_;
    paradrex::SearchState& state_;
    uint64_t fingerprint_ = 0;
};
