#pragma once
// The New Search dialog as the main window runs it: true when a search
// should start, with the search job of SearchState::Instance() filled in.

class QWidget;

bool RunNewSearchDialog(QWidget* parent);
