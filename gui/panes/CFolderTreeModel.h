#pragma once
// The folder tree's model: the result directory tree as shown, roots at the
// top with their whole path, children in child-map order (never sorted).
// Each item stands for one ResultDir.

#include "engine/SearchModel.h"

#include <QAbstractItemModel>
#include <QIcon>

#include <unordered_map>
#include <vector>

class CFolderTreeModel : public QAbstractItemModel {
    Q_OBJECT
public:
    explicit CFolderTreeModel(QObject* parent = nullptr);

    // Shows the tree below `root` (null: an empty tree).
    void SetRoot(paradrex::ResultDir* root);
    paradrex::ResultDir* root() const { return root_; }
    // A closed folder for items that are not selected, an open one for the
    // selected item (the icon's Selected mode).
    void SetFolderIcons(const QIcon& closed, const QIcon& open);

    paradrex::ResultDir* DirectoryAt(const QModelIndex& index) const;
    QModelIndex IndexOf(const paradrex::ResultDir* dir) const;

    QModelIndex index(int row, int column, const QModelIndex& parent = {}) const override;
    QModelIndex parent(const QModelIndex& child) const override;
    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

private:
    // Nodes in breadth-first order, so the children of a node are adjacent.
    struct Node {
        paradrex::ResultDir* dir;
        int parent; // -1 for a root
        int row;
        int firstChild;
        int childCount;
    };
    const Node* NodeOf(const QModelIndex& index) const;

    paradrex::ResultDir* root_ = nullptr;
    std::vector<Node> nodes_;
    int topCount_ = 0;
    std::unordered_map<const paradrex::ResultDir*, int> nodeOf_;
    QIcon folderIcon_;
};
