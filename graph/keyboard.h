// The keyboard picture: a keyboard of the 104-key or the Japanese 109-key layout and a mouse, each
// key and button filled on a logarithmic colour scale with its legend and count, and the scale.
#pragma once
#include <windows.h>

enum KeyboardLayout { Layout104 = 0, Layout109 = 1, KeyboardLayoutCount = 2 };

// The layout of the user's keyboard: the Japanese one when the keyboard is Japanese.
int UserKeyboardLayout(void);
// The picture's size in its own units (a quarter of a key), for the window to fit it.
enum { KeyboardPictureUnitsWide = 112, KeyboardPictureUnitsHigh = 34 };
// Draws the picture of the counts (KeyIndexCount of them) into the context, fitted into the
// width and height and centred, on white.
void DrawKeyboardPicture(HDC dc, int width, int height, const long long* counts, int layout);
// A key's or button's name as the user reads it: the platform's name of the key where it has one,
// else the layout's legend, else its name in the keys file.
void KeyDisplayName(int index, wchar_t* text, int size);
