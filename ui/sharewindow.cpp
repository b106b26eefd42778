// The share window: the folder picker, the stop, the list of the PCs and the state of publishing.
#include "ui/sharewindow.h"

#include <commctrl.h>
#include <shlobj.h>
#include <stdio.h>

#include "base/dates.h"
#include "base/report.h"
#include "base/uitext.h"
#include "res/resource.h"
#include "store/csvfile.h"
#include "store/pcidentity.h"
#include "store/publish.h"
#include "store/sharedpcs.h"
#include "ui/uiresources.h"

enum { ShareColumnCount = 3, ShareCellSize = 128, ShareColumnWidth = 120 };

static const UiTextId ShareColumns[ShareColumnCount] = {TextShareColumnPc, TextShareColumnNewest, TextShareColumnDays};

void FormatSharePcCell(int row, int column, wchar_t* text, int size)
{
    int newest = 0, days = 0;
    if (row == 0) {
        // This PC's own days are those of its data folder, today's included.
        days = CollectCsvDates();
        newest = days > 0 ? CollectedCsvDate(days - 1) : 0;
    } else {
        newest = SharedPcAt(row - 1)->NewestDay, days = SharedPcAt(row - 1)->DayCount;
    }
    if (column == 0 && row == 0) {
        swprintf(text, size, UiText(TextShareThisPc), PcName());
    } else if (column == 0) {
        lstrcpynW(text, SharedPcAt(row - 1)->Name, size);
    } else if (column == 1 && newest) {
        DateParts d = SplitDate(newest);
        swprintf(text, size, UiText(FormatShareDay), d.Year, d.Month, d.Day);
    } else if (column == 2) {
        swprintf(text, size, L"%d", days < 0 ? 0 : days);
    } else {
        text[0] = L'\0';
    }
}

static void ShowShareState(HWND window)
{
    SetDlgItemTextW(window, IDC_SHARE_FOLDER, ShareFolder()[0] ? ShareFolder() : UiText(TextShareNone));
    EnableWindow(GetDlgItem(window, IDC_SHARE_STOP), ShareFolder()[0] != 0);
    HWND list = GetDlgItem(window, IDC_SHARE_LIST);
    SendMessageW(list, LVM_DELETEALLITEMS, 0, 0);
    int rows = 1 + FindSharedPcs();
    for (int row = 0; row < rows; ++row)
        for (int c = 0; c < ShareColumnCount; ++c) {
            wchar_t cell[ShareCellSize];
            FormatSharePcCell(row, c, cell, ShareCellSize);
            LVITEMW item = {};
            item.mask = LVIF_TEXT;
            item.iItem = row, item.iSubItem = c, item.pszText = cell;
            SendMessageW(list, c == 0 ? LVM_INSERTITEMW : LVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&item));
        }
    FILETIME last;
    int failed = 0;
    ReadPublishState(&last, &failed);
    wchar_t state[ShareCellSize] = L"";
    SYSTEMTIME utc, local;
    if (failed) {
        lstrcpynW(state, UiText(TextShareFailed), ShareCellSize);
    } else if ((last.dwLowDateTime || last.dwHighDateTime) && FileTimeToSystemTime(&last, &utc) &&
               SystemTimeToTzSpecificLocalTime(nullptr, &utc, &local)) {
        swprintf(state, ShareCellSize, UiText(FormatShareLast), local.wYear, local.wMonth, local.wDay, local.wHour,
                 local.wMinute);
    } else if (ShareFolder()[0]) {
        lstrcpynW(state, UiText(TextShareNotYet), ShareCellSize);
    }
    SetDlgItemTextW(window, IDC_SHARE_STATE, state);
}

static INT_PTR StartShareWindow(HWND window)
{
    SetWindowTextW(window, UiText(TextShareCaption));
    SetDlgItemTextW(window, IDC_SHARE_BROWSE, UiText(TextShareBrowse));
    SetDlgItemTextW(window, IDC_SHARE_STOP, UiText(TextShareStop));
    SetDlgItemTextW(window, IDCANCEL, UiText(TextTotalsClose));
    SetDlgItemTextW(window, IDC_SHARE_NAME_LABEL, UiText(TextShareName));
    SetDlgItemTextW(window, IDC_SHARE_NAME, PcName());
    SendDlgItemMessageW(window, IDC_SHARE_NAME, EM_LIMITTEXT, PcNameSize - 1, 0);
    HWND list = GetDlgItem(window, IDC_SHARE_LIST);
    SendMessageW(list, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT, LVS_EX_FULLROWSELECT);
    for (int c = 0; c < ShareColumnCount; ++c) {
        LVCOLUMNW column = {};
        column.mask = LVCF_FMT | LVCF_TEXT | LVCF_SUBITEM | LVCF_WIDTH;
        column.fmt = c == 0 ? LVCFMT_LEFT : LVCFMT_RIGHT;
        column.pszText = const_cast<wchar_t*>(UiText(ShareColumns[c]));
        column.iSubItem = c;
        column.cx = ShareColumnWidth;
        SendMessageW(list, LVM_INSERTCOLUMNW, c, reinterpret_cast<LPARAM>(&column));
    }
    ShowShareState(window);
    return 1;
}

// The chosen folder (or none) is kept, and publishing goes there from now on, on its own thread.
static void UseShareFolder(HWND window, const WCHAR* folder)
{
    if (!ChooseShareFolder(folder)) ReportFailure(window, TextShareSettingFailed, TextErrorCaption);
    SetPublishTarget(folder);
    if (folder[0]) StartPublisher();
    ShowShareState(window);
}

static void BrowseShareFolder(HWND window)
{
    WCHAR folder[MAX_PATH];
    BROWSEINFOW browse = {};
    browse.hwndOwner = window;
    browse.pszDisplayName = folder;
    browse.lpszTitle = UiText(TextShareChoose);
    browse.ulFlags = BIF_RETURNONLYFSDIRS | BIF_NEWDIALOGSTYLE;
    PIDLIST_ABSOLUTE chosen = SHBrowseForFolderW(&browse);
    if (!chosen) return;
    int ok = SHGetPathFromIDListW(chosen, folder);
    CoTaskMemFree(chosen);
    if (ok) UseShareFolder(window, folder);
}

// A name changed in the window is kept as it closes, and goes to the share with pc.ini.
static void CloseShareWindow(HWND window)
{
    WCHAR name[PcNameSize];
    GetDlgItemTextW(window, IDC_SHARE_NAME, name, PcNameSize);
    if (lstrcmpW(name, PcName()) != 0) {
        if (!ChoosePcName(name)) ReportFailure(window, TextShareSettingFailed, TextErrorCaption);
        SetPublishTarget(ShareFolder());
    }
    EndDialog(window, IDCANCEL);
}

static INT_PTR OnShareCommand(HWND window, int command)
{
    switch (command) {
    case IDCANCEL: CloseShareWindow(window); break;
    case IDC_SHARE_BROWSE: BrowseShareFolder(window); break;
    case IDC_SHARE_STOP: UseShareFolder(window, L""); break;
    default: return 0;
    }
    return 1;
}

static INT_PTR CALLBACK ShareWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    (void)lParam;
    switch (message) {
    case WM_INITDIALOG: return StartShareWindow(window);
    case WM_COMMAND: return OnShareCommand(window, LOWORD(wParam));
    }
    return 0;
}

void OpenShareWindow(HWND graphWindow)
{
    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_LISTVIEW_CLASSES};
    InitCommonControlsEx(&controls);
    ShowUiDialog(IDD_SHARE, graphWindow, ShareWindowProc);
}
