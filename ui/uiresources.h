// Menus and dialogs in the UI language: the templates of that language, the texts from the table.
#pragma once
#include <windows.h>

// Loads a menu resource (tray or graph window) with its texts in the UI language; the caller
// destroys it.
HMENU LoadUiMenu(int menuId);
// Puts the texts of the UI language into a menu loaded from the menu resource.
void SetUiMenuTexts(HMENU menu, int menuId);
// Runs a dialog modally from the template of the UI language (its font and layout), as
// DialogBoxParam does (the param reaches WM_INITDIALOG); the dialog sets its own texts when it
// initialises.
INT_PTR ShowUiDialog(int dialogId, HWND owner, DLGPROC procedure, LPARAM param = 0);
// The same for a window that draws a picture: made aware of its monitor's DPI, so that the system
// scales its template and it draws its picture at the display's scale, sharp, where the rest of
// the program is scaled as a bitmap. Its WM_INITDIALOG hands the param to EndSharpDialogStart,
// which gives the thread back its own awareness before the modal loop runs (the monitor window's
// handlers must see the coordinates they always see).
INT_PTR ShowSharpUiDialog(int dialogId, HWND owner, DLGPROC procedure);
void EndSharpDialogStart(LPARAM param);
