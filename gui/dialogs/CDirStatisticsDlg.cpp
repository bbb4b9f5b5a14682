#include "gui/dialogs/CDirStatisticsDlg.h"

#include "gui/QtBytes.h"
#include "gui/dialogs/DialogUnits.h"
#include "gui/dialogs/LocaleNumbers.h"
#include "uimodel/DialogPlacement.h"
#include "uimodel/StatisticsTexts.h"

#include <QCursor>
#include <QGuiApplication>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>

using namespace paradrex;

namespace {

// Places in dialog units: the columns of the rows, the first row and the
// distance between rows.
constexpr int kLabelX = 7, kLabelW = 60;
constexpr int kAmountX = 68, kAmountW = 56;
constexpr int kSizeX = 128, kSizeW = 60;
constexpr int kBytesX = 190, kBytesW = 20;
constexpr int kSizeTextX = 212, kSizeTextW = 46;
constexpr int kHeadingY = 47, kFirstRowY = 59, kRowStep = 12;
constexpr int kWidth = 264, kHeight = 156;

} // namespace

CDirStatisticsDlg::CDirStatisticsDlg(const ResultDir& dir, QWidget* parent) : QDialog(parent) {
    setWindowTitle(Utf8Text(kStatisticsCaption));
    setObjectName(QStringLiteral("id211"));
    setModal(true);
    BuildControls();
    for (const auto& [id, text] : StatisticsTexts::Count(dir, LocaleNumbers()).texts) {
        QWidget* w = controls_.at(id);
        if (auto* edit = qobject_cast<QPlainTextEdit*>(w))
            edit->setPlainText(DisplayText(text));
        else
            static_cast<QLabel*>(w)->setText(QString::fromStdString(text));
    }
    ok_->setFocus();
}

void CDirStatisticsDlg::BuildControls() {
    DialogUnits du(font());
    for (const StatisticsRow& row : kStatisticsRows)
        du.Fit(Utf8Text(row.label), kLabelW);
    du.Fit(QStringLiteral("location:"), 40);
    // The widest size text the rows can show.
    du.Fit(QStringLiteral("(8.88 MB)"), kSizeTextW);
    setFixedSize(du.X(kWidth), du.Y(kHeight));

    auto label = [&](const QString& text, QRect place, Qt::Alignment align, int id = 0) {
        auto* l = new QLabel(text, this);
        l->setGeometry(place);
        l->setAlignment(align | Qt::AlignTop);
        if (id != 0) {
            l->setObjectName(QStringLiteral("id%1").arg(id));
            // The numbers can be copied, as from a read-only box.
            l->setTextInteractionFlags(Qt::TextSelectableByMouse);
            controls_[id] = l;
        }
        return l;
    };
    label(QStringLiteral("location:"), du.Rect(kLabelX, 7, 40, 8), Qt::AlignLeft);
    auto* location = new QPlainTextEdit(this);
    location->setObjectName(QStringLiteral("id%1").arg(stats::Location));
    location->setReadOnly(true);
    location->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    location->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    location->setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    location->document()->setDocumentMargin(1);
    location->setGeometry(du.Rect(kLabelX, 17, kWidth - 2 * kLabelX, 24));
    controls_[stats::Location] = location;

    label(QStringLiteral("Amount"), du.Rect(kAmountX, kHeadingY, kAmountW, 8), Qt::AlignRight);
    label(QStringLiteral("Size"), du.Rect(kSizeX, kHeadingY, kSizeW, 8), Qt::AlignRight);
    int y = kFirstRowY;
    for (const StatisticsRow& row : kStatisticsRows) {
        label(Utf8Text(row.label), du.Rect(kLabelX, y, kLabelW, 8), Qt::AlignLeft);
        label(QString(), du.Rect(kAmountX, y, kAmountW, 8), Qt::AlignRight, row.amount);
        if (row.size != 0) {
            label(QString(), du.Rect(kSizeX, y, kSizeW, 8), Qt::AlignRight, row.size);
            label(QStringLiteral("Bytes"), du.Rect(kBytesX, y, kBytesW, 8), Qt::AlignLeft);
        }
        if (row.sizeText != 0)
            label(QString(), du.Rect(kSizeTextX, y, kSizeTextW, 8), Qt::AlignLeft, row.sizeText);
        y += kRowStep;
    }

    ok_ = new QPushButton(QStringLiteral("OK"), this);
    ok_->setObjectName(QStringLiteral("id1"));
    ok_->setGeometry(du.Rect((kWidth - 50) / 2, kHeight - 21, 50, 14));
    ok_->setDefault(true);
    connect(ok_, &QPushButton::clicked, this, &QDialog::accept);
}

QString CDirStatisticsDlg::Text(int id) const {
    auto it = controls_.find(id);
    if (it == controls_.end())
        return {};
    if (auto* edit = qobject_cast<QPlainTextEdit*>(it->second))
        return edit->toPlainText();
    return static_cast<QLabel*>(it->second)->text();
}

void CDirStatisticsDlg::showEvent(QShowEvent* event) {
    if (!placed_) {
        placed_ = true;
        PlaceAtPointer();
    }
    QDialog::showEvent(event);
}

void CDirStatisticsDlg::PlaceAtPointer() {
    const QPoint pointer = QCursor::pos();
    QScreen* screen = QGuiApplication::screenAt(pointer);
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QRect avail = screen->availableGeometry();
    // move() places the window with its frame, as far as the frame is known
    // yet (a window manager may add it only later).
    const QSize size = frameGeometry().size();
    const WindowRect r = CentredOnPointer(size.width(), size.height(), pointer.x(), pointer.y(),
                                          {avail.x(), avail.y(), avail.width(), avail.height()});
    move(r.x, r.y);
}
