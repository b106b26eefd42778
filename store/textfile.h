// The text files of the data folder (the apps and keys files): read whole, their counts parsed, and
// written whole beside the file under a name of their own, then put in its place.
#pragma once
#include <windows.h>

// Reads the file into the text: its length, 0 when there is no file, -1 when it cannot be read
// (held, access denied). Past the capacity the rest is left out.
int ReadTextFile(const WCHAR* path, char* text, int capacity);
// A field of decimal digits (at most 18); -1 for anything else.
long long ParseCount(const char* field, int length);
// Writes the text to the new version's path, then replaces the file with it; a held file refuses
// the replace and keeps its old text whole, and the new version goes. 1, or 0 when it failed.
int ReplaceTextFile(const WCHAR* newPath, const WCHAR* path, const char* text, int length);
