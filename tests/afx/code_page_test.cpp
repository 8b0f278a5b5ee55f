// The code page each suite runs under: the locale's own without a manifest,
// UTF-8 with the test manifest, whatever the locale.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <string>

#include "code_page.h"

namespace {

// The default ANSI code page of the system's locale.
UINT SystemLocaleCodePage()
{
    char text[8] = "";
    ::GetLocaleInfoA(LOCALE_SYSTEM_DEFAULT, LOCALE_IDEFAULTANSICODEPAGE, text, sizeof(text));
    return static_cast<UINT>(std::strtoul(text, NULL, 10));
}

TEST(Environment, SystemLocaleIsTheOneTheRunnerAskedFor)
{
    // Under Wine the system's locale comes from the Unix locale in LC_ALL;
    // one that is not installed would leave Wine in another.
    char locale[64] = "";
    ::GetEnvironmentVariableA("LC_ALL", locale, sizeof(locale));
    const struct {
        const char *prefix;
        UINT codePage;
    } known[] = {{"zh_CN", 936}, {"ja_JP", 932}, {"en_US", 1252}};
    for (const auto &k : known) {
        if (std::strncmp(locale, k.prefix, std::strlen(k.prefix)) == 0) {
            EXPECT_EQ(SystemLocaleCodePage(), k.codePage) << "LC_ALL=" << locale;
            return;
        }
    }
    GTEST_SKIP() << "no locale of a known code page in LC_ALL (" << locale << ")";
}

TEST(Environment, AnsiCodePageIsTheLocalesOrUtf8)
{
    RecordProperty("AnsiCodePage", static_cast<int>(::GetACP()));
    if (CarriesUtf8Manifest())
        EXPECT_EQ(::GetACP(), static_cast<UINT>(CP_UTF8));
    else
        EXPECT_EQ(::GetACP(), SystemLocaleCodePage());
}

} // namespace
