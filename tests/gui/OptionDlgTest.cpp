// The options sheet offscreen: it opens on "Default Search Directory", a
// page that refuses to be left keeps the tree's selection and the sheet open,
// the pages' controls reach their page rules, Cancel stores nothing, and
// through the main window Ctrl+O opens the sheet and its OK takes effect at
// once. The page rules themselves are tested in uimodel/.

#include "GuiTestSupport.h"
#include "engine/ResultBuilder.h"
#include "engine/SearchState.h"
#include "gui/QtBytes.h"
#include "gui/dialogs/COptionDlg.h"
#include "gui/dialogs/CTitleBarWinFrame.h"
#include "gui/dialogs/CTreeSelCtrl.h"
#include "gui/mainwnd/CMainFrame.h"
#include "gui/panes/CCustomDrawStandardListView.h"
#include "gui/panes/CCustomDrawVistaListView.h"
#include "gui/panes/CResultListModel.h"
#include "gui/panes/CResultPanes.h"
#include "gui/panes/CTypeIconCache.h"
#include "review/GroupSetSwitch.h"
#include "settings/SettingFile.h"
#include "support/IsolatedHome.h"
#include "support/TempTree.h"
#include "uimodel/CommandIds.h"

#include <QCheckBox>
#include <QColorDialog>
#include <QDesktopServices>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTreeView>
#include <QtTest>

#include <functional>
#include <memory>

using namespace paradrex;
using namespace Qt::Literals::StringLiterals;
using paradrex::test::Poller;
using paradrex::test::TempTree;
using paradrex::test::VisibleTopLevel;

// Records the addresses handed to the desktop.
class UrlRecorder : public QObject {
    Q_OBJECT
public:
    QList<QUrl> urls;
public slots:
    void open(const QUrl& url) { urls << url; }
};

namespace {

template <class T> T* Control(QWidget* page, int id) {
    T* w = page ? page->findChild<T*>(u"id%1"_s.arg(id)) : nullptr;
    if (!w)
        qFatal("control %d missing", id);
    return w;
}

QString CurrentTreeText(COptionDlg& dlg) {
    QTreeWidgetItem* item = dlg.pageTree()->currentItem();
    return item ? item->text(0) : QString();
}

QStringList SelectedTreeTexts(COptionDlg& dlg) {
    QStringList texts;
    for (QTreeWidgetItem* item : dlg.pageTree()->selectedItems())
        texts << item->text(0);
    return texts;
}

// Chooses a page as the user does, by clicking its tree item.
void ClickPage(COptionDlg& dlg, size_t page) {
    HV::CTreeSelCtrl* tree = dlg.pageTree();
    const QRect r = tree->visualItemRect(tree->topLevelItem(int(page)));
    QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, r.center());
}

// Answers the next message box, keeping its caption and text.
std::unique_ptr<Poller> AnswerMessageBox(QString& caption, QString& text) {
    return std::make_unique<Poller>([&caption, &text] {
        auto* box = VisibleTopLevel<QMessageBox>();
        if (!box)
            return false;
        caption = box->windowTitle();
        text = box->text();
        box->button(QMessageBox::Ok)->click();
        return true;
    });
}

void TypeInto(QLineEdit* edit, const QString& text) {
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_Backspace);
    QTest::keyClicks(edit, text);
}

} // namespace

class OptionDlgTest : public QObject {
    Q_OBJECT

    std::unique_ptr<CTypeIconCache> types_;
    paradrex::test::TempWorkingDirectory cwd_;

    // Settings that are never written.
    static _Setting_file Settings() { return _Setting_file::FromText(""); }

private slots:
    void initTestCase() { types_ = std::make_unique<CTypeIconCache>(); }

