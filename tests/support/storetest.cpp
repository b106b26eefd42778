// Fixture support for tests of the store.
#include "support/storetest.h"

#include <string.h>
#include <windows.h>

#include "store/store.h"
#include "support/testwin.h"

void RemoveFolder(const std::string& folder)
{
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            if (found.cFileName[0] == '.') continue;
            std::string path = folder + "\\" + found.cFileName;
            SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) RemoveFolder(path);
            else DeleteFileA(path.c_str());
        } while (FindNextFileA(search, &found));
        FindClose(search);
    }
    RemoveDirectoryA(folder.c_str());
}

void ResetStore(const char* folderName)
{
    HINSTANCE instance = App.Instance ? App.Instance : GetModuleHandleA(nullptr);
    memset(&App, 0, sizeof App);
    App.Instance = instance;
    std::string folder = ModuleFolder() + folderName;
    RemoveFolder(folder);
    CreateDirectoryA(folder.c_str(), nullptr);
    lstrcpynA(App.DataDirectory, folder.c_str(), sizeof App.DataDirectory);
}

std::string DayFilePathOf(int day) { return DataFile(App.DayFileNames[day]); }

std::string DataFile(const char* name) { return std::string(App.DataDirectory) + "\\" + name; }

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
