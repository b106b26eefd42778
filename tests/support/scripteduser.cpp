// The scripted user of the tests.
#include "support/scripteduser.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "support/savedialog.h"
#include "support/testwin.h"

namespace {
// How often the user looks, and how long a box nobody expects may stay before it is cancelled.
const DWORD LookEveryMs = 15;
const DWORD UnexpectedAfterMs = 10000;
const DWORD HeldAtMostMs = 30000;
const DWORD TypingMs = 5000;
const int MessageTextId = 0xFFFF;

// A message box: its text is a static control without an identifier (an about box has such a
// control too, but for its icon). Other dialogs (the graph window, say) are no concern of a user
// who has no rule for them.
bool IsMessageBox(HWND box)
{
    HWND text = GetDlgItem(box, MessageTextId);
    return text && (GetWindowLongA(text, GWL_STYLE) & SS_TYPEMASK) != SS_ICON;
}

// A click on the button as the dialog manager reports one to the box.
void Press(HWND box, int button)
{
    PostMessageA(box, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(box, button)));
}

SeenBox Describe(HWND box)
{
    SeenBox seen;
    seen.box = box;
    seen.caption = WindowTextOf(box);
    seen.text = WindowTextOf(GetDlgItem(box, MessageTextId));
    seen.owner = GetWindow(box, GW_OWNER);
    return seen;
}
}  // namespace

std::string WindowTextOf(HWND window)
{
    wchar_t wide[1024] = L"";
    if (!window || !InternalGetWindowText(window, wide, 1024)) return "";
    char narrow[2048] = "";
    WideCharToMultiByte(CP_ACP, 0, wide, -1, narrow, sizeof narrow, nullptr, nullptr);
    return narrow;
}

ScriptedUser::ScriptedUser(DWORD processId) : processId_(processId)
{
    thread_ = CreateThread(nullptr, 0, Run, this, 0, nullptr);
}

ScriptedUser::~ScriptedUser() { Finish(); }

void ScriptedUser::Answer(const std::string& caption, int button)
{
    std::lock_guard<std::mutex> guard(lock_);
    rules_.push_back({caption, AnswerBox, button, ""});
}

void ScriptedUser::Expect(const std::string& caption, const std::string& text, int button, int count)
{
    std::lock_guard<std::mutex> guard(lock_);
    Rule rule = {caption, AnswerBox, button, text};
    rule.expected = true;
    rule.left = count;
    rules_.push_back(rule);
}

void ScriptedUser::Hold(const std::string& caption)
{
    std::lock_guard<std::mutex> guard(lock_);
    Rule rule = {caption, HoldBox, 0, ""};
    rule.left = 1;
    rules_.push_back(rule);
}

void ScriptedUser::SaveAs(const std::string& caption, const std::string& name)
{
    std::lock_guard<std::mutex> guard(lock_);
    rules_.push_back({caption, SaveName, IDOK, name});
}

void ScriptedUser::CloseMenus()
{
    std::lock_guard<std::mutex> guard(lock_);
    closeMenus_ = true;
}

bool ScriptedUser::WaitForAnswered(size_t count, DWORD timeoutMs)
{
    return PumpUntil(
        [&] {
            std::vector<SeenBox> answered = Answered();
            if (answered.size() < count) return false;
            for (size_t i = 0; i < count; ++i)
                if (IsWindow(answered[i].box)) return false;
            return true;
        },
        timeoutMs);
}

HWND ScriptedUser::Showing(const std::string& caption)
{
    for (HWND box : ProcessWindows(processId_, "#32770", nullptr, true))
        if (WindowTextOf(box) == caption) return box;
    return nullptr;
}

std::vector<SeenBox> ScriptedUser::Answered()
{
    std::lock_guard<std::mutex> guard(lock_);
    return answered_;
}

size_t ScriptedUser::BoxesSeen()
{
    std::lock_guard<std::mutex> guard(lock_);
    return answered_.size() + unexpected_.size() + waiting_.size() + heldGone_.size();
}

std::vector<SeenBox> ScriptedUser::HeldAndGone()
{
    std::lock_guard<std::mutex> guard(lock_);
    return heldGone_;
}

std::vector<std::string> ScriptedUser::AnsweredTexts()
{
    std::vector<std::string> texts;
    for (const SeenBox& seen : Answered()) texts.push_back(seen.text);
    return texts;
}

std::vector<std::string> ScriptedUser::TextsDuring(const std::function<void()>& action)
{
    size_t before = Answered().size();
    action();
    std::vector<std::string> texts = AnsweredTexts();
    return std::vector<std::string>(texts.begin() + before, texts.end());
}

std::vector<std::map<UINT, UINT>> ScriptedUser::ClosedMenus()
{
    std::lock_guard<std::mutex> guard(lock_);
    return menus_;
}

