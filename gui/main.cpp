// paradrex: the desktop program.
//
// Order of start-up and shutdown: main reads its options (where Setting.ini
// and error.log live, see settings/StartOptions.h), then the settings, then
// opens the error log, creates the per-user key for the search totals, the
// application and the main window, and runs the event loop. Closing the
// window stores its placement, column widths and grid state into the
// settings; after main has returned, static destruction writes Setting.ini if
// anything changed.

#include "engine/SearchDriver.h"
#include "engine/SearchState.h"
#include "gui/mainwnd/CMainFrame.h"
#include "gui/mainwnd/NewSearchDialog.h"
#include "gui/styles/IconTheme.h"
#include "platform/KeyStore.h"
#include "platform/trash/FreedesktopTrash.h"
#include "settings/ErrorLog.h"
#include "settings/SettingFile.h"
#include "settings/StartOptions.h"

#include <QApplication>

#include <cstdio>
#include <span>

int main(int argc, char** argv) {
    const paradrex::StartOptions options =
        paradrex::ParseStartOptions(std::span<const char* const>(argv + 1, argc > 0 ? argc - 1 : 0),
                                    paradrex::UserSettingsFolder());
    std::string failure = options.error;
    if (failure.empty())
        failure = paradrex::PrepareSettingsFolder(options.settingsDir);
    if (!failure.empty()) {
        std::fprintf(stderr, "%s\n%s\n", failure.c_str(), paradrex::kStartUsage);
        return 2;
    }
    // Settings first; they are written back after everything else is gone.
    paradrex::_Setting_file::SetInstanceDirectory(options.settingsDir);
    paradrex::_Setting_file& settings = paradrex::_Setting_file::Instance();
    paradrex::_Error_log errorLog(options.settingsDir);
    (void)paradrex::platform::KeyStore().CreateKey(paradrex::kTotalsKey);

    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Paradrex"));
    QGuiApplication::setDesktopFileName(QStringLiteral("paradrex"));
    EnsureIconTheme();
    // Trashing goes to the freedesktop.org trash, before any worker runs.
    paradrex::platform::UseFreedesktopTrash();

    int result = 0;
    {
        CMainFrame frame(settings, paradrex::SearchState::Instance(), RunNewSearchDialog);
        frame.ShowAtStart();
        result = QApplication::exec();
    }
    return result;
}
