#pragma once
// What the pages of the options sheet share: their size in dialog units,
// and their controls placed in dialog units and named by their ids
// ("id1002"), as in the other dialogs.

#include "gui/dialogs/DialogUnits.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QRect>
#include <QString>
#include <QWidget>

namespace optionpage {

// Every page is this large, so the sheet laid out around the first one fits
// them all.
inline constexpr int kWidth = 257;
inline constexpr int kHeight = 193;
// Room the box of a check box or radio button takes before its text.
inline constexpr int kIndicatorWidth = 12;

inline QString IdName(int id) {
    return QStringLiteral("id%1").arg(id);
}

template <class W> W* Placed(W* control, int id, const QRect& place) {
    if (id != 0)
        control->setObjectName(IdName(id));
    control->setGeometry(place);
    return control;
}

// Tab enters a group of radio buttons at its checked button (at its first
// when none is checked); the arrow keys move within the group.
inline void TabToCheckedButton(QButtonGroup* group) {
    auto update = [group] {
        const QList<QAbstractButton*> buttons = group->buttons();
        QAbstractButton* stop = group->checkedButton();
        if (!stop && !buttons.isEmpty())
            stop = buttons.first();
        for (QAbstractButton* b : buttons)
            b->setFocusPolicy(b == stop ? Qt::StrongFocus : Qt::ClickFocus);
    };
    update();
    QObject::connect(group, &QButtonGroup::buttonToggled, group, update);
}

} // namespace optionpage
