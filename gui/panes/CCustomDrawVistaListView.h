#pragma once
// "Windows Vista Style" drawing of the result lists: a selected row gets the
// theme's rounded gradient selection (focused or unfocused set) blended with
// the row's own colour; other rows are filled with their colour. Icons and
// texts are drawn over it.

#include "gui/panes/CCustomDrawListView.h"
#include "gui/panes/CVistaTheme.h"

#include <memory>

namespace HV {

class CCustomDrawVistaListView : public CCustomDrawListView {
    Q_OBJECT
public:
    CCustomDrawVistaListView(std::shared_ptr<const CVistaTheme> theme, QObject* parent = nullptr);
    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
    const CVistaTheme& theme() const { return *theme_; }

    // The four selection colours of a row: the focused or unfocused set,
    // blended with the row colour.
    paradrex::SelectionColours SelectionFor(paradrex::Colour row, bool hasFocus) const;

private:
    std::shared_ptr<const CVistaTheme> theme_;
};

} // namespace HV
