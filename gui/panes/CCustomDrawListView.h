#pragma once
// What both drawing styles of the result lists share: grid lines, and info
// tips (the whole text of a cut cell, and the origin name of a renamed file).

#include <QStyledItemDelegate>

namespace HV {

class CCustomDrawListView : public QStyledItemDelegate {
    Q_OBJECT
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void SetGrid(bool on) { grid_ = on; }
    bool grid() const { return grid_; }

    bool helpEvent(QHelpEvent* event, QAbstractItemView* view, const QStyleOptionViewItem& option,
                   const QModelIndex& index) override;
    // The info tip of a cell, empty for none.
    static QString InfoTip(const QStyleOptionViewItem& option, const QModelIndex& index);

protected:
    // Keys typed into the name editor are the editor's: plain Insert, Delete
    // and Space are marking shortcuts elsewhere and must not mark the file
    // whose name is being edited.
    bool eventFilter(QObject* editor, QEvent* event) override;
    void PaintGrid(QPainter* painter, const QStyleOptionViewItem& option) const;
    // The whole row across every column, in viewport coordinates.
    static QRect RowRect(const QStyleOptionViewItem& option);
    // The text of a cell starts 6 pixels in; an icon 3 pixels in.
    static constexpr int kTextMargin = 6;
    static constexpr int kIconMargin = 3;

private:
    bool grid_ = false;
};

} // namespace HV
