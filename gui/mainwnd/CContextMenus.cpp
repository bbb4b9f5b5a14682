#include "gui/mainwnd/CContextMenus.h"

#include "engine/SearchModel.h"
#include "gui/QtBytes.h"
#include "gui/mainwnd/CMainFrame.h"
#include "gui/panes/CFolderTreeModel.h"
#include "gui/panes/CResultListModel.h"
#include "gui/panes/CResultPanes.h"
#include "platform/ChildProcess.h"
#include "settings/SettingKeys.h"
#include "uimodel/FrameCommands.h"
#include "uimodel/OpenSubmenu.h"

#include <QAction>
#include <QContextMenuEvent>
#include <QMenu>
#include <QStatusBar>
#include <QStyle>
#include <QStyleOptionViewItem>
#include <QTreeView>

#include <algorithm>

using namespace paradrex;

namespace {

constexpr FramePane kPanes[] = {FramePane::Tree, FramePane::FileList, FramePane::CloneList,
                                FramePane::OneList};

// Where a tree node's label lies in the viewport, as the style lays out the
// icon and the text: from the left of its icon to the end of its text.
struct NodeLabel {
    QRect item; // icon and label
    QRect text; // the text's own place
};

NodeLabel NodeLabelOf(const QTreeView& tree, const QModelIndex& index) {
    QStyleOptionViewItem opt;
    opt.initFrom(&tree);
    opt.rect = tree.visualRect(index);
    opt.text = index.data(Qt::DisplayRole).toString();
    opt.features = QStyleOptionViewItem::HasDisplay;
    opt.displayAlignment = Qt::AlignLeft | Qt::AlignVCenter;
    opt.decorationPosition = QStyleOptionViewItem::Left;
    opt.decorationAlignment = Qt::AlignCenter;
    opt.icon = index.data(Qt::DecorationRole).value<QIcon>();
    if (!opt.icon.isNull()) {
        opt.features |= QStyleOptionViewItem::HasDecoration;
        opt.decorationSize = tree.iconSize();
    }
    const QStyle* style = tree.style();
    QRect text = style->subElementRect(QStyle::SE_ItemViewItemText, &opt, &tree);
    const int margin = style->pixelMetric(QStyle::PM_FocusFrameHMargin, &opt, &tree) + 1;
    const int textRight = text.left() + opt.fontMetrics.horizontalAdvance(opt.text) + 2 * margin;
    text.setRight(std::min(text.right(), textRight));
    QRect item = opt.rect;
    item.setRight(text.right());
    return {item, text};
}

} // namespace

CContextMenus::CContextMenus(CMainFrame& frame, const _File_context_menu_section& fileMenu)
    : QObject(&frame), frame_(frame), panes_(*frame.panes()), fileMenu_(fileMenu) {
    BuildPopups();
    RebuildOpenSubmenu();
    frame_.SetCommandHandler(cmd::OpenFile, [this] { OpenSelectedFile(cmd::OpenFile); });
    for (int id = cmd::OpenWithFirst; id <= cmd::OpenWithLast; ++id)
        frame_.SetCommandHandler(id, [this, id] { OpenSelectedFile(id); });
    for (FramePane pane : kPanes) {
        View(pane)->installEventFilter(this);
        View(pane)->viewport()->installEventFilter(this);
    }
}

void CContextMenus::BuildPopups() {
    open_ = new QMenu(Utf8Text(res::kOpenSubmenuTitle), &frame_);
    open_->setObjectName(QStringLiteral("openSubmenu"));
    // The five popups that show it share its item; each enables it as it
    // opens.
    open_->menuAction()->setData(res::kOpenSubmenu);
    for (ContextPopup popup : kContextPopups) {
        const res::ContextPopupTable& table = res::PopupTableOf(popup);
        auto* menu = new QMenu(Utf8Text(table.title), &frame_);
        menu->setObjectName(Utf8Text(table.title).remove(u'&'));
        for (const res::PopupItem& item : table.items) {
            if (item.id == res::kSeparator) {
                menu->addSeparator();
            } else if (item.id == res::kOpenSubmenu) {
                menu->addMenu(open_);
            } else {
                QAction* a = menu->addAction(Utf8Text(item.text));
                a->setData(item.id);
                connect(a, &QAction::triggered, this, [this, id = item.id] {
                    if (QAction* command = frame_.Action(id))
                        command->trigger();
                });
            }
        }
        connect(menu, &QMenu::aboutToShow, this, [this, popup] { EnableItems(popup); });
        popups_[Slot(popup)] = menu;
    }
    // In the menu bar a popup goes by its pane's caption.
    for (FramePane pane : kPanes)
        if (const std::optional<PaneMenu> m = PaneMenuOf(pane))
            Popup(m->popup)->setTitle(Utf8Text(m->caption));
}

void CContextMenus::RebuildOpenSubmenu() {
    open_->clear();
    for (const OpenSubmenuItem& item : OpenSubmenuItems(fileMenu_)) {
        QAction* a = open_->addAction(Utf8Text(item.text));
        a->setData(item.id);
        connect(a, &QAction::triggered, this, [this, id = item.id] { frame_.RunCommand(id); });
    }
}

void CContextMenus::FocusMovedTo(FramePane pane) {
    if (const std::optional<PaneMenu> m = paneMenu_.FocusMovedTo(pane))
        frame_.SetPaneMenu(Popup(m->popup));
}

void CContextMenus::EnableItems(ContextPopup popup) {
    const PopupState state = StateOf(PopupPane(popup));
    for (QAction* a : Popup(popup)->actions()) {
        if (a->isSeparator())
            continue;
        const int item = a->data().toInt();
        bool on = PopupItemEnabled(popup, item, state);
        // A command without its code yet stays greyed here as everywhere.
        if (item != res::kOpenSubmenu)
            on = on && frame_.commands().Enabled(item);
        a->setEnabled(on);
    }
}

