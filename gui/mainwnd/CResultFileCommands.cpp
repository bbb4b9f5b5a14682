#include "gui/mainwnd/CResultFileCommands.h"

#include "engine/SearchState.h"
#include "fileops/ResultCheck.h"
#include "fileops/ResultFile.h"
#include "gui/QtBytes.h"
#include "gui/dialogs/CRunDialog.h"
#include "gui/mainwnd/CMainFrame.h"
#include "gui/panes/CResultPanes.h"
#include "platform/ErrorRecord.h"
#include "platform/FileSystem.h"
#include "uimodel/CommandIds.h"

#include <QAction>
#include <QFileDialog>
#include <QMenu>
#include <QMessageBox>
#include <QStatusBar>

using namespace paradrex;

CResultFileCommands::CResultFileCommands(CMainFrame& frame, SearchState& state)
    : QObject(&frame), frame_(frame), state_(state) {
    frame_.SetCommandHandler(cmd::SaveResult, [this] {
        if (const std::string path = ChooseFile(&frame_, true); !path.empty())
            Save(path);
    });
    frame_.SetCommandHandler(cmd::OpenResult, [this] {
        if (const std::string path = ChooseFile(&frame_, false); !path.empty())
            Open(path);
    });
    frame_.SetCommandHandler(cmd::OpenLastResult, [this] { Open(LastResultPath()); });
    frame_.SetCommandHandler(cmd::ReverifyResult, [this] { Reverify(); });
    connect(&frame_, &CMainFrame::searchEnded, this, &CResultFileCommands::TakeFingerprint);
    connect(&frame_, &CMainFrame::searchStarting, this, &CResultFileCommands::KeepIfChanged);
    connect(&frame_, &CMainFrame::closing, this, &CResultFileCommands::KeepIfChanged);
    // Another instance may have kept a result since: looked at again each
    // time the menu opens.
    for (QObject* o : frame_.Action(cmd::OpenLastResult)->associatedObjects())
        if (auto* menu = qobject_cast<QMenu*>(o))
            connect(menu, &QMenu::aboutToShow, this, &CResultFileCommands::UpdateLastResultCommand);
    UpdateLastResultCommand();
    TakeFingerprint();
}

std::string CResultFileCommands::ChooseFile(QWidget* parent, bool save) {
    QFileDialog chooser(parent,
                        save ? QStringLiteral("Save Result") : QStringLiteral("Open Result"));
    chooser.setObjectName(QStringLiteral("resultFileChooser"));
    chooser.setNameFilter(QStringLiteral("Paradrex results (*.pdxr)"));
    chooser.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    chooser.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    if (save)
        chooser.setDefaultSuffix(QStringLiteral("pdxr"));
    if (chooser.exec() != QDialog::Accepted || chooser.selectedFiles().isEmpty())
        return {};
    return PathBytes(chooser.selectedFiles().constFirst());
}

bool CResultFileCommands::Save(const std::string& path) {
    const std::string file = WithResultSuffix(path);
    // The chooser asked about replacing the name it was given, not about the
    // one with the suffix added.
    if (file != path && platform::StatusOf(file) &&
        QMessageBox::question(&frame_, QStringLiteral("Confirm"),
                              QStringLiteral("%1 already exists.\nDo you want to replace it?")
                                  .arg(DisplayText(file))) != QMessageBox::Yes)
        return false;
    if (platform::Result<void> saved = SaveResultFile(state_, file); !saved) {
        QMessageBox::critical(&frame_, QStringLiteral("Error"),
                              DisplayText(SaveResultFailureMessage(file, saved.error())));
        return false;
    }
    TakeFingerprint();
    UpdateLastResultCommand();
    frame_.statusBar()->showMessage(
        QStringLiteral("The result was saved to %1.").arg(DisplayText(file)));
    return true;
}

void CResultFileCommands::Open(const std::string& path) {
    // Unsaved decisions are kept first, unless the file to open is the one
    // they would be kept in.
    if (!IsLastResultFile(path))
        KeepIfChanged();
    // The panes point into the result the file replaces.
    frame_.panes()->Clear();
    const OpenOutcome outcome = OpenResultFile(state_, path);
    // The opened result, or the current one again when the file was refused.
    frame_.ShowResult();
    if (!outcome.ok()) {
        QMessageBox::critical(&frame_, QStringLiteral("Error"),
                              DisplayText(outcome.error->Message()));
        return;
    }
    TakeFingerprint();
    ReportDropped(outcome.dropped);
}

void CResultFileCommands::Reverify() {
    frame_.panes()->Clear();
    DropReport report;
    {
        // The progress dialog's stages: nothing to scan, then the comparison
        // (shown as waiting) until done.
        state_.counters.validated.store(-1, std::memory_order_relaxed);
        CRunDialog run(&frame_, state_, frame_.workerStarter(), [this, &report] {
            state_.scanFinished = true;
            report = paradrex::Reverify(state_);
            state_.done = true;
        });
        run.exec();
    }
    frame_.ShowResult();
    ReportDropped(report);
}

void CResultFileCommands::ReportDropped(const DropReport& dropped) {
    for (const _Error_record& r : dropped.ErrorRecords())
        r.Write();
    if (const std::string summary = dropped.Summary(); !summary.empty())
        QMessageBox::information(&frame_, QStringLiteral("Message"), DisplayText(summary));
}

void CResultFileCommands::TakeFingerprint() {
    fingerprint_ = ReviewFingerprint(state_);
}

void CResultFileCommands::KeepIfChanged() {
    if (!state_.resultRoot || ReviewFingerprint(state_) == fingerprint_)
        return;
    if (platform::Result<void> kept = KeepLastResult(state_); !kept) {
        _Error_record(SaveResultFailureMessage(LastResultPath(), kept.error()), kept.error().code)
            .Write();
        return;
    }
    TakeFingerprint();
    UpdateLastResultCommand();
}

void CResultFileCommands::UpdateLastResultCommand() {
    bool kept = false;
    if (const std::string path = LastResultPath(); !path.empty())
        if (const platform::Result<platform::FileStatus> status = platform::StatusOf(path))
            kept = status->IsRegular();
    frame_.SetLastResultKept(kept);
}
