#pragma once
// The dialogs' numbers in the user's locale: counts with its digit grouping
// (QLocale::system() groups even under LANG=C), seconds with three decimals.

#include "uimodel/NumberFormat.h"

paradrex::NumberFormat LocaleNumbers();
