// The UI texts' table, in Japanese until the language is chosen at start.
#include "res/texts.h"

const wchar_t* UiText(UiTextId id)
{
    static const wchar_t* const Japanese[UiTextCount] = {
#define VANTLE_UI_TEXT_JA(id, ja, en) ja,
        VANTLE_UI_TEXTS(VANTLE_UI_TEXT_JA)
#undef VANTLE_UI_TEXT_JA
    };
    return id >= 0 && id < UiTextCount ? Japanese[id] : L"";
}
