#include "gui/panes/CCustomDrawStandardListView.h"

#include "gui/panes/CResultListModel.h"

#include <QPainter>

namespace HV {

void CCustomDrawStandardListView::paint(QPainter* painter, const QStyleOptionViewItem& option,
                                        const QModelIndex& index) const {
    QStyleOptionViewItem opt = option;
    auto* model = qobject_cast<const CResultListModel*>(index.model());
    if (model && model->ColumnAt(index.column()) != paradrex::ListColumn::Name)
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
