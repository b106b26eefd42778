// The UI language, chosen once at start, and every text shown in it, from the table of
// res/texts.h.
#pragma once
#include <windows.h>

#include "res/texts.h"

enum UiTextId {
#define VANTLE_UI_TEXT_ID(id, ja, en) id,
    VANTLE_UI_TEXTS(VANTLE_UI_TEXT_ID)
#undef VANTLE_UI_TEXT_ID
    UiTextCount
};

// The UI languages: Japanese where the user's UI language is Japanese, English everywhere else.
enum UiLanguageId { UiJapanese = 0, UiEnglish = 1, UiLanguageCount = 2 };

// The language in force (UiJapanese or UiEnglish); written by base/uitext.cpp alone.
extern int UiLanguageInForce;

// Chooses the language from the user's UI language (GetUserDefaultUILanguage); called once, first.
void ChooseUiLanguage(void);
// The language the user's UI language calls for, without choosing it.
int UiLanguageOfUser(void);
// The text in the language in force, and in a given language.
const wchar_t* UiText(UiTextId id);
const wchar_t* UiTextIn(UiTextId id, int language);
// The language in force, and its language id for the resources of that language.
int CurrentUiLanguage(void);
unsigned short UiResourceLanguage(void);
// The character set of the graph's fonts in the UI language.
unsigned char UiCharset(void);
