#pragma once
// The name commands of the main window: Rename (F2) and the end of an
// in-place edit, Restore Origin Name in each list, Copy Name, Paste Name and
// Paste Name (Group). Each handler asks fileops/NameCommands.h to rename and
// shows its answer: the status-bar message and the rows whose names changed.
// Typed names become file-name bytes as the lists decode them (QtBytes.h).
// Rename Base on This Directory and Restore Origin Name in This Directory
// (each also recursive) run fileops/NameOperations.h in the log window
// (CProcessDlg); afterwards the file list shows the directory anew with its
// first row selected.

#include "fileops/NameCommands.h"
#include "fileops/NameOperations.h"

#include <QObject>

#include <optional>

class QString;
class CMainFrame;
class CResultPanes;

namespace paradrex {
class BlockPool;
}

class CNameCommands : public QObject {
    Q_OBJECT
public:
    // Sets the handlers of the name commands on `frame`; new names go into
    // `recordPool`, the pool of the result's records. Lives as the frame's
    // child.
    CNameCommands(CMainFrame& frame, paradrex::BlockPool& recordPool);

private:
    void OnNameEdited(paradrex::ListKind list, int row, const QString& text);
    // The selected row of the list a name command acts on (-1: none), and
    // that list; nothing when the command does not act where the focus is.
    struct Target {
        paradrex::ListKind list;
        int row;
    };
    std::optional<Target> TargetOf(int command) const;
    void Show(const paradrex::NameCommandAnswer& answer);
    void RunOnDirectory(paradrex::NameOperation operation, bool recursive);

    CMainFrame& frame_;
    CResultPanes& panes_;
    paradrex::BlockPool& recordPool_;
};
