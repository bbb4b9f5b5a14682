#include "gui/dialogs/DialogUnits.h"

#include <algorithm>
#include <cmath>

DialogUnits::DialogUnits(const QFont& font) : metrics_(font) {
    const int letters = metrics_.horizontalAdvance(
        QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
    baseX_ = double((letters / 26 + 1) / 2);
    baseY_ = metrics_.height();
}

void DialogUnits::Fit(const QString& text, int width) {
    baseX_ = std::max(baseX_, 4.0 * (metrics_.horizontalAdvance(text) + 1) / width);
}

int DialogUnits::X(int dlu) const {
    return int(std::lround(dlu * baseX_ / 4));
}
