// Saving every recorded day as a CSV file: the save dialog, the file, and its failure.
#include "ui/csvexport.h"

#include <stdio.h>

#include "app/report.h"
#include "app/texts.h"
#include "graph/savedialog.h"
#include "store/csvfile.h"
#include "store/state.h"

// The picture export's flags: the dialog also leaves the process's current folder alone, so
// that the chosen folder can still be removed or ejected while the program runs.
enum : DWORD {
    CsvDialogFlags = OFN_OVERWRITEPROMPT | OFN_HIDEREADONLY | OFN_PATHMUSTEXIST | OFN_FILEMUSTEXIST | OFN_NOCHANGEDIR,
};

void SaveActivityCsv(HWND graphWindow)
{
    ZeroMemory(App.CsvPath, sizeof App.CsvPath);
    int today = App.TodayDate;
    snprintf(App.CsvPath, sizeof App.CsvPath, FormatCsvName, today / 10000, today / 100 % 100, today % 100);
    OPENFILENAMEA dialog = {};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = graphWindow;
    dialog.lpstrFilter = TextCsvFilter;
    dialog.lpstrFile = App.CsvPath;
    dialog.nMaxFile = sizeof App.CsvPath;
    dialog.lpstrTitle = TextSaveTitle;
    dialog.Flags = CsvDialogFlags;
    dialog.lpstrDefExt = TextCsvDefaultExt;
    // The dialog runs a modal loop: the monitor window's ticks and hook messages go on meanwhile.
    if (!ShowSaveDialog(&dialog)) return;
    if (!WriteActivityCsv(App.CsvPath)) ReportFailure(graphWindow, TextCsvFailed, TextErrorCaption);
}
