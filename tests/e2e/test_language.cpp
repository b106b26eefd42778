// The real program's texts in the user's language whatever the ANSI code page: the graph window's
// title and status bar and the exit question, read as UTF-16 from another process.
#include <gtest/gtest.h>

#include "e2e/e2e_support.h"

#include <commctrl.h>

#include "res/resource.h"

namespace {
std::wstring TextOf(HWND window)
{
    wchar_t text[512] = L"";
    InternalGetWindowText(window, text, 512);
    return text;
}

class Language : public ::testing::Test {
protected:
    void TearDown() override { KillProgram(&program); }
    // The program's visible dialog whose caption is the text.
    HWND WaitForCaption(const wchar_t* caption)
    {
        HWND found = nullptr;
        PumpUntil([&] {
            for (HWND w : ProcessWindows(program.process.dwProcessId, "#32770", nullptr, true))
                if (TextOf(w) == caption) found = w;
            return found != nullptr;
        }, 15000);
        return found;
    }
    RunningProgram program;
};

// Run with the locale of each UI language (Japanese on the code page of a Western system, English).
TEST_F(Language, TextsInTheUsersLanguageWhateverTheCodePage)
{
    // A language run checks that Wine took its locale (UI language, ANSI code page); the plain
    // e2e run is the Japanese UI on code page 932.
    char taken[16];
    wsprintfA(taken, "%s,%u", PRIMARYLANGID(GetUserDefaultUILanguage()) == LANG_JAPANESE ? "ja" : "en", GetACP());
    const char* expected = getenv("VANTLE_TEST_LOCALE");
    ASSERT_STREQ(taken, expected ? expected : "ja,932");
    ASSERT_TRUE(StartProgram(&program, MakeProgramFolder("language")));
    ASSERT_TRUE(WaitUntilRecording(&program, DayFileNameAt(0), 20000));
    PostMessageW(program.monitor, WM_COMMAND, IDC_OPEN_GRAPH, 0);
    HWND graph = WaitForCaption(UiW(TextTitle));
    ASSERT_NE(graph, nullptr) << "no graph window titled " << UiA(TextTitle);
    HWND bar = FindWindowExW(graph, nullptr, STATUSCLASSNAMEW, nullptr);
    SYSTEMTIME now;
    GetLocalTime(&now);
    wchar_t count[64], date[32];
    wsprintfW(count, UiW(FormatClickCount), 0);
    wsprintfW(date, UiW(FormatStatusDate), now.wYear, now.wMonth, now.wDay);
    EXPECT_EQ(RemoteText(program.process.hProcess, bar, SB_GETTEXTW, 8), count);
    EXPECT_TRUE(PumpUntil([&] { return RemoteText(program.process.hProcess, bar, SB_GETTEXTW, 0) == date; }));

    PostMessageW(program.monitor, WM_CLOSE, 0, 0);
    HWND box = WaitForCaption(UiW(TextExitCaption));
    ASSERT_NE(box, nullptr) << "no exit question captioned " << UiA(TextExitCaption);
    EXPECT_EQ(TextOf(GetDlgItem(box, 0xFFFF)), UiW(TextExitQuestion));
    PostMessageW(box, WM_COMMAND, IDYES, 0);
    EXPECT_EQ(WaitForExit(&program, 15000), 0u);
}
}  // namespace
