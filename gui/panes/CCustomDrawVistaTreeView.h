#pragma once
// "Windows Vista Style" drawing of the folder tree's selection: the selected
// item's text gets the theme's rounded gradient selection (focused or
// unfocused set, not blended) and the theme's text colour.

#include "gui/panes/CVistaTheme.h"

#include <QStyledItemDelegate>

#include <memory>

namespace HV {

class CCustomDrawVistaTreeView : public QStyledItemDelegate {
    Q_OBJECT
public:
    CCustomDrawVistaTreeView(std::shared_ptr<const CVistaTheme> theme, QObject* parent = nullptr);
    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
    const CVistaTheme& theme() const { return *theme_; }

private:
    std::shared_ptr<const CVistaTheme> theme_;
};

} // namespace HV
