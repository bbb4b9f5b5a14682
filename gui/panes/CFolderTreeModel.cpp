#include "gui/panes/CFolderTreeModel.h"

#include "gui/QtBytes.h"

using paradrex::ResultDir;

CFolderTreeModel::CFolderTreeModel(QObject* parent) : QAbstractItemModel(parent) {}

void CFolderTreeModel::SetRoot(ResultDir* root) {
    beginResetModel();
    root_ = root;
    nodes_.clear();
    nodeOf_.clear();
    topCount_ = 0;
    if (root) {
        for (auto& [name, child] : root->children)
            nodes_.push_back({child.get(), -1, topCount_++, 0, 0});
        for (size_t i = 0; i < nodes_.size(); ++i) {
            ResultDir* dir = nodes_[i].dir;
            nodes_[i].firstChild = static_cast<int>(nodes_.size());
            nodes_[i].childCount = static_cast<int>(dir->children.size());
            int row = 0;
            for (auto& [name, child] : dir->children)
                nodes_.push_back({child.get(), static_cast<int>(i), row++, 0, 0});
        }
        nodeOf_.reserve(nodes_.size());
        for (size_t i = 0; i < nodes_.size(); ++i)
            nodeOf_.emplace(nodes_[i].dir, static_cast<int>(i));
    }
    endResetModel();
}

void CFolderTreeModel::SetFolderIcons(const QIcon& closed, const QIcon& open) {
    folderIcon_ = QIcon();
    for (int size : {16, 24, 32}) {
        folderIcon_.addPixmap(closed.pixmap(size), QIcon::Normal, QIcon::Off);
        folderIcon_.addPixmap(open.pixmap(size), QIcon::Selected, QIcon::Off);
    }
    if (!nodes_.empty())
        emit dataChanged(index(0, 0), index(topCount_ - 1, 0), {Qt::DecorationRole});
}

const CFolderTreeModel::Node* CFolderTreeModel::NodeOf(const QModelIndex& index) const {
    if (!index.isValid() || index.model() != this)
        return nullptr;
    size_t id = index.internalId();
    return id < nodes_.size() ? &nodes_[id] : nullptr;
}

ResultDir* CFolderTreeModel::DirectoryAt(const QModelIndex& index) const {
    const Node* node = NodeOf(index);
    return node ? node->dir : nullptr;
}

QModelIndex CFolderTreeModel::IndexOf(const ResultDir* dir) const {
    auto it = nodeOf_.find(dir);
    if (it == nodeOf_.end())
        return {};
    return createIndex(nodes_[it->second].row, 0, quintptr(it->second));
}

QModelIndex CFolderTreeModel::index(int row, int column, const QModelIndex& parent) const {
    if (column != 0 || row < 0)
        return {};
    if (!parent.isValid())
        return row < topCount_ ? createIndex(row, 0, quintptr(row)) : QModelIndex();
    const Node* node = NodeOf(parent);
    if (!node || row >= node->childCount)
        return {};
    return createIndex(row, 0, quintptr(node->firstChild + row));
}

QModelIndex CFolderTreeModel::parent(const QModelIndex& child) const {
    const Node* node = NodeOf(child);
    if (!node || node->parent < 0)
        return {};
    const Node& parent = nodes_[node->parent];
    return createIndex(parent.row, 0, quintptr(node->parent));
}

int CFolderTreeModel::rowCount(const QModelIndex& parent) const {
    if (!parent.isValid())
        return topCount_;
    if (parent.column() != 0)
        return 0;
    const Node* node = NodeOf(parent);
    return node ? node->childCount : 0;
}

int CFolderTreeModel::columnCount(const QModelIndex&) const {
    return 1;
}

QVariant CFolderTreeModel::data(const QModelIndex& index, int role) const {
    const Node* node = NodeOf(index);
    if (!node)
        return {};
    switch (role) {
    case Qt::DisplayRole: {
        // A root's name record holds its whole path.
        return DisplayText(node->dir->name->name());
    }
    case Qt::DecorationRole:
        return folderIcon_;
    default:
        return {};
    }
}

Qt::ItemFlags CFolderTreeModel::flags(const QModelIndex& index) const {
    return NodeOf(index) ? Qt::ItemIsEnabled | Qt::ItemIsSelectable : Qt::NoItemFlags;
}
