#pragma once
// "Windows Default" drawing of the result lists: each row in its own
// background colour, painted by the style; the selection shows on the name
// only, as a list without full-row selection shows it.

#include "gui/panes/CCustomDrawListView.h"

namespace HV {

class CCustomDrawStandardListView : public CCustomDrawListView {
    Q_OBJECT
public:
    using CCustomDrawListView::CCustomDrawListView;
    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
};

} // namespace HV
