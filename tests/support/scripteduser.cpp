// The scripted user of the tests.
#include "support/scripteduser.h"

#include <algorithm>

namespace {
// How often the user looks, and how long a box nobody expects may stay before it is cancelled.
const DWORD LookEveryMs = 15;
const DWORD UnexpectedAfterMs = 10000;
const int MessageTextId = 0xFFFF;

struct BoxSearch {
    DWORD processId;
    std::vector<HWND> found;
};

BOOL CALLBACK CollectBox(HWND window, LPARAM param)
{
    BoxSearch* search = reinterpret_cast<BoxSearch*>(param);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    char cls[32] = "";
    if (owner == search->processId && IsWindowVisible(window) && GetClassNameA(window, cls, sizeof cls) &&
        lstrcmpA(cls, "#32770") == 0)
        search->found.push_back(window);
    return TRUE;
}

std::vector<HWND> VisibleBoxes(DWORD processId)
{
    BoxSearch search = {processId, {}};
    EnumWindows(CollectBox, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

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
    rules_.push_back({caption, AnswerBox, button});
}

void ScriptedUser::Hold(const std::string& caption)
{
    std::lock_guard<std::mutex> guard(lock_);
    rules_.push_back({caption, HoldBox, 0});
}

bool ScriptedUser::WaitForAnswered(size_t count, DWORD timeoutMs)
{
    for (DWORD start = GetTickCount();; Sleep(LookEveryMs)) {
        {
            std::lock_guard<std::mutex> guard(lock_);
            if (answered_.size() >= count) return true;
        }
        if (GetTickCount() - start >= timeoutMs) return false;
    }
}

HWND ScriptedUser::Showing(const std::string& caption)
{
    for (HWND box : VisibleBoxes(processId_))
        if (WindowTextOf(box) == caption) return box;
    return nullptr;
}

std::vector<SeenBox> ScriptedUser::Answered()
{
    std::lock_guard<std::mutex> guard(lock_);
    return answered_;
}

std::vector<std::string> ScriptedUser::AnsweredTexts()
{
    std::vector<std::string> texts;
    for (const SeenBox& seen : Answered()) texts.push_back(seen.text);
    return texts;
}

std::vector<SeenBox> ScriptedUser::Finish()
{
    if (thread_) {
        InterlockedExchange(&stop_, 1);
        WaitForSingleObject(thread_, INFINITE);
        CloseHandle(thread_);
        thread_ = nullptr;
        for (HWND box : VisibleBoxes(processId_)) {
            if (!IsMessageBox(box)) continue;
            unexpected_.push_back(Describe(box));
            Press(box, IDCANCEL);
        }
    }
    return unexpected_;
}

DWORD WINAPI ScriptedUser::Run(void* self)
{
    static_cast<ScriptedUser*>(self)->Serve();
    return 0;
}

void ScriptedUser::Serve()
{
    while (!stop_) {
        for (HWND box : VisibleBoxes(processId_)) Visit(box);
        Sleep(LookEveryMs);
    }
}

// The newest rule for a caption holds, so that a test can hold a box first and answer it later.
void ScriptedUser::Visit(HWND box)
{
    std::lock_guard<std::mutex> guard(lock_);
    if (done_.count(box)) return;
    std::string caption = WindowTextOf(box);
    auto rule = std::find_if(rules_.rbegin(), rules_.rend(), [&](const Rule& r) { return r.caption == caption; });
    auto waiting = std::find_if(waiting_.begin(), waiting_.end(), [&](const auto& w) { return w.first == box; });
    if (rule != rules_.rend()) {
        if (waiting != waiting_.end()) waiting_.erase(waiting);
        if (rule->action == HoldBox) return;
        answered_.push_back(Describe(box));
        done_.insert(box);
        Press(box, rule->button);
        return;
    }
    if (!IsMessageBox(box)) return;
    if (waiting == waiting_.end()) {
        waiting_.push_back({box, GetTickCount()});
    } else if (GetTickCount() - waiting->second > UnexpectedAfterMs) {
        unexpected_.push_back(Describe(box));
        done_.insert(box);
        waiting_.erase(waiting);
        Press(box, IDCANCEL);
    }
}
