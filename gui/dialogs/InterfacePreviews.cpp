#include "gui/dialogs/InterfacePreviews.h"

#include "gui/QtBytes.h"
#include "gui/dialogs/CColorPreviewModel.h"
#include "gui/panes/ListStyleDrawing.h"
#include "uimodel/CommandIds.h"
#include "uimodel/CommandTable.h"
#include "uimodel/OptionColorPage.h"

#include <QAction>
#include <QApplication>
#include <QHeaderView>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QStandardItemModel>
#include <QStyle>
#include <QToolBar>
#include <QTreeView>

#include <algorithm>

using namespace paradrex;

// The command images live in the GUI library's resources.
static void InitPreviewResources() {
    Q_INIT_RESOURCE(mainframe);
}

namespace {

QIcon CommandImage(int id) {
    for (const res::CommandIcon& i : res::kCommandIcons)
        if (i.id == id)
            return QIcon(QStringLiteral(":/icons/%1.svg").arg(QLatin1String(i.name)));
    return {};
}

QAction* CommandAction(int id, QObject* parent) {
    auto* a = new QAction(CommandImage(id), Utf8Text(res::MenuTextOf(id)), parent);
    a->setCheckable(id == cmd::GroupSet);
    a->setChecked(id == cmd::GroupSet);
    return a;
}

QPixmap Empty(QSize size) {
    QPixmap picture(size);
    picture.fill(Qt::transparent);
    return picture;
}

} // namespace

QPixmap MenuPreview(int menuStyle, QSize size) {
    if (menuStyle != 0 && menuStyle != 1)
        return Empty(size);
    InitPreviewResources();
    QMenuBar bar;
    QMenu* open = nullptr;
    for (const res::Popup& popup : res::kMainMenu) {
        if (popup.items.empty())
            continue; // the pane popup has nothing to show
        QMenu* menu = bar.addMenu(Utf8Text(popup.title));
        for (int id : popup.items) {
            if (id == res::kSeparator)
                menu->addSeparator();
            else
                menu->addAction(CommandAction(id, menu));
        }
        if (popup.items.data() == std::data(res::kToolsMenu))
            open = menu;
    }
    bar.resize(size.width(), bar.sizeHint().height());
    open->setActiveAction(open->actions().last());
    open->resize(open->sizeHint());

    QPixmap picture = Empty(size);
    picture.fill(bar.palette().color(QPalette::Window));
    QPainter painter(&picture);
    bar.render(&painter);
    // Under its title, moved left as far as it needs to show whole.
    const QRect title = bar.actionGeometry(open->menuAction());
    const int x = std::max(0, std::min(title.left(), size.width() - open->width()));
    open->render(&painter, QPoint(x, bar.height()));
    return picture;
}

QPixmap ToolBarPreview(int menuStyle, QSize size) {
    if (menuStyle != 0 && menuStyle != 1)
        return Empty(size);
    InitPreviewResources();
    QToolBar bar;
    bar.setIconSize(QSize(24, 24));
    for (int id : res::kToolBar) {
        if (id == res::kSeparator)
            bar.addSeparator();
        else
            bar.addAction(CommandAction(id, &bar));
    }
    // The bar's left end, cut off rather than folded into its extension
    // button.
    bar.resize(std::max(size.width(), bar.sizeHint().width()), size.height());
    return bar.grab(QRect(QPoint(0, 0), size));
}

QPixmap TreePreview(int listStyle, QSize size) {
    if (listStyle != 0 && listStyle != 1)
        return Empty(size);
    QTreeView tree;
    QStandardItemModel model;
    const QIcon folder = QIcon::fromTheme(QStringLiteral("folder"),
                                          QApplication::style()->standardIcon(QStyle::SP_DirIcon));
    auto* root = new QStandardItem(folder, QStringLiteral("data"));
    auto* photos = new QStandardItem(folder, QStringLiteral("photos"));
    root->appendRow(photos);
    photos->appendRow(new QStandardItem(folder, QStringLiteral("2023")));
    root->appendRow(new QStandardItem(folder, QStringLiteral("backup")));
    model.appendRow(root);
    tree.setModel(&model);
    tree.setHeaderHidden(true);
    tree.setIconSize(QSize(16, 16));
    tree.setIndentation(12);
    tree.setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    tree.setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    HV::InstallTreeStyle(tree, ListStyleOf(listStyle), tree.palette());
    tree.expandAll();
    tree.setCurrentIndex(photos->index());
    tree.resize(size);
    return tree.grab();
}

QPixmap ListPreview(int listStyle, QSize size, CTypeIconCache& types, const CStateImages& states) {
    if (listStyle != 0 && listStyle != 1)
        return Empty(size);
    QTreeView list;
    CColorPreviewModel model(types, states);
    const RowColours colours;
    model.SetColours({colours.textBk2, colours.textBlock, colours.textBk1});
    list.setModel(&model);
    list.setRootIsDecorated(false);
    list.setIndentation(0);
    list.setSelectionBehavior(QAbstractItemView::SelectRows);
    list.setIconSize(QSize(16, 16));
    list.setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    list.setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    list.header()->setStretchLastSection(false);
    for (int c = 0; c < model.columnCount(); ++c)
        list.header()->resizeSection(c, OptionColorPage::kPreviewColumns[size_t(c)].width);
    HV::InstallListStyle(list, ListStyleOf(listStyle));
    list.setCurrentIndex(model.index(2, 1));
    list.resize(size);
    return list.grab();
}
