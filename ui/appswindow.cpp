// The apps window: the applications of a chosen range with their active time, share and counts,
// in the list window.
#include "ui/appswindow.h"

#include "res/resource.h"
#include "store/appranges.h"
#include "store/totals.h"

enum { AppsColumnCount = 6, MsPerMinute = 60000 };
// Rows whose cells set the columns' widths: the widest numbers are at the top, where time leads.
enum { AppsRowsMeasured = 64 };

static const UiTextId ColumnHeads[AppsColumnCount] = {TextAppsApplication, TextTotalsActiveTime, TextAppsShare,
                                                       TextTotalsClicks,    TextTotalsKeys,       TextTotalsMovement};

// The name comes from UTF-8 as the file holds it; time as "h:mm", the share of the range's active
// time to a tenth of a percent.
static void FormatAppsCell(int row, int column, wchar_t* text, int size)
{
    if (row < 0) {
        lstrcpynW(text, UiText(ColumnHeads[column]), size);
        return;
    }
    const AppRecord* r = ShownApp(row);
    wchar_t cell[ListCellSize];
    cell[0] = L'\0';
    if (column == 0) {
        // The two rows of no application are named in the UI language; the file keeps its names.
        if (lstrcmpA(r->Name, AppNameUnknown) == 0) lstrcpynW(cell, UiText(TextAppsUnknown), ListCellSize);
        else if (lstrcmpA(r->Name, AppNameOthers) == 0) lstrcpynW(cell, UiText(TextAppsOthers), ListCellSize);
        else if (!MultiByteToWideChar(CP_UTF8, 0, r->Name, -1, cell, ListCellSize)) cell[0] = L'\0';
    } else if (column == 1) {
        long long minutes = r->ActiveMs / MsPerMinute;
        wsprintfW(cell, UiText(FormatTotalsTime), static_cast<int>(minutes / 60), static_cast<int>(minutes % 60));
    } else if (column == 2) {
        long long total = ShownAppsMs();
        int permille = total > 0 ? static_cast<int>((r->ActiveMs * 1000 + total / 2) / total) : 0;
        wsprintfW(cell, UiText(FormatAppsShare), permille / 10, permille % 10);
    } else {
        const long long values[3] = {r->Clicks, r->Keys, r->Travel};
        FormatGroupedCount(values[column - 3], cell, ListCellSize);
    }
    lstrcpynW(text, cell, size);
}

const ListTable AppsList = {TextAppsCaption, IDC_APPS_LIST,  IDC_APPS_COPY,  IDC_APPS_RANGE, IDC_APPS_PC,
                            AppsColumnCount, AppsRowsMeasured, NoColumnMark, ShownAppCount, FormatAppsCell,
                            CollectApps,     TextTotalsFailed};

void OpenAppsWindow(HWND graphWindow) { ShowListWindow(graphWindow, IDD_APPS, &AppsList); }
