// The graph window's save commands: the graph as a picture and every recorded day as a CSV file,
// each through the save dialog; a failure is reported in a box the graph window owns.
#pragma once
#include <windows.h>

#include "base/files.h"
#include "graph/export.h"

// Written by ui/savecommands.cpp alone: the path the save dialog chose.
struct SaveChoice {
    WCHAR Path[PathCapacity];
};
extern SaveChoice ChosenFile;

void SaveGraphPicture(HWND graphWindow);
void SaveActivityCsv(HWND graphWindow);
// A window's picture of the size, rendered as given, saved where the save dialog says (the name
// proposed); a failure is reported in a box the window owns.
void SaveWindowPicture(HWND window, const char* proposedName, int width, int height, RenderPicture render,
                       const void* context);
