// The scripted user's own checks: what it lets pass is what every test that relies on it misses.
#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

#include <string>
#include <thread>

#include "support/scripteduser.h"
#include "support/testwin.h"

TEST(ScriptedUserTest, EveryBoxIsAccountedFor)
{
    const struct {
        const char* name;
        bool hold;
        int expected, boxes;  // boxes expected by text, and shown (on a thread, as a program's)
        bool closedByProgram;  // the first box goes without the user (its program took it away)
        const char* failure;   // what the user's finish reports, or nothing
        size_t seen, heldGone;
    } rows[] = {
        {"an unexpected box fails", false, 0, 1, false, "a box nobody expected", 1, 0},
        {"a box that goes unanswered fails", false, 0, 1, true, "a box nobody expected", 1, 0},
        {"a held box that goes is reported, not counted away", true, 0, 1, true, nullptr, 1, 1},
        {"a count of two answers two", false, 2, 2, false, nullptr, 2, 0},
        {"an expected box that never came fails", false, 1, 0, false, "an expected box did not come", 0, 0},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        testing::TestPartResultArray failures;
        size_t seen = 0, heldGone = 0;
        {
            testing::ScopedFakeTestPartResultReporter reporter(testing::ScopedFakeTestPartResultReporter::INTERCEPT_ALL_THREADS,
                                                               &failures);
            ScriptedUser user;
            if (row.hold) user.Hold("harness");
            if (row.expected) user.Expect("harness", "text", IDOK, row.expected);
            std::thread program([&] {
                for (int i = 0; i < row.boxes; ++i) MessageBoxA(nullptr, "text", "harness", MB_OK);
            });
            PumpUntil([&] { return user.BoxesSeen() == static_cast<size_t>(row.boxes); });
            HWND box = user.Showing("harness");
            if (row.closedByProgram) PostMessageA(box, WM_COMMAND, IDOK, 0);
            PumpUntil([&] { return !row.closedByProgram || (!IsWindow(box) && !user.Showing("harness")); });
            Sleep(100);  // the user looks every 15 ms
            seen = user.BoxesSeen(), heldGone = user.HeldAndGone().size();
            user.Finish();
            program.join();
        }
        std::string reported;
        for (int i = 0; i < failures.size(); ++i) reported += failures.GetTestPartResult(i).message();
        EXPECT_EQ(failures.size(), row.failure ? 1 : 0) << reported;
        if (row.failure) EXPECT_NE(reported.find(row.failure), std::string::npos) << reported;
        EXPECT_EQ(seen, row.seen);
        EXPECT_EQ(heldGone, row.heldGone);
    }
}
