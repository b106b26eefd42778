// The graph's static parts: day-row baselines, six-hour tick marks, day labels, and the graph font.
#include "graph/frame.h"
#include "graph/geometry.h"
#include "store/state.h"
#include "app/texts.h"

// Installed Japanese faces that stand in for a missing one, best first.
static const char* const GothicStandIns[] = {
    "MS Gothic", "IPAGothic", "IPAPGothic", "MS UI Gothic", "Meiryo", "Yu Gothic",
    "Noto Sans CJK JP", "Noto Sans JP", "TakaoGothic", "VL Gothic",
};
static const char* const MinchoStandIns[] = {
    "MS Mincho", "IPAMincho", "IPAPMincho", "Yu Mincho", "Noto Serif CJK JP", "Noto Serif JP",
    "TakaoMincho",
};

static int CALLBACK NoteFaceFound(const LOGFONTA*, const TEXTMETRICA*, DWORD, LPARAM found)
{
    *reinterpret_cast<int*>(found) = 1;
    return 0;
}

static int FaceInstalled(HDC screen, BYTE charset, const char* face)
{
    LOGFONTA wanted = {};
    wanted.lfCharSet = charset;
    lstrcpynA(wanted.lfFaceName, face, LF_FACESIZE);
    int found = 0;
    EnumFontFamiliesExA(screen, &wanted, NoteFaceFound, reinterpret_cast<LPARAM>(&found), 0);
    return found;
}

// The requested face when it is installed, else the first installed stand-in of its kind,
// else the requested face again so that the font mapper picks one for the character set.
static const char* InstalledFace(BYTE charset, const char* face)
{
    const int mincho = lstrcmpA(face, TextTitleFace) == 0;
    const char* const* standIns = mincho ? MinchoStandIns : GothicStandIns;
    const int count = mincho ? sizeof MinchoStandIns / sizeof *MinchoStandIns
                             : sizeof GothicStandIns / sizeof *GothicStandIns;
    const char* chosen = face;
    HDC screen = GetDC(nullptr);
    if (!FaceInstalled(screen, charset, face)) {
        for (int i = 0; i < count; i++) {
            if (FaceInstalled(screen, charset, standIns[i])) {
                chosen = standIns[i];
                break;
            }
        }
    }
    ReleaseDC(nullptr, screen);
    return chosen;
}

HFONT CreateGraphFont(int height, BYTE charset, const char* face)
{
    return CreateFontA(height, 0, 0, 0, FW_DONTCARE, FALSE, FALSE, FALSE, charset,
                       OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                       DEFAULT_PITCH | FF_DONTCARE, InstalledFace(charset, face));
}

int DrawGraphFrame(HWND, HDC dc)
{
    HPEN pen = CreatePen(PS_SOLID, 1, RGB(0, 0, 0));
    HGDIOBJ previousPen = SelectObject(dc, pen);
    HFONT font = CreateGraphFont(12, SHIFTJIS_CHARSET, TextLabelFace);
    HGDIOBJ previousFont = SelectObject(dc, font);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, RGB(0, 0, 0));

    // Day k stands on row 22 - k on the left and one row higher on the right.
    for (int k = 0; k < DayCount; k++) {
        const int left = RowBaseline(22 - k);
        const int right = RowBaseline(21 - k);
        MoveToEx(dc, GraphLeft, left, nullptr);
        LineTo(dc, GraphLeft + PanelWidth, left);
        MoveToEx(dc, GraphLeft + PanelWidth, right, nullptr);
        LineTo(dc, GraphLeft + 2 * PanelWidth, right);

        // The 12-pixel cell ends one blank row above the left baseline.
        TextOutA(dc, 13, left - 13, App.DayLabels[k], lstrlenA(App.DayLabels[k]));

        // A tick every six hours, 0:00 to 24:00, three pixels down from each baseline.
        for (int t = 0; t <= PanelWidth; t += 60) {
            MoveToEx(dc, GraphLeft + t, left, nullptr);
            LineTo(dc, GraphLeft + t, left + 3);
            MoveToEx(dc, GraphLeft + PanelWidth + t, right, nullptr);
            LineTo(dc, GraphLeft + PanelWidth + t, right + 3);
        }
    }

    SelectObject(dc, previousPen);
    SelectObject(dc, previousFont);
    DeleteObject(pen);
    DeleteObject(font);
    return 0;
}
