// The text table: every text in both languages, shown in the language chosen.
#include <gtest/gtest.h>

#include "base/uitext.h"

TEST(UiTexts, EveryTextHasBothLanguages)
{
#define VANTLE_UI_TEXT_CHECK(id, ja, en)                                     \
    UiLanguageInForce = UiJapanese;                                               \
    EXPECT_TRUE(*(ja) && lstrcmpW(UiText(id), ja) == 0) << #id;                \
    UiLanguageInForce = UiEnglish;                                                \
    EXPECT_TRUE(*(en) && lstrcmpW(UiText(id), en) == 0) << #id;
    VANTLE_UI_TEXTS(VANTLE_UI_TEXT_CHECK)
#undef VANTLE_UI_TEXT_CHECK
    UiLanguageInForce = UiJapanese;
}
