// The test build's Recycle Bin: the test says what kind of bin the drive has.
#pragma once
#include <string>
#include <vector>

enum class FakeBin {
    None,        // the drive has no bin: nothing is touched
    Keeping,     // a bin that takes the files and can be counted: they move into BinFolder()
    Destroying,  // a bin that deletes the files instead (switched off or full) and says nothing
};
void SetFakeRecycleBin(FakeBin kind);
// Where the keeping bin puts the files (emptied by SetFakeRecycleBin).
std::string BinFolder();
// The paths the program gave the bin at its last call.
std::vector<std::string> LastRecycled();
