// The about box: where it opens, what it says, and what closes it.
#include <gtest/gtest.h>
#include <string>

#include "base/uitext.h"
#include "graph_dialog_support.h"
#include "support/testwin.h"
#include "ui/aboutbox.h"

namespace {
INT_PTR CALLBACK PlainDialogProc(HWND, UINT, WPARAM, LPARAM) { return 0; }

std::string ItemText(HWND dialog, int id)
{
    char text[256] = "";
    GetDlgItemTextA(dialog, id, text, sizeof text);
    return text;
}

class AboutBoxTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ResetGraphState();
        owner = OpenGraphDialogModeless();
        ASSERT_NE(owner, nullptr);
        ShowWindow(owner, SW_SHOW);
    }
    void TearDown() override
    {
        DestroyWindow(owner);
        ResetGraphState();
    }
    HWND owner = nullptr;
};

// Each way of closing, after Enter (IDOK) and an unknown command were ignored.
TEST_F(AboutBoxTest, OpensBesideItsOwnerAndClosesWithTwo)
{
    struct CloseCase {
        const char* name;
        void (*close)(HWND box);
    };
    const CloseCase cases[] = {
        {"OK button", [](HWND box) { PostMessageA(GetDlgItem(box, IDCANCEL), BM_CLICK, 0, 0); }},
        {"Esc key",
         [](HWND box) { PostMessageA(GetDlgItem(box, IDCANCEL), WM_KEYDOWN, VK_ESCAPE, 0); }},
        {"close box", [](HWND box) { PostMessageA(box, WM_SYSCOMMAND, SC_CLOSE, 0); }},
    };
    // Where the dialog manager itself puts the box: the same template without its procedure.
    HWND plain = CreateDialogParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_ABOUT), owner,
                                    PlainDialogProc, 0);
    ASSERT_NE(plain, nullptr);
    RECT placed;
    GetWindowRect(plain, &placed);
    DestroyWindow(plain);

    std::vector<POINT> places;
    for (const CloseCase& c : cases) {
        SCOPED_TRACE(c.name);
        HWND owner_ = owner;
        INT_PTR result = RunModal(
            [owner_] {
                return DialogBoxParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_ABOUT),
                                       owner_, AboutBoxProc, 0);
            },
            [owner_] { return FindOwnedDialog(owner_); },
            [&](HWND box) {
                // Moved from there to its own lower-right corner less 30 across and plus 30
                // down, keeping its size.
                RECT r;
                GetWindowRect(box, &r);
                EXPECT_EQ(r.left, placed.right - 30);
                EXPECT_EQ(r.top, placed.bottom + 30);
                EXPECT_GE(r.right - r.left, placed.right - placed.left);  // wider where a text needs it
                EXPECT_EQ(r.bottom - r.top, placed.bottom - placed.top);
                POINT origin = {0, 0};
                ClientToScreen(owner_, &origin);
                places.push_back({r.left - origin.x, r.top - origin.y});

                EXPECT_EQ(ItemText(box, IDC_ABOUT_NAME), "Vantle  Version 1.13");
                EXPECT_EQ(ItemText(box, IDC_ABOUT_PRODUCT), "PC活動記録測定ソフト");
                EXPECT_EQ(ItemText(box, IDC_ABOUT_COPYRIGHT), UiA(TextAboutCopyright));
                EXPECT_NE(ItemText(box, IDC_ABOUT_COPYRIGHT), "Static");
                EXPECT_EQ(ItemText(box, IDC_ABOUT_RIGHTS), "All rights reserved.");
                for (int id : {IDC_ABOUT_NAME, IDC_ABOUT_PRODUCT, IDC_ABOUT_COPYRIGHT, IDC_ABOUT_RIGHTS}) {
                    RECT r;  // the whole text on the control's one line
                    GetClientRect(GetDlgItem(box, id), &r);
                    EXPECT_LE(TextWidthIn(GetDlgItem(box, id), Wide(ItemText(box, id)).c_str()), r.right) << id;
                }
                EXPECT_EQ(GetFocus(), GetDlgItem(box, IDCANCEL));

                SendMessageA(box, WM_COMMAND, IDOK, 0);
                SendMessageA(box, WM_COMMAND, 45000, 0);
                EXPECT_EQ(AboutBoxProc(box, WM_COMMAND, IDOK, 0), 0);
                EXPECT_TRUE(IsWindowVisible(box));
                c.close(box);
            });
        EXPECT_EQ(result, 2);
    }
    ASSERT_EQ(places.size(), 3u);
    for (const POINT& p : places) {
        EXPECT_EQ(p.x, places[0].x);
        EXPECT_EQ(p.y, places[0].y);
    }
}

TEST_F(AboutBoxTest, MenuCommandOpensItOverTheDisabledGraphWindow)
{
    HWND owner_ = owner;
    bool opened = false;
    RunModal(
        [owner_] {
            EXPECT_EQ(GraphWindowProc(owner_, WM_COMMAND, IDC_ABOUT, 0), 1);
            return static_cast<INT_PTR>(0);
        },
        [owner_] { return FindOwnedDialog(owner_); },
        [&](HWND box) {
            opened = true;
            char caption[64] = "";
            GetWindowTextA(box, caption, sizeof caption);
            EXPECT_STREQ(caption, "バージョン情報");
            EXPECT_FALSE(IsWindowEnabled(owner_));
            PostMessageA(box, WM_COMMAND, IDCANCEL, 0);
        });
    EXPECT_TRUE(opened);
    EXPECT_TRUE(IsWindowEnabled(owner));
}
}  // namespace
