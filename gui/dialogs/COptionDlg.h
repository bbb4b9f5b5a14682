#pragma once
// The options sheet "Option": the page tree on the left, the framed page
// area with its title strip, "&OK" and "&Cancel". The pages, leaving them,
// OK and the changes it reports are paradrex::OptionSheet's; this window
// shows a page the first time it is chosen and keeps it (hidden) until the
// sheet closes. Cancel stores nothing.
//
// Object names: the sheet "id101", the tree "pageTree", the page area
// "titleFrame", OK "id1", Cancel "id2"; each page's controls carry their ids
// (see the page classes).

#include "gui/panes/CStateImages.h"
#include "uimodel/OptionSheet.h"

#include <QDialog>

#include <array>
#include <memory>

class CTypeIconCache;
class DialogUnits;
class QPushButton;
class QTreeWidgetItem;

namespace HV {
class CTitleBarWinFrame;
class CTreeSelCtrl;
} // namespace HV

class COptionDlg : public QDialog {
    Q_OBJECT
public:
    // Edits `settings` on OK; the colour preview shows the file types as the
    // result lists do, through `types`.
    COptionDlg(QWidget* parent, paradrex::_Setting_file& settings, CTypeIconCache& types);
    ~COptionDlg() override;

    // What OK changed; all false until OK succeeded.
    const paradrex::OptionSheet::Changes& changes() const { return sheet_.changes(); }

    HV::CTreeSelCtrl* pageTree() const { return tree_; }
    HV::CTitleBarWinFrame* titleFrame() const { return frame_; }
    // A page's widget; null until the page has been shown.
    QWidget* Page(size_t page) const { return pages_[page]; }

    // "&OK" and Enter: the current page may refuse, and the sheet stays open.
    void accept() override;

private:
    void BuildControls();
    bool OnSelectionChanging(QTreeWidgetItem* item);
    void ShowPage(size_t page);
    QWidget* MakePage(size_t page);
    void ShowRefusal(const std::string& message);

    paradrex::OptionSheet sheet_;
    paradrex::_Setting_file& settings_;
    CTypeIconCache& types_;
    CStateImages states_;
    std::unique_ptr<DialogUnits> du_;
    HV::CTreeSelCtrl* tree_ = nullptr;
    HV::CTitleBarWinFrame* frame_ = nullptr;
    QPushButton* ok_ = nullptr;
    QPushButton* cancel_ = nullptr;
    std::array<QWidget*, paradrex::OptionSheet::kPageCount> pages_{};
};
