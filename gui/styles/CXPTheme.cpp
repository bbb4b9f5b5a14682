#include "gui/styles/CXPTheme.h"

#include "gui/panes/CVistaTheme.h"

#include <QGuiApplication>
#include <QPalette>
#include <QScreen>

namespace HV {

paradrex::SystemColours SystemColoursOf(const QPalette& palette) {
    auto colour = [&palette](QPalette::ColorGroup group, QPalette::ColorRole role) {
        return FromQColor(palette.color(group, role));
    };
    paradrex::SystemColours s;
    s.window = colour(QPalette::Active, QPalette::Base);
    s.windowText = colour(QPalette::Active, QPalette::Text);
    s.buttonFace = colour(QPalette::Active, QPalette::Button);
    s.grayText = colour(QPalette::Disabled, QPalette::Text);
    s.menuText = colour(QPalette::Active, QPalette::WindowText);
    s.highlight = colour(QPalette::Active, QPalette::Highlight);
    s.menu = colour(QPalette::Active, QPalette::Window);
    return s;
}

void CXPTheme::Refresh() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    Refresh(QGuiApplication::palette(), screen ? screen->depth() : 24);
}

void CXPTheme::Refresh(const QPalette& palette, int bitsPerPixel) {
    scheme_ = paradrex::MakeXPColourScheme(SystemColoursOf(palette), bitsPerPixel);
}

QColor CXPTheme::operator[](paradrex::XPColour c) const {
    return ToQColor(scheme_[c]);
}

QColor CXPTheme::menuText() const {
    return ToQColor(scheme_.system.menuText);
}

} // namespace HV
