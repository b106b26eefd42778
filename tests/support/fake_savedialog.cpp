// Replaces the program's save dialog at link time with the scripted one.
#include "support/fake_savedialog.h"

#include <gtest/gtest.h>

#include <deque>

#include "base/files.h"
#include "support/testwin.h"
#include "ui/savedialog.h"

namespace {
std::deque<SaveDialogAnswer> Answers;
std::vector<SaveDialogCall> Calls;

// The filter's strings, each with its zero, and the closing zero, in the ANSI code page.
std::string FilterOf(const WCHAR* filter)
{
    if (!filter) return "";
    std::string narrow;
    for (const WCHAR* s = filter; *s; s += lstrlenW(s) + 1) narrow += Narrow(s) + '\0';
    return narrow + '\0';
}

std::string TextOf(const WCHAR* text) { return text ? Narrow(text) : ""; }
}  // namespace

void ScriptSaveDialog(const SaveDialogAnswer& answer) { Answers.push_back(answer); }

std::vector<SaveDialogCall> TakeSaveDialogCalls()
{
    std::vector<SaveDialogCall> calls;
    calls.swap(Calls);
    Answers.clear();
    return calls;
}

BOOL ShowSaveDialog(OPENFILENAMEW* dialog)
{
    SaveDialogCall call;
    call.structSize = dialog->lStructSize;
    call.owner = dialog->hwndOwner;
    call.filter = FilterOf(dialog->lpstrFilter);
    call.filterIndex = dialog->nFilterIndex;
    call.proposed = TextOf(dialog->lpstrFile);
    call.fileSize = dialog->nMaxFile;
    call.title = TextOf(dialog->lpstrTitle);
    call.defaultExtension = TextOf(dialog->lpstrDefExt);
    call.flags = dialog->Flags;
    Calls.push_back(call);

    SaveDialogAnswer answer;
    if (!Answers.empty()) {
        answer = Answers.front();
        Answers.pop_front();
    }
    if (answer.whileOpen) answer.whileOpen();
    std::wstring path = Wide(answer.typed);
    // A name that does not fit the buffer fails the dialog, as the platform's does.
    if (answer.typed.empty() || !dialog->lpstrFile || path.size() >= dialog->nMaxFile) return FALSE;
    lstrcpynW(dialog->lpstrFile, path.c_str(), static_cast<int>(dialog->nMaxFile));
    if (answer.typeEntry) dialog->nFilterIndex = answer.typeEntry;
    return TRUE;
}

void ExpectSaveDialog(const SaveDialogCall& call, HWND owner, const std::string& filter, const char* extension)
{
    EXPECT_EQ(sizeof(OPENFILENAMEA), call.structSize);
    EXPECT_EQ(owner, call.owner);
    EXPECT_EQ(filter, call.filter);
    EXPECT_EQ(0u, call.filterIndex);
    EXPECT_EQ(static_cast<DWORD>(PathCapacity), call.fileSize);
    EXPECT_EQ("名前を付けて保存", call.title);
    EXPECT_EQ(0x1806u | OFN_NOCHANGEDIR, call.flags);
    EXPECT_EQ(extension, call.defaultExtension);
}
