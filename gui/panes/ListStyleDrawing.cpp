#include "gui/panes/ListStyleDrawing.h"

#include "gui/panes/CCustomDrawStandardListView.h"
#include "gui/panes/CCustomDrawVistaListView.h"
#include "gui/panes/CCustomDrawVistaTreeView.h"

#include <QTreeView>

namespace HV {

namespace {

void Replace(QTreeView& view, QAbstractItemDelegate* delegate) {
    QAbstractItemDelegate* old = view.itemDelegate();
    view.setItemDelegate(delegate);
    if (old && old->parent() == &view)
        delete old;
    view.viewport()->update();
}

} // namespace

CCustomDrawListView* InstallListStyle(QTreeView& list, paradrex::ListStyle style) {
    CCustomDrawListView* delegate = nullptr;
    if (style == paradrex::ListStyle::WindowsVista)
        delegate =
            new CCustomDrawVistaListView(std::make_shared<CVistaTheme>(list.palette()), &list);
    else
        delegate = new CCustomDrawStandardListView(&list);
    // The themed selection is the whole mark of the current row; the plain
    // style keeps the style's focus frame around it.
    list.setAllColumnsShowFocus(style == paradrex::ListStyle::WindowsDefault);
    Replace(list, delegate);
    return delegate;
}

QStyledItemDelegate* InstallTreeStyle(QTreeView& tree, paradrex::ListStyle style,
                                      const QPalette& own) {
    QPalette palette = own;
    QStyledItemDelegate* delegate = nullptr;
    if (style == paradrex::ListStyle::WindowsVista) {
        delegate = new CCustomDrawVistaTreeView(std::make_shared<CVistaTheme>(own), &tree);
        // The themed selection marks the item's text only; the style's own
        // highlight would still fill the branch area left of the item.
        for (auto group : {QPalette::Active, QPalette::Inactive})
            palette.setColor(group, QPalette::Highlight, palette.color(group, QPalette::Base));
    } else {
        delegate = new QStyledItemDelegate(&tree); // the tree paints itself
    }
    tree.setPalette(palette);
    Replace(tree, delegate);
    return delegate;
}

} // namespace HV
