#pragma once
// The "Color Scheme" page: the three background colours of grouped rows,
// each with its swatch and "Choose..." (the colour dialog with the custom
// colours of the run), and the preview list, painted by the result lists'
// own drawing in the list style the sheet shows.
//
// Controls by object name: swatches "id1055" to "id1057", "Choose..."
// buttons "id1048" to "id1050", the preview list "id1054".

#include "uimodel/OptionColorPage.h"
#include "uimodel/PaneSettings.h"

#include <QColor>
#include <QWidget>

#include <array>
#include <functional>
#include <optional>

class CColorPreviewModel;
class CStateImages;
class CTypeIconCache;
class DialogUnits;
class QLabel;
class QTreeView;

class COptionColor : public QWidget {
    Q_OBJECT
public:
    // The list style the preview is drawn in, asked whenever the page shows.
    using ListStyleSource = std::function<paradrex::ListStyle()>;

    COptionColor(paradrex::OptionColorPage& page, const DialogUnits& du, CTypeIconCache& types,
                 const CStateImages& states, ListStyleSource listStyle, QWidget* parent);
    static void FitTexts(DialogUnits& du);

    // The colour dialog of the run, owned by `owner`, starting from `start`
    // and showing the page's custom colours, which it updates; nothing when
    // it was cancelled.
    static std::optional<QColor> ChooseColour(QWidget* owner, const QColor& start);

protected:
    void showEvent(QShowEvent* event) override;

private:
    void OnChoose(paradrex::OptionColorPage::Row row);
    void ShowColours();

    paradrex::OptionColorPage& page_;
    ListStyleSource listStyle_;
    std::array<QLabel*, paradrex::OptionColorPage::kRows> swatches_{};
    QTreeView* preview_ = nullptr;
    CColorPreviewModel* model_ = nullptr;
};
