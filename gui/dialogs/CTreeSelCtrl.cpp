#include "gui/dialogs/CTreeSelCtrl.h"

#include <QItemSelectionModel>

namespace HV {

// The views make an item current before they select it (a mouse press, a
// key); after a refusal the current item has not moved, and only it, or the
// item being made current, may be selected.
class CTreeSelCtrl::VetoSelection : public QItemSelectionModel {
public:
    explicit VetoSelection(CTreeSelCtrl* tree)
        : QItemSelectionModel(tree->model(), tree), tree_(tree) {}

    void setCurrentIndex(const QModelIndex& index, SelectionFlags command) override {
        if (index != currentIndex() && !tree_->Allows(index))
            return;
        // The base selects the item before it makes it current.
        changingTo_ = index;
        QItemSelectionModel::setCurrentIndex(index, command);
        changingTo_ = QPersistentModelIndex();
    }

    void select(const QModelIndex& index, SelectionFlags command) override {
        select(QItemSelection(index, index), command);
    }

    void select(const QItemSelection& selection, SelectionFlags command) override {
        for (const QModelIndex& index : selection.indexes())
            if (index != currentIndex() && index != changingTo_)
                return;
        QItemSelectionModel::select(selection, command);
    }

private:
    CTreeSelCtrl* tree_;
    QPersistentModelIndex changingTo_;
};

CTreeSelCtrl::CTreeSelCtrl(QWidget* parent) : QTreeWidget(parent) {
    QItemSelectionModel* old = selectionModel();
    setSelectionModel(new VetoSelection(this));
    delete old;
    // The tree widget's own signal listened to the old selection model.
    connect(selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex& current, const QModelIndex& previous) {
                emit currentItemChanged(itemFromIndex(current), itemFromIndex(previous));
            });
}

bool CTreeSelCtrl::Allows(const QModelIndex& index) {
    return !ask_ || ask_(itemFromIndex(index));
}

} // namespace HV
