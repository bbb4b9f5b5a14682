#pragma once
// The review commands of the main window: marking by the focused pane, by a
// click on a state icon and by Space; the navigation commands with their
// "Message" boxes; the statistics dialog; and opening a directory with the
// desktop's file manager. Each handler asks review/ what to do and hands the
// answer to the panes; none decides anything about file states itself.

#include "review/Marking.h"
#include "review/Navigation.h"
#include "uimodel/ListColumns.h"

#include <QObject>

#include <functional>
#include <optional>

class CMainFrame;
class CResultPanes;

class CReviewCommands : public QObject {
    Q_OBJECT
public:
    // Sets the handlers of the review commands on `frame` and acts on its
    // panes; lives as the frame's child.
    explicit CReviewCommands(CMainFrame& frame);

private:
    using Marking = std::function<paradrex::MarkingUpdate(const paradrex::Browser&)>;
    using Move = std::optional<paradrex::ReviewPlace> (*)(const paradrex::Browser&);

    void RegisterMarking();
    void RegisterNavigation();
    void RegisterDirectoryCommands();

    void OnMarking(int id, Marking marking);
    // A marking of the selected clone row; nothing without one.
    paradrex::MarkingUpdate
    MarkSelectedClone(const std::function<paradrex::MarkingUpdate(size_t cloneRow)>& marking) const;
    void OnlyFilesInThisDirectory(paradrex::FileState value);
    void AdvanceState(paradrex::ListKind list, int row);
    void Go(Move move);
    void Find(paradrex::FindWhat what);
    void ShowStatistics(const paradrex::ResultDir& dir);

    CMainFrame& frame_;
    CResultPanes& panes_;
};
