// The New Search dialog offscreen: controls and texts, the folder tree,
// adding and removing roots with their balloons, the recent box, OK, the type
// error message, Cancel, and the recent list in the settings file.

#include "gui/dialogs/CFileTypeDlg.h"
#include "gui/dialogs/CImportDialog.h"
#include "support/IsolatedHome.h"
#include "support/TempTree.h"

#include <QAbstractItemModel>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QGroupBox>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTabBar>
#include <QTimer>
#include <QTreeView>
#include <QTreeWidget>
#include <QtTest>

#include <functional>
#include <memory>
#include <string>
#include <vector>

using paradrex::_Setting_file;
using paradrex::SearchJob;
using paradrex::test::TempTree;

namespace {

QString Q(const std::string& s) {
    return QFile::decodeName(QByteArray::fromStdString(s));
}

template <class T> T* Control(QWidget& dlg, const char* id) {
    T* w = dlg.findChild<T*>(QString::fromLatin1(id));
    if (!w)
        qFatal("control %s missing", id);
    return w;
}

QStringList Rows(QWidget& dlg) {
    QStringList rows;
    QAbstractItemModel* model = Control<QTreeView>(dlg, "id1005")->model();
    for (int r = 0; r < model->rowCount(); ++r)
        rows << model->index(r, 0).data().toString();
    return rows;
}

QStringList RecentBoxItems(QWidget& dlg) {
    QStringList items;
    auto* box = Control<QComboBox>(dlg, "id1002");
    for (int i = 0; i < box->count(); ++i)
        items << box->itemText(i);
    return items;
}

// Types into the path box as a user would (replacing what it holds); keys go
// to the box, which has the focus and passes them on to its edit field.
void TypePath(QWidget& dlg, const QString& text) {
    auto* box = Control<QComboBox>(dlg, "id1002");
    box->lineEdit()->selectAll();
    QTest::keyClick(box, Qt::Key_Backspace);
    QTest::keyClicks(box, text);
}

void Add(QWidget& dlg, const std::string& path) {
    TypePath(dlg, Q(path));
    Control<QPushButton>(dlg, "id1004")->click();
}

// Runs `act` on the first visible top-level widget of type T once it shows
// up (polled, so it works for dialogs run by exec()).
template <class T> void WhenShown(std::function<void(T*)> act) {
    auto* timer = new QTimer;
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, [timer, act] {
        for (QWidget* w : QApplication::topLevelWidgets()) {
            if (auto* t = qobject_cast<T*>(w); t && t->isVisible()) {
                timer->stop();
                timer->deleteLater();
                act(t);
                return;
            }
        }
    });
    timer->start();
}

} // namespace

class ImportDialogTest : public QObject {
    Q_OBJECT

    std::unique_ptr<TempTree> tree_;
    std::string P(const char* rel) const { return tree_->path(rel); }

    // A settings store that is never written unless a test saves it itself.
    static _Setting_file Settings() { return _Setting_file::FromText(""); }

private slots:
    void init() {
        tree_ = std::make_unique<TempTree>();
        for (const char* d : {"data/old", "data/new", "dat", "A-B", "A/X", "other"})
            tree_->createDir(d);
        tree_->createFile("file.txt", "x");
    }
    void cleanup() { tree_.reset(); }

