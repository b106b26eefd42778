// The real program under Wine: tray, exit, day files and recording from injected input.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "base/uitext.h"
#include "e2e/e2e_support.h"
#include "support/dayimage.h"
#include "support/testwin.h"

namespace {
class RecorderTest : public ::testing::Test {
protected:
    RunningProgram program;
    void TearDown() override { KillProgram(&program); }
    std::string Today() { return DayFileNameAt(0); }
    std::string DataPath(const std::string& name) { return program.folder + "data\\" + name; }
};

TEST_F(RecorderTest, StartsInTheTrayAndEndsOnlyWhenConfirmed)
{
    std::string folder = MakeProgramFolder("tray");
    ASSERT_TRUE(StartProgram(&program, folder));
    ASSERT_TRUE(WaitUntilRecording(&program, Today(), 20000));
    EXPECT_TRUE(TrayIconExists(program.monitor));
    EXPECT_FALSE(IsWindowVisible(program.monitor));

    ASSERT_TRUE(AskToEnd(&program, IDNO));
    // An ending would be over before the program's thread takes a message again.
    EXPECT_TRUE(WaitUntilIdle(program.monitor)) << "No keeps it running";
    EXPECT_EQ(WaitForExit(&program, 0), static_cast<DWORD>(STILL_ACTIVE));
    EXPECT_TRUE(TrayIconExists(program.monitor));

    AskToEnd(&program, IDYES);
    EXPECT_EQ(WaitForExit(&program, 15000), 0u);
    EXPECT_FALSE(TrayIconExists(program.monitor));
}

// A second start for the same data folder hands over to the running copy, which shows its
// graph window (or restores it and brings it to the front), and ends with 0 without recording; a
// copy in another folder runs beside it; two starts at once leave exactly one recording copy.
TEST_F(RecorderTest, OneCopyPerDataFolder)
{
    std::string folder = MakeProgramFolder("single");
    ASSERT_TRUE(StartProgram(&program, folder));
    ASSERT_TRUE(WaitUntilRecording(&program, Today(), 20000));
    for (int start = 0; start < 2; ++start) {
        SCOPED_TRACE(start == 0 ? "graph window closed" : "graph window minimized");
        if (start) {
            std::vector<HWND> open = ProcessWindows(program.process.dwProcessId, "#32770", UiA(TextTitle).c_str(), true);
            ASSERT_EQ(open.size(), 1u);
            ShowWindow(open[0], SW_MINIMIZE);
            ASSERT_TRUE(IsIconic(open[0]));
        }
        RunningProgram second;
        ASSERT_TRUE(LaunchProgram(&second, folder));
        EXPECT_EQ(WaitForExit(&second, 15000), 0u);
        KillProgram(&second);
        HWND graph = WaitForProcessWindow(program.process.dwProcessId, "#32770", UiA(TextTitle).c_str(), true, 10000);
        EXPECT_TRUE(PumpUntil([&] { return graph && !IsIconic(graph); })) << "no graph window in front";
        EXPECT_EQ(ProcessWindows(program.process.dwProcessId, "#32770", UiA(TextTitle).c_str(), false).size(), 1u);
    }

    RunningProgram other;
    ASSERT_TRUE(StartProgram(&other, MakeProgramFolder("single_other")));
    EXPECT_TRUE(WaitUntilRecording(&other, Today(), 20000)) << "a copy in another folder runs";
    EXPECT_EQ(WaitForExit(&program, 0), static_cast<DWORD>(STILL_ACTIVE));
    KillProgram(&other);

    std::string raced = MakeProgramFolder("single_race");
    RunningProgram copies[2];
    ASSERT_TRUE(LaunchProgram(&copies[0], raced));
    ASSERT_TRUE(LaunchProgram(&copies[1], raced));
    HANDLE processes[2] = {copies[0].process.hProcess, copies[1].process.hProcess};
    DWORD ended = WaitForMultipleObjects(2, processes, FALSE, 20000) - WAIT_OBJECT_0;
    ASSERT_LT(ended, 2u) << "neither start handed over";
    RunningProgram& winner = copies[1 - ended];
    EXPECT_EQ(WaitForExit(&copies[ended], 0), 0u);
    winner.monitor = FindMonitorWindow(winner.process.dwProcessId, 20000);
    EXPECT_TRUE(WaitUntilRecording(&winner, Today(), 20000));
    EXPECT_EQ(WaitForExit(&winner, 0), static_cast<DWORD>(STILL_ACTIVE));
    for (RunningProgram& copy : copies) KillProgram(&copy);

    // The folder's lock held by a process that is no copy of this session (another user's): one
    // box, exit 0, nothing written.
    std::string taken = MakeProgramFolder("single_taken");
    CreateDirectoryA((taken + "data").c_str(), nullptr);
    HANDLE lock = CreateFileA((taken + "data\\vantle.lock").c_str(), GENERIC_WRITE | DELETE, 0, nullptr,
                              CREATE_ALWAYS, FILE_FLAG_DELETE_ON_CLOSE, nullptr);
    ASSERT_NE(lock, INVALID_HANDLE_VALUE);
    RunningProgram refused;
    ASSERT_TRUE(LaunchProgram(&refused, taken));
    ScriptedUser user(refused.process.dwProcessId);
    user.Answer(UiA(TextFolderInUseCaption), IDOK);
    EXPECT_TRUE(user.WaitForAnswered(1, 15000));
    EXPECT_EQ(WaitForExit(&refused, 15000), 0u);
    KillProgram(&refused);
    CloseHandle(lock);
    EXPECT_EQ(user.AnsweredTexts(), std::vector<std::string>{"このデータフォルダーは別のセッションまたは別のPCのVantleが使用中です"});
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((taken + "data\\*.*").c_str(), &found);
    ASSERT_NE(search, INVALID_HANDLE_VALUE);
    do EXPECT_EQ(found.cFileName[0], '.') << "written: " << found.cFileName;
    while (FindNextFileA(search, &found));
    FindClose(search);
}

// The tray menu's "Windows起動時に開始(&W)" of the running program, in a folder whose name holds a
// space: the Run entry names the program quoted, and a second choice takes it away.
TEST_F(RecorderTest, StartWithWindowsNamesTheProgramQuoted)
{
    const char run[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
    auto entry = [&] { return RegistryText(run, "Vantle"); };
    RegDeleteKeyValueA(HKEY_CURRENT_USER, run, "Vantle");
    std::string folder = MakeProgramFolder("start with windows");
    ASSERT_TRUE(StartProgram(&program, folder));
    ASSERT_TRUE(WaitUntilRecording(&program, Today(), 20000));
    EXPECT_EQ(entry(), "(none)") << "nothing written unless chosen";
    SendMessageA(program.monitor, WM_COMMAND, 40024, 0);
    EXPECT_EQ(entry(), "\"" + folder + "vantle.exe\"");
    SendMessageA(program.monitor, WM_COMMAND, 40024, 0);
    EXPECT_EQ(entry(), "(none)");
    AskToEnd(&program, IDYES);
    EXPECT_EQ(WaitForExit(&program, 15000), 0u);
}

TEST_F(RecorderTest, FirstStartCreatesTheDataFolderAndTodaysFile)
{
    std::string folder = MakeProgramFolder("first");
    ASSERT_TRUE(StartProgram(&program, folder));
    ASSERT_TRUE(WaitUntilRecording(&program, Today(), 20000));
    std::vector<unsigned char> today = ReadWholeFile(DataPath(Today()));
    ASSERT_EQ(today.size(), 2880u);
    for (unsigned char b : today) ASSERT_EQ(b, 0xFF);
    EXPECT_EQ(GetFileAttributesA(DataPath(DayFileNameAt(0, -1)).c_str()), INVALID_FILE_ATTRIBUTES)
        << "no file is made for a past day";
    AskToEnd(&program, IDYES);
    EXPECT_EQ(WaitForExit(&program, 15000), 0u);
}

// A folder whose name is outside code page 932 and whose day files' paths pass MAX_PATH (263
// characters; the program's own path stays below it, as Windows starts a program): the program
// records there like anywhere else, without a box.
TEST_F(RecorderTest, RecordsInAFolderOfAnyNameAndLength)
{
    StartEarlyInSlot(30);  // the run stays in one slot (a few seconds)
    const std::wstring outside = L"Müller-Ærø\\";
    const size_t folderLength = 263 - (sizeof "data\\20240307.dat" - 1);
    const size_t root = Wide(ModuleFolder()).size() + 4 + outside.size();  // "...\bin\e2e\Müller-Ærø\"
    ASSERT_LT(root + 2, folderLength) << "the build folder is too deep for this case";
    std::wstring folder = MakeProgramFolderW(outside + std::wstring(folderLength - root - 1, L'x'));
    ASSERT_EQ(folder.size(), folderLength);
    std::wstring today = LongForm(folder + L"data\\" + Wide(Today()));

    ASSERT_TRUE(LaunchProgramW(&program, folder));
    program.monitor = FindMonitorWindow(program.process.dwProcessId, 20000);
    ASSERT_NE(program.monitor, nullptr);
    ASSERT_TRUE(PumpUntil([&] { return GetFileAttributesW(today.c_str()) != INVALID_FILE_ATTRIBUTES; }, 20000))
        << "today's file was not made";
    ASSERT_TRUE(WaitUntilIdle(program.monitor));
    int slot = SlotNow();
    InjectClick(MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP);
    InjectKey('A');
    InjectKey('B');
    AskToEnd(&program, IDYES);
    ASSERT_EQ(WaitForExit(&program, 15000), 0u);
    ASSERT_EQ(SlotNow(), slot) << "the run outlasted its slot";

    std::vector<unsigned char> after = ReadWholeFile(today);
    ASSERT_EQ(after.size(), 2880u);
    EXPECT_EQ(FileValue(after, 0, slot), 1);
    EXPECT_EQ(FileValue(after, 1, slot), 2);
}

TEST_F(RecorderTest, InjectedInputReachesTodaysFileAndARestartKeepsEarlierSlots)
{
    StartEarlyInSlot(30);  // the run stays in one slot (a few seconds)
    std::string folder = MakeProgramFolder("restart");
    CreateDirectoryA((folder + "data").c_str(), nullptr);
    std::vector<int> values = NoDataValues();
    int earlier = (SlotNow() + 200) % 240;  // a slot that this run does not record
    values[earlier] = 9;
    values[480 + earlier] = 1234;
    std::vector<unsigned char> bytes = DayFileBytes(values);
    ASSERT_TRUE(WriteWholeFile(folder + "data\\" + Today(), bytes.data(), bytes.size()));

    // The hooks start with the program and may first hear of the pointer where it stands then: it
    // stands where the first move below puts it, so that this move measures nothing either way.
    InjectMove(130, 140);
    ASSERT_TRUE(PumpUntil([] {
        POINT at = {};
        return GetCursorPos(&at) && at.x == 130 && at.y == 140;
    }));
    ASSERT_TRUE(StartProgram(&program, folder));
    ASSERT_TRUE(WaitUntilRecording(&program, Today(), 20000));
    int slot = SlotNow();
    // A move onto the same point measures nothing, the next 30 + 40; then a burst of moves of
    // 60 px, made faster than the program takes them, each counted from its own point.
    const int BurstMoves = 400;
    InjectMove(130, 140);
    InjectMove(160, 180);
    for (int i = 1; i <= BurstMoves; ++i) InjectMove(i % 2 ? 220 : 160, 180);
    InjectClick(MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP);
    InjectClick(MOUSEEVENTF_RIGHTDOWN, MOUSEEVENTF_RIGHTUP);
    InjectKey('A');
    InjectKey('B');
    InjectKey(VK_SPACE);
    // SendInput returns once the hooks have posted their messages: the exit, posted after them,
    // finds them counted and saves them.
    AskToEnd(&program, IDYES);
    ASSERT_EQ(WaitForExit(&program, 15000), 0u);
    ASSERT_EQ(SlotNow(), slot) << "the run outlasted its slot";

    std::vector<unsigned char> after = ReadWholeFile(DataPath(Today()));
    ASSERT_EQ(after.size(), 2880u);
    EXPECT_EQ(FileValue(after, 0, slot), 2);
    EXPECT_EQ(FileValue(after, 1, slot), 3);
    EXPECT_EQ(FileValue(after, 2, slot), 70 + BurstMoves * 60);
    EXPECT_EQ(FileValue(after, 0, earlier), 9) << "the earlier run's slot is kept";
    EXPECT_EQ(FileValue(after, 2, earlier), 1234);
}

// Yesterday's file held by another program past the start's wait: the message comes once, and
// the program records all the same; the held file is left as it was.
TEST_F(RecorderTest, LockedDayFileAtStartDoesNotStopRecording)
{
    std::string folder = MakeProgramFolder("locked");
    CreateDirectoryA((folder + "data").c_str(), nullptr);
    std::vector<unsigned char> bytes = DayFileBytes(std::vector<int>(720, 3));
    std::string yesterday = folder + "data\\" + DayFileNameAt(0, -1);
    ASSERT_TRUE(WriteWholeFile(yesterday, bytes.data(), bytes.size()));
    HANDLE hold = CreateFileA(yesterday.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(hold, INVALID_HANDLE_VALUE);

    ASSERT_TRUE(StartProgram(&program, folder));
    ScriptedUser user(program.process.dwProcessId);
    user.Expect(UiA(TextOpenCaption), UiA(TextOpenFailed), IDOK);
    EXPECT_TRUE(user.WaitForAnswered(1, 30000));
    CloseHandle(hold);
    ASSERT_TRUE(WaitUntilIdle(program.monitor)) << "the start-up did not end";
    InjectKey('Q');
    InjectClick(MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP);
    AskToEnd(&program, user, IDYES);
    EXPECT_EQ(WaitForExit(&program, 15000), 0u);
    EXPECT_EQ(user.AnsweredTexts(), (std::vector<std::string>{UiA(TextOpenFailed), UiA(TextExitQuestion)}));
    std::vector<unsigned char> today = ReadWholeFile(DataPath(Today()));
    ASSERT_EQ(today.size(), 2880u);
    int clicks = 0, keys = 0;
    for (int s = 0; s < 240; ++s) {
        clicks += FileValue(today, 0, s) > 0 ? FileValue(today, 0, s) : 0;
        keys += FileValue(today, 1, s) > 0 ? FileValue(today, 1, s) : 0;
    }
    EXPECT_EQ(clicks, 1) << "recorded although yesterday's file was held";
    EXPECT_EQ(keys, 1);
    EXPECT_EQ(ReadWholeFile(yesterday), bytes) << "the held file was written over";
}

// Scenarios under a shifted clock: the test script starts the program under faketime and
// names the scenario and the clock's offset in seconds.
class FakeClock : public ::testing::Test {
protected:
    long long offset = 0;
    RunningProgram program;
    void SetUp() override
    {
        const char* scenario = getenv("VANTLE_CLOCK_SCENARIO");
        const char* shift = getenv("VANTLE_CLOCK_OFFSET");
        const char* where = getenv("VANTLE_CLOCK_FOLDER");
        if (!scenario || !shift || !where) GTEST_SKIP() << "run by the clock scenario script";
        offset = atoll(shift);
        ASSERT_TRUE(FindStartedProgram(&program, where, 20000));
        ASSERT_TRUE(WaitUntilRecording(&program, DayFileNameAt(offset), 20000));
    }
    void TearDown() override { KillProgram(&program); }
    void End()
    {
        EXPECT_TRUE(AskToEnd(&program, IDYES));
        EXPECT_EQ(WaitForExit(&program, 15000), 0u);
    }
    std::vector<unsigned char> DayFile(const std::string& name)
    {
        return ReadWholeFile(program.folder + "data\\" + name);
    }
    // Waits until the program has written the slot into the day's file: its three values are there.
    bool WaitForSlotWrite(const std::string& day, int slot)
    {
        return PumpUntil(
            [&] {
                std::vector<unsigned char> bytes = DayFile(day);
                return bytes.size() == 2880u && FileValue(bytes, 0, slot) != -1 && FileValue(bytes, 1, slot) != -1 &&
                       FileValue(bytes, 2, slot) != -1;
            },
            20000);
    }
};

// Started at 10:05:48 of the program's clock: input before 10:06 lands in slot 100.
TEST_F(FakeClock, InputBeforeTheSlotChangeLandsInSlot100)
{
    ASSERT_EQ(SlotNow(offset), 100) << "the program should still be in slot 100";
    InjectKey('K');
    InjectKey('L');
    InjectClick(MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP);
    // The program's first move measures nothing; the two after it 3 + 4 each. The first must move
    // the pointer, or it brings no event and the second is taken for the first.
    POINT at = {};
    GetCursorPos(&at);
    int x = at.x == 200 && at.y == 200 ? 300 : 200;
    InjectMove(x, x);
    InjectMove(x + 3, x + 4);
    InjectMove(x + 6, x + 8);
    ASSERT_TRUE(WaitForSlotWrite(DayFileNameAt(offset), 100)) << "slot 100 was not written at its end";
    std::vector<unsigned char> bytes = DayFile(DayFileNameAt(offset));
    ASSERT_EQ(bytes.size(), 2880u);
    EXPECT_EQ(FileValue(bytes, 0, 100), 1);
    EXPECT_EQ(FileValue(bytes, 1, 100), 2);
    EXPECT_EQ(FileValue(bytes, 2, 100), 14);
    EXPECT_EQ(FileValue(bytes, 1, 101), -1) << "slot 101 is written only when it ends";
    End();
}

// Started 14 s before midnight: slot 239 stays in the old day, and the new day gets its file.
TEST_F(FakeClock, RunAcrossMidnight)
{
    ASSERT_EQ(SlotNow(offset), 239);
    std::string oldDay = DayFileNameAt(offset);
    InjectKey('M');
    InjectKey('N');
    InjectKey('O');
    // Slot 239 is written into the old day's file, then the new day's file is made.
    ASSERT_TRUE(WaitForSlotWrite(oldDay, 239)) << "slot 239 was not written";
    ASSERT_TRUE(PumpUntil([&] { return SlotNow(offset) != 239 && DayFile(DayFileNameAt(offset)).size() == 2880u; }))
        << "no file for the new day";
    std::string newDay = DayFileNameAt(offset);
    ASSERT_NE(oldDay, newDay);
    EXPECT_EQ(FileValue(DayFile(oldDay), 1, 239), 3);
    std::vector<unsigned char> fresh = DayFile(newDay);
    ASSERT_EQ(fresh.size(), 2880u);
    for (unsigned char b : fresh) ASSERT_EQ(b, 0xFF);
    InjectKey('P');
    End();
    EXPECT_EQ(FileValue(DayFile(newDay), 1, 0), 1) << "exit saves slot 0";
}

// What the built program carries for Windows: its manifest and the images of its icons.
std::string ResourceText(HMODULE module, LPCSTR name, LPCSTR type)
{
    HRSRC found = FindResourceA(module, name, type);
    HGLOBAL loaded = found ? LoadResource(module, found) : nullptr;
    if (!loaded) return "";
    return std::string(static_cast<const char*>(LockResource(loaded)), SizeofResource(module, found));
}

// The icon group's images as (size, bits per pixel); a size byte of 0 stands for 256.
std::vector<std::pair<int, int>> IconImages(HMODULE module, int id)
{
#pragma pack(push, 2)
    struct GroupEntry {
        BYTE width, height, colours, reserved;
        WORD planes, bitCount;
        DWORD bytes;
        WORD id;
    };
#pragma pack(pop)
    std::string group = ResourceText(module, MAKEINTRESOURCEA(id), MAKEINTRESOURCEA(14));  // RT_GROUP_ICON
    std::vector<std::pair<int, int>> images;
    if (group.size() < 6) return images;
    WORD count = *reinterpret_cast<const WORD*>(group.data() + 4);
    for (WORD i = 0; i < count && 6 + (i + 1) * sizeof(GroupEntry) <= group.size(); ++i) {
        const GroupEntry* entry = reinterpret_cast<const GroupEntry*>(group.data() + 6) + i;
        images.push_back({entry->width ? entry->width : 256, entry->bitCount});
    }
    std::sort(images.begin(), images.end());
    return images;
}

TEST(ProgramResources, ManifestAndIcons)
{
    std::string exe = ModuleFolder() + "vantle.exe";
    HMODULE module = LoadLibraryExA(exe.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    ASSERT_NE(module, nullptr);
    std::string manifest = ResourceText(module, MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(24));  // RT_MANIFEST
    for (const char* element : {
             "name=\"Microsoft.Windows.Common-Controls\" version=\"6.0.0.0\"",
             "<requestedExecutionLevel level=\"asInvoker\"",
             "<supportedOS Id=\"{35138b9a-5d96-4fbd-8e2d-a2440225f93a}\"/>",  // Windows 7
             "<supportedOS Id=\"{4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38}\"/>",  // 8
             "<supportedOS Id=\"{1f676c76-80e1-4239-95bb-83d0f6d0da78}\"/>",  // 8.1
             "<supportedOS Id=\"{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}\"/>",  // 10 and 11
             ">false</dpiAware>", ">unaware</dpiAwareness>", ">true</gdiScaling>"})
        EXPECT_NE(manifest.find(element), std::string::npos) << element;
    const std::vector<std::pair<int, int>> everySize = {{16, 32}, {20, 32}, {24, 32}, {32, 32},
                                                        {40, 32}, {48, 32}, {256, 32}};
    EXPECT_EQ(IconImages(module, 102), everySize) << "the program's icon";
    EXPECT_EQ(IconImages(module, 109), everySize) << "the not-recording icon";
    FreeLibrary(module);
}
}  // namespace
