// The keyboard picture. Keys are placed in quarters of a key's width; a key is its index of the
// keys file (scan code, plus KeyExtended for an extended one), so the picture shows the physical
// keys whatever layout the user types in.
#include "graph/keyboard.h"

#include <stdio.h>

#include "base/uitext.h"
#include "graph/heat.h"
#include "store/keyrecords.h"

enum { NoLegend = -1, E = KeyExtended };

// A run of keys of consecutive indices, side by side: the first key, its place and size in
// quarter keys, how many, and the legend that stands where the platform names none.
struct KeyRun {
    short key;
    unsigned char x, y, w, h, count;
    short legend;
};

// The rows both layouts share: the function keys, the block above the arrows, the arrows and the
// number pad.
#define VANTLE_COMMON_KEYS                                                                             \
    {0x01, 0, 0, 4, 4, 1, NoLegend}, {0x3B, 8, 0, 4, 4, 4, NoLegend}, {0x3F, 26, 0, 4, 4, 4, NoLegend}, \
    {0x43, 44, 0, 4, 4, 2, NoLegend}, {0x57, 52, 0, 4, 4, 2, NoLegend}, {E + 0x37, 61, 0, 4, 4, 1, NoLegend}, \
    {0x46, 65, 0, 4, 4, 1, NoLegend}, {0x45, 69, 0, 4, 4, 1, TextKeyPause},                            \
    {E + 0x52, 61, 6, 4, 4, 1, NoLegend}, {E + 0x47, 65, 6, 4, 4, 1, NoLegend}, {E + 0x49, 69, 6, 4, 4, 1, NoLegend}, \
    {E + 0x53, 61, 10, 4, 4, 1, NoLegend}, {E + 0x4F, 65, 10, 4, 4, 1, NoLegend}, {E + 0x51, 69, 10, 4, 4, 1, NoLegend}, \
    {E + 0x48, 65, 18, 4, 4, 1, TextKeyUp}, {E + 0x4B, 61, 22, 4, 4, 1, TextKeyLeft},                  \
    {E + 0x50, 65, 22, 4, 4, 1, TextKeyDown}, {E + 0x4D, 69, 22, 4, 4, 1, TextKeyRight},              \
    {E + 0x45, 74, 6, 4, 4, 1, NoLegend}, {E + 0x35, 78, 6, 4, 4, 1, NoLegend}, {0x37, 82, 6, 4, 4, 1, NoLegend}, \
    {0x4A, 86, 6, 4, 4, 1, NoLegend}, {0x47, 74, 10, 4, 4, 3, NoLegend}, {0x4E, 86, 10, 4, 8, 1, NoLegend}, \
    {0x4B, 74, 14, 4, 4, 3, NoLegend}, {0x4F, 74, 18, 4, 4, 3, NoLegend}, {E + 0x1C, 86, 18, 4, 8, 1, NoLegend}, \
    {0x52, 74, 22, 8, 4, 1, NoLegend}, {0x53, 82, 22, 4, 4, 1, NoLegend}

static const KeyRun Keys104[] = {
    VANTLE_COMMON_KEYS,
    {0x29, 0, 6, 4, 4, 1, NoLegend}, {0x02, 4, 6, 4, 4, 12, NoLegend}, {0x0E, 52, 6, 8, 4, 1, NoLegend},
    {0x0F, 0, 10, 6, 4, 1, NoLegend}, {0x10, 6, 10, 4, 4, 12, NoLegend}, {0x2B, 54, 10, 6, 4, 1, NoLegend},
    {0x3A, 0, 14, 7, 4, 1, NoLegend}, {0x1E, 7, 14, 4, 4, 11, NoLegend}, {0x1C, 51, 14, 9, 4, 1, NoLegend},
    {0x2A, 0, 18, 9, 4, 1, NoLegend}, {0x2C, 9, 18, 4, 4, 10, NoLegend}, {0x36, 49, 18, 11, 4, 1, NoLegend},
    {0x1D, 0, 22, 5, 4, 1, NoLegend}, {E + 0x5B, 5, 22, 5, 4, 1, TextKeyWindows}, {0x38, 10, 22, 5, 4, 1, NoLegend},
    {0x39, 15, 22, 25, 4, 1, NoLegend}, {E + 0x38, 40, 22, 5, 4, 1, NoLegend}, {E + 0x5C, 45, 22, 5, 4, 1, TextKeyWindows},
    {E + 0x5D, 50, 22, 5, 4, 1, TextKeyMenu}, {E + 0x1D, 55, 22, 5, 4, 1, NoLegend},
};

