// Day file images for tests.
#include "support/dayimage.h"

#include <stddef.h>

std::vector<int> NoDataValues() { return std::vector<int>(720, -1); }

std::vector<unsigned char> DayFileBytes(const std::vector<int>& values)
{
    std::vector<unsigned char> bytes(values.size() * 4);
    for (size_t i = 0; i < values.size(); ++i) {
        unsigned v = static_cast<unsigned>(values[i]);
        for (int b = 0; b < 4; ++b) bytes[i * 4 + b] = static_cast<unsigned char>(v >> (8 * b));
    }
    return bytes;
}

int FileValue(const std::vector<unsigned char>& bytes, int metric, int slot)
{
    size_t at = static_cast<size_t>(metric) * 960 + static_cast<size_t>(slot) * 4;
    if (at + 4 > bytes.size()) return 0x7EADBEEF;
    return static_cast<int>(bytes[at] | bytes[at + 1] << 8 | bytes[at + 2] << 16 |
                            static_cast<unsigned>(bytes[at + 3]) << 24);
}
