// The graph window's save commands: the save dialog both share, the picture and the CSV file.
#include "ui/savecommands.h"

#include <stdio.h>

#include "base/dates.h"
#include "base/report.h"
#include "base/uitext.h"
#include "graph/export.h"
#include "graph/view.h"
#include "store/csvfile.h"
#include "store/days.h"
#include "ui/savedialog.h"

SaveChoice ChosenFile;

// The proposed names (ASCII, the same in every language) and default extensions.
static const char FormatPictureName[] = "%s%04d%02d%02d.jpg";
static const char* const MetricShortCodes[MetricCount] = {"MC", "KT", "MM"};
static const char PictureExtension[] = "jpg";
static const char FormatCsvName[] = "Vantle-%04d%02d%02d.csv";
static const char CsvExtension[] = "csv";

// The size of a proposed file name, and of the default extension in wide characters.
enum { ProposedNameSize = 64, DialogExtensionChars = 8 };

// An ASCII name in UTF-16 (ASCII is the same in every code page); empty when it does not fit.
static void WidenName(const char* text, WCHAR* wide, int capacity)
{
    if (!MultiByteToWideChar(CP_ACP, 0, text, -1, wide, capacity)) wide[0] = L'\0';
}

// The save dialog of both exports, titled "名前を付けて保存" in the UI language, with no initial
// folder and the filter of the UI language, proposing the name: the chosen full path, in the long
// form when it passes MAX_PATH; null when the user chose none. The dialog is the wide one: its texts
// are those of the UI language whatever the ANSI code page, and the chosen path arrives whole
// whatever its characters.
static const WCHAR* ChooseSavePath(HWND owner, UiTextId filter, const char* defaultExtension, const char* proposed)
{
    WCHAR* path = ChosenFile.Path;
    ZeroMemory(path, sizeof ChosenFile.Path);
    WCHAR extension[DialogExtensionChars];
    WidenName(defaultExtension, extension, DialogExtensionChars);
    WidenName(proposed, path, PathCapacity);
    OPENFILENAMEW dialog = {};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = owner;
    dialog.lpstrFilter = UiText(filter);
    dialog.nFilterIndex = 0;
    dialog.lpstrFile = path;
    dialog.nMaxFile = PathCapacity;
    dialog.lpstrTitle = UiText(TextSaveTitle);
    dialog.Flags = SaveDialogFlags;
    dialog.lpstrDefExt = extension;
    // The dialog runs a modal loop: the monitor window's ticks and hook messages go on meanwhile.
    if (!ShowSaveDialog(&dialog) || !ToLongPathForm(path, PathCapacity)) return nullptr;
    return path;
}

// Today as the slot clock sees it: the date of today's column.
void SaveGraphPicture(HWND graphWindow)
{
    int metric = SelectedMetric();
    DateParts today = SplitDate(TodayDate());
    char name[ProposedNameSize];
    snprintf(name, sizeof name, FormatPictureName, metric >= 0 && metric < MetricCount ? MetricShortCodes[metric] : "",
             today.Year, today.Month, today.Day);
    const WCHAR* path = ChooseSavePath(graphWindow, TextPictureFilter, PictureExtension, name);
    if (!path) return;
    // Any other ending writes nothing and reports nothing.
    PictureType type = PictureTypeOf(path);
    int failedBars = 0;
    short written = type == PictureNone ? 0 : WriteGraphPicture(graphWindow, type, path, &failedBars);
    for (int b = 0; b < failedBars; b++) ReportFailure(graphWindow, TextPlotError, TextPlotErrorCaption, MB_OK);
    if (written != 0) ReportFailure(graphWindow, type == PictureJpeg ? TextJpegFailed : TextPngFailed, TextErrorCaption);
    InvalidateRect(graphWindow, nullptr, TRUE);
}

void SaveWindowPicture(HWND window, const char* proposedName, int width, int height, RenderPicture render,
                       const void* context)
{
    const WCHAR* path = ChooseSavePath(window, TextPictureFilter, PictureExtension, proposedName);
    if (!path) return;
    PictureType type = PictureTypeOf(path);
    int rendered = 0;
    short written = type == PictureNone ? 0 : WritePicture(window, width, height, render, context, type, path, &rendered);
    if (written != 0) ReportFailure(window, type == PictureJpeg ? TextJpegFailed : TextPngFailed, TextErrorCaption);
}

void SaveActivityCsv(HWND graphWindow)
{
    char name[ProposedNameSize];
    FormatDate(FormatCsvName, TodayDate(), name, sizeof name);
    const WCHAR* path = ChooseSavePath(graphWindow, TextCsvFilter, CsvExtension, name);
    if (path && !WriteActivityCsv(path)) ReportFailure(graphWindow, TextCsvFailed, TextErrorCaption);
}
