#pragma once
// The New Search dialog: the directories to search, size, attribute and type
// filters. It edits the search job in place and keeps the recent directory
// list of the settings store; the rules live in paradrex::NewSearchForm.
//
// Every control carries its id as object name ("id1002", "id1004", ...; OK
// and Cancel are "id1" and "id2"), the balloon on the path box is the child
// "balloon".

#include "engine/SearchState.h"
#include "settings/SettingFile.h"
#include "uimodel/NewSearchForm.h"

#include <QDialog>
#include <QString>

#include <functional>
#include <string>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QStandardItemModel;
class QTimer;
class QTreeView;
class QTreeWidget;
class QTreeWidgetItem;

class CImportDialog : public QDialog {
    Q_OBJECT
public:
    // Edits `job` in place (roots cleared and refilled when the dialog opens;
    // filters written on OK) and loads/stores the recent list of `settings`.
    explicit CImportDialog(QWidget* parent = nullptr,
                           paradrex::SearchJob& job = paradrex::SearchState::Instance().job,
                           paradrex::_Setting_file& settings = paradrex::_Setting_file::Instance());
    ~CImportDialog() override;

    bool accepted() const; // true after a successful OK

    // The text of the balloon on the path box; empty while it is hidden.
    QString balloonText() const;

    // Opens a chosen directory in the desktop's file manager; tests replace it.
    using FolderOpener = std::function<void(const std::string& path)>;
    void setFolderOpener(FolderOpener opener) { openFolder_ = std::move(opener); }

    void done(int result) override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

private:
    void BuildControls();
    void FillTopLevel();
    void FillBranch(QTreeWidgetItem* item);
    QTreeWidgetItem* AddFolderItem(QTreeWidgetItem* parent, const std::string& path,
                                   const QString& text, bool hasSubfolders);
    void OnTreeSelection(QTreeWidgetItem* item);
    void OnAdd();
    void OnRemove();
    void OnRecentChosen(int index);
    void OnOpenRow(const QModelIndex& index);
    void OnSelectTypes();
    void OnOk();
    void Show(const paradrex::NewSearchForm::Result& result);
    void ShowBalloon();
    void HideBalloon();
    void RefillRoots();
    void RefillRecent();
    void StepRecent(int step);
    void SetPathBox(const std::string& path);
    std::string PathBoxBytes() const;
    void StoreRecent();

    paradrex::_Setting_file& settings_;
    paradrex::NewSearchForm form_;
    FolderOpener openFolder_;

    // The path box text as bytes when it was set from a tree or recent item
    // (the displayed text may not round-trip names that are not UTF-8).
    std::string pathBoxBytes_;
    QString pathBoxShown_;

    QComboBox* recentBox_ = nullptr;
    QTreeWidget* tree_ = nullptr;
    QTreeView* rootList_ = nullptr;
    QStandardItemModel* rootModel_ = nullptr;
    QPushButton* addButton_ = nullptr;
    QPushButton* removeButton_ = nullptr;
    QCheckBox* moreThan_ = nullptr;
    QLineEdit* moreThanNumber_ = nullptr;
    QComboBox* moreThanUnit_ = nullptr;
    QCheckBox* lessThan_ = nullptr;
    QLineEdit* lessThanNumber_ = nullptr;
    QComboBox* lessThanUnit_ = nullptr;
    QCheckBox* readOnly_ = nullptr;
    QCheckBox* hidden_ = nullptr;
    QCheckBox* system_ = nullptr;
    QLineEdit* typeBox_ = nullptr;
    QPushButton* selectButton_ = nullptr;
    QPushButton* okButton_ = nullptr;
    QPushButton* cancelButton_ = nullptr;
    QLabel* balloon_ = nullptr;
    bool recentStored_ = false;
};
