#include "gui/dialogs/CColorPreviewModel.h"

#include "gui/QtBytes.h"
#include "gui/panes/CResultListModel.h"
#include "gui/panes/CStateImages.h"
#include "gui/panes/CTypeIconCache.h"

#include <QBrush>
#include <QColor>

using paradrex::ListColumn;
using paradrex::OptionColorPage;

namespace {

ListColumn ColumnAt(int column) {
    return OptionColorPage::kPreviewColumns[static_cast<size_t>(column)].column;
}

const OptionColorPage::PreviewRow& RowAt(int row) {
    return OptionColorPage::kPreviewRows[static_cast<size_t>(row)];
}

} // namespace

CColorPreviewModel::CColorPreviewModel(CTypeIconCache& types, const CStateImages& states,
                                       QObject* parent)
    : QAbstractTableModel(parent), types_(types), states_(states), locale_(QLocale::system()) {
    // Sizes grouped as in the file list.
    locale_.setNumberOptions(locale_.numberOptions() & ~QLocale::OmitGroupSeparator);
}

void CColorPreviewModel::SetColours(
    const std::array<paradrex::Colour, OptionColorPage::kRows>& colours) {
    colours_ = colours;
    emit dataChanged(index(0, 0), index(rowCount() - 1, columnCount() - 1), {Qt::BackgroundRole});
}

paradrex::Colour CColorPreviewModel::RowColour(int row) const {
    return colours_[RowAt(row).colour];
}

int CColorPreviewModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(OptionColorPage::kPreviewRowCount);
}

int CColorPreviewModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(OptionColorPage::kPreviewColumns.size());
}

QVariant CColorPreviewModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount() || index.column() >= columnCount())
        return {};
    const OptionColorPage::PreviewRow& row = RowAt(index.row());
    const ListColumn column = ColumnAt(index.column());
    switch (role) {
    case Qt::DisplayRole:
        switch (column) {
        case ListColumn::Name:
            return Utf8Text(row.name);
        case ListColumn::Size:
            return locale_.toString(qulonglong(row.size));
        case ListColumn::Type:
            return types_.Lookup(row.typeProbe).name;
        case ListColumn::Modified:
            return Utf8Text(row.modified);
        default:
            return {};
        }
    case Qt::DecorationRole:
        if (column == ListColumn::State)
            return states_.ImageOf(row.state);
        if (column == ListColumn::Name)
            return types_.Lookup(row.typeProbe).icon;
        return {};
    case Qt::TextAlignmentRole:
        return QVariant::fromValue(
            (paradrex::IsRightAligned(column) ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter);
    case Qt::BackgroundRole:
        return QBrush(QColor::fromRgb(paradrex::ToRgb(RowColour(index.row()))));
    case CResultListModel::ColumnRole:
        return static_cast<int>(column);
    default:
        return {};
    }
}

QVariant CColorPreviewModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || section < 0 || section >= columnCount())
        return {};
    const ListColumn column = ColumnAt(section);
    if (role == Qt::TextAlignmentRole)
        return QVariant::fromValue(
            (paradrex::IsRightAligned(column) ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter);
    if (role == Qt::DisplayRole)
        return QString::fromLatin1(paradrex::ColumnTitle(column));
    return {};
}

Qt::ItemFlags CColorPreviewModel::flags(const QModelIndex& index) const {
    if (!index.isValid())
        return Qt::NoItemFlags;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren;
}