    void opensOnDefaultSearchDirectory() {
        auto settings = Settings();
        COptionDlg dlg(nullptr, settings, *types_);
        dlg.open();
        QVERIFY(QTest::qWaitForWindowExposed(&dlg));
        QCOMPARE(dlg.windowTitle(), u"Option"_s);
        QStringList items;
        for (int i = 0; i < dlg.pageTree()->topLevelItemCount(); ++i)
            items << dlg.pageTree()->topLevelItem(i)->text(0);
        QCOMPARE(items,
                 (QStringList{u"Default Search Directory"_s, u"Default Preserve Directory"_s,
                              u"Default Delete Directory"_s, u"Delete Option"_s, u"Color Scheme"_s,
                              u"Custom Interface"_s, u"File Context Menu"_s}));
        QCOMPARE(SelectedTreeTexts(dlg), QStringList{u"Default Search Directory"_s});
        QCOMPARE(dlg.titleFrame()->title(), u"Default Search Directory"_s);
        QVERIFY(dlg.Page(0)->isVisible());
        for (size_t p = 1; p < OptionSheet::kPageCount; ++p)
            QVERIFY(!dlg.Page(p));
        QVERIFY(dlg.pageTree()->hasFocus());
        // The tree left of the page area, the buttons under both at the right.
        auto* ok = dlg.findChild<QPushButton*>(u"id1"_s);
        auto* cancel = dlg.findChild<QPushButton*>(u"id2"_s);
        QCOMPARE(ok->text(), u"&OK"_s);
        QVERIFY(ok->isDefault());
        QCOMPARE(cancel->text(), u"&Cancel"_s);
        const QRect tree = dlg.pageTree()->geometry(), frame = dlg.titleFrame()->geometry();
        QCOMPARE(tree.topLeft(), QPoint(6, 6));
        QVERIFY(tree.width() >= 160);
        QCOMPARE(frame.left(), tree.right() + 1 + 6);
        QCOMPARE(frame.height(), tree.height());
        QCOMPARE(cancel->geometry().right(), dlg.width() - 1 - 6);
        QCOMPARE(ok->y(), tree.bottom() + 1 + 6);
        QVERIFY(ok->geometry().right() < cancel->x());
        // The page lies in the frame under the strip, whole.
        QWidget* page = dlg.Page(0);
        QCOMPARE(page->parentWidget(), dlg.titleFrame());
        QCOMPARE(page->pos(), dlg.titleFrame()->PageOrigin());
        QVERIFY(dlg.titleFrame()->rect().contains(page->geometry()));
    }

    // Each page that can refuse: the tree keeps its selection for the mouse
    // and the keyboard, OK keeps the sheet open, and once the page is put
    // right the tree moves on.
    void aRefusedPageKeepsTheTreeSelection_data() {
        QTest::addColumn<int>("page");
        QTest::addColumn<QString>("message");
        QTest::addRow("delete option")
            << int(OptionSheet::kDeleteOption) << u"You shall input a valid directory!"_s;
        QTest::addRow("file context menu")
            << int(OptionSheet::kFileContextMenu) << u"Line 3: You shall input a menu item name!"_s;
    }
    void aRefusedPageKeepsTheTreeSelection() {
        QFETCH(int, page);
        QFETCH(QString, message);
        auto settings = Settings();
        COptionDlg dlg(nullptr, settings, *types_);
        dlg.open();
        QVERIFY(QTest::qWaitForWindowExposed(&dlg));
        ClickPage(dlg, size_t(page));
        QWidget* shown = dlg.Page(size_t(page));
        QVERIFY(shown && shown->isVisible());
        // Put the page in a state it refuses to leave.
        std::function<void()> putRight;
        if (page == OptionSheet::kDeleteOption) {
            Control<QRadioButton>(shown, 1052)->click();
            putRight = [shown] { Control<QRadioButton>(shown, 1051)->click(); };
        } else {
            Control<QCheckBox>(shown, 1107)->click();
            putRight = [shown] { Control<QCheckBox>(shown, 1107)->click(); };
        }
        const QString title = dlg.pageTree()->topLevelItem(page)->text(0);
        for (int attempt = 0; attempt < 3; ++attempt) {
            QString caption, text;
            auto answer = AnswerMessageBox(caption, text);
            if (attempt == 0)
                ClickPage(dlg, 0);
            else if (attempt == 1)
                QTest::keyClick(dlg.pageTree(), Qt::Key_Up);
            else
                dlg.findChild<QPushButton*>(u"id1"_s)->click();
            QTRY_VERIFY(answer->done());
            QCOMPARE(caption, u"Error"_s);
            QCOMPARE(text, message);
            QCOMPARE(CurrentTreeText(dlg), title);
            QCOMPARE(SelectedTreeTexts(dlg), QStringList{title});
            QCOMPARE(dlg.titleFrame()->title(), title);
            QVERIFY(shown->isVisible());
            QVERIFY(dlg.isVisible());
        }
        QVERIFY(!dlg.Page(2));
        putRight();
        ClickPage(dlg, 2);
        QCOMPARE(CurrentTreeText(dlg), u"Default Delete Directory"_s);
        QVERIFY(dlg.Page(2)->isVisible());
        QVERIFY(!shown->isVisible());
    }

