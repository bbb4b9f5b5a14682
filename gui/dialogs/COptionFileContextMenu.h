#pragma once
// The "File Context Menu" page: the ten user rows of the "Open" submenu,
// each with a check box (shown or not), its caption, its program and "..."
// to choose the program. The check when the page is left is
// paradrex::OptionFileContextMenuPage's.
//
// Controls by object name, row k = 0..9 from the top: check box
// "id<1105+k>", caption "id<1075+k>", program "id<1085+k>", "..."
// "id<1095+k>".

#include "uimodel/OptionFileContextMenuPage.h"

#include <QWidget>

#include <array>

class DialogUnits;
class QCheckBox;
class QLineEdit;

class COptionFileContextMenu : public QWidget {
    Q_OBJECT
public:
    COptionFileContextMenu(paradrex::OptionFileContextMenuPage& page, const DialogUnits& du,
                           QWidget* parent);
    static void FitTexts(DialogUnits& du);

private:
    void OnEdited(size_t row);
    void OnChooseProgram(size_t row);

    struct RowControls {
        QCheckBox* check = nullptr;
        QLineEdit* caption = nullptr;
        QLineEdit* program = nullptr;
    };

    paradrex::OptionFileContextMenuPage& page_;
    std::array<RowControls, paradrex::OptionFileContextMenuPage::kRows> rows_;
};
