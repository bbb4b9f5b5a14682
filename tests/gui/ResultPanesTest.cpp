// The result panes after a real search of a temporary tree: folder tree,
// file list, clone list and one list, their selection rules, colours, state
// images, activation, Tab order and list styles.

#include "engine/SearchDriver.h"
#include "engine/SearchState.h"
#include "gui/panes/CCustomDrawStandardListView.h"
#include "gui/panes/CCustomDrawVistaListView.h"
#include "gui/panes/CCustomDrawVistaTreeView.h"
#include "gui/panes/CFolderTreeModel.h"
#include "gui/panes/CResultListModel.h"
#include "gui/panes/CResultPanes.h"
#include "gui/panes/CStateImages.h"
#include "gui/panes/CTypeIconCache.h"
#include "review/ListCells.h"
#include "review/ResultTreeOrder.h"
#include "support/IsolatedHome.h"
#include "support/TempTree.h"

#include <QAbstractItemModelTester>
#include <QApplication>
#include <QDesktopServices>
#include <QHeaderView>
#include <QMimeDatabase>
#include <QProxyStyle>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <QTreeView>
#include <QUrl>
#include <QVBoxLayout>

#include <memory>
#include <string>
#include <vector>

using namespace paradrex;
using Column = paradrex::ListColumn;

// A desktop set to open items with a single click.
class SingleClickStyle : public QProxyStyle {
public:
    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                  QStyleHintReturn* returnData) const override {
        if (hint == SH_ItemView_ActivateItemOnSingleClick)
            return 1;
        return QProxyStyle::styleHint(hint, option, widget, returnData);
    }
};

// Receives the URLs the panes ask the desktop to open.
class UrlCatcher : public QObject {
    Q_OBJECT
public:
    QList<QUrl> urls;
public slots:
    void open(const QUrl& url) { urls << url; }
};

class ResultPanesTest : public QObject {
    Q_OBJECT

private:
    test::TempTree tree;
    SearchState state;
    std::unique_ptr<QWidget> host;
    CResultPanes* panes = nullptr;
    UrlCatcher catcher;

    std::string Rel(const FileRecord* f) const {
        std::string p = FilePath(*f);
        return p.substr(tree.root().size() + 1);
    }
    ResultDir* Dir(const std::string& rel) const {
        return FindResultDir(state.resultRoot.get(), tree.root() + (rel.empty() ? "" : "/" + rel));
    }
    static QColor Rgb(Colour c) { return QColor::fromRgb(ToRgb(c)); }
    QColor RowColour(CResultListModel* m, int row) const {
        return m->data(m->index(row, 1), Qt::BackgroundRole).value<QBrush>().color();
    }
    QString Cell(CResultListModel* m, int row, Column column) const {
        return m->data(m->index(row, m->ColumnOf(column))).toString();
    }
    // Pre-order walk of the tree model, as the tree shows it.
    std::vector<QModelIndex> TreeOrder(const QAbstractItemModel* m) const {
        std::vector<QModelIndex> out, stack;
        for (int r = m->rowCount() - 1; r >= 0; --r)
            stack.push_back(m->index(r, 0));
        while (!stack.empty()) {
            QModelIndex i = stack.back();
            stack.pop_back();
            out.push_back(i);
            for (int r = m->rowCount(i) - 1; r >= 0; --r)
                stack.push_back(m->index(r, 0, i));
        }
        return out;
    }
    // What a real double click delivers: press, release, double click, release.
    static void DoubleClick(QWidget* w, QPoint pos) {
        QTest::mouseClick(w, Qt::LeftButton, {}, pos);
        QTest::mouseDClick(w, Qt::LeftButton, {}, pos);
        QTest::mouseRelease(w, Qt::LeftButton, {}, pos);
    }
    void ShowHost() {
        host->resize(1000, 700);
        host->show();
        host->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(host.get()));
    }

