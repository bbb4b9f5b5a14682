#include "platform/ErrorRecord.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cstdlib>
#include <regex>

namespace paradrex {
namespace {

std::time_t LocalTime(int year, int mon, int day, int h, int m, int s) {
    std::tm tm{};
    tm.tm_year = year - 1900;
    tm.tm_mon = mon - 1;
    tm.tm_mday = day;
    tm.tm_hour = h;
    tm.tm_min = m;
    tm.tm_sec = s;
    tm.tm_isdst = -1;
    return std::mktime(&tm);
}

TEST(ErrorRecord, LineCarriesStampMessageAndCodeOnlyWhenNotZero) {
    const std::time_t t = LocalTime(2008, 1, 2, 3, 4, 5);
    EXPECT_EQ(_Error_record("/data/a.txt can't open!").Format(t),
              "[01/02/08 03:04:05] /data/a.txt can't open!\n");
    EXPECT_EQ(_Error_record("/data/b read error!", 5).Format(t),
              "[01/02/08 03:04:05] /data/b read error! Error Code: 5\n");
    EXPECT_EQ(_Error_record("x", -3).Format(t), "[01/02/08 03:04:05] x Error Code: -3\n");
}

TEST(ErrorRecord, StampDoesNotDependOnTheUserLocale) {
    const char* old = std::setlocale(LC_ALL, nullptr);
    std::string saved = old ? old : "C";
    // Whatever locales exist here, the stamp keeps its numeric form.
    for (const char* loc : {"de_DE.UTF-8", "fr_FR.UTF-8", "C.UTF-8", ""}) {
        std::setlocale(LC_ALL, loc);
        std::string line = _Error_record("m").Format(LocalTime(2007, 12, 31, 23, 59, 58));
        EXPECT_EQ(line, "[12/31/07 23:59:58] m\n") << loc;
    }
    std::setlocale(LC_ALL, saved.c_str());
}

} // namespace
} // namespace paradrex
