// The text table: every text in both languages, shown in the language chosen.
#include <gtest/gtest.h>

#include "res/texts.h"
#include "store/state.h"

namespace {
#define VANTLE_UI_TEXT_ROW(id, ja, en) {#id, id, ja, en},
const struct {
    const char* name;
    UiTextId id;
    const wchar_t *japanese, *english;
} TextRows[] = {VANTLE_UI_TEXTS(VANTLE_UI_TEXT_ROW)};
#undef VANTLE_UI_TEXT_ROW

TEST(UiTexts, EveryTextHasBothLanguages)
{
    ASSERT_EQ(sizeof TextRows / sizeof *TextRows, static_cast<size_t>(UiTextCount));
    int kept = App.UiLanguage;
    for (const auto& row : TextRows) {
        EXPECT_NE(row.japanese[0], L'\0') << row.name;
        EXPECT_NE(row.english[0], L'\0') << row.name;
        App.UiLanguage = UiJapanese;
        EXPECT_STREQ(UiText(row.id), row.japanese) << row.name;
        App.UiLanguage = UiEnglish;
        EXPECT_STREQ(UiText(row.id), row.english) << row.name;
    }
    App.UiLanguage = kept;
}
}  // namespace
