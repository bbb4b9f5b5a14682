#include "gui/mainwnd/CNameCommands.h"

#include "gui/QtBytes.h"
#include "gui/mainwnd/CMainFrame.h"
#include "gui/panes/CResultListModel.h"
#include "gui/panes/CResultPanes.h"
#include "uimodel/CommandIds.h"
#include "uimodel/FrameCommands.h"

#include <QStatusBar>

using namespace paradrex;

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
