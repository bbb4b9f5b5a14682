#pragma once
// The folder chooser behind the "&Browse..." buttons of the options pages:
// file-system folders only, with a box to type the path into.

#include <QString>

class QWidget;

// The chosen folder as path text, or empty when the chooser was cancelled.
// It opens at `start` when that is a folder, else at the home folder.
QString ChooseFolder(QWidget* owner, const QString& start);
