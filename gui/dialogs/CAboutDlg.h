#pragma once
// "About": the application icon, the product name, a notice, the home page
// link (opened with the desktop's browser), what all searches so far have
// compared (read from the per-user key store when the box is made, zero when
// nothing is stored) and the thanks. Modal; OK or Escape close it.
//
// Controls carry their ids as object names: the product name "id1086", the
// notice "id1087", the two cumulative lines "id1104" and "id1105", OK "id1";
// the link is "homePageLink" and the thanks box "specialThanks".

#include <QDialog>

namespace paradrex::platform {
class KeyStore;
}

class CAboutDlg : public QDialog {
    Q_OBJECT
public:
    explicit CAboutDlg(const paradrex::platform::KeyStore& store, QWidget* parent = nullptr);
};
