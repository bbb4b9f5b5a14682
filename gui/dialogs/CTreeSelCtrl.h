#pragma once
// A tree whose selection can be refused: before the current item changes,
// the tree asks its owner, and a refusal leaves the current and selected
// item as they were, for the mouse and the keyboard alike.

#include <QTreeWidget>

#include <functional>

namespace HV {

class CTreeSelCtrl : public QTreeWidget {
    Q_OBJECT
public:
    // Asked with the item about to become current; false keeps the old one.
    using SelectionChanging = std::function<bool(QTreeWidgetItem* item)>;

    explicit CTreeSelCtrl(QWidget* parent = nullptr);
    void SetSelectionChanging(SelectionChanging ask) { ask_ = std::move(ask); }
    // The width that shows every item's whole text, frame included.
    int ContentWidth() const { return sizeHintForColumn(0) + 2 * frameWidth(); }

private:
    class VetoSelection;
    bool Allows(const QModelIndex& index);

    SelectionChanging ask_;
};

} // namespace HV
