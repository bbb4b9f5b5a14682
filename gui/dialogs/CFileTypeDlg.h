#pragma once
// The file type selector: the type catalogue by category, with check boxes,
// and a box for further extensions. After OK the caller reads the type text
// built from the checked rows and the "Other:" text.
//
// Controls carry their ids as object names: tabs "id2001", list "id1054",
// "id1093" (All), "id1094" (Clear), "id1095" (Other), "id1" and "id2".

#include "uimodel/FileTypeCatalogue.h"

#include <QDialog>

#include <string>

class QLineEdit;
class QStandardItemModel;
class QTabBar;
class QTreeView;

class CFileTypeDlg : public QDialog {
    Q_OBJECT
public:
    explicit CFileTypeDlg(QWidget* parent = nullptr);

    bool accepted() const { return accepted_; }
    // The check marks by extension slot; those of the shown category are
    // taken from the list when the category is left and on OK.
    const paradrex::FileTypeChecks& checks() const { return checks_; }
    // The "Other:" text as it was on OK.
    const std::string& otherText() const { return other_; }
    // The type text for the New Search dialog's type box.
    std::string typeText() const { return paradrex::BuildTypeText(checks_, other_); }

private:
    void FitListToCatalogue();
    void AppendRow(const paradrex::FileTypeEntry& entry);
    void ShowCategory(int category);
    void StoreShownChecks();
    void SetAllChecks(bool checked);
    void OnOk();

    paradrex::FileTypeChecks checks_{};
    std::string other_;
    bool accepted_ = false;
    int shown_ = 0;

    QTabBar* tabs_ = nullptr;
    QTreeView* list_ = nullptr;
    QStandardItemModel* model_ = nullptr;
    QLineEdit* otherBox_ = nullptr;
};
