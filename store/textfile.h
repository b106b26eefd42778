// The text files of the data folder (the apps and keys files): read line by line and their counts
// parsed (they are written whole through ReplaceFileWith).
#pragma once
#include <windows.h>

// Hands each line of the file (without its line end; a byte-order mark at its start left out) to
// the taker, reading the file in pieces of the buffer, so a file of any length is read to its end;
// a line longer than the buffer is no line of these files and is skipped. 1, also when there is no
// file; 0 when it cannot be opened or read to its end (held, access denied), and then the lines
// handed on so far must not be taken as the file.
typedef void (*TakeTextLine)(void* target, const char* line, int length);
int ReadTextLines(const WCHAR* path, char* buffer, int capacity, TakeTextLine take, void* target);
// Hands each line of a text already read whole to the taker, as ReadTextLines hands a file's.
void SplitTextLines(const char* text, long size, TakeTextLine take, void* target);
// A field of decimal digits (at most 18); -1 for anything else.
long long ParseCount(const char* field, int length);
