#include "gui/panes/CCustomDrawStandardListView.h"

#include "gui/panes/CResultListModel.h"

#include <QPainter>

namespace HV {

void CCustomDrawStandardListView::paint(QPainter* painter, const QStyleOptionViewItem& option,
                                        const QModelIndex& index) const {
    QStyleOptionViewItem opt = option;
    const QVariant column = index.data(CResultListModel::ColumnRole);
    if (column.isValid() && column.toInt() != static_cast<int>(paradrex::ListColumn::Name))
        opt.state &= ~QStyle::State_Selected;
    // The row colour fills the whole cell, including the margins the style
    // leaves around the text.
    QVariant background = index.data(Qt::BackgroundRole);
    if (background.canConvert<QBrush>())
        painter->fillRect(option.rect, background.value<QBrush>());
    QStyledItemDelegate::paint(painter, opt, index);
    PaintGrid(painter, option);
}

} // namespace HV