static const KeyRun Keys109[] = {
    VANTLE_COMMON_KEYS,
    {0x29, 0, 6, 4, 4, 1, TextKeyHankaku}, {0x02, 4, 6, 4, 4, 12, NoLegend}, {0x7D, 52, 6, 4, 4, 1, TextKeyYen},
    {0x0E, 56, 6, 4, 4, 1, NoLegend},
    {0x0F, 0, 10, 6, 4, 1, NoLegend}, {0x10, 6, 10, 4, 4, 12, NoLegend}, {0x1C, 55, 10, 5, 8, 1, NoLegend},
    {0x3A, 0, 14, 7, 4, 1, NoLegend}, {0x1E, 7, 14, 4, 4, 11, NoLegend}, {0x2B, 51, 14, 4, 4, 1, NoLegend},
    {0x2A, 0, 18, 9, 4, 1, NoLegend}, {0x2C, 9, 18, 4, 4, 10, NoLegend}, {0x73, 49, 18, 4, 4, 1, TextKeyRo},
    {0x36, 53, 18, 7, 4, 1, NoLegend},
    {0x1D, 0, 22, 5, 4, 1, NoLegend}, {E + 0x5B, 5, 22, 4, 4, 1, TextKeyWindows}, {0x38, 9, 22, 4, 4, 1, NoLegend},
    {0x7B, 13, 22, 5, 4, 1, TextKeyMuhenkan}, {0x39, 18, 22, 14, 4, 1, NoLegend}, {0x79, 32, 22, 5, 4, 1, TextKeyHenkan},
    {0x70, 37, 22, 5, 4, 1, TextKeyKana}, {E + 0x38, 42, 22, 4, 4, 1, NoLegend}, {E + 0x5C, 46, 22, 4, 4, 1, TextKeyWindows},
    {E + 0x5D, 50, 22, 4, 4, 1, TextKeyMenu}, {E + 0x1D, 54, 22, 6, 4, 1, NoLegend},
};
#undef VANTLE_COMMON_KEYS

struct LayoutTable {
    const KeyRun* runs;
    int count;
};
static const LayoutTable Layouts[KeyboardLayoutCount] = {{Keys104, sizeof Keys104 / sizeof Keys104[0]},
                                                         {Keys109, sizeof Keys109 / sizeof Keys109[0]}};

// The mouse beside the keyboard, in the same units: its body, then each button and the wheel.
struct ButtonCap {
    short key;
    unsigned char x, y, w, h;
    short legend;
};
enum { MouseLeft = 92, MouseWidth = 20, MouseHeight = 26 };
static const ButtonCap MouseButtons[] = {
    {KeyLeftButton, 93, 1, 7, 10, TextButtonLeftShort},   {KeyMiddleButton, 100, 1, 4, 4, TextButtonMiddleShort},
    {KeyWheel, 100, 5, 4, 6, TextWheelShort},            {KeyRightButton, 104, 1, 7, 10, TextButtonRightShort},
    {KeyXButton2, 93, 13, 5, 4, TextButtonX2Short},      {KeyXButton1, 93, 18, 5, 4, TextButtonX1Short},
};
// The scale below the keyboard: its strip and its caption.
enum { ScaleTop = 28, ScaleHeight = 3, ScaleLeft = 16, ScaleWidth = 48, ScaleSteps = 48 };
static const UiTextId ButtonNames[KeyIndexCount - KeyLeftButton] = {TextButtonLeft, TextButtonRight, TextButtonMiddle,
                                                                    TextButtonX1,   TextButtonX2,    TextWheel};

int UserKeyboardLayout(void)
{
    enum { JapaneseKeyboardType = 7 };
    WORD language = LOWORD(reinterpret_cast<UINT_PTR>(GetKeyboardLayout(0)));
    int japanese = GetKeyboardType(0) == JapaneseKeyboardType || PRIMARYLANGID(language) == LANG_JAPANESE;
    return japanese ? Layout109 : Layout104;
}

// The legend a layout gives a key where the platform names none; NoLegend when it gives none.
static int LayoutLegend(int key)
{
    for (const LayoutTable& layout : Layouts)
        for (int r = 0; r < layout.count; ++r) {
            const KeyRun& run = layout.runs[r];
            if (key >= run.key && key < run.key + run.count && run.legend != NoLegend) return run.legend;
        }
    return NoLegend;
}

void KeyDisplayName(int index, wchar_t* text, int size)
{
    text[0] = L'\0';
    if (index >= KeyLeftButton) {
        lstrcpynW(text, UiText(ButtonNames[index - KeyLeftButton]), size);
        return;
    }
    // The platform names the key in the words of the keyboard layout in use; a key that the layout
    // does not have (the Japanese keys on a US layout) it may not name at all.
    LONG keyParam = static_cast<LONG>((index % KeyScanCodes) << 16 | (index >= KeyExtended ? 1 << 24 : 0));
    if (GetKeyNameTextW(keyParam, text, size) > 0) return;
    int legend = LayoutLegend(index);
    if (legend != NoLegend) {
        lstrcpynW(text, UiText(static_cast<UiTextId>(legend)), size);
        return;
    }
    char name[KeyNameSize];
    ComposeKeyName(index, name, sizeof name);
    MultiByteToWideChar(CP_ACP, 0, name, -1, text, size);
}

struct PictureScale {
    int unit, left, top;
};

static RECT UnitRect(const PictureScale* scale, int x, int y, int w, int h)
{
    RECT r = {scale->left + x * scale->unit, scale->top + y * scale->unit, scale->left + (x + w) * scale->unit,
              scale->top + (y + h) * scale->unit};
    return r;
}