    void controlsCarryTheirIdsAndTexts() {
        SearchJob job;
        auto settings = Settings();
        CImportDialog dlg(nullptr, job, settings);
        QCOMPARE(dlg.windowTitle(), QStringLiteral("New Search"));
        QCOMPARE(Control<QPushButton>(dlg, "id1004")->text(), QStringLiteral("-> &A"));
        QCOMPARE(Control<QPushButton>(dlg, "id1006")->text(), QStringLiteral("<- &R"));
        QCOMPARE(Control<QPushButton>(dlg, "id1096")->text(), QStringLiteral("&Select..."));
        QCOMPARE(Control<QPushButton>(dlg, "id1")->text(), QStringLiteral("&OK"));
        QCOMPARE(Control<QPushButton>(dlg, "id2")->text(), QStringLiteral("&Cancel"));
        QVERIFY(Control<QPushButton>(dlg, "id1")->isDefault());
        const std::pair<const char*, const char*> checks[] = {{"id1120", "more than"},
                                                              {"id1121", "less than"},
                                                              {"id1108", "R&ead-only"},
                                                              {"id1109", "&Hidden"},
                                                              {"id1110", "S&ystem"}};
        for (auto [id, text] : checks) {
            QCOMPARE(Control<QCheckBox>(dlg, id)->text(), QString::fromLatin1(text));
            QVERIFY(!Control<QCheckBox>(dlg, id)->isChecked());
        }
        for (const char* id : {"id1118", "id1119"}) {
            auto* edit = Control<QLineEdit>(dlg, id);
            QCOMPARE(edit->text(), QStringLiteral("0"));
            QTest::keyClicks(edit, QStringLiteral("1x-2"));
            QCOMPARE(edit->text(), QStringLiteral("012")); // digits only
        }
        for (const char* id : {"id1116", "id1117"}) {
            auto* box = Control<QComboBox>(dlg, id);
            QCOMPARE(box->count(), 3);
            QCOMPARE(box->itemText(0), QStringLiteral("Bytes"));
            QCOMPARE(box->itemText(1), QStringLiteral("KB"));
            QCOMPARE(box->itemText(2), QStringLiteral("MB"));
            QCOMPARE(box->currentIndex(), 0);
        }
        QCOMPARE(Control<QLineEdit>(dlg, "id1097")->text(), QString());
        QCOMPARE(Control<QLineEdit>(dlg, "id1097")->toolTip(), QStringLiteral("ext1 ext2 ext3"));
        QVERIFY(Control<QComboBox>(dlg, "id1002")->isEditable());
        QCOMPARE(Control<QTreeView>(dlg, "id1005")->model()->headerData(0, Qt::Horizontal),
                 QVariant(QStringLiteral("Name")));
        QStringList labels;
        for (QLabel* l : dlg.findChildren<QLabel*>())
            labels << l->text();
        for (const char* text : {"Recent List:", "File Size:", "Attributes:", "Type of file:",
                                 "Fill like \"jpg bmp gif\""})
            QVERIFY2(labels.contains(QString::fromLatin1(text)), text);
        QCOMPARE(dlg.findChild<QGroupBox*>()->title(), QStringLiteral("Select search path"));
        QVERIFY(!dlg.accepted());
    }

    void folderTreeStartsAtHomeAndFillsBranchesOnDemand() {
        const std::string home = qgetenv("HOME").toStdString();
        for (const char* d : {"Zeta/inner", "alpha", ".secret"})
            QDir().mkpath(Q(home + "/" + d));
        QFile plain(Q(home + "/plain.txt"));
        QVERIFY(plain.open(QIODevice::WriteOnly));

        SearchJob job;
        auto settings = Settings();
        CImportDialog dlg(nullptr, job, settings);
        auto* tree = Control<QTreeWidget>(dlg, "id1122");
        QVERIFY(tree->topLevelItemCount() >= 2);
        QTreeWidgetItem* first = tree->topLevelItem(0);
        QCOMPARE(first->text(0), Q(home));
        QCOMPARE(tree->topLevelItem(1)->text(0), QStringLiteral("/"));
        QVERIFY(first->isExpanded());
        QCOMPARE(tree->currentItem(), first);
        QCOMPARE(Control<QComboBox>(dlg, "id1002")->currentText(), Q(home));

        QStringList children;
        for (int i = 0; i < first->childCount(); ++i)
            children << first->child(i)->text(0);
        QVERIFY(children.contains(QStringLiteral(".secret")));
        QVERIFY(!children.contains(QStringLiteral("plain.txt")));
        QVERIFY(children.indexOf(QStringLiteral("alpha")) <
                children.indexOf(QStringLiteral("Zeta")));

        // A branch is filled when first opened; selecting puts the path into
        // the path box, and "-> &A" adds it.
        QTreeWidgetItem* zeta = first->child(int(children.indexOf(QStringLiteral("Zeta"))));
        QCOMPARE(zeta->childCount(), 0);
        tree->expandItem(zeta);
        QCOMPARE(zeta->childCount(), 1);
        tree->collapseItem(zeta);
        tree->expandItem(zeta);
        QCOMPARE(zeta->childCount(), 1);
        tree->setCurrentItem(zeta->child(0));
        QCOMPARE(Control<QComboBox>(dlg, "id1002")->currentText(), Q(home + "/Zeta/inner"));
        Control<QPushButton>(dlg, "id1004")->click();
        QCOMPARE(Rows(dlg), QStringList{Q(home + "/Zeta/inner")});
    }

