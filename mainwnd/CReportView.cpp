#include "mainwnd/CReportView.h"

#include <QHeaderView>
#include <QPainter>

CReportView::CReportView(QWidget* parent) : QTreeView(parent) {
    setRootIsDecorated(false);
    setItemsExpandable(false);
    setUniformRowHeights(true);
    setAllColumnsShowFocus(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setEditTriggers(QAbstractItemView::EditKeyPressed | QAbstractItemView::SelectedClicked);
    setDragEnabled(false);
    setAcceptDrops(false);
    header()->setStretchLastSection(false);
    header()->setSectionsMovable(false);
}

void CReportView::SetGridLines(bool on) {
    if (gridLines_ == on)
        return;
    gridLines_ = on;
    viewport()->update();
}

void CReportView::drawRow(QPainter* painter, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const {
    QTreeView::drawRow(painter, option, index);
    if (!gridLines_)
        return;
    painter->save();
    painter->setPen(palette().color(QPalette::Midlight));
    const QRect r = option.rect;
    painter->drawLine(r.left(), r.bottom(), r.right(), r.bottom());
    const QHeaderView* h = header();
    for (int visual = 0; visual < h->count(); ++visual) {
        const int logical = h->logicalIndex(visual);
        if (h->isSectionHidden(logical))
            continue;
        const int x = h->sectionViewportPosition(logical) + h->sectionSize(logical) - 1;
        painter->drawLine(x, r.top(), x, r.bottom());
    }
    painter->restore();
}
