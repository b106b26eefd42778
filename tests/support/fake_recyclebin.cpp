// The test build's Recycle Bin: a folder beside the test program, no bin, or a bin that destroys.
#include "support/fake_recyclebin.h"

#include <string.h>
#include <windows.h>

#include "store/recyclebin.h"
#include "support/storetest.h"
#include "support/testwin.h"

static FakeBin Kind = FakeBin::None;
static std::vector<std::string> Recycled;

std::string BinFolder() { return ModuleFolder() + "test_bin"; }

void SetFakeRecycleBin(FakeBin kind)
{
    Kind = kind;
    Recycled.clear();
    RemoveFolder(BinFolder());
    CreateDirectoryA(BinFolder().c_str(), nullptr);
}

std::vector<std::string> LastRecycled() { return Recycled; }

int RecycleFiles(const WCHAR* files, int count)
{
    Recycled.clear();
    for (const WCHAR* p = files; *p; p += lstrlenW(p) + 1) Recycled.push_back(Narrow(p));
    if (static_cast<int>(Recycled.size()) != count) return 0;
    for (const std::string& path : Recycled) {
        std::string name = path.substr(path.find_last_of('\\') + 1);
        if (Kind == FakeBin::Keeping) MoveFileA(path.c_str(), (BinFolder() + "\\" + name).c_str());
        if (Kind == FakeBin::Destroying) DeleteFileA(path.c_str());
    }
    return Kind == FakeBin::Keeping;
}