    void addingCoveringAndReplacingRootsWithBalloons() {
        SearchJob job;
        job.roots.Add("/stale/root/of/an/earlier/search");
        auto settings = Settings();
        CImportDialog dlg(nullptr, job, settings);
        dlg.open();
        QVERIFY(Rows(dlg).isEmpty()); // cleared on opening

        Add(dlg, P("data/old"));
        Add(dlg, P("data/new"));
        QCOMPARE(Rows(dlg), (QStringList{Q(P("data/new")), Q(P("data/old"))}));
        QCOMPARE(dlg.balloonText(), QString());

        Add(dlg, P("data/old/"));
        QCOMPARE(dlg.balloonText(), QStringLiteral("\"%1\" had been added!").arg(Q(P("data/old"))));
        QCOMPARE(Rows(dlg).size(), 2);
        // Editing the path box hides the balloon.
        TypePath(dlg, QStringLiteral("x"));
        QCOMPARE(dlg.balloonText(), QString());

        Add(dlg, "  " + P("data") + " ");
        QCOMPARE(Rows(dlg), QStringList{Q(P("data"))});

        Add(dlg, P("no such folder"));
        QCOMPARE(dlg.balloonText(), QStringLiteral("Not a valid directory!"));
        QVERIFY(dlg.findChild<QLabel*>(QStringLiteral("balloon"))->isVisible());
        // Moving the mouse over the dialog hides the balloon.
        QTest::mouseMove(&dlg, QPoint(2, dlg.height() - 2));
        QCOMPARE(dlg.balloonText(), QString());
        QCOMPARE(job.roots.ToVector(), std::vector<std::string>{P("data")});
    }

    void removingByButtonAndDeleteKey() {
        SearchJob job;
        auto settings = Settings();
        settings.defaultSearchDirectory.dirs = {P("other"), P("dat"), P("A-B"), P("A/X")};
        CImportDialog dlg(nullptr, job, settings);
        dlg.open();
        auto* list = Control<QTreeView>(dlg, "id1005");
        QCOMPARE(Rows(dlg), (QStringList{Q(P("A/X")), Q(P("A-B")), Q(P("dat")), Q(P("other"))}));
        auto select = [&](std::initializer_list<int> rows) {
            list->selectionModel()->clearSelection();
            for (int r : rows)
                list->selectionModel()->select(list->model()->index(r, 0),
                                               QItemSelectionModel::Select);
        };
        select({1, 3});
        Control<QPushButton>(dlg, "id1006")->click();
        QCOMPARE(Rows(dlg), (QStringList{Q(P("A/X")), Q(P("dat"))}));
        select({0});
        list->setFocus();
        QTest::keyClick(list, Qt::Key_Delete);
        QCOMPARE(Rows(dlg), QStringList{Q(P("dat"))});
        QCOMPARE(job.roots.ToVector(), std::vector<std::string>{P("dat")});
    }

    void activatingARowOpensTheFolderAndKeepsTheDialog() {
        SearchJob job;
        auto settings = Settings();
        settings.defaultSearchDirectory.dirs = {P("other")};
        CImportDialog dlg(nullptr, job, settings);
        std::vector<std::string> opened;
        dlg.setFolderOpener([&](const std::string& p) { opened.push_back(p); });
        dlg.open();
        auto* list = Control<QTreeView>(dlg, "id1005");
        list->setCurrentIndex(list->model()->index(0, 0));
        QTest::keyClick(list, Qt::Key_Return);
        QCOMPARE(opened, std::vector<std::string>{P("other")});
        QVERIFY(dlg.isVisible());
        QVERIFY(!dlg.accepted());
    }

