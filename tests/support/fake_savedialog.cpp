// Replaces the program's save dialog at link time with the scripted one.
#include "support/fake_savedialog.h"

#include <deque>

#include "graph/savedialog.h"

namespace {
std::deque<SaveDialogAnswer> Answers;
std::vector<SaveDialogCall> Calls;

std::string FilterOf(const char* filter)
{
    if (!filter) return "";
    const char* end = filter;
    while (*end) end += lstrlenA(end) + 1;
    return std::string(filter, end + 1);
}

// The platform's dialog adds the default extension to a name without one.
std::string WithDefaultExtension(const std::string& typed, const char* extension)
{
    size_t name = typed.find_last_of("\\/");
    name = name == std::string::npos ? 0 : name + 1;
    if (!extension || !*extension || typed.find('.', name) != std::string::npos) return typed;
    return typed + "." + extension;
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

BOOL ShowSaveDialog(OPENFILENAMEA* dialog)
{
    SaveDialogCall call;
    call.structSize = dialog->lStructSize;
    call.owner = dialog->hwndOwner;
    call.filter = FilterOf(dialog->lpstrFilter);
    call.filterIndex = dialog->nFilterIndex;
    call.proposed = dialog->lpstrFile ? dialog->lpstrFile : "";
    call.fileSize = dialog->nMaxFile;
    call.title = dialog->lpstrTitle ? dialog->lpstrTitle : "";
    call.defaultExtension = dialog->lpstrDefExt ? dialog->lpstrDefExt : "";
    call.flags = dialog->Flags;
    Calls.push_back(call);

    SaveDialogAnswer answer;
    if (!Answers.empty()) {
        answer = Answers.front();
        Answers.pop_front();
    }
    if (answer.whileOpen) answer.whileOpen();
    std::string path = WithDefaultExtension(answer.typed, dialog->lpstrDefExt);
    // A name that does not fit the buffer fails the dialog, as the platform's does.
    if (answer.typed.empty() || !dialog->lpstrFile || path.size() >= dialog->nMaxFile) return FALSE;
    lstrcpynA(dialog->lpstrFile, path.c_str(), static_cast<int>(dialog->nMaxFile));
    if (answer.typeEntry) dialog->nFilterIndex = answer.typeEntry;
    return TRUE;
}
