#include "gui/panes/CCustomDrawVistaTreeView.h"

#include <QApplication>
#include <QPainter>

namespace HV {

CCustomDrawVistaTreeView::CCustomDrawVistaTreeView(std::shared_ptr<const CVistaTheme> theme,
                                                   QObject* parent)
    : QStyledItemDelegate(parent), theme_(std::move(theme)) {}

void CCustomDrawVistaTreeView::paint(QPainter* painter, const QStyleOptionViewItem& option,
                                     const QModelIndex& index) const {
    if (!(option.state & QStyle::State_Selected)) {
        QStyledItemDelegate::paint(painter, option, index);
        return;
    }
    QStyleOptionViewItem opt = option;
    initStyleOption(&opt, index);
    const QWidget* widget = option.widget;
    const QStyle* style = widget ? widget->style() : QApplication::style();
    QRect iconRect = style->subElementRect(QStyle::SE_ItemViewItemDecoration, &opt, widget);
    QRect textRect = style->subElementRect(QStyle::SE_ItemViewItemText, &opt, widget);

    painter->save();
    if (!opt.icon.isNull())
        opt.icon.paint(painter, iconRect, opt.decorationAlignment, QIcon::Selected);
    painter->fillRect(textRect, ToQColor(theme_->window));
    bool focused = widget && widget->hasFocus();
    PaintSelection(*painter, textRect, theme_->SetFor(focused));
    QRect text = textRect.adjusted(3, 0, -2, 0);
    painter->setFont(opt.font);
    painter->setPen(ToQColor(theme_->text));
    painter->drawText(text, int(Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine),
                      opt.fontMetrics.elidedText(opt.text, Qt::ElideRight, text.width()));
    painter->restore();
}

} // namespace HV
