// The test build's clock: tests set the local time the program sees.
#pragma once
void SetFakeTime(int year, int month, int day, int hour, int minute, int second);
