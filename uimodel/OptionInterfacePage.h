#pragma once
// The "Custom Interface" page of the options sheet without its widgets: the
// style of the menus and tool bar and the style of the tree and lists.

#include "uimodel/OptionPage.h"

#include <array>
#include <string_view>

namespace paradrex {

class OptionInterfacePage : public OptionPage {
public:
    // Each group's radio buttons in order; the index is the stored value.
    static constexpr std::string_view kMenuGroupLabel = "Menu & ToolBar:";
    static constexpr std::array<std::string_view, 2> kMenuStyleTexts = {"Windows Default",
                                                                        "OfficeXP Style"};
    static constexpr std::string_view kListGroupLabel = "TreeView & ListView:";
    static constexpr std::array<std::string_view, 2> kListStyleTexts = {"Windows Default",
                                                                        "Windows Vista Style"};
    // A stored style outside its group's values checks no radio button and
    // shows no preview; it is stored back as -1.
    static constexpr int kNoStyle = -1;

    void Load(const _Setting_file& settings) override;
    void Store(_Setting_file& settings) const override;

    // "MenuStyle" and "ListViewStyle" as the radio buttons show them. A click
    // changes the group's preview at once; the main window changes only
    // after the sheet's OK.
    int menuStyle() const { return menuStyle_; }
    void SetMenuStyle(int style) { menuStyle_ = style; }
    int listStyle() const { return listStyle_; }
    void SetListStyle(int style) { listStyle_ = style; }

private:
    int menuStyle_ = 1;
    int listStyle_ = 1;
};

} // namespace paradrex
