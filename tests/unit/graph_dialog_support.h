// Test helpers for the graph window and its dialogs: opening them, scripting modal loops,
// reading the status bar back.
#pragma once
#include <windows.h>
#include <commctrl.h>
#include <gtest/gtest.h>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "app/input.h"
#include "graph/view.h"
#include "res/resource.h"
#include "store/days.h"
#include "ui/graphwindow.h"
#include "ui/statusbar.h"

// The graph window's state as a fresh process has it; the graph shows clicks.
inline void ResetGraphState()
{
    Graph.SelectedMetric = MetricClicks;
    GraphWindow.Open = 0;
    GraphWindow.Handle = nullptr;
    StatusBar.Handle = nullptr;
    Counters.LeftClicks = Counters.RightClicks = Counters.MiddleClicks = 0;
    Counters.KeyTouches = 0;
    Counters.MoveX = Counters.MoveY = 0;
    HandStatusCounts(0, 0, 0);
}

// The graph window without a modal loop, for inspection; DestroyWindow ends it.
inline HWND OpenGraphDialogModeless(HWND owner = nullptr)
{
    return CreateDialogParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_GRAPH), owner,
                              GraphWindowProc, 0);
}

// The width of a text in a window's font.
inline int TextWidthIn(HWND window, const wchar_t* text)
{
    HDC dc = GetDC(window);
    HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(window, WM_GETFONT, 0, 0)));
    SIZE size = {};
    GetTextExtentPoint32W(dc, text, lstrlenW(text), &size);
    SelectObject(dc, old);
    ReleaseDC(window, dc);
    return size.cx;
}

inline std::string PartText(HWND bar, int part)
{
    char text[512] = "";
    SendMessageA(bar, SB_GETTEXTA, part, reinterpret_cast<LPARAM>(text));
    return text;
}

inline HICON PartIcon(HWND bar, int part)
{
    return reinterpret_cast<HICON>(SendMessageA(bar, SB_GETICON, part, 0));
}

inline bool MenuItemChecked(HWND window, UINT command)
{
    return (GetMenuState(GetMenu(window), command, MF_BYCOMMAND) & MF_CHECKED) != 0;
}

// A modal dialog run with a script: a thread timer, served by the dialog's own modal loop,
// waits until `find` returns a visible window and then calls `act` on it once. `act` must
// end the dialog; a dialog still open 10 s later is ended with -99 and the test fails.
struct ModalScript {
    std::function<HWND()> find;
    std::function<void(HWND)> act;
    int ticks = 0;
    bool acted = false;
    HWND dialog = nullptr;
};

inline std::map<UINT_PTR, ModalScript*>& ModalScripts()
{
    static std::map<UINT_PTR, ModalScript*> scripts;
    return scripts;
}

inline void CALLBACK ModalScriptTick(HWND, UINT, UINT_PTR id, DWORD)
{
    auto found = ModalScripts().find(id);
    if (found == ModalScripts().end()) return;
    ModalScript* script = found->second;
    ++script->ticks;
    if (!script->acted) {
        HWND dialog = script->find();
        if (dialog && IsWindowVisible(dialog)) {
            script->acted = true;
            script->dialog = dialog;
            script->act(dialog);  // may run nested modal loops of its own
        }
    } else if (script->ticks == 200 && IsWindow(script->dialog)) {
        ADD_FAILURE() << "the dialog was not ended by its script";
        EndDialog(script->dialog, -99);
    }
}

inline INT_PTR RunModal(const std::function<INT_PTR()>& open, std::function<HWND()> find,
                        std::function<void(HWND)> act)
{
    ModalScript script;
    script.find = std::move(find);
    script.act = std::move(act);
    UINT_PTR timer = SetTimer(nullptr, 0, 50, ModalScriptTick);
    ModalScripts()[timer] = &script;
    INT_PTR result = open();
    KillTimer(nullptr, timer);
    ModalScripts().erase(timer);
    EXPECT_TRUE(script.acted) << "the dialog never came up";
    return result;
}

// The graph window run modally, as the tray opens it.
inline INT_PTR RunGraphDialog(std::function<void(HWND)> act, HWND owner = nullptr)
{
    GraphWindow.Handle = nullptr;
    return RunModal(
        [owner] {
            return DialogBoxParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_GRAPH), owner,
                                   GraphWindowProc, 0);
        },
        [] { return GraphWindow.Handle; }, std::move(act));
}

// A visible dialog of this thread owned by the given window, or null.
inline HWND FindOwnedDialog(HWND owner)
{
    struct Search {
        HWND owner, found;
    } search = {owner, nullptr};
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND window, LPARAM param) -> BOOL {
            Search* s = reinterpret_cast<Search*>(param);
            char cls[32] = "";
            GetClassNameA(window, cls, sizeof cls);
            if (lstrcmpA(cls, "#32770") == 0 && GetWindow(window, GW_OWNER) == s->owner &&
                IsWindowVisible(window)) {
                s->found = window;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}
