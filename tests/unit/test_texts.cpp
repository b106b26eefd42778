// The text table: what a translation can get wrong. A format must take the same conversions in
// both languages (the same arguments are passed to either), and an English text must not be left
// in Japanese.
#include <gtest/gtest.h>

#include <string>

#include "base/uitext.h"

namespace {
// The printf conversions of a format, in order ("%d%s"); "%%" is none.
std::wstring Conversions(const wchar_t* text)
{
    std::wstring found;
    for (const wchar_t* c = text; *c; ++c) {
        if (*c != L'%') continue;
        if (*++c == L'%') continue;
        found += L'%';
        while (*c && !wcschr(L"diouxXcsSfgeEp", *c)) found += *c++;
        if (*c) found += *c;
        else break;
    }
    return found;
}

bool HasJapanese(const wchar_t* text)
{
    for (const wchar_t* c = text; *c; ++c)
        if (*c >= 0x3000) return true;
    return false;
}
}  // namespace

TEST(UiTexts, EveryTextTranslatedWithTheSameConversions)
{
#define VANTLE_UI_TEXT_CHECK(id, ja, en)                                                              \
    EXPECT_TRUE(*(ja) && *(en)) << #id;                                                               \
    EXPECT_EQ(Conversions(ja), Conversions(en)) << #id;                                               \
    EXPECT_FALSE(HasJapanese(en)) << #id;                                                             \
    UiLanguageInForce = UiEnglish;                                                                    \
    EXPECT_STREQ(UiText(id), en) << #id;
    VANTLE_UI_TEXTS(VANTLE_UI_TEXT_CHECK)
#undef VANTLE_UI_TEXT_CHECK
    UiLanguageInForce = UiJapanese;
}
