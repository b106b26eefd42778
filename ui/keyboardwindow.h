// The keyboard window: which keys and mouse buttons were pressed in a range of days, drawn on a
// keyboard of the user's layout and a mouse, with the list on the clipboard and the picture saved.
#pragma once
#include <windows.h>

// Written by ui/keyboardwindow.cpp alone: the range and the layout shown.
struct KeyboardView {
    int Range;
    int Layout;
};
extern KeyboardView KeyboardShown;

// The clipboard's text: a key's or button's name and count a line, most pressed first; the count of
// characters with the closing zero, the text only counted when it is null.
SIZE_T ComposeKeysText(const void* context, wchar_t* text);
// Shows the keyboard window, modal and owned by the graph window; it opens on today.
void OpenKeyboardWindow(HWND graphWindow);
