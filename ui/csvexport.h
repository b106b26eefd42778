// Saving every recorded day as a CSV file, from the graph window's menu.
#pragma once
#include <windows.h>

void SaveActivityCsv(HWND graphWindow);