PopupState CContextMenus::StateOf(FramePane pane) const {
    PopupState s;
    s.copiedCloneRow = panes_.copiedNames().row(ListKind::CloneList);
    s.copiedOneListRow = panes_.copiedNames().row(ListKind::OneList);
    if (const std::optional<ListKind> kind = ListOfPane(pane)) {
        s.rowCount = panes_.listModel(*kind)->rowCount();
        s.selectedRow = panes_.SelectedRow(*kind).value_or(-1);
    } else if (pane == FramePane::Tree) {
        s.rowCount = panes_.treeModel()->rowCount();
        s.selectedRow = panes_.SelectedDirectory() ? 0 : -1;
    }
    return s;
}

QTreeView* CContextMenus::View(FramePane pane) const {
    if (const std::optional<ListKind> kind = ListOfPane(pane))
        return panes_.list(*kind);
    return panes_.folderTree();
}

bool CContextMenus::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::ContextMenu)
        return false;
    const auto& e = *static_cast<QContextMenuEvent*>(event);
    for (FramePane pane : kPanes) {
        QTreeView* view = View(pane);
        // A click reaches the viewport; the key reaches the view that has the
        // focus. A click on a header or a scroll bar opens nothing.
        const bool mouse = e.reason() == QContextMenuEvent::Mouse;
        if (mouse ? watched != view->viewport() : watched != view && watched != view->viewport())
            continue;
        OnContextMenu(pane, e, mouse);
        return true;
    }
    return false;
}

void CContextMenus::OnContextMenu(FramePane pane, const QContextMenuEvent& event, bool mouse) {
    const PopupState state = StateOf(pane);
    ContextRequest request;
    request.pane = pane;
    request.input = mouse ? ContextInput::Mouse : ContextInput::Keyboard;
    request.selectedRow = state.selectedRow;
    request.rowCount = state.rowCount;
    QTreeView* view = View(pane);
    QModelIndex hit;
    if (mouse) {
        hit = view->indexAt(event.pos());
        if (pane == FramePane::Tree) {
            // Only the node's icon and label count, not the space around them.
            if (hit.isValid() && !NodeLabelOf(*view, hit).item.contains(event.pos()))
                hit = QModelIndex();
        } else if (hit.isValid()) {
            // The logical column, the Name column first and the state column
            // (shown first) last.
            const CResultListModel* model = panes_.listModel(*ListOfPane(pane));
            request.hitColumn = model->ColumnAt(hit.column()) == ListColumn::State
                                    ? model->columnCount() - 1
                                    : hit.column() - 1;
        }
        request.hitRow = hit.isValid() ? hit.row() : -1;
    }
    const PopupChoice choice = ChoosePopup(request);
    if (!choice.popup)
        return;
    if (choice.selectRow >= 0) {
        if (pane == FramePane::Tree)
            view->selectionModel()->setCurrentIndex(hit, QItemSelectionModel::ClearAndSelect);
        else
            SelectRow(pane, choice.selectRow);
    }
    Popup(*choice.popup)->popup(PlaceOf(pane, choice.place, event));
}

void CContextMenus::SelectRow(FramePane pane, int row) {
    const ListKind kind = *ListOfPane(pane);
    if (kind == ListKind::FileList) {
        panes_.SelectFileRow(row);
        return;
    }
    const CResultListModel* model = panes_.listModel(kind);
    View(pane)->selectionModel()->setCurrentIndex(
        model->index(row, model->ColumnOf(ListColumn::Name)),
        QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
}

QPoint CContextMenus::PlaceOf(FramePane pane, PopupPlace place,
                              const QContextMenuEvent& event) const {
    QTreeView* view = View(pane);
    switch (place) {
    case PopupPlace::MousePoint:
        break;
    case PopupPlace::NodeText: {
        const QModelIndex index = panes_.treeModel()->IndexOf(panes_.SelectedDirectory());
        view->scrollTo(index);
        const QRect text = NodeLabelOf(*view, index).text;
        return view->viewport()->mapToGlobal(QPoint(text.left(), text.center().y()));
    }
    case PopupPlace::RowCentre: {
        const CResultListModel* model = panes_.listModel(*ListOfPane(pane));
        const int row = StateOf(pane).selectedRow;
        view->scrollTo(model->index(row, model->ColumnOf(ListColumn::Name)));
        // The whole row, as far as the list shows it.
        const QRect rowRect =
            view->visualRect(model->index(row, 0))
                .united(view->visualRect(model->index(row, model->columnCount() - 1)))
                .intersected(view->viewport()->rect());
        return view->viewport()->mapToGlobal(rowRect.center());
    }
    case PopupPlace::ListTopLeft:
        return view->mapToGlobal(view->contentsRect().topLeft());
    }
    return event.globalPos();
}

const FileRecord* CContextMenus::SelectedFile() const {
    const std::optional<ListKind> kind = ListOfPane(frame_.FocusedPane());
    if (!kind)
        return nullptr;
    const std::optional<int> row = panes_.SelectedRow(*kind);
    return row ? panes_.listModel(*kind)->FileAt(*row) : nullptr;
}

void CContextMenus::OpenSelectedFile(int id) {
    const FileRecord* file = SelectedFile();
    if (!file)
        return;
    if (id == cmd::OpenFile) {
        CResultPanes::OpenFile(*file);
        return;
    }
    const OpenWithLaunch launch = PrepareOpenWith(fileMenu_, id, FilePath(*file));
    if (launch.ok() && platform::StartDetached(launch.argv))
        return;
    // Not a box: the user sees it at once and goes on.
    frame_.statusBar()->showMessage(DisplayText(launch.failureText));
}
