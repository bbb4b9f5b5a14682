#pragma once
// "Statistics": how far the review of a directory and everything below it
// has got (files and bytes per state, group blocks, subdirectories), counted
// from the review states when the dialog is made. Modal; OK or Escape close
// it. It opens centred on the mouse pointer, wholly on that screen.
//
// Controls carry their ids as object names: the location box "id1049", the
// amounts, byte sizes and size texts by the ids of paradrex::stats, OK "id1".

#include "engine/SearchModel.h"

#include <QDialog>

#include <map>

class QPushButton;

class CDirStatisticsDlg : public QDialog {
    Q_OBJECT
public:
    // Reports on `dir` and its subtree; the tree's root reports on the whole
    // result (with an empty location).
    explicit CDirStatisticsDlg(const paradrex::ResultDir& dir, QWidget* parent = nullptr);

    // The text of a control of the dialog, by its id; empty for none.
    QString Text(int id) const;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void BuildControls();
    void PlaceAtPointer();

    std::map<int, QWidget*> controls_;
    QPushButton* ok_ = nullptr;
    bool placed_ = false;
};
