#pragma once
// The "Custom Interface" page: the style of the menus and tool bar and the
// style of the tree and lists, each a pair of radio buttons with two
// pictures that change as soon as a button is clicked. The main window
// changes only after the sheet's OK.
//
// Controls by object name: "id1050", "id1051" (menu style), "id1052",
// "id1053" (list style), pictures "id1111", "id1112" (menus and tool bar)
// and "id1113", "id1114" (tree and list).

#include "uimodel/OptionInterfacePage.h"

#include <QWidget>

#include <array>

class CStateImages;
class CTypeIconCache;
class DialogUnits;
class QLabel;

class COptionInterface : public QWidget {
    Q_OBJECT
public:
    COptionInterface(paradrex::OptionInterfacePage& page, const DialogUnits& du,
                     CTypeIconCache& types, const CStateImages& states, QWidget* parent);
    static void FitTexts(DialogUnits& du);

private:
    void ShowMenuPictures();
    void ShowListPictures();

    paradrex::OptionInterfacePage& page_;
    CTypeIconCache& types_;
    const CStateImages& states_;
    std::array<QLabel*, 4> pictures_{};
};
