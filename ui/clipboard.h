// The clipboard's text of a window's table.
#pragma once
#include <windows.h>

// Composes the UTF-16 text of the context, or only counts its characters when the text is null;
// the count with the closing zero.
typedef SIZE_T (*ComposeText)(const void* context, wchar_t* text);
// Puts the composed text on the clipboard; 0 when the clipboard cannot be had or takes nothing.
int CopyTextToClipboard(HWND window, ComposeText compose, const void* context);
