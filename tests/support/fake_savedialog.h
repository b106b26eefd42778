// The test build's save dialog: it notes what each call was given and answers at once, as the
// test scripted, without a window. It serves every caller of ShowSaveDialog.
#pragma once
#include <windows.h>
#include <commdlg.h>

#include <functional>
#include <string>
#include <vector>

// What the program gave the dialog, copied when it was called.
struct SaveDialogCall {
    DWORD structSize = 0;
    HWND owner = nullptr;
    std::string filter;  // the filter's strings, each with its zero, and the closing zero
    DWORD filterIndex = 0;
    std::string proposed;  // the file buffer's text: the name the dialog proposes
    DWORD fileSize = 0;    // the file buffer's size
    std::string title, defaultExtension;
    DWORD flags = 0;
};

// One user's answer to one dialog.
struct SaveDialogAnswer {
    std::string typed;     // the name typed, then Save pressed; empty: Cancel pressed
    DWORD typeEntry = 0;   // the file-type entry chosen first (1 for the first); 0 chooses none
    // What happens while the dialog is up, before the answer.
    std::function<void()> whileOpen = nullptr;
};

// Queues the answer to the next call that has none yet. A call without an answer is cancelled.
void ScriptSaveDialog(const SaveDialogAnswer& answer);
// The calls since the last take, in order; forgets the answers not used.
std::vector<SaveDialogCall> TakeSaveDialogCalls();
// What both exports give the dialog: the record's size, the owner, the filter (its strings and
// the closing zero) with its first entry preselected, the name buffer of the longest path, the
// title, the flags (OFN_OVERWRITEPROMPT, OFN_HIDEREADONLY, OFN_PATHMUSTEXIST, OFN_FILEMUSTEXIST,
// and the current folder left alone) and the extension to add to a name typed without one.
void ExpectSaveDialog(const SaveDialogCall& call, HWND owner, const std::string& filter, const char* extension);
