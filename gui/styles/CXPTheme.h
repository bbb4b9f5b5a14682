#pragma once
// The "OfficeXP Style" colour scheme as the painting uses it: derived from
// the application's palette (the system colours) and the screen's depth, and
// taken again whenever the palette changes.

#include "uimodel/XPColourScheme.h"

#include <QColor>

class QPalette;

namespace HV {

class CXPTheme {
public:
    CXPTheme() { Refresh(); }
    // From the application's palette and the primary screen's depth.
    void Refresh();
    void Refresh(const QPalette& palette, int bitsPerPixel);

    QColor operator[](paradrex::XPColour c) const;
    QColor menuText() const;
    const paradrex::XPColourScheme& scheme() const { return scheme_; }

private:
    paradrex::XPColourScheme scheme_;
};

// The system colours a palette stands for.
paradrex::SystemColours SystemColoursOf(const QPalette& palette);

} // namespace HV
