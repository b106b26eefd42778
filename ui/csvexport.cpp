// Saving every recorded day as a CSV file: the save dialog, the file, and its failure.
#include "ui/csvexport.h"

#include <stdio.h>

#include "ui/report.h"
#include "res/texts.h"
#include "graph/savedialog.h"
#include "store/csvfile.h"
#include "store/state.h"

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
    dialog.Flags = SaveDialogFlags;
    dialog.lpstrDefExt = TextCsvDefaultExt;
    // The dialog runs a modal loop: the monitor window's ticks and hook messages go on meanwhile.
    if (!ShowSaveDialog(&dialog)) return;
    if (!WriteActivityCsv(App.CsvPath)) ReportFailure(graphWindow, TextCsvFailed, TextErrorCaption);
}
