// The scripted user of the tests: on a thread of its own it answers the dialog boxes of one
// process as a user would, by caption, fills in save dialogs, reads and closes popup menus, notes
// what each box said and who owned it, and cancels whatever comes up that no rule expects, so
// that a test fails instead of hanging. When it finishes (at the latest when it goes), every box
// that no rule expected, and every expected box that never came, fails the running test.
#pragma once
#include <windows.h>

#include <functional>
#include <map>
#include <mutex>
#include <set>
#include <string>
#include <vector>

struct SeenBox {
    std::string caption, text;  // a save dialog's text is the name typed into it
    HWND box = nullptr, owner = nullptr;
};

class ScriptedUser {
public:
    explicit ScriptedUser(DWORD processId = GetCurrentProcessId());
    ~ScriptedUser();
    // From now on, boxes with this caption are answered with this button.
    void Answer(const std::string& caption, int button);
    // From now on, the next `count` boxes with this caption and this text are answered with this
    // button; the test fails unless they all come before the user finishes. A box past the count is
    // one nobody expected.
    void Expect(const std::string& caption, const std::string& text, int button, int count = 1);
    // The next box with this caption is left on screen (and noted) until a rule answers it, for
    // 30 s at the most: then it is cancelled and reported as unexpected.
    void Hold(const std::string& caption);
    // From now on, save dialogs with this caption get the name typed into their name field, and
    // Save pressed.
    void SaveAs(const std::string& caption, const std::string& name);
    // From now on, popup menus are read (the state of every command) and closed with Esc.
    void CloseMenus();
    // Waits until `count` boxes have been answered and are gone, up to the time-out.
    bool WaitForAnswered(size_t count, DWORD timeoutMs = 15000);
    // A box with the caption on screen now (a held one, say), or null.
    HWND Showing(const std::string& caption);
    std::vector<SeenBox> Answered();
    // How many message boxes have come so far, answered by a rule or not.
    size_t BoxesSeen();
    // Held boxes that went unanswered (their owner was destroyed, their program ended).
    std::vector<SeenBox> HeldAndGone();
    // The texts of the answered boxes, in order.
    std::vector<std::string> AnsweredTexts();
    // Runs the action and returns the texts of the boxes answered meanwhile. In-process calls are
    // synchronous: once the action returns, a box either held it up (and was answered) or never came.
    std::vector<std::string> TextsDuring(const std::function<void()>& action);
    // The menus closed so far, each as its commands' states (MF_GRAYED and so on) by command id.
    std::vector<std::map<UINT, UINT>> ClosedMenus();
    // Stops and cancels every box of the process still on screen. The test fails (once) for each
    // box that no rule answered: cancelled after the time-out, gone by itself unless held (its
    // program ended, its owner was destroyed) or still up now, naming its caption and text; and for
    // each expected box that never came.
    void Finish();

private:
    enum Action { AnswerBox, HoldBox, SaveName };
    struct Rule {
        std::string caption;
        Action action;
        int button;
        std::string name;          // what a save rule types; the text an expecting rule wants
        bool expected = false;     // answers only boxes of that text, and must see `left` more
        int left = 0;
    };
    static DWORD WINAPI Run(void* self);
    void Serve();
    void Visit(HWND box);
    void ForgetGoneBoxes();
    void CloseMenu(HWND popup);

    DWORD processId_;
    std::mutex lock_;
    std::vector<Rule> rules_;
    bool closeMenus_ = false;
    std::vector<SeenBox> answered_, unexpected_, heldGone_;
    std::vector<std::map<UINT, UINT>> menus_;
    std::set<HWND> done_;
    struct Waiting {
        SeenBox seen;  // as it was when first seen: a box that goes unanswered is reported as such
        DWORD since;
        bool held;
    };
    std::vector<Waiting> waiting_;  // boxes no rule has answered yet
    volatile LONG stop_ = 0;
    HANDLE thread_ = nullptr;
    bool finished_ = false;
};

// The text of a window read without a message to its thread (which may be busy).
std::string WindowTextOf(HWND window);
