// Saving every recorded day as a CSV file: the save dialog, the file, and its failure.
#include "ui/csvexport.h"

#include <stdio.h>

#include "ui/report.h"
#include "res/texts.h"
#include "graph/export.h"
#include "graph/savedialog.h"
#include "store/csvfile.h"
#include "store/state.h"

void SaveActivityCsv(HWND graphWindow)
{
    ZeroMemory(App.CsvPath, sizeof App.CsvPath);
    int today = App.TodayDate;
    char name[ProposedNameSize];
    snprintf(name, sizeof name, FormatCsvName, today / 10000, today / 100 % 100, today % 100);
    if (!ChooseSaveFile(graphWindow, TextCsvFilter, TextCsvDefaultExt, name, App.CsvPath, SaveDialogFlags))
        return;
    if (!WriteActivityCsv(App.CsvPath)) ReportFailure(graphWindow, TextCsvFailed, TextErrorCaption);
}
