#include "gui/mainwnd/CNameCommands.h"

#include "gui/QtBytes.h"
#include "gui/dialogs/CProcessDlg.h"
#include "gui/mainwnd/CMainFrame.h"
#include "gui/panes/CResultListModel.h"
#include "gui/panes/CResultPanes.h"
#include "uimodel/CommandIds.h"
#include "uimodel/FrameCommands.h"

#include <QStatusBar>

using namespace paradrex;

namespace {

// The directory commands: the operation, and whether the directories below
// are renamed too.
struct DirectoryCommand {
    int id;
    NameOperation operation;
    bool recursive;
};
constexpr DirectoryCommand kDirectoryCommands[] = {
    {cmd::FileRenameInDirectory, NameOperation::RenameBase, false},
    {cmd::DirRename, NameOperation::RenameBase, true},
    {cmd::FileRestoreNamesInDirectory, NameOperation::RestoreNames, false},
    {cmd::DirRestoreNames, NameOperation::RestoreNames, true},
};

} // namespace

CNameCommands::CNameCommands(CMainFrame& frame, BlockPool& recordPool)
    : QObject(&frame), frame_(frame), panes_(*frame.panes()), recordPool_(recordPool) {
    connect(&panes_, &CResultPanes::nameEdited, this,
            [this](ListKind list, int row, const QString& text) { OnNameEdited(list, row, text); });
    frame_.SetCommandHandler(cmd::Rename, [this] {
        if (const std::optional<Target> t = TargetOf(cmd::Rename))
            panes_.EditName(t->list);
    });
    for (int id : {cmd::FileRestoreName, cmd::CloneRestoreName, cmd::OneListRestoreName})
        frame_.SetCommandHandler(id, [this, id] {
            if (const std::optional<Target> t = TargetOf(id))
                Show(RestoreRow(panes_.browser(), t->list, t->row));
        });
    frame_.SetCommandHandler(cmd::CopyName, [this] {
        if (const std::optional<Target> t = TargetOf(cmd::CopyName))
            panes_.copiedNames().Copy(t->list, t->row);
    });
    frame_.SetCommandHandler(cmd::PasteName, [this] {
        if (const std::optional<Target> t = TargetOf(cmd::PasteName))
            Show(PasteName(panes_.browser(), t->list, t->row, panes_.copiedNames().row(t->list)));
    });
    frame_.SetCommandHandler(cmd::ClonePasteNameGroup, [this] {
        if (const std::optional<Target> t = TargetOf(cmd::ClonePasteNameGroup))
            Show(PasteNameGroup(panes_.browser(), t->row,
                                panes_.copiedNames().row(ListKind::CloneList)));
    });
    for (const DirectoryCommand& c : kDirectoryCommands)
        frame_.SetCommandHandler(c.id, [this, c] { RunOnDirectory(c.operation, c.recursive); });
}

std::optional<CNameCommands::Target> CNameCommands::TargetOf(int command) const {
    const std::optional<ListKind> list = NameCommandList(command, frame_.FocusedPane());
    if (!list)
        return std::nullopt;
    return Target{*list, panes_.SelectedRow(*list).value_or(-1)};
}

void CNameCommands::OnNameEdited(ListKind list, int row, const QString& text) {
    const FileRecord* file = panes_.listModel(list)->FileAt(row);
    // An edit left as it was is no rename: the shown text of a name that is
    // not UTF-8 would encode to other bytes than the file's.
    if (!file || text == DisplayText(file->name))
        return;
    Show(RenameRow(panes_.browser(), list, row, PathBytes(text), recordPool_));
}

void CNameCommands::Show(const NameCommandAnswer& answer) {
    if (!answer.statusMessage.empty())
        frame_.statusBar()->showMessage(DisplayText(answer.statusMessage));
    const std::pair<ListKind, RowRange> rows[] = {{ListKind::FileList, answer.fileRows},
                                                  {ListKind::CloneList, answer.cloneRows},
                                                  {ListKind::OneList, answer.oneRows}};
    for (const auto& [list, range] : rows)
        panes_.RepaintRows(list, {range.first, range.count});
}

void CNameCommands::RunOnDirectory(NameOperation operation, bool recursive) {
    ResultDir* const dir = panes_.SelectedDirectory();
    if (!dir)
        return;
    // The worker changes the records' names while this thread runs the log
    // window: no list may read them meanwhile (the one list is hidden in the
    // layout these commands come from).
    panes_.ShowFiles(nullptr);
    {
        CProcessDlg log(
            &frame_, Utf8Text(NameOperationCaption(operation, recursive)),
            [&](const OperationCallbacks& callbacks) {
                const NameOperationOutcome outcome =
                    operation == NameOperation::RenameBase
                        ? RunRenameBase(*dir, recursive, recordPool_, callbacks)
                        : RunRestoreNames(*dir, recursive, callbacks);
                return outcome.stopped;
            },
            frame_.workerStarter());
        log.exec();
    }
    panes_.ShowFiles(dir);
}