private slots:
    void initTestCase() {
        // m: two clone-set blocks (with n and with o) and one run (r1..r4, o/r5).
        tree.createFile("m/p.txt", "content p", 1700000000);
        tree.createFile("n/p.txt", "content p", 1700000000);
        tree.createFile("m/q.txt", "content q");
        tree.createFile("o/q.txt", "content q");
        for (int i = 1; i <= 4; ++i)
            tree.createFile("m/r" + std::to_string(i) + ".dat", "content r");
        tree.createFile("o/r5.dat", "content r");
        // deep/: holds no duplicate itself, only deep/er/est does.
        tree.createFile("deep/er/est/archive.tar.gz", std::string(1234, 'z'));
        tree.createFile("n/archive.tar.gz", std::string(1234, 'z'));
        tree.createFile("n/README", "readme");
        tree.createFile("o/README", "readme");
        tree.createFile("o/unique.txt", "only one");
        tree.createFile("lonely/alone.txt", "alone");

        state.job.roots.Add(tree.root());
        state.ClearFlags();
        SearchEnvironment env;
        env.logError = [](const _Error_record&) {};
        env.threads = 1;
        QCOMPARE(RunSearch(state, env), 0);
        QVERIFY(state.resultRoot);
        QDesktopServices::setUrlHandler(QStringLiteral("file"), &catcher, "open");
    }

    void cleanupTestCase() { QDesktopServices::unsetUrlHandler(QStringLiteral("file")); }

    void init() {
        host = std::make_unique<QWidget>();
        PaneSettings settings; // default colours, Vista style, no grid
        panes = new CResultPanes(host.get(), settings);
        auto* layout = new QVBoxLayout(host.get());
        layout->addWidget(panes->folderTree());
        layout->addWidget(panes->fileList());
        layout->addWidget(panes->cloneList());
        layout->addWidget(panes->oneList());
        for (QAbstractItemModel* m :
             {static_cast<QAbstractItemModel*>(panes->treeModel()),
              static_cast<QAbstractItemModel*>(panes->listModel(ListKind::FileList)),
              static_cast<QAbstractItemModel*>(panes->listModel(ListKind::CloneList)),
              static_cast<QAbstractItemModel*>(panes->listModel(ListKind::OneList))})
            new QAbstractItemModelTester(m, QAbstractItemModelTester::FailureReportingMode::QtTest,
                                         panes);
        catcher.urls.clear();
    }

    void cleanup() {
        host.reset();
        panes = nullptr;
        // States changed by a test go back to Unsettled.
        if (state.resultRoot)
            SetStateRecursive(*state.resultRoot, FileState::Unsettled);
    }

    void treeShowsRootsWholePathAndChildrenInChildMapOrder() {
        panes->SetResult(&state);
        CFolderTreeModel* m = panes->treeModel();
        QCOMPARE(m->rowCount(), 1);
        QModelIndex top = m->index(0, 0);
        QCOMPARE(m->data(top).toString(), QString::fromStdString(tree.root()));
        QVERIFY(!panes->folderTree()->selectionModel()->hasSelection());
        // In a pane too narrow for it the whole path stays: the tree scrolls.
        ShowHost();
        panes->folderTree()->setFixedWidth(60);
        const int pathWidth = panes->folderTree()->fontMetrics().horizontalAdvance(
            QString::fromStdString(tree.root()));
        QTRY_VERIFY(panes->folderTree()->header()->sectionSize(0) > pathWidth);
        QVERIFY(panes->folderTree()->horizontalScrollBar()->maximum() > 0);
        QVERIFY(!panes->folderTree()->isExpanded(top));

        // Every node in the order of its ResultDir's child map; never sorted.
        std::vector<QModelIndex> order = TreeOrder(m);
        std::vector<ResultDir*> expected;
        for (ResultDir* d = NextInTreeOrder(state.resultRoot.get()); d; d = NextInTreeOrder(d))
            expected.push_back(d);
        QCOMPARE(order.size(), expected.size());
        for (size_t i = 0; i < order.size(); ++i) {
            QCOMPARE(m->DirectoryAt(order[i]), expected[i]);
            QCOMPARE(m->IndexOf(expected[i]), order[i]);
            if (i > 0) // below a root: the directory's own name
                QCOMPARE(m->data(order[i]).toString(),
                         QString::fromUtf8(expected[i]->name->name()));
        }
        // The directories with duplicates and those between; none without.
        QStringList names;
        for (const QModelIndex& i : order)
            names << m->data(i).toString();
        for (const char* n : {"m", "n", "o", "deep", "er", "est"})
            QVERIFY2(names.contains(QString::fromLatin1(n)), n);
        QVERIFY(!names.contains(QStringLiteral("lonely")));
        QCOMPARE(names.size(), 7);
    }

    void newResultSelectsFirstDirectoryWithDuplicatesAndItsFirstRow() {
        ShowHost();
        panes->SetResult(&state);
        QVERIFY(panes->SelectFirstDirectoryWithDuplicates());

        // The first directory in the tree's own order that holds duplicates.
        CFolderTreeModel* tm = panes->treeModel();
        ResultDir* first = nullptr;
        for (const QModelIndex& i : TreeOrder(tm))
            if (HoldsDuplicates(*tm->DirectoryAt(i))) {
                first = tm->DirectoryAt(i);
                break;
            }
        QVERIFY(first);
        QCOMPARE(panes->SelectedDirectory(), first);
        QModelIndexList sel = panes->folderTree()->selectionModel()->selectedIndexes();
        QCOMPARE(sel.size(), 1);
        QCOMPARE(tm->DirectoryAt(sel.first()), first);
        QVERIFY(panes->folderTree()->isExpanded(sel.first().parent()));

        CResultListModel* files = panes->listModel(ListKind::FileList);
        QCOMPARE(size_t(files->rowCount()), FileListRowCount(*first));
        QCOMPARE(panes->SelectedFileRow(), std::optional<int>(0));
        QCOMPARE(panes->fileList()->selectionModel()->selectedRows().size(), 1);
        QCOMPARE(panes->fileList()->selectionModel()->selectedRows().first().row(), 0);
        QVERIFY(panes->fileList()->hasFocus());

        // The clone list shows the first row's group, the row's own file included.
        const DuplicateGroup& group = GroupOf(panes->browser().fileRows()[0]);
        CResultListModel* clones = panes->listModel(ListKind::CloneList);
        QCOMPARE(size_t(clones->rowCount()), group.size());
        for (int r = 0; r < clones->rowCount(); ++r) {
            QCOMPARE(clones->FileAt(r), group[size_t(r)]);
            QCOMPARE(Cell(clones, r, Column::Directory),
                     QString::fromStdString(DirectoryPath(group[size_t(r)]->directory)));
        }
    }

    void fileListBlocksAreColouredAndRunRowsShowTheirWholeGroup() {
        panes->SetResult(&state);
        ResultDir* m = Dir("m");
        QVERIFY(m);
        QCOMPARE(m->cloneRefs.size(), size_t(2));
        QCOMPARE(m->runRefs.size(), size_t(1));
        panes->SelectDirectory(m);
        CResultListModel* files = panes->listModel(ListKind::FileList);
        QCOMPARE(files->rowCount(), 6);
        RowColours c;
        // Two clone blocks and a run block: clrTextBk2, clrTextBk1, clrTextBlock.
        QCOMPARE(RowColour(files, 0), Rgb(c.textBk2));
        QCOMPARE(RowColour(files, 1), Rgb(c.textBk1));
        for (int r = 2; r < 6; ++r) {
            QCOMPARE(RowColour(files, r), Rgb(c.textBlock));
            QVERIFY(Cell(files, r, Column::Name).startsWith(QLatin1Char('r')));
        }
        QCOMPARE(Rgb(c.textBk2), QColor(0xF1, 0xF1, 0xFF));   // pale blue
        QCOMPARE(Rgb(c.textBlock), QColor(0xFF, 0xF1, 0xF1)); // pale red

        panes->SelectFileRow(3); // r2.dat
        CResultListModel* clones = panes->listModel(ListKind::CloneList);
        QCOMPARE(clones->rowCount(), 5);
        QStringList names;
        for (int r = 0; r < 5; ++r) {
            names << Cell(clones, r, Column::Name);
            // Clone rows keep the window colours.
            QVERIFY(clones->data(clones->index(r, 1), Qt::BackgroundRole).isNull());
        }
        names.sort();
        QCOMPARE(names, QStringList({QStringLiteral("r1.dat"), QStringLiteral("r2.dat"),
                                     QStringLiteral("r3.dat"), QStringLiteral("r4.dat"),
                                     QStringLiteral("r5.dat")}));

        // Losing the selection empties the clone list.
        panes->fileList()->selectionModel()->clearSelection();
        QCOMPARE(clones->rowCount(), 0);
        QCOMPARE(panes->SelectedFileRow(), std::nullopt);

        // A directory that only leads to deeper ones: both lists empty.
        panes->SelectFileRow(0);
        QCOMPARE(clones->rowCount(), 2);
        panes->SelectDirectory(Dir("deep"));
        QCOMPARE(files->rowCount(), 0);
        QCOMPARE(clones->rowCount(), 0);
    }

    void cellsShowNameSizeTypeModifiedAndStateImage() {
        panes->SetResult(&state);
        panes->SelectDirectory(Dir("n"));
        CResultListModel* files = panes->listModel(ListKind::FileList);
        int tarRow = -1, readmeRow = -1, pRow = -1;
        for (int r = 0; r < files->rowCount(); ++r) {
            QString name = Cell(files, r, Column::Name);
            if (name == QStringLiteral("archive.tar.gz"))
                tarRow = r;
            else if (name == QStringLiteral("README"))
                readmeRow = r;
            else if (name == QStringLiteral("p.txt"))
                pRow = r;
        }
        QVERIFY(tarRow >= 0 && readmeRow >= 0 && pRow >= 0);
        QCOMPARE(files->ColumnOf(Column::State), 0);
        QCOMPARE(Cell(files, tarRow, Column::Size), QStringLiteral("1,234"));
        QCOMPARE(
            files->data(files->index(tarRow, files->ColumnOf(Column::Size)), Qt::TextAlignmentRole)
                    .value<Qt::Alignment>() &
                Qt::AlignHorizontal_Mask,
            Qt::AlignRight);
        QMimeDatabase db;
        QCOMPARE(Cell(files, tarRow, Column::Type),
                 db.mimeTypeForFile(QStringLiteral("x.tar.gz"), QMimeDatabase::MatchExtension)
                     .comment());
        QCOMPARE(Cell(files, readmeRow, Column::Type), panes->typeCache().defaultEntry().name);
        QCOMPARE(Cell(files, pRow, Column::Modified),
                 QString::fromStdString(ModifiedText(1700000000)));
        QCOMPARE(files->headerData(files->ColumnOf(Column::Modified), Qt::Horizontal).toString(),
                 QStringLiteral("Modified"));
        QVERIFY(files->headerData(0, Qt::Horizontal).toString().isEmpty());
        QCOMPARE(panes->fileList()->header()->sectionSize(0), 21);

        // The state column shows image state + 1, refreshed after a change.
        CStateImages images;
        FileRecord* f = files->FileAt(pRow);
        auto stateImage = [&] {
            return files->data(files->index(pRow, 0), Qt::DecorationRole)
                .value<QIcon>()
                .pixmap(16)
                .toImage();
        };
        QCOMPARE(stateImage(), images.Image(1).pixmap(16).toImage());
        QSignalSpy changed(files, &QAbstractItemModel::dataChanged);
        f->state = FileState::Deleted;
        panes->RefreshRows();
        QVERIFY(changed.count() >= 1);
        QCOMPARE(stateImage(), images.Image(0).pixmap(16).toImage());
        f->state = FileState::Preserved;
        QCOMPARE(stateImage(), images.Image(2).pixmap(16).toImage());
    }

    void stateImagesAreCrossEmptyBoxAndGreenTick() {
        CStateImages images;
        auto count = [](const QImage& img, auto pred) {
            int n = 0;
            for (int y = 0; y < img.height(); ++y)
                for (int x = 0; x < img.width(); ++x)
                    if (pred(img.pixelColor(x, y)))
                        ++n;
            return n;
        };
        auto red = [](QColor c) { return c.alpha() > 200 && c.red() > 150 && c.green() < 100; };
        auto green = [](QColor c) { return c.alpha() > 200 && c.green() > 120 && c.red() < 100; };
        auto dark = [](QColor c) { return c.alpha() > 200 && c.lightness() < 120; };
        QImage cross = images.Image(0).pixmap(16).toImage();
        QImage box = images.Image(1).pixmap(16).toImage();
        QImage tick = images.Image(2).pixmap(16).toImage();
        QCOMPARE(cross.size(), QSize(16, 16));
        QVERIFY(count(cross, red) > 8);
        QCOMPARE(count(cross, green), 0);
        QCOMPARE(count(box, red) + count(box, green), 0);
        QVERIFY(count(box, dark) > 20); // the box outline
        QVERIFY(count(tick, green) > 8);
        QCOMPARE(count(tick, red), 0);
        QVERIFY(images.ImageOf(FileState::Preserved).cacheKey() == images.Image(2).cacheKey());
        QVERIFY(images.Image(3).isNull());
    }

    void oneListShowsEveryGroupedFileOnceWithAlternatingGroupColours() {
        panes->SetResult(&state);
        CResultListModel* one = panes->listModel(ListKind::OneList);
        QCOMPARE(one->rowCount(), 0);
        QVERIFY(panes->FillOneList());
        QVERIFY(!panes->FillOneList()); // once per result

        // The rows the browser built (their order and colours are its rule),
        // each with its directory.
        const std::vector<OneListRow>& rows = panes->browser().oneRows();
        QCOMPARE(one->rowCount(), 2 + 2 + 2 + 2 + 5); // p, q, tar.gz, README, r
        QCOMPARE(size_t(one->rowCount()), rows.size());
        for (int row = 0; row < one->rowCount(); ++row) {
            const FileRecord* f = rows[size_t(row)].file;
            QCOMPARE(one->FileAt(row), f);
            QCOMPARE(RowColour(one, row), Rgb(rows[size_t(row)].background));
            QCOMPARE(Cell(one, row, Column::Directory),
                     QString::fromStdString(DirectoryPath(f->directory)));
        }

        panes->Clear();
        QCOMPARE(one->rowCount(), 0);
        QCOMPARE(panes->treeModel()->rowCount(), 0);
        QCOMPARE(panes->listModel(ListKind::FileList)->rowCount(), 0);
        QVERIFY(!panes->FillOneList());
    }

    void coloursAreReadWhenTheFileListIsFilled() {
        panes->SetResult(&state);
        panes->SelectDirectory(Dir("m"));
        panes->SelectFileRow(1);
        CResultListModel* files = panes->listModel(ListKind::FileList);
        RowColours changed;
        changed.textBk1 = 0x00FF00; // green
        panes->SetColours(changed);
        QCOMPARE(RowColour(files, 1), Rgb(RowColours{}.textBk1));
        panes->RefillFileList();
        QCOMPARE(RowColour(files, 1), QColor(0x00, 0xFF, 0x00));
        QCOMPARE(panes->SelectedFileRow(), std::optional<int>(1));
        QCOMPARE(panes->fileList()->selectionModel()->selectedRows().first().row(), 1);
        QCOMPARE(panes->listModel(ListKind::CloneList)->rowCount(), 2);
    }

    void activationOpensTheFileExceptFromTheStateColumn() {
        ShowHost();
        panes->SetResult(&state);
        panes->SelectDirectory(Dir("m"));
        QTreeView* view = panes->fileList();
        CResultListModel* files = panes->listModel(ListKind::FileList);
        QSignalSpy stateClicks(panes, &CResultPanes::stateAdvanceRequested);

        QRect stateCell = view->visualRect(files->index(2, 0));
        DoubleClick(view->viewport(), stateCell.center());
        QVERIFY(catcher.urls.isEmpty());
        // Once for the click and once for the double click, as a state click
        // advances the state each time.
        QCOMPARE(stateClicks.count(), 2);
        QCOMPARE(stateClicks.last().at(1).toInt(), 2);

        QRect nameCell = view->visualRect(files->index(2, 1));
        DoubleClick(view->viewport(), nameCell.center());
        QCOMPARE(catcher.urls.size(), 1);
        QCOMPARE(stateClicks.count(), 2);
        QCOMPARE(catcher.urls.first().toLocalFile(),
                 QString::fromStdString(FilePath(*files->FileAt(2))));

        // Enter opens the selected row's file even when the state cell is the
        // current one; Space asks to advance the row's state.
        panes->SelectFileRow(4);
        view->setFocus();
        view->setCurrentIndex(files->index(4, 0));
        QTest::keyClick(view, Qt::Key_Return);
        QCOMPARE(catcher.urls.size(), 2);
        QCOMPARE(catcher.urls.last().toLocalFile(),
                 QString::fromStdString(FilePath(*files->FileAt(4))));
        QTest::keyClick(view, Qt::Key_Space);
        QCOMPARE(stateClicks.count(), 3);
        QCOMPARE(stateClicks.last().at(1).toInt(), 4);
        QCOMPARE(panes->SelectedFileRow(), std::optional<int>(4));
    }

    // Neither Ctrl+click nor Ctrl+Space on the selected node nor a click
    // below the last node leaves the tree without a selected directory; the
    // lists stay as they were.
    void treeAlwaysKeepsASelectedDirectory() {
        ShowHost();
        panes->SetResult(&state);
        QVERIFY(panes->SelectFirstDirectoryWithDuplicates());
        QTreeView* tree = panes->folderTree();
        const QModelIndex selected = tree->selectionModel()->selectedIndexes().value(0);
        QVERIFY(selected.isValid());
        const int rows = panes->listModel(ListKind::FileList)->rowCount();
        QVERIFY(rows > 0);
        panes->SelectFileRow(1);
        auto unchanged = [&] {
            return tree->selectionModel()->selectedIndexes() == QModelIndexList{selected} &&
                   panes->listModel(ListKind::FileList)->rowCount() == rows &&
                   panes->SelectedFileRow() == std::optional<int>(1);
        };
        QTest::mouseClick(tree->viewport(), Qt::LeftButton, Qt::ControlModifier,
                          tree->visualRect(selected).center());
        QVERIFY(unchanged());
        tree->setFocus();
        tree->setCurrentIndex(selected);
        QTest::keyClick(tree, Qt::Key_Space, Qt::ControlModifier);
        QVERIFY(unchanged());
        QTest::mouseClick(tree->viewport(), Qt::LeftButton, {},
                          QPoint(4, tree->viewport()->height() - 2));
        QVERIFY(unchanged());
        QVERIFY(tree->viewport()->height() > tree->visualRect(selected).bottom() + 4);
    }

    // Files open on a double click or Enter only, also where the desktop
    // activates items with a single click.
    void singleClickOpensNothingOnASingleClickDesktop() {
        ShowHost();
        panes->SetResult(&state);
        panes->SelectDirectory(Dir("m"));
        QTreeView* view = panes->fileList();
        auto* style = new SingleClickStyle;
        style->setParent(view);
        view->setStyle(style);
        CResultListModel* files = panes->listModel(ListKind::FileList);
        const QPoint name = view->visualRect(files->index(1, 1)).center();
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, name);
        QCOMPARE(panes->SelectedFileRow(), std::optional<int>(1));
        QVERIFY(catcher.urls.isEmpty());
        DoubleClick(view->viewport(), name);
        QCOMPARE(catcher.urls.size(), 1);
    }

    void openFileKeepsBytesThatAreNotUtf8() {
        BlockPool pool;
        const NameRecord* dir = NameRecord::Create(pool, nullptr, "/tmp/x y");
        FileRecord* f = FileRecord::Create(pool, dir, "caf\xe9 #1.txt", 1, 0);
        CResultPanes::OpenFile(*f);
        QCOMPARE(catcher.urls.size(), 1);
        QCOMPARE(catcher.urls.first().toEncoded(QUrl::FullyEncoded),
                 QByteArray("file:///tmp/x%20y/caf%E9%20%231.txt"));
    }

    void listStyleAndGridSwitchAtRunTime() {
        panes->SetResult(&state);
        QVERIFY(qobject_cast<HV::CCustomDrawVistaListView*>(panes->fileList()->itemDelegate()));
        QVERIFY(qobject_cast<HV::CCustomDrawVistaTreeView*>(panes->folderTree()->itemDelegate()));
        panes->SetGrid(true);
        auto* d = qobject_cast<HV::CCustomDrawListView*>(panes->fileList()->itemDelegate());
        QVERIFY(d && d->grid());

        panes->SetListStyle(ListStyle::WindowsDefault);
        QCOMPARE(panes->listStyle(), ListStyle::WindowsDefault);
        for (QTreeView* v : {panes->fileList(), panes->cloneList(), panes->oneList()})
            QVERIFY(qobject_cast<HV::CCustomDrawStandardListView*>(v->itemDelegate()));
        // The tree paints its own selection again.
        QVERIFY(!qobject_cast<HV::CCustomDrawVistaTreeView*>(panes->folderTree()->itemDelegate()));
        d = qobject_cast<HV::CCustomDrawListView*>(panes->fileList()->itemDelegate());
        QVERIFY(d->grid()); // switching the style keeps the grid lines
        QVERIFY(qobject_cast<HV::CCustomDrawListView*>(panes->cloneList()->itemDelegate())->grid());
        // The one list keeps the grid state it was created with.
        QVERIFY(!qobject_cast<HV::CCustomDrawListView*>(panes->oneList()->itemDelegate())->grid());

        panes->SetGrid(false);
        panes->SetListStyle(ListStyle::WindowsVista);
        QVERIFY(!qobject_cast<HV::CCustomDrawListView*>(panes->fileList()->itemDelegate())->grid());
        QVERIFY(qobject_cast<HV::CCustomDrawVistaTreeView*>(panes->folderTree()->itemDelegate()));
    }

    void paintedRowsShowTheirColoursAndTheBlendedSelection() {
        ShowHost();
        panes->SetResult(&state);
        panes->SelectDirectory(Dir("m"));
        panes->SelectFileRow(0);
        QTreeView* view = panes->fileList();
        view->setFocus();
        QVERIFY(view->hasFocus());
        CResultListModel* files = panes->listModel(ListKind::FileList);
        int typeColumn = files->ColumnOf(Column::Type);
        auto pixel = [&](int row, int dy) {
            QImage img = view->viewport()->grab().toImage();
            QRect r = view->visualRect(files->index(row, typeColumn));
            // Near the right end of the Type cell, where no text reaches.
            return img.pixelColor(r.right() - 4, r.top() + dy);
        };
        RowColours c;
        auto* vista = qobject_cast<HV::CCustomDrawVistaListView*>(view->itemDelegate());
        QVERIFY(vista);
        // Row 1 (clone block 1) is filled with clrTextBk1, row 2 (a run) with clrTextBlock.
        QCOMPARE(pixel(1, 3), Rgb(c.textBk1));
        QCOMPARE(pixel(2, 3), Rgb(c.textBlock));
        // Row 0 is selected: the focused border blended with clrTextBk2 on its
        // top edge; 0xF9CCAD over 0xFFF1F1 gives red 0x9F.
        SelectionColours focused = vista->SelectionFor(c.textBk2, true);
        QCOMPARE(RedOf(focused.border), 0x9F);
        QCOMPARE(pixel(0, 0), Rgb(focused.border));
        QCOMPARE(pixel(0, 1), Rgb(focused.fill));
        // Without the keyboard focus the grey set is used.
        panes->folderTree()->setFocus();
        QVERIFY(!view->hasFocus());
        QCOMPARE(pixel(0, 0), Rgb(vista->SelectionFor(c.textBk2, false).border));
        QCOMPARE(vista->SelectionFor(0xFFFFFF, false), kUnfocusedSelection);

        // Plain drawing fills every row with its colour; the clone list uses
        // the window colour.
        panes->SetListStyle(ListStyle::WindowsDefault);
        QCOMPARE(pixel(1, 3), Rgb(c.textBk1));
        QCOMPARE(pixel(2, 3), Rgb(c.textBlock));
        QCOMPARE(pixel(0, 3), Rgb(c.textBk2)); // the selection shows on the name only
        QTreeView* clones = panes->cloneList();
        CResultListModel* cm = panes->listModel(ListKind::CloneList);
        QImage img = clones->viewport()->grab().toImage();
        QRect r = clones->visualRect(cm->index(1, cm->ColumnOf(Column::Modified)));
        QCOMPARE(img.pixelColor(r.right() - 4, r.top() + 3),
                 clones->palette().color(QPalette::Active, QPalette::Base));
    }

    void treeSelectionIsThemedOnlyInTheVistaStyle() {
        ShowHost();
        panes->SetResult(&state);
        panes->SelectDirectory(Dir("m"));
        QTreeView* t = panes->folderTree();
        t->setFocus();
        QVERIFY(t->hasFocus());
        QModelIndex selected = t->selectionModel()->selectedIndexes().first();
        // Pixels of the item's top line in a colour of the unblended theme set.
        auto count = [&](Colour colour) {
            QImage img = t->viewport()->grab().toImage();
            QRect r = t->visualRect(selected);
            int n = 0;
            for (int y = r.top(); y <= r.top() + 1; ++y)
                for (int x = r.left(); x <= r.right(); ++x)
                    if (img.pixelColor(x, y) == Rgb(colour))
                        ++n;
            return n;
        };
        QVERIFY(count(kFocusedSelection.border) > 10);
        panes->fileList()->setFocus();
        QVERIFY(count(kUnfocusedSelection.border) > 10);
        panes->SetListStyle(ListStyle::WindowsDefault);
        QCOMPARE(count(kUnfocusedSelection.border), 0);
        t->setFocus();
        QCOMPARE(count(kFocusedSelection.border), 0);
    }

    void typeCacheKeepsOneEntryPerExtensionWithoutLimit() {
        CTypeIconCache cache;
        const CTypeIconCache::Entry& upper = cache.Lookup("photo.JPG");
        const CTypeIconCache::Entry& lower = cache.Lookup("photo.jpg");
        QCOMPARE(cache.size(), size_t(2));
        QCOMPARE(upper.name, lower.name); // same type, separate entries
        QCOMPARE(&cache.Lookup("other.jpg"), &lower);
        QCOMPARE(cache.size(), size_t(2));
        QCOMPARE(&cache.Lookup("README"), &cache.defaultEntry());
        QCOMPARE(cache.size(), size_t(2));
        QVERIFY(!cache.defaultEntry().icon.isNull());
        for (int i = 0; i < 300; ++i)
            cache.LookupExtension("e" + std::to_string(i));
        QCOMPARE(cache.size(), size_t(302));
        // An extension the database does not know looks like no extension.
        QCOMPARE(cache.LookupExtension("e299").name, cache.defaultEntry().name);
        QVERIFY(!QIcon::themeName().isEmpty());
    }

    void infoTipAddsTheOriginNameOfARenamedFile() {
        panes->SetResult(&state);
        panes->SelectDirectory(Dir("m"));
        CResultListModel* files = panes->listModel(ListKind::FileList);
        FileRecord* f = files->FileAt(0);
        QVERIFY(files->data(files->index(0, 1), Qt::ToolTipRole).isNull());
        const char* original = f->name;
        f->name = "renamed.txt";
        QString tip = files->data(files->index(0, 1), Qt::ToolTipRole).toString();
        QCOMPARE(tip, QStringLiteral("Origin: ") + QString::fromLatin1(f->originName));
        // A cell too narrow for its text shows the whole text first.
        QStyleOptionViewItem option;
        option.rect = QRect(0, 0, 30, 18);
        option.fontMetrics = panes->fileList()->fontMetrics();
        QCOMPARE(HV::CCustomDrawListView::InfoTip(option, files->index(0, 1)),
                 QStringLiteral("renamed.txt\nOrigin: ") + QString::fromLatin1(f->originName));
        f->name = original;
        option.rect = QRect(0, 0, 600, 18);
        QVERIFY(HV::CCustomDrawListView::InfoTip(option, files->index(0, 1)).isEmpty());
    }

    void columnWidthsComeFromTheSettingsAndRoundTrip() {
        // Without settings: the widths of a new Setting.ini.
        QCOMPARE(panes->ColumnWidths(ListKind::FileList), (std::vector<int>{300, 100, 120, 120}));
        QCOMPARE(panes->ColumnWidths(ListKind::CloneList), (std::vector<int>{200, 300, 120}));
        QCOMPARE(panes->ColumnWidths(ListKind::OneList),
                 (std::vector<int>{200, 300, 100, 120, 120}));

        PaneSettings settings;
        settings.columnWidths[size_t(ListKind::OneList)] = {50, 0, 70, 80, 90};
        CResultPanes other(host.get(), settings);
        // A column narrowed to nothing comes back as it was stored.
        QCOMPARE(other.ColumnWidths(ListKind::OneList), (std::vector<int>{50, 0, 70, 80, 90}));
        QCOMPARE(other.ColumnWidths(ListKind::FileList), (std::vector<int>{300, 100, 120, 120}));
        const std::vector<int> clone = {150, 250, 90};
        other.SetColumnWidths(ListKind::CloneList, clone);
        QCOMPARE(other.ColumnWidths(ListKind::CloneList), clone);
        for (QTreeView* v : {other.fileList(), other.cloneList(), other.oneList()}) {
            QCOMPARE(v->header()->sectionSize(0), 21);
            QCOMPARE(v->header()->sectionResizeMode(0), QHeaderView::Fixed);
        }
    }
};

PARADREX_QTEST_MAIN(ResultPanesTest)
#include "ResultPanesTest.moc"
