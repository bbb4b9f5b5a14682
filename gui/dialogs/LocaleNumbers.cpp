#include "gui/dialogs/LocaleNumbers.h"

#include <QLocale>

paradrex::NumberFormat LocaleNumbers() {
    paradrex::NumberFormat f;
    f.integer = [](uint64_t v) {
        return QLocale::system().toString(static_cast<qulonglong>(v)).toStdString();
    };
    f.seconds = [](double v) { return QLocale::system().toString(v, 'f', 3).toStdString(); };
    return f;
}
