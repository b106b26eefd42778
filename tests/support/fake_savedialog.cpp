// Replaces the program's save dialog at link time with the scripted one.
#include "support/fake_savedialog.h"

#include <deque>

#include "graph/savedialog.h"
#include "support/testwin.h"

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

// The platform's dialog adds the default extension to a name without one.
std::wstring WithDefaultExtension(const std::wstring& typed, const WCHAR* extension)
{
    size_t name = typed.find_last_of(L"\\/");
    name = name == std::wstring::npos ? 0 : name + 1;
    if (!extension || !*extension || typed.find(L'.', name) != std::wstring::npos) return typed;
    return typed + L"." + extension;
}
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
    std::wstring path = WithDefaultExtension(Wide(answer.typed), dialog->lpstrDefExt);
    // A name that does not fit the buffer fails the dialog, as the platform's does.
    if (answer.typed.empty() || !dialog->lpstrFile || path.size() >= dialog->nMaxFile) return FALSE;
    lstrcpynW(dialog->lpstrFile, path.c_str(), static_cast<int>(dialog->nMaxFile));
    if (answer.typeEntry) dialog->nFilterIndex = answer.typeEntry;
    return TRUE;
}
