// Benchmark of the review commands in the main window, offscreen: each
// command as the user runs it (a key, a command id), through the frame and
// the panes, up to and including the repaint of the visible rows of the file
// list and the clone list. Not a test: it prints the median and the slowest
// of several runs of each.
//
//   bench_review_window [runs=7]

#include "engine/ResultBuilder.h"
#include "engine/SearchState.h"
#include "gui/dialogs/CDirStatisticsDlg.h"
#include "gui/mainwnd/CMainFrame.h"
#include "gui/panes/CResultListModel.h"
#include "gui/panes/CResultPanes.h"
#include "review/ResultTreeOrder.h"
#include "settings/SettingFile.h"
#include "uimodel/CommandIds.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QTemporaryDir>
#include <QTreeView>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <memory>
#include <string>
#include <vector>

using namespace paradrex;

namespace {

FileRecord* NewFile(SearchState& state, const NameRecord* dir, const std::string& name,
                    uint32_t size) {
    return FileRecord::Create(state.recordPool, dir, name, size, 1700000000);
}

// One clone set of `groups` groups: a file in /bench/a and its copy in
// /bench/b each, so /bench/a shows one block of `groups` rows.
void BuildOneCloneSet(SearchState& state, int groups) {
    const NameRecord* root = NameRecord::Create(state.namePool, nullptr, "/bench");
    const NameRecord* a = NameRecord::Create(state.namePool, root, "a");
    const NameRecord* b = NameRecord::Create(state.namePool, root, "b");
    for (int g = 0; g < groups; ++g) {
        const std::string name = "file" + std::to_string(g) + ".txt";
        StoreGroup(state, {NewFile(state, a, name, 1000u + g), NewFile(state, b, name, 1000u + g)});
    }
    BuildResultTree(state);
}

// `outer` x `inner` directories /wide/dI/eJ, each sharing two groups with the
// next one: every leaf holds duplicates.
void BuildManyDirectories(SearchState& state, int outer, int inner) {
    const NameRecord* root = NameRecord::Create(state.namePool, nullptr, "/wide");
    std::vector<const NameRecord*> leaves;
    for (int i = 0; i < outer; ++i) {
        const NameRecord* d = NameRecord::Create(state.namePool, root, "d" + std::to_string(i));
        for (int j = 0; j < inner; ++j)
            leaves.push_back(NameRecord::Create(state.namePool, d, "e" + std::to_string(j)));
    }
    for (size_t i = 0; i + 1 < leaves.size(); ++i)
        for (int k = 0; k < 2; ++k) {
            const std::string name = "f" + std::to_string(i) + "_" + std::to_string(k);
            StoreGroup(state, {NewFile(state, leaves[i], name, 4096),
                               NewFile(state, leaves[i + 1], name, 4096)});
        }
    BuildResultTree(state);
}

void SetEveryFile(SearchState& state, FileState value) {
    for (auto& [sig, set] : state.cloneSets)
        for (DuplicateGroup& g : set)
            for (FileRecord* f : g)
                f->state = value;
    for (RunGroup& rg : state.runGroups)
        for (FileRecord* f : rg.group)
            f->state = value;
}

void Fail(const char* what) {
    std::fprintf(stderr, "unexpected result: %s\n", what);
    std::exit(1);
}

// A shown main window on settings of its own, showing `state`'s result.
class Window {
public:
    explicit Window(SearchState& state)
        : settings_(dir_.path().toStdString(),
                    _Setting_file::Options{_Setting_file::Access::ReadWrite, false}),
          frame_(settings_, state, [](QWidget*) { return false; }) {
        frame_.resize(1280, 900);
        frame_.show();
        QApplication::setActiveWindow(&frame_);
        QApplication::processEvents();
        frame_.ShowResult();
        Settle();
    }
    CMainFrame& frame() { return frame_; }
    CResultPanes& panes() { return *frame_.panes(); }

    // Lets the window handle what the command posted (the repaint of what
    // changed), then paints both lists once more.
    void Settle() {
        QApplication::processEvents();
        frame_.fileList()->viewport()->repaint();
        frame_.cloneList()->viewport()->repaint();
    }

