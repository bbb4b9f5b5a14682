#pragma once
// The commands that act on the files marked cross: Preview (Ctrl+W) and
// Delete Files Marked Cross. The delete command checks the Delete Option,
// runs the searches of Next All Deleted File and Next Name Not Match (they
// move the selection), asks CDelAskDlg, makes the panes let go of the
// result, runs the operation in CProcessDlg and then shows what is left of
// the result (nothing, after a stop: the result is discarded).

#include "fileops/DeleteOption.h"

#include <QObject>

#include <optional>

class CMainFrame;
class CResultPanes;

namespace paradrex {
class SearchState;
class _Delete_option_section;
} // namespace paradrex

class CDeleteCommands : public QObject {
    Q_OBJECT
public:
    // Sets the handlers of the two commands on `frame`; lives as the frame's
    // child. The Delete Option is read when a command runs.
    CDeleteCommands(CMainFrame& frame, const paradrex::_Delete_option_section& option,
                    paradrex::SearchState& state);

private:
    // The settings of the Delete Option; none (and an "Error" box said why)
    // when the stored option names no method.
    std::optional<paradrex::DeleteSettings> Settings() const;
    void Preview();
    void DeleteMarked();

    CMainFrame& frame_;
    CResultPanes& panes_;
    const paradrex::_Delete_option_section& option_;
    paradrex::SearchState& state_;
};
