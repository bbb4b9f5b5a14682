#pragma once
// The page of one default directory list ("Default Search Directory",
// "Default Preserve Directory", "Default Delete Directory"): a path edit
// with "&Browse...", the list of directories, "&Add" and "&Remove". The
// rules, the balloon's text and its timer are paradrex::OptionDirListPage's.
//
// Controls by object name: "id1002" edit, "id1003" "&Browse...", "id1005"
// list, "id1004" "&Add", "id1006" "&Remove"; the balloon is "balloon".

#include "uimodel/OptionDirListPage.h"

#include <QTimer>
#include <QWidget>

class CBalloonTip;
class DialogUnits;
class QLineEdit;
class QStandardItemModel;
class QTreeView;

class COptionDirList : public QWidget {
    Q_OBJECT
public:
    COptionDirList(paradrex::OptionDirListPage& page, const DialogUnits& du, QWidget* parent);
    static void FitTexts(DialogUnits& du);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void OnAdd();
    void OnBrowse();
    void OnRemove();
    void OnOpenRow(const QModelIndex& index);
    void Show(paradrex::OptionDirListPage::Outcome outcome);
    void RefillRows();

    paradrex::OptionDirListPage& page_;
    QLineEdit* edit_ = nullptr;
    QTreeView* list_ = nullptr;
    QStandardItemModel* rows_ = nullptr;
    CBalloonTip* balloon_ = nullptr;
    QTimer timer_;
};
