#pragma once
// The framed page area of the options sheet: a bordered box with a shadow
// along its right and bottom edges and, across its top, a strip that fades
// from the caption colour to white with the page's title in white. The pages
// are its children, placed under the strip.

#include <QString>
#include <QWidget>

namespace HV {

class CTitleBarWinFrame : public QWidget {
    Q_OBJECT
public:
    explicit CTitleBarWinFrame(QWidget* parent = nullptr);

    void SetTitle(const QString& title);
    const QString& title() const { return title_; }

    // Where a page goes: left of the border, under the strip.
    QPoint PageOrigin() const { return {1, StripBottom()}; }
    // The frame's size around a page of `page` size, shadow included.
    QSize SizeFor(const QSize& page) const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    // The strip is 20 pixels high, or higher when the font needs it.
    int StripBottom() const;

    QString title_;
};

} // namespace HV