    // Typing and the buttons reach the page: the balloon, the rows in path
    // order, the Delete key, Enter and the double click opening the folder,
    // and OK storing the rows.
    void directoryPageAddsRemovesAndOpens() {
        TempTree tree;
        const std::string data = tree.createDir("data"), old = tree.createDir("data/old");
        const std::string other = tree.createDir("other");
        auto settings = Settings();
        COptionDlg dlg(nullptr, settings, *types_);
        dlg.open();
        QVERIFY(QTest::qWaitForWindowExposed(&dlg));
        QWidget* page = dlg.Page(0);
        auto* edit = Control<QLineEdit>(page, 1002);
        auto* add = Control<QPushButton>(page, 1004);
        auto* list = Control<QTreeView>(page, 1005);
        auto* balloon = page->findChild<QLabel*>(u"balloon"_s);
        auto rows = [list] {
            QStringList texts;
            for (int r = 0; r < list->model()->rowCount(); ++r)
                texts << list->model()->index(r, 0).data().toString();
            return texts;
        };

        add->click();
        QTRY_VERIFY(balloon->isVisible());
        QCOMPARE(balloon->text(), u"Not a valid directory!"_s);
        QTest::keyClicks(edit, u"x"_s);
        QVERIFY(!balloon->isVisible());
        for (const std::string& dir : {other, old}) {
            TypeInto(edit, DisplayText(dir));
            add->click();
        }
        QCOMPARE(rows(), (QStringList{DisplayText(old), DisplayText(other)}));
        TypeInto(edit, DisplayText(old + "/"));
        add->click();
        QTRY_VERIFY(balloon->isVisible());
        QCOMPARE(balloon->text(), u"\"%1\" had been selected!"_s.arg(DisplayText(old)));
        TypeInto(edit, DisplayText(data));
        add->click();
        QCOMPARE(rows(), (QStringList{DisplayText(data), DisplayText(other)}));

        UrlRecorder recorder;
        QDesktopServices::setUrlHandler(u"file"_s, &recorder, "open");
        const QModelIndex first = list->model()->index(0, 0);
        list->setCurrentIndex(first);
        QTest::keyClick(list, Qt::Key_Return);
        // What a real double click delivers: press, release, double click,
        // release.
        const QPoint at = list->visualRect(first).center();
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at);
        QTest::mouseRelease(list->viewport(), Qt::LeftButton, {}, at);
        QDesktopServices::unsetUrlHandler(u"file"_s);
        QCOMPARE(recorder.urls, (QList<QUrl>{FileUrl(data), FileUrl(data)}));
        QVERIFY(dlg.isVisible()); // Enter opened the row, not OK

