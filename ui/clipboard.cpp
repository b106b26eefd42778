// The clipboard's text of a window's table, for the totals window and the apps window alike.
#include "ui/clipboard.h"

// Another program (a clipboard manager, say) may have the clipboard open for a moment.
enum { ClipboardRetries = 20, ClipboardRetryMs = 10 };

// The clipboard takes only memory of its own kind, handed over to the system: the one block the
// program allocates after its start, freed by the clipboard or, when it refuses, here.
int CopyTextToClipboard(HWND window, ComposeText compose, const void* context)
{
    SIZE_T length = compose(context, nullptr);
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, length * sizeof(wchar_t));
    wchar_t* text = memory ? static_cast<wchar_t*>(GlobalLock(memory)) : nullptr;
    if (!text) {
        if (memory) GlobalFree(memory);
        return 0;
    }
    compose(context, text);
    GlobalUnlock(memory);
    int open = OpenClipboard(window);
    for (int attempt = 0; !open && attempt < ClipboardRetries; ++attempt) {
        Sleep(ClipboardRetryMs);
        open = OpenClipboard(window);
    }
    if (open) {
        if (EmptyClipboard() && SetClipboardData(CF_UNICODETEXT, memory)) memory = nullptr;
        CloseClipboard();
    }
    if (!memory) return 1;
    GlobalFree(memory);
    return 0;
}
