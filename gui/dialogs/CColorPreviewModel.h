#pragma once
// The eight rows of the "Color Scheme" page's preview list as the file list
// shows files: state image, name with the type's icon, grouped size, type
// name and date, each row in one of the page's three colours. It answers the
// roles the result lists' delegates paint from.

#include "review/Colour.h"
#include "uimodel/OptionColorPage.h"

#include <QAbstractTableModel>
#include <QLocale>

#include <array>

class CStateImages;
class CTypeIconCache;

class CColorPreviewModel : public QAbstractTableModel {
    Q_OBJECT
public:
    CColorPreviewModel(CTypeIconCache& types, const CStateImages& states,
                       QObject* parent = nullptr);

    // The colours of the page's rows (by OptionColorPage::Row); the rows in
    // those colours are repainted.
    void SetColours(const std::array<paradrex::Colour, paradrex::OptionColorPage::kRows>& colours);
    paradrex::Colour RowColour(int row) const;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

private:
    CTypeIconCache& types_;
    const CStateImages& states_;
    std::array<paradrex::Colour, paradrex::OptionColorPage::kRows> colours_{};
    QLocale locale_;
};
