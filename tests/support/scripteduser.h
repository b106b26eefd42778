// The scripted user of the tests: on a thread of its own it answers the dialog boxes of one
// process as a user would, by caption, notes what each said and who owned it, and cancels and
// reports whatever comes up that no rule expects, so that a test fails instead of hanging.
#pragma once
#include <windows.h>

#include <mutex>
#include <set>
#include <string>
#include <vector>

struct SeenBox {
    std::string caption, text;
    HWND box = nullptr, owner = nullptr;
};

class ScriptedUser {
public:
    explicit ScriptedUser(DWORD processId = GetCurrentProcessId());
    ~ScriptedUser();
    // From now on, boxes with this caption are answered with this button.
    void Answer(const std::string& caption, int button);
    // From now on, boxes with this caption are left on screen (and noted) until a rule answers them.
    void Hold(const std::string& caption);
    // Waits until `count` boxes have been answered, up to the time-out; true if they were.
    bool WaitForAnswered(size_t count, DWORD timeoutMs = 15000);
    // A box with the caption on screen now (a held one, say), or null.
    HWND Showing(const std::string& caption);
    std::vector<SeenBox> Answered();
    // The texts of the answered boxes, in order.
    std::vector<std::string> AnsweredTexts();
    // Stops, cancels every box of the process still on screen and returns the unexpected ones:
    // those no rule answered within the time-out, and those still up now.
    std::vector<SeenBox> Finish();

private:
    enum Action { AnswerBox, HoldBox };
    struct Rule {
        std::string caption;
        Action action;
        int button;
    };
    static DWORD WINAPI Run(void* self);
    void Serve();
    void Visit(HWND box);

    DWORD processId_;
    std::mutex lock_;
    std::vector<Rule> rules_;
    std::vector<SeenBox> answered_, unexpected_;
    std::set<HWND> done_;
    std::vector<std::pair<HWND, DWORD>> waiting_;  // boxes without a rule, since when
    volatile LONG stop_ = 0;
    HANDLE thread_ = nullptr;
};

// The text of a window read without a message to its thread (which may be busy).
std::string WindowTextOf(HWND window);