    // Runs `op` `runs` times, each after an untimed `prepare`, up to the
    // repaint; prints the median and the slowest run.
    void Time(const char* what, int runs, const std::function<void()>& op,
              const std::function<void()>& prepare = {}) {
        std::vector<double> ms;
        for (int i = 0; i < runs; ++i) {
            if (prepare) {
                prepare();
                Settle();
            }
            QElapsedTimer t;
            t.start();
            op();
            Settle();
            ms.push_back(double(t.nsecsElapsed()) / 1e6);
        }
        std::sort(ms.begin(), ms.end());
        std::printf("  %-58s median %7.1f ms, slowest %7.1f ms\n", what, ms[ms.size() / 2],
                    ms.back());
    }

private:
    QTemporaryDir dir_;
    _Setting_file settings_;
    CMainFrame frame_;
};

void PressSpace(QWidget* list) {
    QKeyEvent press(QEvent::KeyPress, Qt::Key_Space, Qt::NoModifier, QStringLiteral(" "));
    QApplication::sendEvent(list, &press);
}

// Shows the statistics dialog of the whole result as Total Statistics does,
// painted, and closes it.
void TotalStatistics(CMainFrame& frame, const ResultDir& root) {
    CDirStatisticsDlg dialog(root, &frame);
    dialog.show();
    QApplication::processEvents();
    dialog.repaint();
    if (dialog.Text(1035).isEmpty())
        Fail("statistics texts");
    dialog.close();
}

} // namespace

int main(int argc, char** argv) {
    ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication app(argc, argv);
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 7;
    {
        SearchState state;
        BuildOneCloneSet(state, 100000);
        Window w(state);
        CResultPanes& panes = w.panes();
        std::printf("one clone set of 100,000 groups: %d file-list rows\n",
                    panes.listModel(ListKind::FileList)->rowCount());
        w.Time("Space on a file row (Group Set: 100,000 icons)", runs,
               [&] { PressSpace(w.frame().fileList()); });
        w.Time(
            "Space on a clone row (Group Set: 100,000 files)", runs,
            [&] { PressSpace(w.frame().cloneList()); },
            [&] {
                w.frame().cloneList()->setCurrentIndex(
                    panes.listModel(ListKind::CloneList)->index(1, 1));
            });
        w.Time("Only Preserve Selected File (Insert), Group Set", runs,
               [&] { w.frame().RunCommand(cmd::FileOnlyPreserve); });
        w.Time(
            "Set All Files to Deleted, this directory (refill)", runs,
            [&] { w.frame().RunCommand(cmd::FileSetAllDeleted); },
            [&] { panes.SelectFileRow(50000); });
        w.Time(
            "Only Preserve Files in This Directory (Ctrl+Insert)", runs,
            [&] { w.frame().RunCommand(cmd::OnlyPreserveDirectory); },
            [&] { SetEveryFile(state, FileState::Unsettled); });
        if (panes.SelectedFileRow() != 0)
            Fail("the first row after a refill");
        w.Time("Total Statistics", runs, [&] { TotalStatistics(w.frame(), *state.resultRoot); });
    }
    {
        SearchState state;
        BuildManyDirectories(state, 100, 200);
        SetEveryFile(state, FileState::Preserved);
        ResultDir* last = LastInTreeOrder(state.resultRoot.get());
        const CloneRef& ref = last->cloneRefs.front();
        (*ref.set)[0][ref.position]->state = FileState::Unsettled;
        Window w(state);
        ResultDir* first = w.panes().SelectedDirectory();
        size_t dirs = 0;
        for (const ResultDir* d = NextInTreeOrder(state.resultRoot.get()); d;
             d = NextInTreeOrder(d))
            ++dirs;
        std::printf("%zu directories, 200 per parent:\n", dirs);
        w.Time(
            "Next Unsettled File (Ctrl+U), first to last directory", runs,
            [&] {
                w.frame().RunCommand(cmd::NextUnsettled);
                if (w.panes().SelectedDirectory() != last)
                    Fail("the last directory");
            },
            [&] {
                w.panes().SelectDirectory(first);
                w.panes().SelectFileRow(0);
            });
        w.Time("Next Directory (Ctrl+Page Down)", runs,
               [&] { w.frame().RunCommand(cmd::NextDirectory); });
        w.Time(
            "Set All Files to Deleted (Recursively), top directory", runs,
            [&] { w.frame().RunCommand(cmd::DirSetAllDeleted); },
            [&] { w.panes().SelectDirectory(NextInTreeOrder(state.resultRoot.get())); });
        w.Time("Total Statistics", runs, [&] { TotalStatistics(w.frame(), *state.resultRoot); });
    }
    return 0;
}
