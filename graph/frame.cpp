// The graph's static parts: day-row baselines, six-hour tick marks, day labels, and the graph font.
#include "graph/frame.h"

#include <limits.h>

#include "base/uitext.h"
#include "graph/geometry.h"
#include "graph/view.h"
#include "store/days.h"

// Installed Japanese faces that stand in for a missing one, best first.
static const wchar_t* const GothicStandIns[] = {
    L"MS Gothic", L"IPAGothic", L"IPAPGothic", L"MS UI Gothic", L"Meiryo", L"Yu Gothic",
    L"Noto Sans CJK JP", L"Noto Sans JP", L"TakaoGothic", L"VL Gothic",
};
static const wchar_t* const MinchoStandIns[] = {
    L"MS Mincho", L"IPAMincho", L"IPAPMincho", L"Yu Mincho", L"Noto Serif CJK JP", L"Noto Serif JP",
    L"TakaoMincho",
};

static int CALLBACK NoteFaceFound(const LOGFONTW*, const TEXTMETRICW*, DWORD, LPARAM found)
{
    *reinterpret_cast<int*>(found) = 1;
    return 0;
}

static int FaceInstalled(HDC screen, BYTE charset, const wchar_t* face)
{
    LOGFONTW wanted = {};
    wanted.lfCharSet = charset;
    lstrcpynW(wanted.lfFaceName, face, LF_FACESIZE);
    int found = 0;
    EnumFontFamiliesExW(screen, &wanted, NoteFaceFound, reinterpret_cast<LPARAM>(&found), 0);
    return found;
}

