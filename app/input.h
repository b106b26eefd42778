// Counting of the hook library's mouse and key messages.
#pragma once
#include <windows.h>

// Written by app/'s files alone: the interval counters since the current slot began, and the input
// state kept across slots.
struct InputCounters {
    int LeftClicks, RightClicks, MiddleClicks;
    int KeyTouches;
    int MoveX, MoveY;
    int LeftDown, RightDown, MiddleDown;
    UINT LastKey;
    POINT LastPointerPos;
    // Set by the first move; before it there is no position to measure a step from.
    int PointerKnown;
};
extern InputCounters Counters;

// point: the event's screen point in physical coordinates, x and y as signed 16-bit halves.
LRESULT OnHookMouse(UINT mouseMessage, LPARAM point);
LRESULT OnHookKey(UINT virtualKey, LPARAM flags);
// Sets the six interval counters to 0; button and key state stay.
void ClearIntervalCounters(void);
// The counts since the slot began, added as unsigned 32-bit numbers (a wrapped sum keeps its low
// 32 bits): clicks of the three buttons, and travel in both directions.
unsigned SlotClicks(void);
unsigned SlotTravel(void);
