#include "gui/dialogs/CAboutDlg.h"

#include "gui/HelpLocations.h"
#include "gui/QtBytes.h"
#include "gui/dialogs/DialogUnits.h"
#include "gui/dialogs/LocaleNumbers.h"
#include "uimodel/AboutTexts.h"

#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QUrl>

using namespace paradrex;

namespace {

// Places in dialog units.
constexpr int kWidth = 227, kHeight = 156;
constexpr int kMargin = 7, kTextX = 44;

} // namespace

CAboutDlg::CAboutDlg(const platform::KeyStore& store, QWidget* parent) : QDialog(parent) {
    setWindowTitle(Utf8Text(kAboutCaption));
    setObjectName(QStringLiteral("id100"));
    setModal(true);
    const AboutTexts texts =
        AboutTexts::Make(PARADREX_VERSION, PARADREX_HOME_PAGE,
                         QUrl::fromLocalFile(UserManualPath()).toEncoded().toStdString(),
                         ReadCumulativeTotals(store), LocaleNumbers());
    DialogUnits du(font());
    du.Fit(Utf8Text(texts.dataLine), kWidth - 2 * kMargin);
    setFixedSize(du.X(kWidth), du.Y(kHeight));

    auto label = [&](const std::string& text, QRect place, Qt::Alignment align, int id) {
        auto* l = new QLabel(Utf8Text(text), this);
        l->setObjectName(QStringLiteral("id%1").arg(id));
        l->setGeometry(place);
        l->setAlignment(align | Qt::AlignTop);
        l->setWordWrap(true);
        return l;
    };

    auto* icon = new QLabel(this);
    icon->setObjectName(QStringLiteral("applicationIcon"));
    icon->setPixmap(windowIcon().pixmap(32, 32)); // the frame's, or the application's
    icon->setGeometry(QRect(du.X(kMargin), du.Y(kMargin), 32, 32));
    const int textW = kWidth - kTextX - kMargin;
    QFont bold = font();
    bold.setBold(true);
    label(texts.productName, du.Rect(kTextX, 9, textW, 9), Qt::AlignHCenter, 1086)->setFont(bold);
    label(texts.notice, du.Rect(kTextX, 22, textW, 18), Qt::AlignHCenter, 1087);

    auto* link = new QLabel(this);
    link->setObjectName(QStringLiteral("homePageLink"));
    link->setText(QStringLiteral("<a href=\"%1\">%2</a>")
                      .arg(Utf8Text(texts.linkTarget).toHtmlEscaped(),
                           Utf8Text(texts.linkText).toHtmlEscaped()));
    link->setTextFormat(Qt::RichText);
    link->setTextInteractionFlags(Qt::TextBrowserInteraction);
    link->setOpenExternalLinks(true);
    link->setToolTip(Utf8Text(texts.linkTarget));
    link->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    link->setGeometry(du.Rect(kTextX, 43, textW, 9));

    const int lineW = kWidth - 2 * kMargin;
    label(texts.filesLine, du.Rect(kMargin, 60, lineW, 9), Qt::AlignLeft, 1104);
    label(texts.dataLine, du.Rect(kMargin, 72, lineW, 9), Qt::AlignLeft, 1105);

    auto* thanks = new QGroupBox(Utf8Text(texts.thanksTitle), this);
    thanks->setObjectName(QStringLiteral("specialThanks"));
    thanks->setGeometry(du.Rect(kMargin, 87, lineW, 40));
    auto* thanksLine = new QLabel(Utf8Text(texts.thanks), thanks);
    thanksLine->setWordWrap(true);
    thanksLine->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    thanksLine->setGeometry(du.Rect(kMargin, 12, lineW - 2 * kMargin, 24));

    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("id1"));
    ok->setGeometry(du.Rect((kWidth - 50) / 2, kHeight - 21, 50, 14));
    ok->setDefault(true);
    ok->setFocus();
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
}
