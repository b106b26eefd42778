// The real program's activity per application: keys and clicks in the windows of two other
// programs, the apps window read across processes, and the apps file after the exit; and its keys
// and buttons, the keyboard window's copy and the keys file.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

#include "e2e/e2e_support.h"
#include "res/resource.h"

namespace {
TEST(AppsE2e, TwoProgramsKeysAndClicksShownAndWritten)
{
    if (SlotNow() == 239) StartEarlyInSlot(60);
    std::string folder = MakeProgramFolder("apps");
    RunningProgram program;
    ASSERT_TRUE(StartProgram(&program, folder));
    ASSERT_TRUE(WaitUntilRecording(&program, DayFileNameAt(0), 20000));
    ScriptedUser user(program.process.dwProcessId);
    const struct {
        const char* exe;
        int x, keys;
    } works[] = {{"left_app.exe", 50, 2}, {"right_app.exe", 700, 3}};
    TestProcess started[2];
    for (int i = 0; i < 2; ++i) {
        const auto& w = works[i];
        ASSERT_TRUE(StartWindowProcess(folder + w.exe, w.x, &started[i].info));
        HWND window = WaitForProcessWindow(started[i].info.dwProcessId, "Static", "work", true, 10000);
        ASSERT_NE(window, nullptr);
        // A click into the window, then keys while it is in front.
        InjectMove(w.x + 100, 400);
        InjectClick(MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP);
        SetForegroundWindow(window);
        ASSERT_TRUE(PumpUntil([&] { return GetForegroundWindow() == window; }));
        for (int k = 0; k < w.keys; ++k) InjectKey('A' + k);
        ASSERT_TRUE(WaitUntilIdle(program.monitor));
    }

    PostMessageA(program.monitor, WM_COMMAND, IDC_OPEN_GRAPH, 0);
    HWND graph = WaitForProcessWindow(program.process.dwProcessId, "#32770", GraphCaption().c_str(), true, 10000);
    ASSERT_NE(graph, nullptr);
    PostMessageA(graph, WM_COMMAND, IDC_SHOW_APPS, 0);
    HWND apps = WaitForProcessWindow(program.process.dwProcessId, "#32770", UiA(TextAppsCaption).c_str(), true, 10000);
    ASSERT_NE(apps, nullptr);
    EXPECT_EQ(GetWindow(apps, GW_OWNER), graph);
    HWND list = GetDlgItem(apps, IDC_APPS_LIST);
    EXPECT_EQ(SendBounded(GetDlgItem(apps, IDC_APPS_RANGE), CB_GETCURSEL, 0, 0), 0);
    const std::vector<std::string> heads = {"アプリ", "活動時間", "割合", "マウスクリック回数", "キータッチ回数", "マウスの動き"};
    for (int c = 0; c < 6; ++c) EXPECT_EQ(ListText(program.process.hProcess, list, -1, c), heads[c]);
    int rows = static_cast<int>(SendBounded(list, LVM_GETITEMCOUNT, 0, 0));
    for (const auto& w : works) {
        std::string shown = "none";
        for (int r = 0; r < rows; ++r)
            if (ListText(program.process.hProcess, list, r, 0) == w.exe)
                shown = ListText(program.process.hProcess, list, r, 3) + " " + ListText(program.process.hProcess, list, r, 4);
        EXPECT_EQ(shown, "1 " + std::to_string(w.keys)) << w.exe;
    }
    PostMessageA(list, WM_KEYDOWN, VK_ESCAPE, 0);
    EXPECT_TRUE(PumpUntil([&] { return !IsWindow(apps); }, 5000));
    PostMessageA(graph, WM_COMMAND, IDCANCEL, 0);
    EXPECT_TRUE(PumpUntil([&] { return !IsWindow(graph); }, 5000));
    AskToEnd(&program, user, IDYES);
    EXPECT_EQ(WaitForExit(&program, 15000), 0u);

    std::vector<unsigned char> bytes = ReadWholeFile(folder + "data\\" + DayFileNameAt(0).substr(0, 8) + ".apps.txt");
    std::string file(bytes.begin(), bytes.end());
    EXPECT_EQ(file.find(u8"アプリ\tマウスクリック回数\tキータッチ回数\tマウスの動き\t活動秒数\r\n"), 0u);
    for (const auto& w : works) EXPECT_NE(file.find(std::string("\n") + w.exe + "\t1\t" + std::to_string(w.keys) + "\t"), std::string::npos) << file;
}

// Keys by scan code (one extended), the right button, a side button and the wheel: the keyboard
// window's copy, most pressed first, and the keys file after the exit.
TEST(KeysE2e, KeysAndButtonsCopiedAndWritten)
{
    std::string folder = MakeProgramFolder("keys");
    RunningProgram program;
    ASSERT_TRUE(StartProgram(&program, folder));
    ASSERT_TRUE(WaitUntilRecording(&program, DayFileNameAt(0), 20000));
    ScriptedUser user(program.process.dwProcessId);
    InjectKey('A', 0x1E), InjectKey('A', 0x1E), InjectKey(VK_RETURN, 0x1C, true);
    InjectClick(MOUSEEVENTF_RIGHTDOWN, MOUSEEVENTF_RIGHTUP);
    InjectClick(MOUSEEVENTF_XDOWN, MOUSEEVENTF_XUP, XBUTTON1);
    InjectClick(MOUSEEVENTF_WHEEL, MOUSEEVENTF_WHEEL, static_cast<DWORD>(-WHEEL_DELTA));
    ASSERT_TRUE(WaitUntilIdle(program.monitor));

    PostMessageA(program.monitor, WM_COMMAND, IDC_OPEN_GRAPH, 0);
    HWND graph = WaitForProcessWindow(program.process.dwProcessId, "#32770", "Vantle  PC活動記録測定ソフト  Version 1.13", true, 10000);
    ASSERT_NE(graph, nullptr);
    PostMessageA(graph, WM_COMMAND, IDC_SHOW_KEYBOARD, 0);
    HWND keyboard = WaitForProcessWindow(program.process.dwProcessId, "#32770", UiA(TextKeyboardCaption).c_str(), true, 10000);
    ASSERT_NE(keyboard, nullptr);
    EXPECT_EQ(GetWindow(keyboard, GW_OWNER), graph);
    ASSERT_TRUE(OpenClipboard(nullptr));
    EmptyClipboard();
    CloseClipboard();
    PostMessageA(keyboard, WM_COMMAND, IDC_KEYBOARD_COPY, 0);
    auto keyName = [](LONG scan) {
        wchar_t name[64] = L"";
        GetKeyNameTextW(scan << 16, name, 64);
        return std::wstring(name);
    };
    const std::wstring expected = keyName(0x1E) + L"\t2\r\n" + UiW(TextWheel) + L"\t2\r\n" + keyName(0x11C) +
                                  L"\t1\r\n" + UiW(TextButtonRight) + L"\t1\r\n" + UiW(TextButtonX1) + L"\t1\r\n";
    std::wstring copied;
    PumpUntil([&] { return (copied = ClipboardText()) == expected; }, 5000);
    EXPECT_EQ(Narrow(copied), Narrow(expected));
    PostMessageA(keyboard, WM_COMMAND, IDCANCEL, 0);
    EXPECT_TRUE(PumpUntil([&] { return !IsWindow(keyboard); }, 5000));
    PostMessageA(graph, WM_COMMAND, IDCANCEL, 0);
    EXPECT_TRUE(PumpUntil([&] { return !IsWindow(graph); }, 5000));
    AskToEnd(&program, user, IDYES);
    EXPECT_EQ(WaitForExit(&program, 15000), 0u);

    std::vector<unsigned char> bytes = ReadWholeFile(folder + "data\\" + DayFileNameAt(0).substr(0, 8) + ".keys.txt");
    EXPECT_EQ(std::string(bytes.begin(), bytes.end()),
              u8"キー\t回数\r\nSC1E\t2\r\nSCE01C\t1\r\nRBUTTON\t1\r\nXBUTTON1\t1\r\nWHEEL\t2\r\n");
}
}  // namespace
