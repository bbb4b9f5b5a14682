#include "gui/panes/CResultListModel.h"

#include "gui/QtBytes.h"
#include "gui/panes/CStateImages.h"
#include "gui/panes/CTypeIconCache.h"
#include "review/ListCells.h"

#include <QBrush>
#include <QColor>

using paradrex::FileRecord;
using paradrex::ListKind;
using Column = paradrex::ListColumn;

namespace {

QVariant Alignment(Column column) {
    return QVariant::fromValue((paradrex::IsRightAligned(column) ? Qt::AlignRight : Qt::AlignLeft) |
                               Qt::AlignVCenter);
}

} // namespace

CResultListModel::CResultListModel(ListKind kind, const paradrex::Browser& browser,
                                   CTypeIconCache& types, const CStateImages& states,
                                   QObject* parent)
    : QAbstractTableModel(parent), kind_(kind), browser_(browser), types_(types), states_(states),
      columns_(paradrex::Columns(kind)), locale_(QLocale::system()) {
    // Sizes are always grouped, also where the locale would leave that out.
    locale_.setNumberOptions(locale_.numberOptions() & ~QLocale::OmitGroupSeparator);
}

int CResultListModel::ColumnOf(Column column) const {
    for (size_t i = 0; i < columns_.size(); ++i)
        if (columns_[i] == column)
            return static_cast<int>(i);
    return -1;
}

int CResultListModel::rowCount(const QModelIndex& parent) const {
    if (parent.isValid())
        return 0;
    switch (kind_) {
    case ListKind::FileList:
        return static_cast<int>(browser_.fileRows().size());
    case ListKind::CloneList:
        return static_cast<int>(browser_.cloneRows().size());
    case ListKind::OneList:
        return static_cast<int>(browser_.oneRows().size());
    }
    return 0;
}

int CResultListModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(columns_.size());
}

FileRecord* CResultListModel::FileAt(int row) const {
    if (row < 0 || row >= rowCount())
        return nullptr;
    size_t r = static_cast<size_t>(row);
    switch (kind_) {
    case ListKind::FileList:
        return browser_.fileRows()[r].file;
    case ListKind::CloneList:
        return browser_.cloneRows()[r];
    case ListKind::OneList:
        return browser_.oneRows()[r].file;
    }
    return nullptr;
}

std::optional<paradrex::Colour> CResultListModel::RowColourAt(int row) const {
    if (row < 0 || row >= rowCount())
        return std::nullopt;
    size_t r = static_cast<size_t>(row);
    switch (kind_) {
    case ListKind::FileList:
        return browser_.fileRows()[r].background;
    case ListKind::OneList:
        return browser_.oneRows()[r].background;
    case ListKind::CloneList:
        break; // the window colours
    }
    return std::nullopt;
}

QString CResultListModel::Text(const FileRecord& file, Column column) const {
    switch (column) {
    case Column::State:
        return {};
    case Column::Name:
        return DisplayText(file.name);
    case Column::Directory:
        return DisplayText(paradrex::DirectoryPath(file.directory));
    case Column::Size:
        return locale_.toString(qulonglong(file.size));
    case Column::Type:
        return types_.Lookup(file.name).name;
    case Column::Modified:
        return QString::fromStdString(paradrex::ModifiedText(file.modified));
    }
    return {};
}

QVariant CResultListModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.model() != this || index.column() >= columnCount())
        return {};
    const FileRecord* file = FileAt(index.row());
    if (!file)
        return {};
    Column column = ColumnAt(index.column());
    switch (role) {
    case Qt::DisplayRole:
        if (column == Column::State)
            return {};
        return Text(*file, column);
    case Qt::EditRole:
        if (column == Column::Name)
            return Text(*file, column);
        return {};
    case Qt::DecorationRole:
        if (column == Column::State)
            return states_.ImageOf(file->state);
        if (column == Column::Name)
            return types_.Lookup(file->name).icon;
        return {};
    case Qt::TextAlignmentRole:
        return Alignment(column);
    case Qt::BackgroundRole:
        if (auto colour = RowColourAt(index.row()))
            return QBrush(QColor::fromRgb(paradrex::ToRgb(*colour)));
        return {};
    case Qt::ToolTipRole: {
        std::string tip = paradrex::InfoTipText({}, *file);
        return tip.empty() ? QVariant() : QVariant(DisplayText(tip));
    }
    case FileRole:
        return QVariant::fromValue(reinterpret_cast<quintptr>(file));
    case StateRole:
        return static_cast<int>(file->state);
    case ColumnRole:
        return static_cast<int>(column);
    case RowColourRole:
        if (auto colour = RowColourAt(index.row()))
            return QVariant::fromValue(static_cast<uint>(*colour));
        return {};
    default:
        return {};
    }
}

QVariant CResultListModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || section < 0 || section >= columnCount())
        return {};
    Column column = ColumnAt(section);
    if (role == Qt::TextAlignmentRole)
        return Alignment(column);
    if (role != Qt::DisplayRole)
        return {};
    return QString::fromLatin1(paradrex::ColumnTitle(column));
}

Qt::ItemFlags CResultListModel::flags(const QModelIndex& index) const {
    if (!index.isValid() || index.model() != this)
        return Qt::NoItemFlags;
    Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren;
    if (index.column() < columnCount() && ColumnAt(index.column()) == Column::Name)
        flags |= Qt::ItemIsEditable;
    return flags;
}

bool CResultListModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (role == Qt::EditRole && index.isValid() && index.model() == this &&
        index.column() < columnCount() && ColumnAt(index.column()) == Column::Name &&
        FileAt(index.row()))
        emit nameEdited(index.row(), value.toString());
    return false;
}

void CResultListModel::RefreshRows(int first, int last) {
    int rows = rowCount();
    first = std::max(first, 0);
    last = std::min(last, rows - 1);
    if (first > last)
        return;
    emit dataChanged(index(first, 0), index(last, columnCount() - 1));
}

void CResultListModel::RefreshAll() {
    RefreshRows(0, rowCount() - 1);
}
