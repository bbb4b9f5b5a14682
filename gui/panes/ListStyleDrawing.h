#pragma once
// How the tree and the lists are drawn in a list style ("ListViewStyle"):
// the style's delegates and the palette and focus frame that go with them.
// The result panes and the options sheet's previews both draw this way.

#include "uimodel/PaneSettings.h"

class QPalette;
class QStyledItemDelegate;
class QTreeView;

namespace HV {

class CCustomDrawListView;

// Gives a result list the delegate of `style` (the list owns it; the one it
// had before is deleted when the list owned it).
CCustomDrawListView* InstallListStyle(QTreeView& list, paradrex::ListStyle style);
// Gives a folder tree the delegate of `style` and its palette: `own` is the
// palette the tree has without any style.
QStyledItemDelegate* InstallTreeStyle(QTreeView& tree, paradrex::ListStyle style,
                                      const QPalette& own);

} // namespace HV
