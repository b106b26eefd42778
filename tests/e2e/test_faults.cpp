// Faults around the real program: today's file deleted, locked or read-only while it runs, and
// a data folder that cannot be made at start. The right message (or none), and the program
// goes on and ends as asked.
#include <gtest/gtest.h>

#include "base/uitext.h"
#include "e2e/e2e_support.h"
#include "support/dayimage.h"
#include "support/testwin.h"

namespace {
class ProgramFault : public ::testing::Test {
protected:
    RunningProgram program;
    void TearDown() override { KillProgram(&program); }
    std::string TodayPath() { return program.folder + "data\\" + DayFileNameAt(0); }
    void Start(const std::string& name)
    {
        ASSERT_TRUE(StartProgram(&program, MakeProgramFolder(name)));
        ASSERT_TRUE(WaitUntilRecording(&program, DayFileNameAt(0), 20000));
    }
    // The exit's save fails: the user is asked whether to end all the same, and Yes ends the
    // program with exit code 0. The test starts early in a slot: a change of slot meanwhile would
    // have shown a failure box first.
    void ExpectExitAsksAndEnds()
    {
        ScriptedUser user(program.process.dwProcessId);
        user.Expect(UiA(TextExitCaption), UiA(TextExitQuestion), IDYES);
        user.Expect(UiA(TextExitCaption), UiA(TextExitUnsaved), IDYES);
        PostMessageA(program.monitor, WM_CLOSE, 0, 0);
        EXPECT_EQ(WaitForExit(&program, 15000), 0u) << "the program still ends";
        EXPECT_EQ(user.AnsweredTexts(), (std::vector<std::string>{UiA(TextExitQuestion), UiA(TextExitUnsaved)}));
    }
};

// Today's file removed while the program runs (the data folder itself cannot be): no message, and
// the exit writes the file back with everything recorded today.
TEST_F(ProgramFault, TodaysFileGoneWhileRunningComesBackAtExit)
{
    const struct {
        const char* name;
        bool folder;
    } cases[] = {{"gone_file", false}, {"gone_folder", true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Start(c.name);
        ScriptedUser user(program.process.dwProcessId);
        user.Answer(UiA(TextErrorCaption), IDOK);
        int first = SlotNow();
        InjectKey('A');
        InjectKey('B');
        InjectKey('C');
        // The program holds the file only during a slot write; try again if it is in one.
        ASSERT_TRUE(PumpUntil([&] { return DeleteFileA(TodayPath().c_str()) != FALSE; }, 1000));
        // The lock file holds the data folder: it cannot be removed while the program runs.
        if (c.folder) EXPECT_FALSE(RemoveDirectoryA((program.folder + "data").c_str()));
        InjectKey('D');
        InjectKey('E');
        AskToEnd(&program, user, IDYES);
        EXPECT_EQ(WaitForExit(&program, 15000), 0u);
        EXPECT_EQ(user.AnsweredTexts(), std::vector<std::string>{UiA(TextExitQuestion)})
            << "a message although the file could be made again";
        int last = SlotNow();

        std::vector<unsigned char> bytes = ReadWholeFile(TodayPath());
        ASSERT_EQ(bytes.size(), 2880u);
        int keys = 0;
        for (int s = 0; s < 240; ++s) {
            bool recorded = s >= first && s <= last;
            for (int m = 0; m < 3; ++m) {
                int v = FileValue(bytes, m, s);
                if (recorded) {
                    EXPECT_GE(v, 0) << "slot " << s;
                } else {
                    EXPECT_EQ(v, -1) << "slot " << s << " was never recorded";
                }
            }
            if (recorded) keys += FileValue(bytes, 1, s);
        }
        EXPECT_EQ(keys, 5) << "key touches before and after the deletion";
        KillProgram(&program);
    }
}

// Another program holds today's file open when the exit saves: the user is asked, the program
// still ends with 0, and the file is left as it was.
TEST_F(ProgramFault, TodaysFileLockedAtExit)
{
    StartEarlyInSlot(30);
    Start("locked_exit");
    InjectKey('A');
    std::vector<unsigned char> before = ReadWholeFile(TodayPath());
    HANDLE hold = CreateFileA(TodayPath().c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(hold, INVALID_HANDLE_VALUE);
    ExpectExitAsksAndEnds();
    CloseHandle(hold);
    EXPECT_EQ(ReadWholeFile(TodayPath()), before);
}

// Today's file made read-only: as with a lock, the user is asked and the program ends.
TEST_F(ProgramFault, TodaysFileReadOnlyAtExit)
{
    std::string probe = MakeProgramFolder("readonly_exit") + "probe.dat";
    ASSERT_TRUE(WriteWholeFile(probe, "x", 1));
    SetFileAttributesA(probe.c_str(), FILE_ATTRIBUTE_READONLY);
    HANDLE writable = CreateFileA(probe.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    SetFileAttributesA(probe.c_str(), FILE_ATTRIBUTE_NORMAL);
    DeleteFileA(probe.c_str());
    if (writable != INVALID_HANDLE_VALUE) {
        CloseHandle(writable);
        GTEST_SKIP() << "this user may write read-only files (Wine run by root)";
    }
    StartEarlyInSlot(30);
    Start("readonly_exit");
    InjectKey('A');
    std::vector<unsigned char> before = ReadWholeFile(TodayPath());
    ASSERT_TRUE(SetFileAttributesA(TodayPath().c_str(), FILE_ATTRIBUTE_READONLY));
    ExpectExitAsksAndEnds();
    SetFileAttributesA(TodayPath().c_str(), FILE_ATTRIBUTE_NORMAL);
    EXPECT_EQ(ReadWholeFile(TodayPath()), before);
}

// A file stands where the data folder belongs: today's file cannot be made, the message comes
// once, and the program records in memory all the same; once the folder can be made, the exit's
// save makes today's file with what was recorded.
TEST_F(ProgramFault, DataFolderUnusableAtStart)
{
    std::string folder = MakeProgramFolder("blocked");
    DeleteFileA((folder + "data").c_str());
    ASSERT_TRUE(WriteWholeFile(folder + "data", "not a folder", 12));
    ASSERT_TRUE(StartProgram(&program, folder));
    ScriptedUser user(program.process.dwProcessId);
    user.Answer(UiA(TextErrorCaption), IDOK);
    EXPECT_TRUE(user.WaitForAnswered(1, 30000));
    ASSERT_TRUE(WaitUntilIdle(program.monitor)) << "the start-up did not end";
    EXPECT_TRUE(TrayIconExists(program.monitor)) << "the program goes on in the tray";
    InjectKey('Q');
    ASSERT_TRUE(WaitUntilIdle(program.monitor));
    std::vector<unsigned char> left = ReadWholeFile(folder + "data");
    EXPECT_EQ(std::string(left.begin(), left.end()), "not a folder");
    ASSERT_TRUE(DeleteFileA((folder + "data").c_str()));
    AskToEnd(&program, user, IDYES);
    EXPECT_EQ(WaitForExit(&program, 15000), 0u);
    EXPECT_EQ(user.AnsweredTexts(), (std::vector<std::string>{UiA(TextCreateFailed), UiA(TextExitQuestion)}));
    std::vector<unsigned char> today = ReadWholeFile(folder + "data\\" + DayFileNameAt(0));
    ASSERT_EQ(today.size(), 2880u) << "today's file was not made at the exit";
    int keys = 0;
    for (int s = 0; s < 240; ++s) keys += FileValue(today, 1, s) > 0 ? FileValue(today, 1, s) : 0;
    EXPECT_EQ(keys, 1) << "the key recorded in memory";
}
}  // namespace
