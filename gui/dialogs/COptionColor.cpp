#include "gui/dialogs/COptionColor.h"

#include "gui/QtBytes.h"
#include "gui/dialogs/CColorPreviewModel.h"
#include "gui/dialogs/OptionPageControls.h"
#include "gui/panes/CVistaTheme.h"
#include "gui/panes/ListStyleDrawing.h"

#include <QColorDialog>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTreeView>

using namespace optionpage;
using paradrex::OptionColorPage;

namespace {

constexpr int kLabelX = 7, kLabelWidth = 140;
constexpr int kSwatchX = 150, kSwatchWidth = 44;
constexpr int kButtonX = 200, kButtonWidth = 50;
constexpr int kFirstRowY = 7, kRowStep = 18;
constexpr int kFirstSwatchId = 1055, kFirstButtonId = 1048;

} // namespace

void COptionColor::FitTexts(DialogUnits& du) {
    for (std::string_view label : OptionColorPage::kRowLabels)
        du.Fit(Utf8Text(label), kLabelWidth);
    du.Fit(Utf8Text(OptionColorPage::kChooseText), kButtonWidth - 8);
}

COptionColor::COptionColor(OptionColorPage& page, const DialogUnits& du, CTypeIconCache& types,
                           const CStateImages& states, ListStyleSource listStyle, QWidget* parent)
    : QWidget(parent), page_(page), listStyle_(std::move(listStyle)) {
    resize(du.Rect(0, 0, kWidth, kHeight).size());
    for (size_t r = 0; r < OptionColorPage::kRows; ++r) {
        const int y = kFirstRowY + int(r) * kRowStep;
        Placed(new QLabel(Utf8Text(OptionColorPage::kRowLabels[r]), this), 0,
               du.Rect(kLabelX, y + 3, kLabelWidth, 8));
        QLabel* swatch = Placed(new QLabel(this), kFirstSwatchId + int(r),
                                du.Rect(kSwatchX, y, kSwatchWidth, 14));
        swatch->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        swatch->setAutoFillBackground(true);
        swatches_[r] = swatch;
        auto* choose = Placed(new QPushButton(Utf8Text(OptionColorPage::kChooseText), this),
                              kFirstButtonId + int(r), du.Rect(kButtonX, y, kButtonWidth, 14));
        const auto row = static_cast<OptionColorPage::Row>(r);
        connect(choose, &QPushButton::clicked, this, [this, row] { OnChoose(row); });
    }
    const int previewY = kFirstRowY + 3 * kRowStep + 4;
    Placed(new QLabel(Utf8Text(OptionColorPage::kPreviewLabel), this), 0,
           du.Rect(kLabelX, previewY, 60, 8));

    preview_ =
        Placed(new QTreeView(this), 1054,
               du.Rect(kLabelX, previewY + 10, kWidth - 2 * kLabelX, kHeight - previewY - 17));
    model_ = new CColorPreviewModel(types, states, preview_);
    preview_->setModel(model_);
    preview_->setRootIsDecorated(false);
    preview_->setItemsExpandable(false);
    preview_->setIndentation(0);
    preview_->setUniformRowHeights(true);
    preview_->setSelectionMode(QAbstractItemView::SingleSelection);
    preview_->setSelectionBehavior(QAbstractItemView::SelectRows);
    preview_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    preview_->setIconSize(QSize(16, 16));
    QHeaderView* header = preview_->header();
    header->setStretchLastSection(false);
    header->setSectionsMovable(false);
    header->setMinimumSectionSize(0);
    for (int c = 0; c < int(OptionColorPage::kPreviewColumns.size()); ++c)
        header->resizeSection(c, OptionColorPage::kPreviewColumns[size_t(c)].width);
    header->setSectionResizeMode(0, QHeaderView::Fixed);
    ShowColours();
}

void COptionColor::showEvent(QShowEvent* event) {
    // The list style may have been changed on the "Custom Interface" page.
    HV::InstallListStyle(*preview_, listStyle_());
    QWidget::showEvent(event);
}

void COptionColor::ShowColours() {
    std::array<paradrex::Colour, OptionColorPage::kRows> colours{};
    for (size_t r = 0; r < OptionColorPage::kRows; ++r) {
        colours[r] = page_.colour(static_cast<OptionColorPage::Row>(r));
        QPalette palette = swatches_[r]->palette();
        palette.setColor(QPalette::Window, HV::ToQColor(colours[r]));
        swatches_[r]->setPalette(palette);
    }
    model_->SetColours(colours);
}

void COptionColor::OnChoose(OptionColorPage::Row row) {
    if (std::optional<QColor> chosen = ChooseColour(this, HV::ToQColor(page_.colour(row)))) {
        page_.SetColour(row, HV::FromQColor(*chosen));
        ShowColours();
    }
}

std::optional<QColor> COptionColor::ChooseColour(QWidget* owner, const QColor& start) {
    // One dialog for the whole run, never deleted: a colour dialog that goes
    // away stores its custom colours in the user's Qt configuration, and the
    // page's custom colours are kept for the run only.
    static QColorDialog* dialog = new QColorDialog;
    std::array<paradrex::Colour, 16>& custom = OptionColorPage::CustomColours();
    for (int i = 0; i < int(custom.size()); ++i)
        QColorDialog::setCustomColor(i, HV::ToQColor(custom[size_t(i)]));
    dialog->setParent(owner, Qt::Dialog);
    dialog->setCurrentColor(start);
    const bool accepted = dialog->exec() == QDialog::Accepted;
    dialog->setParent(nullptr, Qt::Dialog);
    for (int i = 0; i < int(custom.size()); ++i)
        custom[size_t(i)] = HV::FromQColor(QColorDialog::customColor(i));
    if (!accepted)
        return std::nullopt;
    return dialog->selectedColor();
}
