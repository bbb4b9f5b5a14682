// The About box opened from the Help menu: what it shows from the per-user
// key store, the home page link and OK. The texts' rules are tested in
// uimodel/.

#include "GuiTestSupport.h"
#include "engine/SearchDriver.h"
#include "engine/SearchState.h"
#include "gui/dialogs/CAboutDlg.h"
#include "gui/mainwnd/CMainFrame.h"
#include "platform/KeyStore.h"
#include "settings/SettingFile.h"
#include "support/IsolatedHome.h"
#include "uimodel/CommandIds.h"

#include <QAction>
#include <QDesktopServices>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QtTest>

using namespace paradrex;
using namespace Qt::Literals::StringLiterals;
using paradrex::test::Poller;
using paradrex::test::VisibleTopLevel;

namespace {

// Records the addresses handed to the desktop.
class UrlRecorder : public QObject {
    Q_OBJECT
public:
    QList<QUrl> urls;
public slots:
    void open(const QUrl& url) { urls << url; }
};

} // namespace

class AboutDlgTest : public QObject {
    Q_OBJECT

    struct Seen {
        QString caption, files, data, link, thanksTitle;
        bool iconShown = false, okDefault = false;
    };

    // Opens the About box from the frame's Help command and reads it; OK
    // closes it.
    static Seen ReadAboutBox() {
        paradrex::test::TempWorkingDirectory cwd;
        QTemporaryDir settingsDir;
        _Setting_file settings(settingsDir.path().toStdString(),
                               {_Setting_file::Access::ReadWrite, false});
        SearchState state;
        CMainFrame frame(settings, state, [](QWidget*) { return false; });
        Seen seen;
        Poller box([&seen] {
            auto* d = VisibleTopLevel<CAboutDlg>();
            if (!d)
                return false;
            auto text = [d](const char* name) {
                return d->findChild<QLabel*>(QLatin1String(name))->text();
            };
            seen.caption = d->windowTitle();
            seen.files = text("id1104");
            seen.data = text("id1105");
            seen.link = text("homePageLink");
            seen.thanksTitle = d->findChild<QGroupBox*>(u"specialThanks"_s)->title();
            seen.iconShown = !d->findChild<QLabel*>(u"applicationIcon"_s)->pixmap().isNull();
            auto* ok = d->findChild<QPushButton*>(u"id1"_s);
            seen.okDefault = ok->isDefault() && ok->text() == u"OK"_s;
            ok->click();
            return true;
        });
        frame.Action(cmd::About)->trigger();
        return seen;
    }

private slots:
    void showsTheTotalsOfTheKeyStoreInTheLocalesGrouping() {
        platform::KeyStore store;
        QFile::remove(QString::fromStdString(store.path()));
        Seen seen = ReadAboutBox();
        QCOMPARE(seen.caption, u"About"_s);
        QCOMPARE(seen.files, u"Cumulative Compared Files: 0"_s);
        QCOMPARE(seen.data, u"Cumulative Compared Data: 0 Bytes"_s);
        QVERIFY(seen.iconShown);
        QVERIFY(seen.okDefault);
        QCOMPARE(seen.thanksTitle, u"Special thanks:"_s);

        QVERIFY(store.CreateKey(kTotalsKey));
        QVERIFY(store.Update(kTotalsKey, [](platform::KeyValues& v) {
            v[kTotalsFiles] = platform::KeyValue::Qword(4000000000);
            v[kTotalsBytes] = platform::KeyValue::Qword(10240);
            return true;
        }));
        const QLocale locale = QLocale::system();
        seen = ReadAboutBox();
        QCOMPARE(seen.files, u"Cumulative Compared Files: "_s + locale.toString(4000000000ULL));
        QCOMPARE(seen.data, u"Cumulative Compared Data: "_s + locale.toString(10240ULL) +
                                u" Bytes (10.0 KB)"_s);
    }

    void theLinkOpensTheHomePage() {
        platform::KeyStore store;
        CAboutDlg about(store);
        auto* link = about.findChild<QLabel*>(u"homePageLink"_s);
        QVERIFY(link->openExternalLinks());
        QVERIFY(link->text().contains(u"href=\""_s + CMainFrame::HomePageAddress() + u'"'));
        about.show();
        QVERIFY(QTest::qWaitForWindowExposed(&about));
        UrlRecorder recorder;
        // The home page, or the user manual when the build names none.
        const QString scheme = QUrl(CMainFrame::HomePageAddress()).scheme();
        QVERIFY(scheme == u"https"_s || scheme == u"http"_s || scheme == u"file"_s);
        QDesktopServices::setUrlHandler(scheme, &recorder, "open");
        // The link's text is centred in its place.
        QTest::mouseClick(link, Qt::LeftButton, {}, QPoint(link->width() / 2, 6));
        QDesktopServices::unsetUrlHandler(scheme);
        QCOMPARE(recorder.urls, QList<QUrl>{QUrl(CMainFrame::HomePageAddress())});
    }
};

PARADREX_QTEST_MAIN(AboutDlgTest)
#include "AboutDlgTest.moc"
