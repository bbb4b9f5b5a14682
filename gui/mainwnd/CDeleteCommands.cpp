#include "gui/mainwnd/CDeleteCommands.h"

#include "engine/SearchState.h"
#include "fileops/DeleteWorker.h"
#include "gui/QtBytes.h"
#include "gui/dialogs/CDelAskDlg.h"
#include "gui/dialogs/CPreviewDlg.h"
#include "gui/dialogs/CProcessDlg.h"
#include "gui/mainwnd/CMainFrame.h"
#include "gui/panes/CResultPanes.h"
#include "review/Navigation.h"
#include "settings/SettingKeys.h"
#include "uimodel/CommandIds.h"

#include <QMessageBox>

using namespace paradrex;

CDeleteCommands::CDeleteCommands(CMainFrame& frame, const _Delete_option_section& option,
                                 SearchState& state)
    : QObject(&frame), frame_(frame), panes_(*frame.panes()), option_(option), state_(state) {
    frame_.SetCommandHandler(cmd::Preview, [this] { Preview(); });
    frame_.SetCommandHandler(cmd::DeleteMarked, [this] { DeleteMarked(); });
}

std::optional<DeleteSettings> CDeleteCommands::Settings() const {
    std::optional<DeleteSettings> settings =
        DeleteSettingsOf(option_.DeleteOption.value, option_.MoveDirectory.value);
    if (!settings)
        QMessageBox::critical(&frame_, Utf8Text(kDeleteOptionErrorCaption),
                              Utf8Text(UnknownDeleteOptionMessage(option_.DeleteOption.value)));
    return settings;
}

void CDeleteCommands::Preview() {
    if (!state_.resultRoot)
        return;
    const std::optional<DeleteSettings> settings = Settings();
    if (!settings)
        return;
    CPreviewDlg preview(&frame_, state_.resultRoot.get(), *settings);
    preview.exec();
}

void CDeleteCommands::DeleteMarked() {
    if (!state_.resultRoot)
        return;
    const std::optional<DeleteSettings> settings = Settings();
    if (!settings)
        return;
    // Each search leaves the selection at the group it found, so the window
    // shows the last one while the user decides.
    auto findAndShow = [this](FindWhat what) {
        const std::optional<ReviewPlace> place = FindNext(panes_.browser(), what);
        if (place)
            panes_.ShowPlace(*place);
        return place.has_value();
    };
    const bool allDeleted = findAndShow(FindWhat::AllDeleted);
    const bool namesDiffer = findAndShow(FindWhat::NamesDiffer);
    CDelAskDlg ask(&frame_, DeleteQuestion(*settings), ConfirmBoxesFor(allDeleted, namesDiffer));
    if (ask.exec() != QDialog::Accepted)
        return;
    const DeleteChoices choices = ask.choices();

    // The worker prunes the result and may discard it: nothing may point
    // into it while it runs.
    ResultDir* const selectedDir = panes_.SelectedDirectory();
    const std::optional<int> selectedRow = panes_.SelectedFileRow();
    panes_.Clear();
    DeleteOutcome outcome;
    CProcessDlg process(
        &frame_, QStringLiteral("Deleting Files"),
        [&](const OperationCallbacks& callbacks) {
            outcome = RunDeleteOperation(state_, *settings, choices, callbacks);
            return outcome.stopped;
        },
        frame_.workerStarter());
    process.exec();

    if (!process.started()) {
        // Nothing ran: the result comes back as it was, at the same place.
        frame_.ShowResult();
        if (selectedDir && selectedRow)
            panes_.ShowPlace({selectedDir, static_cast<size_t>(*selectedRow)});
        else if (selectedDir)
            panes_.SelectDirectory(selectedDir);
        return;
    }
    // Groups the stopped worker never reached were not processed: the
    // result no longer says what is on disk.
    if (outcome.stopped)
        state_.ClearAll();
    frame_.ShowResult();
}
