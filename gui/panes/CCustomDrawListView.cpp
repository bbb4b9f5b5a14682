#include "gui/panes/CCustomDrawListView.h"

#include "gui/QtBytes.h"
#include "gui/panes/CResultListModel.h"
#include "review/ListCells.h"

#include <QApplication>
#include <QHeaderView>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QPainter>
#include <QToolTip>
#include <QTreeView>

namespace HV {

QString CCustomDrawListView::InfoTip(const QStyleOptionViewItem& option, const QModelIndex& index) {
    auto* file = reinterpret_cast<const paradrex::FileRecord*>(
        index.data(CResultListModel::FileRole).value<quintptr>());
    if (!file)
        return {};
    QString text = index.data(Qt::DisplayRole).toString();
    int room = option.rect.width() - 2 * kTextMargin;
    if (!index.data(Qt::DecorationRole).isNull())
        room -= option.decorationSize.width() + 2;
    std::string cut;
    if (!text.isEmpty() && option.fontMetrics.horizontalAdvance(text) > room)
        cut = PathBytes(text);
    return DisplayText(paradrex::InfoTipText(std::move(cut), *file));
}

bool CCustomDrawListView::helpEvent(QHelpEvent* event, QAbstractItemView* view,
                                    const QStyleOptionViewItem& option, const QModelIndex& index) {
    if (!event || event->type() != QEvent::ToolTip)
        return QStyledItemDelegate::helpEvent(event, view, option, index);
    QString tip = InfoTip(option, index);
    if (tip.isEmpty()) {
        QToolTip::hideText();
        event->ignore();
        return false;
    }
    QToolTip::showText(event->globalPos(), tip, view, option.rect);
    return true;
}

bool CCustomDrawListView::eventFilter(QObject* editor, QEvent* event) {
    if (event->type() == QEvent::ShortcutOverride) {
        auto* key = static_cast<QKeyEvent*>(event);
        const bool chord =
            key->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier);
        // Text, editing and cursor keys; function keys keep their commands.
        if (!chord && key->key() < Qt::Key_F1) {
            key->accept();
            return true;
        }
    }
    return QStyledItemDelegate::eventFilter(editor, event);
}

void CCustomDrawListView::PaintGrid(QPainter* painter, const QStyleOptionViewItem& option) const {
    if (!grid_)
        return;
    const QWidget* widget = option.widget;
    const QStyle* style = widget ? widget->style() : QApplication::style();
    QColor colour = QColor::fromRgba(
        static_cast<QRgb>(style->styleHint(QStyle::SH_Table_GridLineColor, &option, widget)));
    painter->save();
    painter->setPen(colour);
    const QRect& r = option.rect;
    painter->drawLine(r.left(), r.bottom(), r.right(), r.bottom());
    painter->drawLine(r.right(), r.top(), r.right(), r.bottom());
    painter->restore();
}

QRect CCustomDrawListView::RowRect(const QStyleOptionViewItem& option) {
    if (auto* tree = qobject_cast<const QTreeView*>(option.widget)) {
        const QHeaderView* header = tree->header();
        return {-header->offset(), option.rect.top(), header->length(), option.rect.height()};
    }
    return option.rect;
}

} // namespace HV
