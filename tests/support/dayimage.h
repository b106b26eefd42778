// Day file images for tests: 720 little-endian 32-bit values, three series of 240.
#pragma once
#include <vector>

std::vector<int> NoDataValues();
std::vector<unsigned char> DayFileBytes(const std::vector<int>& values);
// Value of metric m, slot s in a file image.
int FileValue(const std::vector<unsigned char>& bytes, int metric, int slot);
