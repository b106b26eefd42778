// What the graph shows: the measure it draws, and the installed faces its labels and title are
// drawn in.
#pragma once
#include <windows.h>

// Written by graph/'s files alone. The faces are found at their first use and kept for the rest of
// the process: finding one takes a screen context and up to eleven enumerations of the fonts.
struct GraphView {
    // The graph window's menu chooses it through SetSelectedMetric.
    int SelectedMetric;
    wchar_t LabelFace[LF_FACESIZE];
    wchar_t TitleFace[LF_FACESIZE];
};
extern GraphView Graph;

inline int SelectedMetric(void) { return Graph.SelectedMetric; }
// The measure the graph, the picture's title and the status bar's count show from now on.
void SetSelectedMetric(int metric);
