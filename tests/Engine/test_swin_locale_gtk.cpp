// Starting GTK for the dialog leaves the C locale in place: under a comma
// locale numbers are still written with a point.
#include <gtest/gtest.h>

#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <locale.h>
#include <string>

#include "EngDebug.h"
#include "SWin.h"
#include "support/TestSupport.h"
#include "support/GameName.h"

namespace
{

const char* const kLocale = "de_DE.UTF-8";

bool LocaleAvailable()
{
    locale_t l = newlocale(LC_ALL_MASK, kLocale, nullptr);
    if (!l)
        return false;
    freelocale(l);
    return true;
}

// Builds the locale into dir and points LOCPATH at it.
bool GenerateLocale(const std::string& dir, std::string* why)
{
    if (vztest::RunCommand({"localedef", "-i", "de_DE", "-f", "UTF-8", dir + "/" + kLocale}) != 0)
    {
        *why = "localedef could not be run, or failed";
        return false;
    }
    setenv("LOCPATH", dir.c_str(), 1);
    return true;
}

std::string Format(double v)
{
    char buf[32];
    snprintf(buf, sizeof(buf), "%.2f", v);
    return buf;
}

class SWinLocale : public vztest::LogTest
{
protected:
    vztest::TempDir dir;
};

TEST_F(SWinLocale, NumbersKeepTheirPointAfterGtkStarts)
{
    if (!LocaleAvailable())
    {
        std::string why;
        if (!GenerateLocale(dir.Path(), &why) || !LocaleAvailable())
            GTEST_SKIP() << kLocale << " cannot be made here (" << why << "); install the locales package";
    }

    // The locale really writes a comma.
    locale_t de = newlocale(LC_ALL_MASK, kLocale, nullptr);
    ASSERT_NE(nullptr, de);
    locale_t old = uselocale(de);
    EXPECT_EQ("1,21", Format(1.21));
    uselocale(old);
    freelocale(de);

    vztest::ScopedEnv lc_all("LC_ALL", kLocale);
    vztest::ScopedEnv lang("LANG", kLocale);
    SWin win;
    _SWinCreateInfo info = {};
    info.x = info.y = -1;
    info.width = 300;
    info.height = 130;
    ASSERT_EQ(1, win.CreateMainWindow(&info));
    EXPECT_EQ("1.21", Format(1.21));
    EXPECT_STREQ(".", localeconv()->decimal_point);
    win.DestroyMainWindow();
}

} // namespace
