// The PC identity of the data folder and the share settings, in the settings file.
#include "store/pcidentity.h"

#include <objbase.h>
#include <string.h>

#include "store/datafolder.h"
#include "store/settings.h"

PcSettings Pc;

static const wchar_t PcSection[] = L"PC";
static const wchar_t ShareSection[] = L"Share";

int IsPcId(const WCHAR* text)
{
    static const char Shape[] = "{hhhhhhhh-hhhh-hhhh-hhhh-hhhhhhhhhhhh}";
    for (int i = 0; i < PcIdLength; ++i) {
        WCHAR c = text[i];
        if (Shape[i] != 'h' && c != static_cast<WCHAR>(Shape[i])) return 0;
        if (Shape[i] == 'h' && !((c >= L'0' && c <= L'9') || (c >= L'A' && c <= L'F') || (c >= L'a' && c <= L'f')))
            return 0;
    }
    return text[PcIdLength] == L'\0';
}

static int MakePcId(void)
{
    GUID guid;
    return CoCreateGuid(&guid) == S_OK && StringFromGUID2(guid, Pc.Id, PcIdSize) == PcIdLength + 1;
}

// A settings file that cannot be read at the start (a sync tool holding it) leaves this run without
// an identity, and so without publishing, rather than make a new one that would stand in the share
// as another PC.
int LoadPcIdentity(const WCHAR* computer)
{
    memset(&Pc, 0, sizeof Pc);
    if (SettingsUnreadable()) return 0;
    WCHAR place[PathCapacity];
    ReadSettingText(PcSection, L"Id", Pc.Id, PcIdSize);
    ReadSettingText(PcSection, L"Computer", Pc.Computer, PcNameSize);
    ReadSettingText(PcSection, L"Name", Pc.Name, PcNameSize);
    ReadSettingText(PcSection, L"Place", place, PathCapacity);
    ReadSettingText(ShareSection, L"Folder", Pc.ShareFolder, PathCapacity);
    WCHAR flag[4];
    ReadSettingText(ShareSection, L"GraphAll", flag, 4);
    Pc.GraphAll = flag[0] == L'1';
    // Computer names compare in any case, as Windows treats them; so do paths.
    if (IsPcId(Pc.Id) && lstrcmpiW(Pc.Computer, computer) == 0 && lstrcmpiW(place, DataDirectory()) == 0 && Pc.Name[0])
        return 1;
    if (!MakePcId()) Pc.Id[0] = L'\0';
    lstrcpynW(Pc.Computer, computer, PcNameSize);
    lstrcpynW(Pc.Name, computer, PcNameSize);
    return Pc.Id[0] && WriteSettingText(PcSection, L"Id", Pc.Id) && WriteSettingText(PcSection, L"Computer", Pc.Computer) &&
           WriteSettingText(PcSection, L"Name", Pc.Name) && WriteSettingText(PcSection, L"Place", DataDirectory());
}

int ChooseShareFolder(const WCHAR* folder)
{
    lstrcpynW(Pc.ShareFolder, folder, PathCapacity);
    return WriteSettingText(ShareSection, L"Folder", folder);
}

int ChooseGraphAll(int on)
{
    Pc.GraphAll = on != 0;
    return WriteSettingText(ShareSection, L"GraphAll", on ? L"1" : L"0");
}

int ChoosePcName(const WCHAR* name)
{
    WCHAR kept[PcNameSize];
    int length = 0;
    for (const WCHAR* c = name; *c && length < PcNameSize - 1; ++c) {
        WCHAR w = *c < 0x20 || *c == 0x7F ? L' ' : *c;
        if (w != L' ' || length > 0) kept[length++] = w;
    }
    while (length > 0 && kept[length - 1] == L' ') --length;
    kept[length] = L'\0';
    lstrcpynW(Pc.Name, length ? kept : Pc.Computer, PcNameSize);
    return WriteSettingText(PcSection, L"Name", Pc.Name);
}