    void okWritesEveryJobField() {
        SearchJob job;
        auto settings = Settings();
        settings.defaultSearchDirectory.dirs = {P("data")};
        CImportDialog dlg(nullptr, job, settings);
        dlg.open();
        Control<QCheckBox>(dlg, "id1120")->setChecked(true);
        auto* min = Control<QLineEdit>(dlg, "id1118");
        min->setText(QStringLiteral("2"));
        Control<QComboBox>(dlg, "id1116")->setCurrentIndex(1);
        Control<QCheckBox>(dlg, "id1121")->setChecked(true);
        Control<QLineEdit>(dlg, "id1119")->setText(QStringLiteral("3"));
        Control<QComboBox>(dlg, "id1117")->setCurrentIndex(2);
        Control<QCheckBox>(dlg, "id1109")->setChecked(true);
        Control<QCheckBox>(dlg, "id1110")->setChecked(true);
        Control<QLineEdit>(dlg, "id1097")->setText(QStringLiteral("JPG  Bmp gif "));
        Control<QPushButton>(dlg, "id1")->click();
        QVERIFY(dlg.accepted());
        QCOMPARE(dlg.result(), int(QDialog::Accepted));
        QVERIFY(!dlg.isVisible());
        QCOMPARE(job.typeList, (std::vector<std::string>{"bmp", "gif", "jpg"}));
        QVERIFY(job.minSizeEnabled);
        QCOMPARE(job.minSize, 2048u);
        QVERIFY(job.maxSizeEnabled);
        QCOMPARE(job.maxSize, 3u << 20);
        QCOMPARE(job.includeReadOnly, 0);
        QCOMPARE(job.includeHidden, 1);
        QCOMPARE(job.includeSystem, 1);
        QCOMPARE(job.roots.ToVector(), std::vector<std::string>{P("data")});
    }

    void okWithoutRootsAddsThePathBox() {
        SearchJob job;
        auto settings = Settings();
        {
            CImportDialog dlg(nullptr, job, settings);
            dlg.open();
            TypePath(dlg, Q(P("other")));
            // Enter in the path box is OK.
            QTest::keyClick(Control<QComboBox>(dlg, "id1002"), Qt::Key_Return);
            QVERIFY(dlg.accepted());
            QCOMPARE(job.roots.ToVector(), std::vector<std::string>{P("other")});
        }
        QCOMPARE(settings.recentDirectory.dirs, std::vector<std::string>{P("other")});

        CImportDialog dlg(nullptr, job, settings);
        dlg.open();
        TypePath(dlg, Q(P("not there")));
        Control<QPushButton>(dlg, "id1")->click();
        QVERIFY(dlg.accepted());
        QVERIFY(job.roots.empty());
        QCOMPARE(dlg.balloonText(), QString());
    }

    void refusedTypeTextShowsTheErrorAndStaysOpen() {
        SearchJob job;
        job.typeList = {"keep"};
        auto settings = Settings();
        settings.defaultSearchDirectory.dirs = {P("data")};
        CImportDialog dlg(nullptr, job, settings);
        dlg.open();
        Control<QCheckBox>(dlg, "id1108")->setChecked(true);
        Control<QLineEdit>(dlg, "id1097")->setText(QStringLiteral("jpg;bmp"));
        QString caption, text;
        QMessageBox::Icon icon = QMessageBox::NoIcon;
        QWidget* owner = nullptr;
        WhenShown<QMessageBox>([&](QMessageBox* box) {
            caption = box->windowTitle();
            text = box->text();
            icon = box->icon();
            owner = box->parentWidget();
            box->button(QMessageBox::Ok)->click();
        });
        Control<QPushButton>(dlg, "id1")->click();
        QCOMPARE(caption, QStringLiteral("Error"));
        QCOMPARE(text, QStringLiteral(
                           "File type input is incorrect, please input like \"ext1 ext2 ext3\" !"));
        QCOMPARE(icon, QMessageBox::Critical);
        QCOMPARE(owner, &dlg);
        QVERIFY(dlg.isVisible());
        QVERIFY(!dlg.accepted());
        QCOMPARE(job.typeList, std::vector<std::string>{"keep"});
        QCOMPARE(job.includeReadOnly, 0);
        dlg.reject();
    }

    void cancelKeepsRootsAndRecentAdditions() {
        SearchJob job;
        auto settings = Settings();
        settings.recentDirectory.dirs = {"/earlier"};
        CImportDialog dlg(nullptr, job, settings);
        dlg.open();
        Add(dlg, P("data"));
        Add(dlg, P("other"));
        Control<QCheckBox>(dlg, "id1109")->setChecked(true);
        Control<QPushButton>(dlg, "id2")->click();
        QVERIFY(!dlg.accepted());
        QCOMPARE(dlg.result(), int(QDialog::Rejected));
        QCOMPARE(job.includeHidden, 0);
        QCOMPARE(job.roots.size(), 2u);
        QCOMPARE(settings.recentDirectory.dirs,
                 (std::vector<std::string>{P("other"), P("data"), "/earlier"}));
    }

