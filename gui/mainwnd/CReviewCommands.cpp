#include "gui/mainwnd/CReviewCommands.h"

#include "gui/QtBytes.h"
#include "gui/dialogs/CDirStatisticsDlg.h"
#include "gui/mainwnd/CMainFrame.h"
#include "gui/panes/CResultListModel.h"
#include "gui/panes/CResultPanes.h"
#include "uimodel/CommandIds.h"
#include "uimodel/FrameCommands.h"

#include <QMessageBox>

using namespace paradrex;

namespace {

// The "Set All Files to ..." commands of the three menus, in the order of
// the values.
constexpr FileState kSetAllValues[] = {FileState::Preserved, FileState::Deleted,
                                       FileState::Unsettled};
constexpr int kDirSetAll[] = {cmd::DirSetAllPreserved, cmd::DirSetAllDeleted,
                              cmd::DirSetAllUnsettled};
constexpr int kFileSetAll[] = {cmd::FileSetAllPreserved, cmd::FileSetAllDeleted,
                               cmd::FileSetAllUnsettled};
constexpr int kCloneSetAll[] = {cmd::CloneSetAllPreserved, cmd::CloneSetAllDeleted,
                                cmd::CloneSetAllUnsettled};

} // namespace

CReviewCommands::CReviewCommands(CMainFrame& frame)
    : QObject(&frame), frame_(frame), panes_(*frame.panes()) {
    RegisterMarking();
    RegisterNavigation();
    RegisterDirectoryCommands();
    connect(&panes_, &CResultPanes::stateAdvanceRequested, this,
            [this](ListKind list, int row) { AdvanceState(list, row); });
}

void CReviewCommands::RegisterMarking() {
    // Group Set is read when a command runs: the default arguments of the
    // marking functions ask the switch.
    for (FileState value : {FileState::Preserved, FileState::Deleted}) {
        const bool keep = value == FileState::Preserved;
        OnMarking(keep ? cmd::FileOnlyPreserve : cmd::FileOnlyDelete,
                  [value](const Browser& b) { return OnlySelectedFile(b, value); });
        OnMarking(
            keep ? cmd::CloneOnlyPreserve : cmd::CloneOnlyDelete, [this, value](const Browser& b) {
                return MarkSelectedClone([&](size_t row) { return OnlyCloneRow(b, row, value); });
            });
        frame_.SetCommandHandler(keep ? cmd::OnlyPreserveDirectory : cmd::OnlyDeleteDirectory,
                                 [this, value] { OnlyFilesInThisDirectory(value); });
    }
    for (size_t i = 0; i < std::size(kSetAllValues); ++i) {
        const FileState value = kSetAllValues[i];
        OnMarking(kDirSetAll[i],
                  [value](const Browser& b) { return SetDirectoryFiles(b, value, true); });
        OnMarking(kFileSetAll[i],
                  [value](const Browser& b) { return SetDirectoryFiles(b, value, false); });
        OnMarking(kCloneSetAll[i], [value](const Browser& b) { return SetAllClones(b, value); });
    }
}

void CReviewCommands::RegisterNavigation() {
    frame_.SetCommandHandler(cmd::NextGroup, [this] { Go(paradrex::NextGroup); });
    frame_.SetCommandHandler(cmd::PreviousGroup, [this] { Go(paradrex::PreviousGroup); });
    frame_.SetCommandHandler(cmd::NextDirectory, [this] { Go(paradrex::NextDirectory); });
    frame_.SetCommandHandler(cmd::PreviousDirectory, [this] { Go(paradrex::PreviousDirectory); });
    const std::pair<int, FindWhat> finds[] = {
        {cmd::NextUnsettled, FindWhat::Unsettled},
        {cmd::NextAllPreserved, FindWhat::AllPreserved},
        {cmd::NextAllDeleted, FindWhat::AllDeleted},
        {cmd::NextNameNotMatch, FindWhat::NamesDiffer},
    };
    for (const auto& [id, what] : finds)
        frame_.SetCommandHandler(id, [this, what] { Find(what); });
}

void CReviewCommands::RegisterDirectoryCommands() {
    frame_.SetCommandHandler(cmd::DirExplorer, [this] {
        if (const ResultDir* dir = panes_.SelectedDirectory())
            CResultPanes::OpenFolder(DirectoryPath(dir->name));
    });
    frame_.SetCommandHandler(cmd::OneListExplorer, [this] {
        const std::optional<int> row = panes_.SelectedRow(ListKind::OneList);
        if (!row)
            return;
        if (const FileRecord* file = panes_.listModel(ListKind::OneList)->FileAt(*row))
            CResultPanes::OpenFolder(DirectoryPath(file->directory));
    });
    frame_.SetCommandHandler(cmd::DirStatistics, [this] {
        if (const ResultDir* dir = panes_.SelectedDirectory())
            ShowStatistics(*dir);
    });
    frame_.SetCommandHandler(cmd::TotalStatistics, [this] {
        if (const ResultDir* root = panes_.browser().root())
            ShowStatistics(*root);
    });
}

void CReviewCommands::OnMarking(int id, Marking marking) {
    frame_.SetCommandHandler(
        id, [this, marking = std::move(marking)] { panes_.Apply(marking(panes_.browser())); });
}

MarkingUpdate CReviewCommands::MarkSelectedClone(
    const std::function<MarkingUpdate(size_t cloneRow)>& marking) const {
    const std::optional<int> row = panes_.SelectedRow(ListKind::CloneList);
    return row ? marking(static_cast<size_t>(*row)) : MarkingUpdate{};
}

void CReviewCommands::OnlyFilesInThisDirectory(FileState value) {
    switch (OnlyFilesScope(frame_.FocusedPane())) {
    case DirectoryScope::Recursive:
        panes_.Apply(OnlyDirectoryFiles(panes_.browser(), value, true));
        break;
    case DirectoryScope::ThisDirectory:
        panes_.Apply(OnlyDirectoryFiles(panes_.browser(), value, false));
        break;
    case DirectoryScope::None:
        break;
    }
}

void CReviewCommands::AdvanceState(ListKind list, int row) {
    if (row < 0)
        return;
    const size_t r = static_cast<size_t>(row);
    const Browser& b = panes_.browser();
    switch (list) {
    case ListKind::FileList:
        panes_.Apply(AdvanceFileRow(b, r));
        break;
    case ListKind::CloneList:
        panes_.Apply(AdvanceCloneRow(b, r));
        break;
    case ListKind::OneList:
        panes_.Apply(AdvanceOneRow(b, r));
        break;
    }
}

void CReviewCommands::Go(Move move) {
    if (const std::optional<ReviewPlace> place = move(panes_.browser()))
        panes_.ShowPlace(*place);
}

void CReviewCommands::Find(FindWhat what) {
    if (const std::optional<ReviewPlace> place = FindNext(panes_.browser(), what)) {
        panes_.ShowPlace(*place);
        return;
    }
    QMessageBox::information(&frame_, Utf8Text(kNavigationCaption),
                             Utf8Text(NothingFoundMessage(what)));
}

void CReviewCommands::ShowStatistics(const ResultDir& dir) {
    CDirStatisticsDlg dialog(dir, &frame_);
    dialog.exec();
}
