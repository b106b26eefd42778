// What the two pictures of habits share: the colour scale, short counts and the text drawing.
#pragma once
#include <windows.h>

#include "base/uitext.h"

// The scale's colours: never pressed (plain), then from little to much.
extern const COLORREF HeatPlain;
// The colour of a share of the scale from 0 (a little) to 1000 (the most).
COLORREF HeatColour(int permille);
// A count on a logarithmic scale up to the most: 0 for one press, 1000 for the most, so that one
// much used key (the space bar) does not wash out all the others.
int LogPermille(long long count, long long most);
// A count as short as a key cap takes it: "999", "1.2k", "34k", "1.2M", "34M", "1.2G".
enum { ShortCountSize = 16 };
void FormatShortCount(long long count, wchar_t* text);
// The text colour that reads on a fill of the scale's share.
COLORREF TextOnHeat(int permille);
// A font of the pixel height in the UI language's face for labels; the caller deletes it.
HFONT CreateHeatFont(int height, int bold);
// A filled rectangle with a grey outline.
void FillCell(HDC dc, const RECT* cell, COLORREF fill);
// Text centred in the rectangle (against its right edge with DT_RIGHT) in the given font, selected
// and deselected here.
void DrawCentredText(HDC dc, const RECT* box, const wchar_t* text, HFONT font, UINT extraFormat = 0);