    void recentBoxListsByteOrderAndHandlesChoices() {
        SearchJob job;
        auto settings = Settings();
        settings.recentDirectory.dirs = {P("other"), P("gone"), P("A-B"), P("data")};
        CImportDialog dlg(nullptr, job, settings);
        dlg.open();
        auto* box = Control<QComboBox>(dlg, "id1002");
        QCOMPARE(RecentBoxItems(dlg),
                 (QStringList{Q(P("A-B")), Q(P("data")), Q(P("gone")), Q(P("other"))}));

        Add(dlg, P("data/old")); // becomes the most recent, but is covered by nothing yet
        Add(dlg, P("data"));     // replaces it; only moves to the front of the recent list
        QCOMPARE(RecentBoxItems(dlg).size(), 5);
        QCOMPARE(settings.recentDirectory.dirs.size(), 4u); // stored only on closing

        // Choosing an existing entry adds it without reordering the list.
        box->setCurrentIndex(-1);
        emit box->activated(int(RecentBoxItems(dlg).indexOf(Q(P("other")))));
        QCOMPARE(Rows(dlg), (QStringList{Q(P("data")), Q(P("other"))}));
        // A covered one shows the balloon; a vanished one is dropped with it.
        emit box->activated(int(RecentBoxItems(dlg).indexOf(Q(P("data/old")))));
        QCOMPARE(dlg.balloonText(), QStringLiteral("\"%1\" had been added!").arg(Q(P("data"))));
        emit box->activated(int(RecentBoxItems(dlg).indexOf(Q(P("gone")))));
        QCOMPARE(dlg.balloonText(), QStringLiteral("Not a valid directory!"));
        QVERIFY(!RecentBoxItems(dlg).contains(Q(P("gone"))));
        dlg.reject();
        QCOMPARE(settings.recentDirectory.dirs,
                 (std::vector<std::string>{P("data"), P("data/old"), P("other"), P("A-B")}));
    }

