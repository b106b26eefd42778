// Finding the file-name field of the platform's save dialog, in this process or another one.
#pragma once
#include <windows.h>

// The explorer-style dialog keeps the name in control 0x47C (a combo box, extended or not, with
// its edit somewhere below it) or in edit 0x480. Null while the dialog has none of them yet.
inline HWND SaveDialogNameEdit(HWND dialog)
{
    for (int id : {0x47C, 0x480}) {
        HWND control = GetDlgItem(dialog, id);
        if (!control) continue;
        char cls[32] = "";
        if (GetClassNameA(control, cls, sizeof cls) && lstrcmpiA(cls, "Edit") == 0) return control;
        HWND edit = nullptr;
        EnumChildWindows(
            control,
            [](HWND child, LPARAM param) -> BOOL {
                char name[32] = "";
                GetClassNameA(child, name, sizeof name);
                if (lstrcmpiA(name, "Edit") != 0) return TRUE;
                *reinterpret_cast<HWND*>(param) = child;
                return FALSE;
            },
            reinterpret_cast<LPARAM>(&edit));
        if (edit) return edit;
    }
    return nullptr;
}
