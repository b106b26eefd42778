// The UI language, chosen once at start, and the texts in it.
#include "base/uitext.h"

int UiLanguageInForce;

#define VANTLE_UI_TEXT_PAIR(id, ja, en) {ja, en},
static const wchar_t* const UiTexts[UiTextCount][UiLanguageCount] = {VANTLE_UI_TEXTS(VANTLE_UI_TEXT_PAIR)};
#undef VANTLE_UI_TEXT_PAIR

// Japanese where the user reads Japanese; every other language gets English, which more users read
// than any other. The ANSI code page plays no part: every text reaches Windows in UTF-16.
int UiLanguageOfUser(void) { return PRIMARYLANGID(GetUserDefaultUILanguage()) == LANG_JAPANESE ? UiJapanese : UiEnglish; }

void ChooseUiLanguage(void) { UiLanguageInForce = UiLanguageOfUser(); }

int CurrentUiLanguage(void) { return UiLanguageInForce == UiEnglish ? UiEnglish : UiJapanese; }

const wchar_t* UiTextIn(UiTextId id, int language)
{
    if (id < 0 || id >= UiTextCount) return L"";
    return UiTexts[id][language == UiEnglish ? UiEnglish : UiJapanese];
}

const wchar_t* UiText(UiTextId id) { return UiTextIn(id, CurrentUiLanguage()); }

unsigned short UiResourceLanguage(void)
{
    return CurrentUiLanguage() == UiEnglish ? MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US)
                                            : MAKELANGID(LANG_JAPANESE, SUBLANG_DEFAULT);
}

unsigned char UiCharset(void) { return CurrentUiLanguage() == UiEnglish ? ANSI_CHARSET : SHIFTJIS_CHARSET; }
