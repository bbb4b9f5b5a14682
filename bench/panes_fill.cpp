// Benchmark of the result panes: how long the file list takes to fill with
// 100,000 rows and the one list with 1,000,000 rows, and how long a repaint
// takes while scrolling through them. Runs offscreen unless a platform is
// chosen. Not a test: it prints its measurements.
//
//   bench_panes_fill [pairs=5] [groupsPerPair=100000]

#include "engine/ResultBuilder.h"
#include "engine/SearchState.h"
#include "gui/panes/CResultListModel.h"
#include "gui/panes/CResultPanes.h"
#include "review/ResultTreeOrder.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QHBoxLayout>
#include <QScrollBar>
#include <QTreeView>

#include <cstdio>
#include <cstdlib>
#include <string>

using namespace paradrex;

namespace {

// pairs directory pairs (a<i>, b<i>), each holding groupsPerPair groups of
// two files: every a<i> has a file list of groupsPerPair rows, and the one
// list has 2 * pairs * groupsPerPair rows.
void BuildResult(SearchState& state, int pairs, int groupsPerPair) {
    const NameRecord* root = NameRecord::Create(state.namePool, nullptr, "/bench");
    for (int p = 0; p < pairs; ++p) {
        std::string an = "a" + std::to_string(p), bn = "b" + std::to_string(p);
        const NameRecord* a = NameRecord::Create(state.namePool, root, an);
        const NameRecord* b = NameRecord::Create(state.namePool, root, bn);
        for (int g = 0; g < groupsPerPair; ++g) {
            std::string name = "file" + std::to_string(g) +
                               (g % 3 == 0   ? ".jpg"
                                : g % 3 == 1 ? ".tar.gz"
                                             : ".txt");
            StoreGroup(state,
                       {FileRecord::Create(state.recordPool, a, name, 1000u + g, 1700000000),
                        FileRecord::Create(state.recordPool, b, name, 1000u + g, 1700000000)});
        }
    }
    BuildResultTree(state);
}

double Ms(const QElapsedTimer& t) {
    return double(t.nsecsElapsed()) / 1e6;
}

// Average time of one repaint while paging through a list.
double ScrollMs(QTreeView* view, int steps) {
    QScrollBar* bar = view->verticalScrollBar();
    QElapsedTimer t;
    t.start();
    for (int i = 0; i < steps; ++i) {
        bar->setValue(bar->maximum() / steps * i);
        view->viewport()->repaint();
    }
    return Ms(t) / steps;
}

} // namespace

int main(int argc, char** argv) {
    ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication app(argc, argv);
    int pairs = argc > 1 ? std::atoi(argv[1]) : 5;
    int groups = argc > 2 ? std::atoi(argv[2]) : 100000;

    SearchState state;
    QElapsedTimer t;
    t.start();
    BuildResult(state, pairs, groups);
    std::printf("result: %d groups of 2 files built in %.0f ms\n", pairs * groups, Ms(t));

    QWidget host;
    CResultPanes panes(&host);
    auto* layout = new QHBoxLayout(&host);
    layout->addWidget(panes.folderTree());
    layout->addWidget(panes.fileList());
    layout->addWidget(panes.cloneList());
    layout->addWidget(panes.oneList());
    host.resize(1400, 900);
    host.show();
    app.processEvents();

    t.restart();
    panes.SetResult(&state);
    app.processEvents();
    std::printf("folder tree: %d top-level nodes in %.1f ms\n",
                panes.folderTree()->model()->rowCount(), Ms(t));

    // The file list of the first directory, shown and painted.
    t.restart();
    panes.SelectFirstDirectoryWithDuplicates();
    panes.fileList()->viewport()->repaint();
    app.processEvents();
    std::printf("file list: %d rows filled and painted in %.1f ms\n",
                panes.listModel(ListKind::FileList)->rowCount(), Ms(t));
    std::printf("file list: %.2f ms per repaint while scrolling\n",
                ScrollMs(panes.fileList(), 200));

    t.restart();
    panes.FillOneList();
    panes.oneList()->viewport()->repaint();
    app.processEvents();
    std::printf("one list: %d rows filled and painted in %.1f ms\n",
                panes.listModel(ListKind::OneList)->rowCount(), Ms(t));
    std::printf("one list: %.2f ms per repaint while scrolling\n", ScrollMs(panes.oneList(), 200));

    t.restart();
    panes.Clear();
    app.processEvents();
    std::printf("clear: %.1f ms\n", Ms(t));
    return 0;
}
