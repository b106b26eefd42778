// The text table: what a translation can get wrong. A format must take the same conversions in
// both languages (the same arguments are passed to either), and an English text must not be left
// in Japanese.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "base/uitext.h"

namespace {
// The printf conversions of a format, in order ("%d%s"); "%%" is none.
std::wstring Conversions(const wchar_t* text)
{
    std::wstring found;
    for (const wchar_t* c = wcschr(text, L'%'); c; c = wcschr(c + 1, L'%')) {
        size_t length = wcscspn(c + 1, L"diouxXcsSfgeEp%") + 2;
        if (!c[length - 1]) break;
        if (c[1] != L'%') found.append(c, length);
        c += length - 1;
    }
    return found;
}
}  // namespace

TEST(UiTexts, EveryTextTranslatedWithTheSameConversions)
{
#define VANTLE_UI_TEXT_CHECK(id, ja, en)                                                              \
    EXPECT_TRUE(*(ja) && *(en)) << #id;                                                               \
    EXPECT_EQ(Conversions(ja), Conversions(en)) << #id;                                               \
    EXPECT_TRUE(std::all_of(en, en + lstrlenW(en), [](wchar_t c) { return c < 0x3000; })) << #id;   \
    UiLanguageInForce = UiEnglish;                                                                    \
    EXPECT_STREQ(UiText(id), en) << #id;
    VANTLE_UI_TEXTS(VANTLE_UI_TEXT_CHECK)
#undef VANTLE_UI_TEXT_CHECK
    UiLanguageInForce = UiJapanese;
}