// One key or button: its fill, its legend in the upper half and its count in the lower.
static void DrawCap(HDC dc, const RECT* cap, const wchar_t* legend, long long count, long long most, HFONT font,
                    HFONT countFont)
{
    int share = LogPermille(count, most);
    FillCell(dc, cap, count > 0 ? HeatColour(share) : HeatPlain);
    SetTextColor(dc, count > 0 ? TextOnHeat(share) : RGB(0, 0, 0));
    int middle = (cap->top + cap->bottom) / 2;
    RECT upper = {cap->left + 1, cap->top + 1, cap->right - 1, count > 0 ? middle : cap->bottom - 1};
    DrawCentredText(dc, &upper, legend, font, DT_END_ELLIPSIS);
    if (count <= 0) return;
    wchar_t shown[ShortCountSize];
    FormatShortCount(count, shown);
    RECT lower = {cap->left + 1, middle, cap->right - 1, cap->bottom - 1};
    DrawCentredText(dc, &lower, shown, countFont);
}

static void DrawScale(HDC dc, const PictureScale* scale, long long most, HFONT font)
{
    SetTextColor(dc, RGB(0, 0, 0));
    RECT caption = UnitRect(scale, 0, ScaleTop, ScaleLeft - 4, ScaleHeight);
    DrawCentredText(dc, &caption, UiText(TextHeatScale), font, DT_RIGHT);
    RECT strip = UnitRect(scale, ScaleLeft, ScaleTop, ScaleWidth, ScaleHeight);
    int width = strip.right - strip.left;
    for (int s = 0; s < ScaleSteps; ++s) {
        RECT step = {strip.left + width * s / ScaleSteps, strip.top, strip.left + width * (s + 1) / ScaleSteps, strip.bottom};
        HBRUSH brush = CreateSolidBrush(HeatColour(1000 * s / (ScaleSteps - 1)));
        FillRect(dc, &step, brush);
        DeleteObject(brush);
    }
    wchar_t shown[ShortCountSize];
    RECT low = UnitRect(scale, ScaleLeft - 4, ScaleTop, 4, ScaleHeight);
    DrawCentredText(dc, &low, L"1", font);
    FormatShortCount(most > 1 ? most : 1, shown);
    RECT high = UnitRect(scale, ScaleLeft + ScaleWidth, ScaleTop, 6, ScaleHeight);
    DrawCentredText(dc, &high, shown, font);
}

void DrawKeyboardPicture(HDC dc, int width, int height, const long long* counts, int layout)
{
    RECT all = {0, 0, width, height};
    FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    if (layout < 0 || layout >= KeyboardLayoutCount) layout = Layout104;
    PictureScale scale;
    scale.unit = width / KeyboardPictureUnitsWide < height / KeyboardPictureUnitsHigh ? width / KeyboardPictureUnitsWide
                                                                                      : height / KeyboardPictureUnitsHigh;
    if (scale.unit < 1) return;
    scale.left = (width - scale.unit * KeyboardPictureUnitsWide) / 2;
    scale.top = (height - scale.unit * KeyboardPictureUnitsHigh) / 2;
    long long most = 0;
    for (int k = 0; k < KeyIndexCount; ++k)
        if (counts[k] > most) most = counts[k];
    // The fonts grow with the unit, so the picture is as sharp at 200 % as at 100 %.
    HFONT font = CreateHeatFont(scale.unit * 3 / 2 > 6 ? scale.unit * 3 / 2 : 6, 0);
    HFONT countFont = CreateHeatFont(scale.unit * 3 / 2 > 6 ? scale.unit * 3 / 2 : 6, 1);
    int oldMode = SetBkMode(dc, TRANSPARENT);
    COLORREF oldColour = GetTextColor(dc);
    const LayoutTable& table = Layouts[layout];
    for (int r = 0; r < table.count; ++r) {
        const KeyRun& run = table.runs[r];
        for (int i = 0; i < run.count; ++i) {
            int key = run.key + i;
            RECT cap = UnitRect(&scale, run.x + i * run.w, run.y, run.w, run.h);
            wchar_t legend[64];
            KeyDisplayName(key, legend, 64);
            DrawCap(dc, &cap, legend, counts[key], most, font, countFont);
        }
    }
    RECT body = UnitRect(&scale, MouseLeft, 0, MouseWidth, MouseHeight);
    HGDIOBJ oldBrush = SelectObject(dc, GetStockObject(WHITE_BRUSH));
    RoundRect(dc, body.left, body.top, body.right, body.bottom, scale.unit * 8, scale.unit * 8);
    SelectObject(dc, oldBrush);
    for (const ButtonCap& button : MouseButtons) {
        RECT cap = UnitRect(&scale, button.x, button.y, button.w, button.h);
        DrawCap(dc, &cap, UiText(static_cast<UiTextId>(button.legend)), counts[button.key], most, font, countFont);
    }
    DrawScale(dc, &scale, most, font);
    SetTextColor(dc, oldColour);
    SetBkMode(dc, oldMode);
    DeleteObject(countFont);
    DeleteObject(font);
}