// The requested face when it is installed, else (for the Japanese faces) the first installed
// stand-in of its kind, else the requested face again so that the font mapper picks one for the
// character set. The English faces are on every Windows.
static const wchar_t* InstalledFace(BYTE charset, const wchar_t* face)
{
    const int mincho = lstrcmpW(face, UiText(TextTitleFace)) == 0;
    const wchar_t* const* standIns = mincho ? MinchoStandIns : GothicStandIns;
    const int count = charset != SHIFTJIS_CHARSET ? 0
                      : mincho ? sizeof MinchoStandIns / sizeof *MinchoStandIns
                               : sizeof GothicStandIns / sizeof *GothicStandIns;
    const wchar_t* chosen = face;
    HDC screen = GetDC(nullptr);
    if (count > 0 && !FaceInstalled(screen, charset, face)) {
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

// The installed face for the requested one. The label and title faces are found at their first
// use and kept: looking one up is too much for every paint. Other faces are looked up each time.
static const wchar_t* GraphFace(BYTE charset, const wchar_t* face)
{
    wchar_t* kept = nullptr;
    if (charset == UiCharset() && lstrcmpW(face, UiText(TextLabelFace)) == 0) kept = Graph.LabelFace;
    if (charset == UiCharset() && lstrcmpW(face, UiText(TextTitleFace)) == 0) kept = Graph.TitleFace;
    if (!kept) return InstalledFace(charset, face);
    if (!kept[0]) lstrcpynW(kept, InstalledFace(charset, face), LF_FACESIZE);
    return kept;
}

HFONT CreateGraphFont(int height, BYTE charset, const wchar_t* face)
{
    return CreateFontW(height, 0, 0, 0, FW_DONTCARE, FALSE, FALSE, FALSE, charset,
                       OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                       DEFAULT_PITCH | FF_DONTCARE, GraphFace(charset, face));
}

enum {
    TickSpacing = 60,  // slots between two tick marks: six hours
    TickLength = 3,    // pixels down from the baseline
    TicksPerPanel = PanelWidth / TickSpacing + 1,  // 0:00 to 24:00
    // Both baselines of every day and their ticks, each a line of its own.
    FrameLineCount = DayCount * 2 * (1 + TicksPerPanel),
    LabelLeft = 13,
    LabelRise = 13,    // from the left baseline up to the top of the label's cell
    LabelHeight = 12,  // the label font's cell
};

// The frame's lines, all in the one pen, gathered for a single PolyPolyline call.
struct FrameLines {
    POINT Ends[2 * FrameLineCount];
    DWORD Counts[FrameLineCount];
    int Count;
};

// Adds a line from (x0, y0) to (x1, y1), x0 <= x1 and y0 <= y1, unless it lies wholly outside
// the area. Lines leave out their end point, as LineTo does: a line colours up to just before it.
static void AddLine(FrameLines* lines, const RECT& area, int x0, int y0, int x1, int y1)
{
    const RECT covered = {x0, y0, x1 > x0 ? x1 : x0 + 1, y1 > y0 ? y1 : y0 + 1};
    RECT inside;
    if (!IntersectRect(&inside, &covered, &area)) return;
    POINT* ends = lines->Ends + 2 * lines->Count;
    ends[0].x = x0;
    ends[0].y = y0;
    ends[1].x = x1;
    ends[1].y = y1;
    lines->Counts[lines->Count++] = 2;
}

// The day labels whose cells reach into the area, with the label font, which is made only
// when there is one to write. The labels stand left of the graph, between x = 13 and GraphLeft.
// They are ASCII digits, the same in every code page.
static void WriteDayLabels(HDC dc, const RECT& area)
{
    if (area.left >= GraphLeft || area.right <= LabelLeft) return;
    HFONT font = nullptr;
    HGDIOBJ previousFont = nullptr;
    for (int k = 0; k < DayCount; k++) {
        // The 12-pixel cell ends one blank row above the left baseline of the day's row.
        const int top = LeftBaselineOfDay(k) - LabelRise;
        if (top >= area.bottom || top + LabelHeight <= area.top) continue;
        if (!font) {
            font = CreateGraphFont(LabelHeight, UiCharset(), UiText(TextLabelFace));
            previousFont = SelectObject(dc, font);
        }
        const char* text = DayLabel(k);
        wchar_t label[DayLabelSize];
        int length = 0;
        for (; text[length]; ++length) label[length] = static_cast<unsigned char>(text[length]);
        TextOutW(dc, LabelLeft, top, label, length);
    }
    if (font) {
        SelectObject(dc, previousFont);
        DeleteObject(font);
    }
}

int DrawGraphFrame(HDC dc)
{
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, RGB(0, 0, 0));
    // Lines and labels outside the area being painted are left out: a live repaint asks for two
    // one-pixel columns.
    RECT area = {LONG_MIN, LONG_MIN, LONG_MAX, LONG_MAX};
    RECT clip;
    if (GetClipBox(dc, &clip) != ERROR) area = clip;

    FrameLines lines;
    lines.Count = 0;
    for (int k = 0; k < DayCount; k++) {
        const int left = LeftBaselineOfDay(k);
        const int right = RightBaselineOfDay(k);
        AddLine(&lines, area, GraphLeft, left, GraphLeft + PanelWidth, left);
        AddLine(&lines, area, GraphLeft + PanelWidth, right, GraphLeft + 2 * PanelWidth, right);
        // A tick every six hours, 0:00 to 24:00, three pixels down from each baseline.
        for (int t = 0; t <= PanelWidth; t += TickSpacing) {
            AddLine(&lines, area, GraphLeft + t, left, GraphLeft + t, left + TickLength);
            AddLine(&lines, area, GraphLeft + PanelWidth + t, right, GraphLeft + PanelWidth + t,
                    right + TickLength);
        }
    }
    if (lines.Count > 0) {
        HPEN pen = CreatePen(PS_SOLID, 1, RGB(0, 0, 0));
        HGDIOBJ previousPen = SelectObject(dc, pen);
        PolyPolyline(dc, lines.Ends, lines.Counts, lines.Count);
        SelectObject(dc, previousPen);
        DeleteObject(pen);
    }
    WriteDayLabels(dc, area);
    return 0;
}
