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
