#pragma once
// The model of one of the three result lists (file list, clone list, one
// list) over the rows of a Browser. It holds no texts: every cell is computed
// when asked for, from the row's file record. The Name cell can be edited in
// place; the edited text is handed on (nameEdited), the record is not
// changed here.

#include "review/Browser.h"
#include "uimodel/ListColumns.h"

#include <QAbstractTableModel>
#include <QLocale>

#include <optional>
#include <span>

class CStateImages;
class CTypeIconCache;

class CResultListModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Role {
        FileRole = Qt::UserRole + 1, // the row's FileRecord* as quintptr
        StateRole,                   // the file's state as int
        RowColourRole,               // the row's stored colour (0x00BBGGRR); none in the clone list
        ColumnRole,                  // the cell's ListColumn as int
    };
    CResultListModel(paradrex::ListKind kind, const paradrex::Browser& browser,
                     CTypeIconCache& types, const CStateImages& states, QObject* parent = nullptr);

    paradrex::ListKind kind() const { return kind_; }
    paradrex::ListColumn ColumnAt(int column) const {
        return columns_[static_cast<size_t>(column)];
    }
    int ColumnOf(paradrex::ListColumn column) const; // -1 when the list has no such column

    paradrex::FileRecord* FileAt(int row) const;
    std::optional<paradrex::Colour> RowColourAt(int row) const;

    // Brackets a change of the browser's rows for this list.
    void BeginReset() { beginResetModel(); }
    void EndReset() { endResetModel(); }
    // The files of rows first..last changed state (or name): repaint them.
    void RefreshRows(int first, int last);
    void RefreshAll();

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    // An in-place edit of a Name cell ended with `value`: nameEdited. Answers
    // false, the cell shows the record's name whatever the rename did.
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;

signals:
    void nameEdited(int row, const QString& text);

private:
    QString Text(const paradrex::FileRecord& file, paradrex::ListColumn column) const;

    paradrex::ListKind kind_;
    const paradrex::Browser& browser_;
    CTypeIconCache& types_;
    const CStateImages& states_;
    std::span<const paradrex::ListColumn> columns_;
    QLocale locale_;
};
