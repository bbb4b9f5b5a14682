#pragma once
// The "Delete Option" page: to the trash, directly, or moved to a directory
// typed or chosen with "&Browse...". The check of the directory when the
// page is left is paradrex::OptionDeletePage's.
//
// Controls by object name: radio buttons "id1050", "id1051", "id1052", the
// move directory edit "id1002" and "&Browse..." "id1003".

#include "uimodel/OptionDeletePage.h"

#include <QWidget>

class DialogUnits;
class QLineEdit;

class COptionDelete : public QWidget {
    Q_OBJECT
public:
    COptionDelete(paradrex::OptionDeletePage& page, const DialogUnits& du, QWidget* parent);
    static void FitTexts(DialogUnits& du);

private:
    void OnBrowse();

    paradrex::OptionDeletePage& page_;
    QLineEdit* edit_ = nullptr;
};
