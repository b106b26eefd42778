// The scripted user's own checks: what it lets pass is what every test that relies on it misses.
#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <thread>

#include "support/scripteduser.h"
#include "support/testwin.h"

namespace {
const char Caption[] = "harness";

// Boxes shown on a thread of their own, as a program's would be; `close` has the program take the
// first one away itself instead of the user.
void ShowBoxes(ScriptedUser& user, int count, bool close)
{
    std::thread program([count] {
        for (int i = 0; i < count; ++i) MessageBoxA(nullptr, "text", Caption, MB_OK);
    });
    EXPECT_TRUE(PumpUntil([&] { return user.BoxesSeen() == static_cast<size_t>(count); }));
    HWND box = user.Showing(Caption);
    if (close) {
        PostMessageA(box, WM_COMMAND, IDOK, 0);
        // The user looks every 15 ms: it sees the box gone.
        PumpUntil([&] { return !IsWindow(box) && user.BoxesSeen() == static_cast<size_t>(count) && !user.Showing(Caption); });
        Sleep(100);
    }
    if (!close && box) user.Finish();
    program.join();
}

TEST(ScriptedUserTest, EveryBoxIsAccountedFor)
{
    const struct {
        const char* name;
        void (*rules)(ScriptedUser&);
        int boxes;
        bool closedByProgram;
        const char* failure;  // what the user's finish reports, or nothing
        size_t seen, heldGone;
    } rows[] = {
        {"an unexpected box fails", [](ScriptedUser&) {}, 1, false, "a box nobody expected", 1, 0},
        {"a box that goes unanswered fails", [](ScriptedUser&) {}, 1, true, "a box nobody expected", 1, 0},
        {"a held box that goes is reported, not counted away", [](ScriptedUser& u) { u.Hold(Caption); }, 1, true, nullptr, 1, 1},
        {"a count of two answers two", [](ScriptedUser& u) { u.Expect(Caption, "text", IDOK, 2); }, 2, false, nullptr, 2, 0},
        {"an expected box that never came fails", [](ScriptedUser& u) { u.Expect(Caption, "text", IDOK); }, 0, false,
         "an expected box did not come", 0, 0},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        testing::TestPartResultArray failures;
        size_t seen = 0, heldGone = 0;
        {
            testing::ScopedFakeTestPartResultReporter reporter(testing::ScopedFakeTestPartResultReporter::INTERCEPT_ALL_THREADS,
                                                               &failures);
            ScriptedUser user;
            row.rules(user);
            if (row.boxes) ShowBoxes(user, row.boxes, row.closedByProgram);
            seen = user.BoxesSeen(), heldGone = user.HeldAndGone().size();
            user.Finish();
        }
        std::string reported;
        for (int i = 0; i < failures.size(); ++i) reported += failures.GetTestPartResult(i).message();
        EXPECT_EQ(failures.size(), row.failure ? 1 : 0) << reported;
        if (row.failure) EXPECT_NE(reported.find(row.failure), std::string::npos) << reported;
        EXPECT_EQ(seen, row.seen);
        EXPECT_EQ(heldGone, row.heldGone);
    }
}
}  // namespace
