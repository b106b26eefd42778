// Menus and dialogs in the UI language. The resource script holds one menu of each kind and a
// dialog template per language (a language's own faces and sizes); every text they show comes
// from the table, in the language chosen at start.
#include "ui/uiresources.h"

#include "base/uitext.h"
#include "res/resource.h"

struct MenuItemText {
    int command;
    UiTextId text;
};

static const MenuItemText MenuItemTexts[] = {
    {IDC_PUT_AWAY_GRAPH, TextMenuPutAway},   {IDC_OPEN_GRAPH, TextMenuOpen},
    {IDC_START_WITH_WINDOWS, TextMenuStartWithWindows}, {IDC_EXIT, TextMenuExit},
    {IDC_SAVE_PICTURE, TextMenuSavePicture}, {IDC_SAVE_CSV, TextMenuSaveCsv},
    {IDC_RESET_DATA, TextMenuResetData},     {IDC_GRAPH_TO_TRAY, TextMenuGraphToTray},
    {IDC_SHOW_CLICKS, TextMenuShowClicks},   {IDC_SHOW_KEYS, TextMenuShowKeys},
    {IDC_SHOW_MOVEMENT, TextMenuShowMovement}, {IDC_SHOW_TOTALS, TextMenuShowTotals},
    {IDC_SHOW_APPS, TextMenuShowApps},       {IDC_RECORD_APPS, TextMenuRecordApps},
    {IDC_ABOUT, TextMenuAbout},             {IDC_SHARE, TextMenuShare},
    {IDC_GRAPH_ALL_PCS, TextMenuGraphAllPcs},
    {IDC_ABOUT, TextMenuAbout},              {IDC_RECORD_KEYS, TextMenuRecordKeys},
    {IDC_SHOW_KEYBOARD, TextMenuShowKeyboard}, {IDC_SHOW_CALENDAR, TextMenuShowCalendar},
};
// The graph window's menu bar, by position; the tray menu's one popup is never shown.
enum { GraphPopupCount = 3 };
static const UiTextId GraphPopupTexts[] = {TextMenuFile, TextMenuView, TextMenuHelp};

static void SetItemText(HMENU menu, UINT item, BOOL byPosition, UiTextId text)
{
    MENUITEMINFOW info = {};
    info.cbSize = sizeof info;
    info.fMask = MIIM_STRING;
    info.dwTypeData = const_cast<wchar_t*>(UiText(text));
    SetMenuItemInfoW(menu, item, byPosition, &info);
}

void SetUiMenuTexts(HMENU menu, int menuId)
{
    // By command, found in whichever popup holds it; a command the menu lacks is left alone.
    for (const MenuItemText& item : MenuItemTexts)
        if (GetMenuState(menu, item.command, MF_BYCOMMAND) != static_cast<UINT>(-1))
            SetItemText(menu, item.command, FALSE, item.text);
    if (menuId != IDM_GRAPH) return;
    for (int i = 0; i < GraphPopupCount; ++i) SetItemText(menu, i, TRUE, GraphPopupTexts[i]);
}

HMENU LoadUiMenu(int menuId)
{
    HMENU menu = LoadMenuW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(menuId));
    if (menu) SetUiMenuTexts(menu, menuId);
    return menu;
}

// Asked for by name: the entry is missing before Windows 10 1607, where the window stays scaled.
typedef HANDLE(WINAPI* SetThreadAwareness)(HANDLE);

static SetThreadAwareness ThreadAwarenessEntry(void)
{
    // Through void* so that the compiler accepts the change of function type.
    return reinterpret_cast<SetThreadAwareness>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("user32.dll"), "SetThreadDpiAwarenessContext")));
}

INT_PTR ShowSharpUiDialog(int dialogId, HWND owner, DLGPROC procedure)
{
    const HANDLE PerMonitorAwareV2 = reinterpret_cast<HANDLE>(static_cast<INT_PTR>(-4));
    SetThreadAwareness set = ThreadAwarenessEntry();
    HANDLE previous = set ? set(PerMonitorAwareV2) : nullptr;
    INT_PTR result = ShowUiDialog(dialogId, owner, procedure, reinterpret_cast<LPARAM>(previous));
    // Given back already at WM_INITDIALOG; again here for a dialog that could not be made.
    if (previous) set(previous);
    return result;
}

void EndSharpDialogStart(LPARAM param)
{
    SetThreadAwareness set = ThreadAwarenessEntry();
    if (set && param) set(reinterpret_cast<HANDLE>(param));
}

INT_PTR ShowUiDialog(int dialogId, HWND owner, DLGPROC procedure, LPARAM param)
{
    HINSTANCE instance = GetModuleHandleW(nullptr);
    // Looked up by language, not left to the loader: its choice follows the thread's and the
    // system's languages, which may differ from the one the texts are in.
    const LPCWSTR dialogType = MAKEINTRESOURCEW(5);  // RT_DIALOG
    HRSRC found = FindResourceExW(instance, dialogType, MAKEINTRESOURCEW(dialogId), UiResourceLanguage());
    if (!found) found = FindResourceW(instance, MAKEINTRESOURCEW(dialogId), dialogType);
    HGLOBAL loaded = found ? LoadResource(instance, found) : nullptr;
    const DLGTEMPLATE* dialog = loaded ? static_cast<const DLGTEMPLATE*>(LockResource(loaded)) : nullptr;
    if (!dialog) return -1;
    return DialogBoxIndirectParamW(instance, dialog, owner, procedure, param);
}
