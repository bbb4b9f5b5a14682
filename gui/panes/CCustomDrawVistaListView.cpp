#include "gui/panes/CCustomDrawVistaListView.h"

#include <QPainter>

namespace HV {

CCustomDrawVistaListView::CCustomDrawVistaListView(std::shared_ptr<const CVistaTheme> theme,
                                                   QObject* parent)
    : CCustomDrawListView(parent), theme_(std::move(theme)) {}

paradrex::SelectionColours CCustomDrawVistaListView::SelectionFor(paradrex::Colour row,
                                                                  bool hasFocus) const {
    return paradrex::BlendSelection(theme_->SetFor(hasFocus), row);
}

void CCustomDrawVistaListView::paint(QPainter* painter, const QStyleOptionViewItem& option,
                                     const QModelIndex& index) const {
    QStyleOptionViewItem opt = option;
    initStyleOption(&opt, index);
    QColor background = opt.backgroundBrush.style() != Qt::NoBrush
                            ? opt.backgroundBrush.color()
                            : opt.palette.color(QPalette::Active, QPalette::Base);

    painter->save();
    painter->setClipRect(option.rect);
    if (option.state & QStyle::State_Selected) {
        // The selection spans the whole row; each cell paints its part of it.
        bool focused = option.widget && option.widget->hasFocus();
        PaintSelection(*painter, RowRect(option), SelectionFor(FromQColor(background), focused));
    } else {
        painter->fillRect(option.rect, background);
    }

    QRect cell = option.rect.adjusted(kTextMargin, 0, -kTextMargin, 0);
    int textLeft = cell.left();
    if (!opt.icon.isNull()) {
        QSize size = opt.decorationSize;
        QRect icon(option.rect.left() + kIconMargin,
                   option.rect.top() + (option.rect.height() - size.height()) / 2, size.width(),
                   size.height());
        opt.icon.paint(painter, icon, Qt::AlignCenter, QIcon::Normal);
        textLeft = icon.right() + 1 + 5;
    }
    cell.setLeft(textLeft);
    if (!opt.text.isEmpty() && cell.width() > 0) {
        painter->setFont(opt.font);
        painter->setPen(opt.palette.color(QPalette::Active, QPalette::Text));
        QString text = opt.fontMetrics.elidedText(opt.text, Qt::ElideRight, cell.width());
        Qt::Alignment horizontal = opt.displayAlignment & Qt::AlignHorizontal_Mask;
        painter->drawText(cell, int(horizontal | Qt::AlignVCenter | Qt::TextSingleLine), text);
    }
    painter->restore();
    PaintGrid(painter, option);
}

} // namespace HV
