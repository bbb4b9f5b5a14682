#pragma once
// A report list of the main window: a flat QTreeView (no root decoration,
// uniform rows, single selection) that can draw grid lines between its rows
// and columns, as the "Grid" setting and the "&Grid" command ask.

#include <QTreeView>

class CReportView : public QTreeView {
    Q_OBJECT
public:
    explicit CReportView(QWidget* parent = nullptr);

    bool gridLines() const { return gridLines_; }
    void SetGridLines(bool on);

protected:
    void drawRow(QPainter* painter, const QStyleOptionViewItem& option,
                 const QModelIndex& index) const override;

private:
    bool gridLines_ = false;
};
