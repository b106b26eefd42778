// The platform's save-file dialog, the one call of the program that waits on the user to pick a
// file; a test build links a scripted dialog in its place.
#pragma once
#include <windows.h>
#include <commdlg.h>

// Runs the dialog as GetSaveFileNameA does; nonzero when the user chose a file.
BOOL ShowSaveDialog(OPENFILENAMEA* dialog);
