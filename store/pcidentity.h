// The identity of this data folder among the PCs of a share folder, and the share settings: all
// kept in data\vantle.ini ([PC] Id, Computer, Name, Place; [Share] Folder, GraphAll).
#pragma once
#include <windows.h>

#include "base/files.h"

// "{xxxxxxxx-xxxx-xxxx-xxxx-xxxxxxxxxxxx}" with its end; a PC's name as shown, with its end.
enum { PcIdSize = 40, PcIdLength = 38, PcNameSize = 64 };

// Written by store/pcidentity.cpp alone.
struct PcSettings {
    WCHAR Id[PcIdSize];
    WCHAR Computer[PcNameSize];
    WCHAR Name[PcNameSize];
    // The share folder as chosen ("" while none is), and the graph's sum of all PCs.
    WCHAR ShareFolder[PathCapacity];
    int GraphAll;
};
extern PcSettings Pc;

inline const WCHAR* PcId(void) { return Pc.Id; }
inline const WCHAR* PcName(void) { return Pc.Name; }
inline const WCHAR* PcComputer(void) { return Pc.Computer; }
inline const WCHAR* ShareFolder(void) { return Pc.ShareFolder; }
inline int GraphShowsAllPcs(void) { return Pc.GraphAll; }

// Reads the identity, or makes a new one when there is none or the folder finds itself on another
// computer (its name) or in another place (its path): the old identity then stays with the copies it
// published, and this folder publishes anew under its own. Reads the share settings. 1 when the
// identity is kept in the settings file, 0 when it could not be written (it holds for this run).
int LoadPcIdentity(const WCHAR* computer);
// The share folder chosen ("" for none) and the graph's choice, kept; 0 when not written.
int ChooseShareFolder(const WCHAR* folder);
int ChooseGraphAll(int on);
// This PC's name as the other PCs show it: control characters become spaces, spaces at the ends
// go, and an empty name is the computer's; 0 when it could not be kept.
int ChoosePcName(const WCHAR* name);
// Nonzero for the text of an identity: braces around 8-4-4-4-12 hexadecimal digits.
int IsPcId(const WCHAR* text);