void ScriptedUser::Finish()
{
    if (finished_) return;
    finished_ = true;
    if (!thread_) {
        ADD_FAILURE() << "the scripted user's thread was not made: no box was answered";
        return;
    }
    InterlockedExchange(&stop_, 1);
    WaitForSingleObject(thread_, INFINITE);
    CloseHandle(thread_);
    thread_ = nullptr;
    for (HWND box : ProcessWindows(processId_, "#32770", nullptr, true)) {
        if (!IsMessageBox(box)) continue;
        unexpected_.push_back(Describe(box));
        waiting_.erase(std::remove_if(waiting_.begin(), waiting_.end(), [&](const Waiting& w) { return w.seen.box == box; }),
                       waiting_.end());
        Press(box, IDCANCEL);
    }
    ForgetGoneBoxes();
    for (const SeenBox& box : unexpected_) ADD_FAILURE() << "a box nobody expected: " << box.caption << ": " << box.text;
    for (const Rule& rule : rules_)
        if (rule.expected && rule.left > 0)
            ADD_FAILURE() << "an expected box did not come: " << rule.caption << ": " << rule.name;
}

DWORD WINAPI ScriptedUser::Run(void* self)
{
    static_cast<ScriptedUser*>(self)->Serve();
    return 0;
}

// A box that went before any rule answered it is reported; a handle of a window that is gone may
// come back for a new one.
void ScriptedUser::ForgetGoneBoxes()
{
    std::lock_guard<std::mutex> guard(lock_);
    for (auto gone = done_.begin(); gone != done_.end();)
        gone = IsWindow(*gone) ? std::next(gone) : done_.erase(gone);
    for (auto w = waiting_.begin(); w != waiting_.end();) {
        if (IsWindow(w->seen.box)) {
            ++w;
            continue;
        }
        (w->held ? heldGone_ : unexpected_).push_back(w->seen);
        w = waiting_.erase(w);
    }
}

void ScriptedUser::Serve()
{
    while (!stop_) {
        ForgetGoneBoxes();
        for (HWND box : ProcessWindows(processId_, "#32770", nullptr, true)) Visit(box);
        for (HWND popup : ProcessWindows(processId_, "#32768", nullptr, true)) CloseMenu(popup);
        Sleep(LookEveryMs);
    }
}

// The newest rule for a caption holds, so that a test can hold a box first and answer it later.
// A save rule is for a save dialog only, not for a message box of the same caption (a question
// of the dialog's own). The answer is noted before the button is pressed: once the program's
// call returns, the test finds it.
void ScriptedUser::Visit(HWND box)
{
    Rule rule;
    bool message = IsMessageBox(box);
    std::string text = WindowTextOf(GetDlgItem(box, MessageTextId));
    size_t index = 0;
    {
        std::lock_guard<std::mutex> guard(lock_);
        if (done_.count(box)) return;
        std::string caption = WindowTextOf(box);
        auto found = std::find_if(rules_.rbegin(), rules_.rend(), [&](const Rule& r) {
            return r.caption == caption && !(r.action == SaveName && message) &&
                   (!r.expected || (r.name == text && r.left > 0)) && !(r.action == HoldBox && r.left == 0);
        });
        auto waiting = std::find_if(waiting_.begin(), waiting_.end(), [&](const Waiting& w) { return w.seen.box == box; });
        // A box no rule expects waits a while, a held one longer; then either is cancelled and
        // reported, so that a test that never lets it go fails instead of hanging. A hold is for
        // the next box of its caption; that box stays held until a rule answers it.
        bool held = found != rules_.rend() ? found->action == HoldBox : waiting != waiting_.end() && waiting->held;
        if (found == rules_.rend() || held) {
            if (!message) return;
            if (waiting == waiting_.end()) {
                if (found != rules_.rend()) found->left = 0;
                waiting_.push_back({Describe(box), GetTickCount(), held});
            } else if (GetTickCount() - waiting->since > (held ? HeldAtMostMs : UnexpectedAfterMs)) {
                unexpected_.push_back(waiting->seen);
                done_.insert(box);
                waiting_.erase(waiting);
                Press(box, IDCANCEL);
            }
            return;
        }
        if (waiting != waiting_.end()) waiting_.erase(waiting);
        rule = *found;
        index = rules_.rend() - found - 1;
    }
    SeenBox seen = Describe(box);
    if (rule.action == SaveName) {
        // The dialog may show before its name field; the user types once the field is there.
        HWND field = SaveDialogNameEdit(box);
        DWORD_PTR result = 0;
        if (!field || !SendMessageTimeoutA(field, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(rule.name.c_str()),
                                           SMTO_ABORTIFHUNG, TypingMs, &result))
            return;
        seen.text = rule.name;
    }
    {
        std::lock_guard<std::mutex> guard(lock_);
        answered_.push_back(seen);
        done_.insert(box);
        if (rules_[index].expected) --rules_[index].left;
    }
    Press(box, rule.button);
}

void ScriptedUser::CloseMenu(HWND popup)
{
    {
        std::lock_guard<std::mutex> guard(lock_);
        if (!closeMenus_ || done_.count(popup)) return;
    }
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutA(popup, MN_GETHMENU, 0, 0, SMTO_ABORTIFHUNG, TypingMs, &result) || !result) return;
    HMENU menu = reinterpret_cast<HMENU>(result);
    std::map<UINT, UINT> states;
    for (int i = 0; i < GetMenuItemCount(menu); ++i)
        states[GetMenuItemID(menu, i)] = GetMenuState(menu, i, MF_BYPOSITION);
    {
        std::lock_guard<std::mutex> guard(lock_);
        menus_.push_back(states);
        done_.insert(popup);
    }
    PostMessageA(popup, WM_KEYDOWN, VK_ESCAPE, 0);
}