        list->setCurrentIndex(list->model()->index(1, 0));
        QTest::keyClick(list, Qt::Key_Delete);
        QCOMPARE(rows(), QStringList{DisplayText(data)});
        dlg.findChild<QPushButton*>(u"id1"_s)->click();
        QCOMPARE(dlg.result(), int(QDialog::Accepted));
        QCOMPARE(settings.defaultSearchDirectory.dirs, std::vector<std::string>{data});
    }

    // Every page shown and edited, then Cancel: nothing reaches the
    // settings. Every page shown and left alone, then OK: nothing changed.
    void cancelStoresNothingAndLookingChangesNothing() {
        TempTree tree;
        const std::string dir = tree.createDir("keep");
        for (bool edit : {true, false}) {
            auto settings = Settings();
            settings.defaultPreserveDirectory.dirs = {dir};
            settings.deleteOption.MoveDirectory = std::string("/no/such\xff/dir");
            settings.fileContextMenu.rows[0].Visible = 1;
            settings.fileContextMenu.rows[0].Menu = std::string("Open as &Text");
            settings.fileContextMenu.rows[0].Command = std::string("/bin/sh -c \xff");
            const std::string before = settings.Text();
            COptionDlg dlg(nullptr, settings, *types_);
            dlg.open();
            QVERIFY(QTest::qWaitForWindowExposed(&dlg));
            // Each page is shown and, on the first round, edited while shown.
            const std::function<void(QWidget*)> edits[OptionSheet::kPageCount] = {
                [&](QWidget* p) {
                    QTest::keyClicks(Control<QLineEdit>(p, 1002), DisplayText(dir));
                    Control<QPushButton>(p, 1004)->click();
                },
                [](QWidget* p) {
                    Control<QTreeView>(p, 1005)->selectAll();
                    Control<QPushButton>(p, 1006)->click();
                },
                [](QWidget*) {},
                [](QWidget* p) { Control<QRadioButton>(p, 1051)->click(); },
                [](QWidget*) {},
                [](QWidget* p) {
                    Control<QRadioButton>(p, 1050)->click();
                    Control<QRadioButton>(p, 1052)->click();
                },
                [](QWidget* p) {
                    QTest::keyClicks(Control<QLineEdit>(p, 1075), u"x"_s);
                    Control<QCheckBox>(p, 1105)->click();
                },
            };
            for (size_t p = 0; p < OptionSheet::kPageCount; ++p) {
                ClickPage(dlg, p);
                QCOMPARE(CurrentTreeText(dlg), Utf8Text(OptionSheet::kPageTitles[p]));
                if (edit)
                    edits[p](dlg.Page(p));
            }
            if (edit) {
                dlg.findChild<QPushButton*>(u"id2"_s)->click();
                QCOMPARE(dlg.result(), int(QDialog::Rejected));
            } else {
                dlg.findChild<QPushButton*>(u"id1"_s)->click();
                QCOMPARE(dlg.result(), int(QDialog::Accepted));
            }
            QCOMPARE(settings.Text(), before);
            QCOMPARE(dlg.changes(), OptionSheet::Changes{});
        }
    }

    // The colour dialog's choice shows in the swatch and the preview rows at
    // once; the preview is painted by the lists' own drawing in the style
    // the "Custom Interface" page shows.
    void colourPageShowsTheChoiceInTheListStyle() {
        auto settings = Settings();
        COptionDlg dlg(nullptr, settings, *types_);
        dlg.open();
        QVERIFY(QTest::qWaitForWindowExposed(&dlg));
        ClickPage(dlg, OptionSheet::kColorScheme);
        QWidget* page = dlg.Page(OptionSheet::kColorScheme);
        auto* preview = Control<QTreeView>(page, 1054);
        QVERIFY(qobject_cast<HV::CCustomDrawVistaListView*>(preview->itemDelegate()));
        QCOMPARE(preview->model()->rowCount(), 8);

        const QColor chosen(0x12, 0x34, 0x56), custom(0x65, 0x43, 0x21);
        Poller pick([&] {
            auto* colours = VisibleTopLevel<QColorDialog>();
            if (!colours)
                return false;
            QColorDialog::setCustomColor(3, custom);
            colours->setCurrentColor(chosen);
            colours->accept();
            return true;
        });
        Control<QPushButton>(page, 1049)->click(); // "Duplicate File Rows"
        QVERIFY(pick.done());
        QCOMPARE(Control<QLabel>(page, 1056)->palette().color(QPalette::Window), chosen);
        for (int row : {4, 5})
            QCOMPARE(
                preview->model()->index(row, 1).data(Qt::BackgroundRole).value<QBrush>().color(),
                chosen);
        QCOMPARE(OptionColorPage::CustomColours()[3], HV::FromQColor(custom));

        ClickPage(dlg, OptionSheet::kCustomInterface);
        Control<QRadioButton>(dlg.Page(OptionSheet::kCustomInterface), 1052)->click();
        ClickPage(dlg, OptionSheet::kColorScheme);
        QVERIFY(qobject_cast<HV::CCustomDrawStandardListView*>(preview->itemDelegate()));
        dlg.findChild<QPushButton*>(u"id1"_s)->click();
        QCOMPARE(settings.color.clrTextBlock.value, HV::FromQColor(chosen));
        QVERIFY(dlg.changes().colours && dlg.changes().listStyle);
    }

    // A click on a style replaces its group's two pictures at once and
    // leaves the other group's alone.
    void interfacePicturesChangeAtOnce() {
        auto settings = Settings();
        COptionDlg dlg(nullptr, settings, *types_);
        dlg.open();
        QVERIFY(QTest::qWaitForWindowExposed(&dlg));
        ClickPage(dlg, OptionSheet::kCustomInterface);
        QWidget* page = dlg.Page(OptionSheet::kCustomInterface);
        auto pictures = [page] {
            QList<qint64> keys;
            for (int id = 1111; id <= 1114; ++id)
                keys << Control<QLabel>(page, id)->pixmap().cacheKey();
            return keys;
        };
        const QList<qint64> before = pictures();
        Control<QRadioButton>(page, 1052)->click();
        const QList<qint64> listChanged = pictures();
        QCOMPARE(listChanged.mid(0, 2), before.mid(0, 2));
        QVERIFY(listChanged[2] != before[2] && listChanged[3] != before[3]);
        Control<QRadioButton>(page, 1050)->click();
        const QList<qint64> menuChanged = pictures();
        QVERIFY(menuChanged[0] != listChanged[0] && menuChanged[1] != listChanged[1]);
        QCOMPARE(menuChanged.mid(2), listChanged.mid(2));
        QVERIFY(!Control<QLabel>(page, 1113)->pixmap().isNull());
    }

    // The choosers behind "&Browse..." and "...": a cancelled folder chooser
    // empties the move directory, a chosen folder or program lands in its
    // edit and reaches the settings on OK.
    void choosersFillTheirEdits() {
        TempTree tree;
        const std::string target = tree.createDir("target");
        auto settings = Settings();
        settings.deleteOption.MoveDirectory = std::string("/old/target");
        COptionDlg dlg(nullptr, settings, *types_);
        dlg.open();
        QVERIFY(QTest::qWaitForWindowExposed(&dlg));
        ClickPage(dlg, OptionSheet::kDeleteOption);
        QWidget* page = dlg.Page(OptionSheet::kDeleteOption);
        auto* edit = Control<QLineEdit>(page, 1002);
        QCOMPARE(edit->text(), u"/old/target"_s);
        auto choose = [](std::function<void(QFileDialog*)> act) {
            return std::make_unique<Poller>([act] {
                auto* chooser = VisibleTopLevel<QFileDialog>();
                if (chooser)
                    act(chooser);
                return chooser != nullptr;
            });
        };
        auto cancel = choose([](QFileDialog* d) {
            QCOMPARE(d->windowTitle(), u"Choose a folder"_s);
            d->reject();
        });
        Control<QPushButton>(page, 1003)->click();
        QVERIFY(cancel->done());
        QCOMPARE(edit->text(), QString());
        auto pick = choose([&](QFileDialog* d) {
            d->setDirectory(DisplayText(target));
            static_cast<QDialog*>(d)->accept(); // as its Choose or Open button
        });
        Control<QPushButton>(page, 1003)->click();
        QVERIFY(pick->done());
        QCOMPARE(edit->text(), DisplayText(target));
        Control<QRadioButton>(page, 1052)->click();

        ClickPage(dlg, OptionSheet::kFileContextMenu);
        page = dlg.Page(OptionSheet::kFileContextMenu);
        auto program = choose([](QFileDialog* d) {
            // Typed into its file name box.
            d->findChild<QLineEdit*>(u"fileNameEdit"_s)->setText(u"/bin/sh"_s);
            static_cast<QDialog*>(d)->accept(); // as its Choose or Open button
        });
        Control<QPushButton>(page, 1099)->click(); // row 5
        QVERIFY(program->done());
        QCOMPARE(Control<QLineEdit>(page, 1089)->text(), u"/bin/sh"_s);
        dlg.findChild<QPushButton*>(u"id1"_s)->click();
        QCOMPARE(dlg.result(), int(QDialog::Accepted));
        QCOMPARE(settings.deleteOption.DeleteOption.value, 2);
        QCOMPARE(settings.deleteOption.MoveDirectory.value, target);
        QCOMPARE(settings.fileContextMenu.rows[4].Command.value, std::string("/bin/sh"));
        QVERIFY(dlg.changes().fileContextMenu);
    }

    // Through the window: Ctrl+O opens the sheet; after OK the lists are
    // drawn in the chosen style and the file list in the chosen colours at
    // once, its selected row still selected; after Cancel nothing changes.
    void ctrlOOpensTheSheetAndOkTakesEffectAtOnce() {
        QTemporaryDir settingsDir;
        _Setting_file settings(settingsDir.path().toStdString(),
                               _Setting_file::Options{_Setting_file::Access::ReadWrite, false});
        SearchState state;
        const NameRecord* t = NameRecord::Create(state.namePool, nullptr, "/t");
        const NameRecord* a = NameRecord::Create(state.namePool, t, "a");
        const NameRecord* b = NameRecord::Create(state.namePool, t, "b");
        for (const char* name : {"p", "q"})
            StoreGroup(state, {FileRecord::Create(state.recordPool, a, name, 10, 0),
                               FileRecord::Create(state.recordPool, b, name, 10, 0)});
        BuildResultTree(state);
        GroupSetSwitch::Instance().Set(true);
        CMainFrame f(settings, state, [](QWidget*) { return false; });
        f.ShowAtStart();
        QApplication::setActiveWindow(&f);
        QVERIFY(QTest::qWaitForWindowActive(&f));
        f.ShowResult();
        f.panes()->SelectFileRow(1);
        QTRY_VERIFY(f.fileList()->hasFocus());

        // The file list's first block is a clone set: "Classified File Rows".
        CResultListModel* files = f.panes()->listModel(ListKind::FileList);
        QCOMPARE(files->RowColourAt(0), std::optional<Colour>(settings.color.clrTextBk2.value));
        const QColor chosen(0x12, 0x34, 0x56);
        struct Step {
            int listRadio; // on "Custom Interface"
            bool ok;
            bool vista; // the lists' drawing afterwards
        };
        const Step steps[] = {{1052, true, false}, {1053, false, false}, {1053, true, true}};
        for (const Step& step : steps) {
            bool busy = false; // the step runs nested dialogs
            Poller sheet([&] {
                auto* dlg = VisibleTopLevel<COptionDlg>();
                if (busy || !dlg)
                    return false;
                busy = true;
                ClickPage(*dlg, OptionSheet::kCustomInterface);
                Control<QRadioButton>(dlg->Page(OptionSheet::kCustomInterface), step.listRadio)
                    ->click();
                ClickPage(*dlg, OptionSheet::kColorScheme);
                Poller pick([&] {
                    auto* colours = VisibleTopLevel<QColorDialog>();
                    if (!colours)
                        return false;
                    colours->setCurrentColor(step.ok ? chosen : QColor(Qt::red));
                    colours->accept();
                    return true;
                });
                Control<QPushButton>(dlg->Page(OptionSheet::kColorScheme), 1048)->click();
                dlg->findChild<QPushButton*>(step.ok ? u"id1"_s : u"id2"_s)->click();
                return true;
            });
            // The window has the keyboard back after the sheet before.
            QTRY_VERIFY(f.isActiveWindow());
            QTest::keyClick(f.fileList(), Qt::Key_O, Qt::ControlModifier);
            QVERIFY(sheet.done());
            for (QTreeView* v : {f.fileList(), f.cloneList(), f.oneList()}) {
                QCOMPARE(qobject_cast<HV::CCustomDrawVistaListView*>(v->itemDelegate()) != nullptr,
                         step.vista);
                QCOMPARE(qobject_cast<HV::CCustomDrawStandardListView*>(v->itemDelegate()) !=
                             nullptr,
                         !step.vista);
            }
            QCOMPARE(settings.interfaceStyle.ListViewStyle.value, step.vista ? 1 : 0);
            QCOMPARE(files->RowColourAt(0), std::optional<Colour>(HV::FromQColor(chosen)));
            QCOMPARE(f.panes()->SelectedFileRow(), std::optional<int>(1));
        }
    }
};

PARADREX_QTEST_MAIN(OptionDlgTest)
#include "OptionDlgTest.moc"