    // The path box holding the text of a recent entry is not a choice of that
    // entry: leaving the box adds nothing and shows no balloon; a pick from
    // the opened list does add it.
    void leavingThePathBoxTakesNoRecentEntry() {
        SearchJob job;
        auto settings = Settings();
        settings.recentDirectory.dirs = {P("other"), P("dat")};
        CImportDialog dlg(nullptr, job, settings);
        dlg.show();
        dlg.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&dlg));
        auto* box = Control<QComboBox>(dlg, "id1002");
        auto* tree = Control<QTreeWidget>(dlg, "id1122");
        box->setFocus();
        TypePath(dlg, Q(P("dat")));
        tree->setFocus();
        QVERIFY(!box->hasFocus());
        QVERIFY(Rows(dlg).isEmpty());
        QCOMPARE(dlg.balloonText(), QString());

        Control<QPushButton>(dlg, "id1004")->click();
        QCOMPARE(Rows(dlg), QStringList{Q(P("dat"))});
        // Already chosen: still no "had been added!" balloon on leaving.
        box->setFocus();
        TypePath(dlg, Q(P("dat")));
        Control<QCheckBox>(dlg, "id1109")->setFocus();
        QCOMPARE(dlg.balloonText(), QString());
        QCOMPARE(Rows(dlg), QStringList{Q(P("dat"))});

        box->setFocus();
        box->showPopup();
        QAbstractItemView* popup = box->view();
        QTRY_VERIFY(popup->isVisible());
        popup->setCurrentIndex(
            popup->model()->index(int(RecentBoxItems(dlg).indexOf(Q(P("other")))), 0));
        QTest::keyClick(popup, Qt::Key_Return);
        QCOMPARE(Rows(dlg), (QStringList{Q(P("dat")), Q(P("other"))}));
        dlg.reject();
    }

    void arrowKeysStepThroughRecentEntriesWithoutTakingThem() {
        SearchJob job;
        auto settings = Settings();
        settings.recentDirectory.dirs = {P("other"), P("dat")};
        CImportDialog dlg(nullptr, job, settings);
        dlg.open();
        auto* box = Control<QComboBox>(dlg, "id1002");
        QTest::keyClick(box, Qt::Key_Down);
        QCOMPARE(box->currentText(), Q(P("dat")));
        QTest::keyClick(box, Qt::Key_Down);
        QTest::keyClick(box, Qt::Key_Down);
        QCOMPARE(box->currentText(), Q(P("other")));
        QVERIFY(Rows(dlg).isEmpty());
        QTest::keyClick(box, Qt::Key_Up);
        QCOMPARE(box->currentText(), Q(P("dat")));
        QVERIFY(Rows(dlg).isEmpty());
        QTest::keyClick(box, Qt::Key_Return); // OK takes the path box
        QVERIFY(dlg.accepted());
        QCOMPARE(job.roots.ToVector(), std::vector<std::string>{P("dat")});
        QCOMPARE(settings.recentDirectory.dirs, (std::vector<std::string>{P("dat"), P("other")}));
    }

    void recentListSurvivesSaveAndReload() {
        TempTree folder;
        const _Setting_file::Options options{_Setting_file::Access::ReadWrite, false};
        std::vector<std::string> stored;
        for (int i = 0; i < 12; ++i)
            stored.push_back("/stored" + std::to_string(i));
        {
            _Setting_file settings(folder.root(), options);
            settings.recentDirectory.dirs = stored;
            QVERIFY(settings.Save());
        }
        {
            _Setting_file settings(folder.root(), options);
            SearchJob job;
            CImportDialog dlg(nullptr, job, settings);
            dlg.open();
            QCOMPARE(RecentBoxItems(dlg).size(), 10); // trimmed to its first ten
            Add(dlg, P("dat"));
            dlg.reject();
            QVERIFY(settings.Save());
        }
        _Setting_file reread(folder.root(), options);
        std::vector<std::string> expected{P("dat")};
        expected.insert(expected.end(), stored.begin(), stored.begin() + 9);
        QCOMPARE(reread.recentDirectory.dirs, expected);
    }

    void selectFillsTheTypeBoxFromTheSelector() {
        SearchJob job;
        auto settings = Settings();
        CImportDialog dlg(nullptr, job, settings);
        dlg.open();
        auto* typeBox = Control<QLineEdit>(dlg, "id1097");
        typeBox->setText(QStringLiteral("old"));
        WhenShown<CFileTypeDlg>([](CFileTypeDlg* sel) {
            auto* model = Control<QTreeView>(*sel, "id1054")->model();
            model->setData(model->index(3, 0), Qt::Checked, Qt::CheckStateRole); // JPG
            model->setData(model->index(4, 0), Qt::Checked, Qt::CheckStateRole); // PNG
            Control<QTabBar>(*sel, "id2001")->setCurrentIndex(3);
            model->setData(model->index(4, 0), Qt::Checked, Qt::CheckStateRole); // MP4
            Control<QLineEdit>(*sel, "id1095")->setText(QStringLiteral("raw"));
            Control<QPushButton>(*sel, "id1")->click();
        });
        Control<QPushButton>(dlg, "id1096")->click();
        QCOMPARE(typeBox->text(), QStringLiteral("jpg jpeg png m4a mp4 aac raw"));

        WhenShown<CFileTypeDlg>([](CFileTypeDlg* sel) {
            Control<QPushButton>(*sel, "id1093")->click();
            Control<QPushButton>(*sel, "id2")->click();
        });
        Control<QPushButton>(dlg, "id1096")->click();
        QCOMPARE(typeBox->text(), QStringLiteral("jpg jpeg png m4a mp4 aac raw"));

        // The selector starts empty every time: OK with nothing empties the box.
        WhenShown<CFileTypeDlg>(
            [](CFileTypeDlg* sel) { Control<QPushButton>(*sel, "id1")->click(); });
        Control<QPushButton>(dlg, "id1096")->click();
        QCOMPARE(typeBox->text(), QString());
        dlg.reject();
    }

    void accessKeysDriveTheDialog() {
        SearchJob job;
        auto settings = Settings();
        CImportDialog dlg(nullptr, job, settings);
        dlg.show();
        dlg.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&dlg));
        auto* pathBox = Control<QComboBox>(dlg, "id1002");
        pathBox->setFocus();
        QCOMPARE(QApplication::focusWidget(), pathBox);
        TypePath(dlg, Q(P("other")));
        // A button's access key clicks it after its short press animation.
        QTest::keyClick(pathBox, Qt::Key_A, Qt::AltModifier);
        QTRY_COMPARE(Rows(dlg), QStringList{Q(P("other"))});
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_H, Qt::AltModifier);
        QTRY_VERIFY(Control<QCheckBox>(dlg, "id1109")->isChecked());
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
        QVERIFY(!dlg.isVisible());
        QVERIFY(!dlg.accepted());
    }
};

PARADREX_QTEST_MAIN(ImportDialogTest)
#include "ImportDialogTest.moc"
