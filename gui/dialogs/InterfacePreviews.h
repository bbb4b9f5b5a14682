#pragma once
// The pictures of the "Custom Interface" page, drawn at run time by the
// program's own widgets in the style they show: for a menu style the menu
// bar with its "&Tools" popup open and the tool bar; for a list style the
// folder tree and the file list with a row selected, painted by the panes'
// drawing of that style.

#include <QPixmap>
#include <QSize>

class CStateImages;
class CTypeIconCache;

// "MenuStyle" 0 or 1. The bars draw alike in both until the styled bars
// exist; the pictures then show them as the frame will. Another value gives
// an empty picture.
QPixmap MenuPreview(int menuStyle, QSize size);
QPixmap ToolBarPreview(int menuStyle, QSize size);
// "ListViewStyle" 0 or 1; another value gives an empty picture.
QPixmap TreePreview(int listStyle, QSize size);
QPixmap ListPreview(int listStyle, QSize size, CTypeIconCache& types, const CStateImages& states);
