// paradrex: the desktop program.
//
// Order of start-up and shutdown: the settings are read during static
// initialisation, before main runs; main opens the error log, creates the
// per-user key for the search totals, the application and the main window,
// and runs the event loop. Closing the window stores its placement, column
// widths and grid state into the settings; after main has returned, static
// destruction writes Setting.ini if anything changed.

#include "engine/SearchDriver.h"
#include "engine/SearchState.h"
#include "gui/mainwnd/CMainFrame.h"
#include "gui/mainwnd/NewSearchDialog.h"
#include "gui/styles/IconTheme.h"
#include "platform/KeyStore.h"
#include "settings/ErrorLog.h"
#include "settings/SettingFile.h"

#include <QApplication>

static paradrex::_Setting_file& settings = paradrex::_Setting_file::Instance();

int main(int argc, char** argv) {
    paradrex::_Error_log errorLog;
    (void)paradrex::platform::KeyStore().CreateKey(paradrex::kTotalsKey);

    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Paradrex"));
    EnsureIconTheme();

    int result = 0;
    {
        CMainFrame frame(settings, paradrex::SearchState::Instance(), RunNewSearchDialog);
        frame.ShowAtStart();
        result = QApplication::exec();
    }
    return result;
}
