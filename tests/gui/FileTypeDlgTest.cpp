// The file type selector offscreen: its texts, the catalogue rows per tab,
// check marks across tabs, All and Clear, the type text, Cancel, icons.

#include "gui/dialogs/CFileTypeDlg.h"
#include "support/IsolatedHome.h"

#include <QAbstractItemModel>
#include <QApplication>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QMimeDatabase>
#include <QPushButton>
#include <QScrollBar>
#include <QTabBar>
#include <QTreeView>
#include <QtTest>

namespace {

template <class T> T* Control(QWidget& dlg, const char* id) {
    T* w = dlg.findChild<T*>(QString::fromLatin1(id));
    if (!w)
        qFatal("control %s missing", id);
    return w;
}

QAbstractItemModel* Model(QWidget& dlg) {
    return Control<QTreeView>(dlg, "id1054")->model();
}

QString Cell(QWidget& dlg, int row, int column) {
    return Model(dlg)->index(row, column).data().toString();
}

void Check(QWidget& dlg, int row, bool on = true) {
    Model(dlg)->setData(Model(dlg)->index(row, 0), on ? Qt::Checked : Qt::Unchecked,
                        Qt::CheckStateRole);
}

bool IsChecked(QWidget& dlg, int row) {
    return Model(dlg)->index(row, 0).data(Qt::CheckStateRole).toInt() == Qt::Checked;
}

void ShowTab(QWidget& dlg, int tab) {
    Control<QTabBar>(dlg, "id2001")->setCurrentIndex(tab);
}

} // namespace

class FileTypeDlgTest : public QObject {
    Q_OBJECT
private slots:
    void textsTabsAndColumns() {
        CFileTypeDlg dlg;
        QCOMPARE(dlg.windowTitle(), QStringLiteral("Select File Type(s)"));
        auto* tabs = Control<QTabBar>(dlg, "id2001");
        QStringList names;
        for (int i = 0; i < tabs->count(); ++i)
            names << tabs->tabText(i);
        QCOMPARE(names.join(QLatin1Char(',')),
                 QStringLiteral("Graphic,Document,Archive,Music,Movie,Miscellaneous"));
        QCOMPARE(tabs->currentIndex(), 0);
        QAbstractItemModel* model = Model(dlg);
        QCOMPARE(model->columnCount(), 3);
        QCOMPARE(model->headerData(0, Qt::Horizontal).toString(), QStringLiteral("Format"));
        QCOMPARE(model->headerData(1, Qt::Horizontal).toString(), QStringLiteral("Description"));
        QCOMPARE(model->headerData(2, Qt::Horizontal).toString(), QStringLiteral("Extension"));
        QCOMPARE(Control<QPushButton>(dlg, "id1093")->text(), QStringLiteral("&All"));
        QCOMPARE(Control<QPushButton>(dlg, "id1094")->text(), QStringLiteral("Cl&ear"));
        QCOMPARE(Control<QPushButton>(dlg, "id1")->text(), QStringLiteral("&OK"));
        QCOMPARE(Control<QPushButton>(dlg, "id2")->text(), QStringLiteral("&Cancel"));
        QVERIFY(Control<QPushButton>(dlg, "id1")->isDefault());
        auto* other = Control<QLineEdit>(dlg, "id1095");
        QCOMPARE(other->text(), QString());
        QCOMPARE(other->toolTip(), QStringLiteral("ext1 ext2 ext3"));
        bool otherLabel = false;
        for (QLabel* l : dlg.findChildren<QLabel*>())
            otherLabel |= l->text() == QStringLiteral("Other:");
        QVERIFY(otherLabel);
    }

