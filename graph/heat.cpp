// The colour scale, short counts and text boxes of the keyboard and calendar pictures.
#include "graph/heat.h"

#include <math.h>

const COLORREF HeatPlain = RGB(255, 255, 255);
// From a pale yellow over orange to a deep red.
static const COLORREF HeatStops[] = {RGB(255, 244, 196), RGB(253, 190, 110), RGB(240, 110, 60), RGB(200, 40, 40)};
enum { HeatStopCount = sizeof HeatStops / sizeof HeatStops[0], PermilleFull = 1000 };
static const COLORREF CellOutline = RGB(160, 160, 160);

static int Blend(int from, int to, int part, int whole) { return from + (to - from) * part / whole; }

COLORREF HeatColour(int permille)
{
    if (permille < 0) permille = 0;
    if (permille > PermilleFull) permille = PermilleFull;
    int span = PermilleFull / (HeatStopCount - 1);
    int stop = permille / span;
    if (stop >= HeatStopCount - 1) return HeatStops[HeatStopCount - 1];
    int part = permille - stop * span;
    COLORREF a = HeatStops[stop], b = HeatStops[stop + 1];
    return RGB(Blend(GetRValue(a), GetRValue(b), part, span), Blend(GetGValue(a), GetGValue(b), part, span),
               Blend(GetBValue(a), GetBValue(b), part, span));
}

COLORREF TextOnHeat(int permille) { return permille > 800 ? RGB(255, 255, 255) : RGB(0, 0, 0); }

int LogPermille(long long count, long long most)
{
    if (count <= 1 || most <= 1) return 0;
    if (count >= most) return PermilleFull;
    return static_cast<int>(PermilleFull * log(static_cast<double>(count)) / log(static_cast<double>(most)));
}

void FormatShortCount(long long count, wchar_t* text)
{
    static const wchar_t Units[] = L"kMGT";
    long long scale = 1;
    int unit = -1;
    while (count >= scale * 1000 && unit < 3) scale *= 1000, ++unit;
    if (unit < 0) {
        wsprintfW(text, L"%d", static_cast<int>(count));
    } else {
        long long whole = count / scale;
        // One decimal below ten of the unit, cut rather than rounded up, so 999,999 never reads "1000k".
        int tenth = static_cast<int>(count * 10 / scale % 10);
        if (whole < 10) wsprintfW(text, L"%d.%d%c", static_cast<int>(whole), tenth, Units[unit]);
        else wsprintfW(text, L"%d%c", static_cast<int>(whole), Units[unit]);
    }
}

HFONT CreateHeatFont(int height, int bold)
{
    LOGFONTW font = {};
    font.lfHeight = -height;
    font.lfWeight = bold ? FW_BOLD : FW_NORMAL;
    font.lfCharSet = UiCharset();
    font.lfQuality = CLEARTYPE_QUALITY;
    lstrcpynW(font.lfFaceName, UiText(TextLabelFace), LF_FACESIZE);
    return CreateFontIndirectW(&font);
}

void FillCell(HDC dc, const RECT* cell, COLORREF fill)
{
    HBRUSH brush = CreateSolidBrush(fill);
    HPEN pen = CreatePen(PS_SOLID, 1, CellOutline);
    HGDIOBJ oldBrush = SelectObject(dc, brush);
    HGDIOBJ oldPen = SelectObject(dc, pen);
    Rectangle(dc, cell->left, cell->top, cell->right, cell->bottom);
    SelectObject(dc, oldPen);
    SelectObject(dc, oldBrush);
    DeleteObject(pen);
    DeleteObject(brush);
}

void DrawCentredText(HDC dc, const RECT* box, const wchar_t* text, HFONT font, UINT extraFormat)
{
    HGDIOBJ oldFont = SelectObject(dc, font);
    RECT r = *box;
    UINT across = extraFormat & DT_RIGHT ? 0 : DT_CENTER;
    DrawTextW(dc, text, -1, &r, across | DT_NOPREFIX | DT_SINGLELINE | DT_VCENTER | extraFormat);
    SelectObject(dc, oldFont);
}
