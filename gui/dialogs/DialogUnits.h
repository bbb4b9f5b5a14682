#pragma once
// Dialog units of a dialog's font, in which the dialogs place their
// controls: 4 horizontal units are the average character width, 8 vertical
// units the font height. The horizontal unit grows when a text would not fit
// its place, since the font here is not the one the places were measured
// with.

#include <QFont>
#include <QFontMetrics>
#include <QRect>
#include <QString>

class DialogUnits {
public:
    explicit DialogUnits(const QFont& font);

    // Widens the horizontal unit so that `text` fits `width` units.
    void Fit(const QString& text, int width);

    QRect Rect(int x, int y, int w, int h) const {
        return {X(x), Y(y), X(x + w) - X(x), Y(y + h) - Y(y)};
    }
    int X(int dlu) const;
    int Y(int dlu) const { return (dlu * baseY_ + 4) / 8; }

private:
    QFontMetrics metrics_;
    double baseX_ = 6;
    int baseY_ = 13;
};