    // No text is cut: each column is as wide as its widest cell on any tab,
    // and the shown dialog is wide enough for all columns.
    void columnsFitTheirLongestEntries() {
        CFileTypeDlg dlg;
        dlg.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dlg));
        auto* list = Control<QTreeView>(dlg, "id1054");
        QAbstractItemView* view = list; // sizeHintForColumn is public here
        int first[3] = {};
        for (int tab = 0; tab < 6; ++tab) {
            ShowTab(dlg, tab);
            const int widths[] = {list->columnWidth(0), list->columnWidth(1), list->columnWidth(2)};
            for (int column = 0; column < 3; ++column)
                QVERIFY2(widths[column] >= view->sizeHintForColumn(column),
                         qPrintable(QStringLiteral("tab %1 column %2").arg(tab).arg(column)));
            if (tab > 0) // the same widths on every tab
                QCOMPARE(list->columnWidth(1), first[1]);
            std::copy(std::begin(widths), std::end(widths), first);
        }
        QVERIFY(list->viewport()->width() >=
                list->columnWidth(0) + list->columnWidth(1) + list->columnWidth(2));
        QCOMPARE(list->horizontalScrollBar()->maximum(), 0);
    }

    void everyTabShowsItsCatalogueRowsUnchecked() {
        CFileTypeDlg dlg;
        const int rows[] = {5, 10, 3, 10, 6, 3};
        int total = 0;
        for (int tab = 0; tab < 6; ++tab) {
            ShowTab(dlg, tab);
            QCOMPARE(Model(dlg)->rowCount(), rows[tab]);
            for (int r = 0; r < rows[tab]; ++r) {
                QVERIFY(!IsChecked(dlg, r));
                QVERIFY(Model(dlg)->flags(Model(dlg)->index(r, 0)) & Qt::ItemIsUserCheckable);
            }
            total += rows[tab];
        }
        QCOMPARE(total, 37);
        ShowTab(dlg, 1);
        QCOMPARE(Cell(dlg, 2, 0), QStringLiteral("HTML"));
        QCOMPARE(Cell(dlg, 2, 1), QStringLiteral("HyperText Markup Language"));
        QCOMPARE(Cell(dlg, 2, 2), QStringLiteral("htm html"));
    }

    void checksSurviveSwitchingTabsAndMakeTheTypeText() {
        CFileTypeDlg dlg;
        dlg.open();
        Check(dlg, 3); // JPG
        Check(dlg, 4); // PNG
        ShowTab(dlg, 3);
        QVERIFY(!IsChecked(dlg, 3));
        // Space toggles the current row's check box, as a keyboard user does it.
        auto* list = Control<QTreeView>(dlg, "id1054");
        list->setFocus();
        list->setCurrentIndex(Model(dlg)->index(4, 0)); // MP4
        QTest::keyClick(list, Qt::Key_Space);
        QVERIFY(IsChecked(dlg, 4));
        ShowTab(dlg, 0);
        QVERIFY(IsChecked(dlg, 3));
        QVERIFY(IsChecked(dlg, 4));
        QVERIFY(!IsChecked(dlg, 0));
        Control<QLineEdit>(dlg, "id1095")->setText(QStringLiteral("raw"));
        Control<QPushButton>(dlg, "id1")->click();
        QVERIFY(dlg.accepted());
        QCOMPARE(dlg.result(), int(QDialog::Accepted));
        QCOMPARE(dlg.typeText(), std::string("jpg jpeg png m4a mp4 aac raw"));
        QVERIFY(dlg.checks()[3] && dlg.checks()[4] && dlg.checks()[34]);
        QCOMPARE(dlg.otherText(), std::string("raw"));
    }

    void allAndClearTouchOnlyTheShownTab() {
        CFileTypeDlg dlg;
        dlg.open();
        Check(dlg, 0); // BMP
        ShowTab(dlg, 4);
        Control<QPushButton>(dlg, "id1093")->click();
        for (int r = 0; r < 6; ++r)
            QVERIFY(IsChecked(dlg, r));
        ShowTab(dlg, 0);
        Control<QPushButton>(dlg, "id1094")->click();
        QVERIFY(!IsChecked(dlg, 0));
        ShowTab(dlg, 4);
        QVERIFY(IsChecked(dlg, 5));
        Control<QPushButton>(dlg, "id1")->click();
        QCOMPARE(dlg.typeText(), std::string("avi mov mpg mpeg ogm rm rmvb wmv asf "));
    }

    void okWithNothingAndCancel() {
        CFileTypeDlg empty;
        empty.open();
        Control<QPushButton>(empty, "id1")->click();
        QVERIFY(empty.accepted());
        QCOMPARE(empty.typeText(), std::string());

        CFileTypeDlg cancelled;
        cancelled.open();
        Check(cancelled, 1);
        Control<QPushButton>(cancelled, "id2")->click();
        QVERIFY(!cancelled.accepted());
        QCOMPARE(cancelled.result(), int(QDialog::Rejected));
    }

    void rowIconsComeFromTheProbeNamesType() {
        CFileTypeDlg dlg;
        ShowTab(dlg, 3);
        const QIcon mp4 = Model(dlg)->index(4, 0).data(Qt::DecorationRole).value<QIcon>();
        QMimeDatabase db;
        const QMimeType probe =
            db.mimeTypeForFile(QStringLiteral("aaa.mp4"), QMimeDatabase::MatchExtension);
        const QMimeType first =
            db.mimeTypeForFile(QStringLiteral("aaa.m4a"), QMimeDatabase::MatchExtension);
        QVERIFY(probe.name() != first.name());
        if (QIcon::fromTheme(probe.iconName()).isNull() &&
            QIcon::fromTheme(probe.genericIconName()).isNull()) {
            QVERIFY(mp4.isNull()); // no icon from the theme: the row has none
            QSKIP("The icon theme has no icon for aaa.mp4 on this machine");
        }
        QVERIFY(!mp4.isNull());
        QVERIFY(mp4.name() == probe.iconName() || mp4.name() == probe.genericIconName());
    }
};

PARADREX_QTEST_MAIN(FileTypeDlgTest)
#include "FileTypeDlgTest.moc"
