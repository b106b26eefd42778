// Helpers shared by the test programs: answering message boxes, finding windows, reading files.
#pragma once
#include <windows.h>
#include <functional>
#include <string>
#include <vector>

// Watches, on a thread of its own, for a dialog box with the given caption (in any process),
// reads its message text and presses the given button as a user would. Joins when destroyed.
class BoxAnswer {
public:
    BoxAnswer(const char* caption, int buttonId, DWORD timeoutMs = 15000);
    ~BoxAnswer();
    // Waits until the box was answered or the watch timed out; true when it was answered.
    bool Wait();
    std::string Text();
private:
    static DWORD WINAPI Run(void* self);
    std::string caption_;
    int button_;
    DWORD timeout_;
    std::string text_;
    volatile LONG answered_ = 0;
    HANDLE thread_ = nullptr;
};

// The first visible or hidden dialog ("#32770") whose caption matches, or null.
HWND FindDialog(const char* caption);
// Reads a whole file; empty when it cannot be read.
std::vector<unsigned char> ReadWholeFile(const std::string& path);
bool WriteWholeFile(const std::string& path, const void* data, size_t size);
// Folder of the running test program, with a trailing backslash.
std::string ModuleFolder();
// Pumps this thread's messages for the given time.
void PumpMessages(DWORD ms);
// Pumps this thread's messages until the condition holds or the time is up; true if it held.
bool PumpUntil(const std::function<bool()>& condition, DWORD timeoutMs = 10000);

// Input injected through SendInput, as a user's devices would give it.
void InjectMove(int x, int y);
void InjectClick(DWORD down, DWORD up);
void InjectKey(WORD vk);

// The ids of this process's threads, and the first one that is not in an earlier list.
std::vector<DWORD> ProcessThreadIds();
DWORD NewThreadSince(const std::vector<DWORD>& before);
