#pragma once
// The colour scheme of the "Windows Vista Style" drawing: the window and
// text colours of the palette and the fixed focused and unfocused selection
// colours. Shared by the list and tree drawing.

#include "review/Colour.h"

#include <QPalette>
#include <QRectF>

class QPainter;

namespace HV {

class CVistaTheme {
public:
    explicit CVistaTheme(const QPalette& palette) { Refresh(palette); }
    // Takes the colours that follow the desktop again.
    void Refresh(const QPalette& palette);

    paradrex::Colour window = 0xFFFFFF;
    paradrex::Colour text = 0x000000;
    paradrex::SelectionColours focused = paradrex::kFocusedSelection;
    paradrex::SelectionColours unfocused = paradrex::kUnfocusedSelection;

    const paradrex::SelectionColours& SetFor(bool hasFocus) const {
        return hasFocus ? focused : unfocused;
    }
};

QColor ToQColor(paradrex::Colour colour);
paradrex::Colour FromQColor(const QColor& colour);

// The themed selection: a rounded rectangle (corner 5 by 5) with a one-pixel
// border and a fill, and inside it, 2 pixels in, a vertical gradient.
void PaintSelection(QPainter& painter, const QRect& rect, const paradrex::SelectionColours& set);

} // namespace HV
