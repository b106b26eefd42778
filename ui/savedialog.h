// The platform's save-file dialog, the one call of the program that waits on the user to pick a
// file; a test build links a scripted dialog in its place.
#pragma once
#include <windows.h>
#include <commdlg.h>

// The flags of both save dialogs (picture and CSV): overwrite prompt, no read-only box, path
// and file must exist, and the process's current folder left alone, so that the chosen folder
// can still be removed or ejected while the program runs.
enum : DWORD {
    SaveDialogFlags = OFN_OVERWRITEPROMPT | OFN_HIDEREADONLY | OFN_PATHMUSTEXIST | OFN_FILEMUSTEXIST | OFN_NOCHANGEDIR,
};
static_assert((SaveDialogFlags & ~OFN_NOCHANGEDIR) == 0x1806, "the picture export's flags");

// Runs the dialog as GetSaveFileNameW does; nonzero when the user chose a file.
BOOL ShowSaveDialog(OPENFILENAMEW* dialog);
