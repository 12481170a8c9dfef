// End-to-end cases: the real setup.exe in a throw-away prefix, driven through its windows.
// run_e2e.sh prepares one prefix per case (drives, Windows version) and says which layout the
// version must produce in TNP_EXPECT_LAYOUT.
#include <gtest/gtest.h>
#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <vector>
#include "checks.h"
#include "flows.h"

namespace {

void RunRegisteredUninstall()
{
    std::string command = UninstallValue("UninstallString");
    ASSERT_NE(command, "<missing>");
    StartAsWindowsDoes("run " + command);
}

// What the product, once installed in the default directory, writes to play audio CDs itself.
void TakeAudioCdsOver()
{
    std::string tnp = DefaultDir() + "tnp.exe";
    SetAudioCdValues({{REG_SZ, "\"" + tnp + "\" /play \"%L\""}, {REG_SZ, ShortPath(tnp) + ",1"}, {REG_SZ, tnp + " -play %1"}});
}

// Nothing of the installation in `dir` is left, and audio CDs are played by the CD Player where
// Windows has one, else by `players`, what played them before, byte for byte.
void ExpectUninstalled(const std::string &dir, bool nt, const AudioCd &players = AudioCd(3, {0, ""}))
{
    EXPECT_FALSE(UninstallEntryExists());
    for (const PayloadFile &file : kPayloadFiles)
        EXPECT_FALSE(Exists(dir + file.name)) << file.name << " left behind";
    EXPECT_FALSE(Exists(dir + "tnp.inf"));
    EXPECT_EQ(FolderEntries(dir), std::vector<std::string>{}) << "something of ours is left in " << dir;
    EXPECT_EQ(FilesNamed("C:\\", kLinkNames), std::vector<std::string>()) << "links left behind";
    AudioCd after = AudioCdValues();
    if (std::getenv("TNP_EXPECT_CDPLAYER") == nullptr) {
        for (int i = 0; i < 3; ++i)
            EXPECT_TRUE(after[i].type == players[i].type && after[i].text == players[i].text)
                << kAudioCdKeys[i] << " is " << after[i].type << " " << after[i].text;
        return;
    }
    std::string tools = WindowsDirectory() + (nt ? "\\system32" : "");
    EXPECT_EQ(after[0].text, tools + "\\cdplayer.exe /Play %1");
    // The script's unquoted ",40" is a further field to the INF engine, as the INF format has
    // it, so the icon index never reaches the registry; the script's bytes are kept all the same.
    EXPECT_EQ(after[1].text, WindowsDirectory() + (nt ? "\\system32" : "\\system") + "\\shell32.dll");
    EXPECT_EQ(after[2].text, tools + "\\cdplayer.exe -Play %1");
}

// The destination rows of the links as written, for the record of each Windows.
void PrintLinkRows(const std::string &script)
{
    std::istringstream rows(script);
    std::string row;
    while (std::getline(rows, row))
        if (row.rfind("TNP_DelLinks=", 0) == 0 || row.rfind("TNP_DelDesktop=", 0) == 0)
            std::printf("FIGURE %s\n", row.substr(0, row.size() - 1).c_str());
}

// D: holds the first of `levels` and nothing else, and each level only the next: no file or
// folder was made beside one under a name cut inside a character.
void ExpectOnlyTheseFoldersOnD(const std::vector<std::string> &levels)
{
    std::string folder = "D:\\";
    for (const std::string &level : levels) {
        EXPECT_EQ(FolderEntries(folder), std::vector<std::string>{level}) << "beside " << level << " in " << folder;
        folder += level + "\\";
    }
}

}  // namespace

// The cases named InCodePage run with a double-byte ANSI code page, as East-Asian Windows has:
// run_e2e.sh gives the locale and names whose last character has 0x5C, the backslash, as its
// second byte: 0 a typed folder, 1-3 three levels, 4 a folder to browse to, 5 an earlier one.
TEST(Install, InCodePageATypedFolderEndingInTrailByte5CHoldsTheInstallation)
{
    ASSERT_EQ(GetACP(), CaseCodePage());
    std::string name = CaseName(0);
    ASSERT_EQ(name.back(), '\\');
    std::string dir = "D:\\" + name + "\\";
    InstallTyped("D:\\" + name);
    ExpectInstalled(dir, ExpectNtLayout(), true);
    ExpectOnlyTheseFoldersOnD({name});
    RunRegisteredUninstall();
    ExpectUninstalled(dir, ExpectNtLayout());
    EXPECT_EQ(FolderEntries(dir), std::vector<std::string>{}) << "the folder is left empty";
    ExpectOnlyTheseFoldersOnD({name});
}

TEST(Install, InCodePageEachLevelIsMadeWhole)
{
    ASSERT_EQ(GetACP(), CaseCodePage());
    std::vector<std::string> levels = {CaseName(1), CaseName(2), CaseName(3)};
    std::string dir = "D:\\" + levels[0] + "\\" + levels[1] + "\\" + levels[2] + "\\";
    InstallTyped(dir);
    ExpectInstalled(dir, ExpectNtLayout(), true);
    ExpectOnlyTheseFoldersOnD(levels);
}

// The verb that plays audio CDs as DelegateExecute alone, which no row of the script could give
// back: the install and its uninstall leave that key be.
TEST(Install, DefaultsWithDesktop)
{
    AudioCd players = {{kDelegateOnly, "{6ff3d5e4-1b57-4b3d-9c11-8e2a4f0d7a31}"}, {0, ""}, {0, ""}};
    SetAudioCdValues(players);
    InstallDefaults(true);
    ExpectInstalled(DefaultDir(), ExpectNtLayout(), true);
    RunRegisteredUninstall();
    ExpectUninstalled(DefaultDir(), ExpectNtLayout(), players);
}

TEST(Install, DesktopCleared)
{
    InstallDefaults(false);
    ExpectInstalled(DefaultDir(), ExpectNtLayout(), false);
}

TEST(Install, TypedDirectoriesWithAndWithoutBackslash)
{
    InstallTyped("D:\\Apps");
    ExpectInstalled("D:\\Apps\\", ExpectNtLayout(), true);
    {
        SetupProcess setup;
        AnswerQuestion(setup, IDYES);
        HWND select = WaitForSelect();
        ASSERT_NE(select, nullptr);
        TypeText(select, ID_PATH, "D:\\Other Apps\\");
        ConfirmAndExpectSuccess(select, true);
        EXPECT_EQ(setup.WaitForExit(), 0);
        ExpectInstalled("D:\\Other Apps\\", ExpectNtLayout(), true);
        ExpectPayloadFiles("D:\\Apps\\");  // the first copy is left as it was
    }
}

// Downloads are renamed as they are saved; Windows then knows setup only by its version strings.
TEST(Install, ARenamedCopyInAFolderWithBlanksInstallsAsSetupDoes)
{
    const char copy[] = "E:\\My Downloads\\tonepilot-win (1).exe";
    ASSERT_TRUE(CreateDirectoryA("E:\\My Downloads", NULL));
    ASSERT_TRUE(CopyFileA(kSetupExe, copy, TRUE));
    InstallDefaults(true, copy);
    ExpectInstalled(DefaultDir(), ExpectNtLayout(), true);
}

TEST(SecondRun, NoChangesNothingYesReinstallsIntoTheShortDirectory)
{
    InstallDefaults(true);
    std::string scriptBefore = FileBytes(DefaultDir() + "tnp.inf");
    std::string commandBefore = UninstallValue("UninstallString");
    {
        SetupProcess setup;
        AnswerQuestion(setup, IDNO);
        EXPECT_EQ(setup.WaitForExit(), kNothingChanged);
        EXPECT_EQ(FindWindowA("#32770", kSelectCaption), nullptr);
        EXPECT_EQ(FileBytes(DefaultDir() + "tnp.inf"), scriptBefore);
        EXPECT_EQ(UninstallValue("UninstallString"), commandBefore);
    }
    {
        // Damage one file so that the reinstall is seen to write it again.
        HANDLE file = CreateFileA((DefaultDir() + "tnp.cnt").c_str(), GENERIC_WRITE, 0, NULL,
                                  CREATE_ALWAYS, 0, NULL);
        ASSERT_NE(file, INVALID_HANDLE_VALUE);
        CloseHandle(file);
        SetupProcess setup;
        AnswerQuestion(setup, IDYES);
        HWND select = WaitForSelect();
        ASSERT_NE(select, nullptr);
        std::string shortDir = ShortPath(DefaultDir());
        EXPECT_EQ(ControlText(select, ID_PATH), shortDir.substr(0, shortDir.size() - 1));
        ConfirmAndExpectSuccess(select);
        EXPECT_EQ(setup.WaitForExit(), 0);
        ExpectInstalled(shortDir, ExpectNtLayout(), true);
    }
    {
        // The directory deleted by hand: the entry's short path names nothing any more.
        for (const PayloadFile &file : kPayloadFiles)
            DeleteFileA((DefaultDir() + file.name).c_str());
        DeleteFileA((DefaultDir() + "tnp.inf").c_str());
        // Once refused right after the last run had ended: given up to 5 s.
        for (int tries = 0; !RemoveDirectoryA(DefaultDir().c_str()) && tries < 50; ++tries)
            Sleep(100);
        ASSERT_FALSE(Exists(DefaultDir()));
        SetupProcess setup;
        AnswerQuestion(setup, IDYES);
        HWND select = WaitForSelect();
        ASSERT_NE(select, nullptr);
        EXPECT_EQ(ControlText(select, ID_PATH), DefaultOffer());
        ConfirmAndExpectSuccess(select);
        EXPECT_EQ(setup.WaitForExit(), 0);
        ExpectInstalled(DefaultDir(), ExpectNtLayout(), true);
    }
}

TEST(SecondRun, InCodePageAnEarlierFolderEndingInTrailByte5CIsProposedAndTakesTheReinstall)
{
    ASSERT_EQ(GetACP(), CaseCodePage());
    std::string name = CaseName(5);
    ASSERT_EQ(name.back(), '\\');
    std::string dir = "D:\\" + name + "\\";
    ASSERT_TRUE(CreateDirectoryA(dir.c_str(), NULL));
    WriteUninstallString(kCommandHead + dir + "tnp.inf");
    SetupProcess setup;
    AnswerQuestion(setup, IDYES);
    HWND select = WaitForSelect();
    ASSERT_NE(select, nullptr);
    EXPECT_EQ(ControlText(select, ID_PATH), "D:\\" + name);
    ConfirmAndExpectSuccess(select);
    EXPECT_EQ(setup.WaitForExit(), 0);
    ExpectInstalled(dir, ExpectNtLayout(), true);
    ExpectOnlyTheseFoldersOnD({name});
}

// Another player's values (quotes, blanks, an expandable icon), then the product's own while it
// is installed: a reinstall must keep what played audio CDs before the first install.
TEST(Uninstall, TheRegisteredCommandRemovesTheInstallation)
{
    AudioCd player = {{REG_SZ, "\"C:\\Program Files\\Windows Media Player\\wmplayer.exe\" /device:AudioCD \"%L\""},
                      {REG_EXPAND_SZ, "%SystemRoot%\\system32\\shell32.dll,-233"}, {REG_SZ, "C:\\x y\\a.exe -p %1 %2"}};
    SetAudioCdValues(player);
    // What a run killed while writing a file leaves beside the files, under the one name setup
    // writes to before a file is whole; this run must take it over.
    ASSERT_TRUE(CreateDirectoryA(DefaultDir().c_str(), NULL));
    HANDLE leftover = CreateFileA((DefaultDir() + "tnp_new4.tmp").c_str(), GENERIC_WRITE, 0, NULL,
                                  CREATE_ALWAYS, 0, NULL);
    ASSERT_NE(leftover, INVALID_HANDLE_VALUE);
    DWORD written = 0;
    WriteFile(leftover, "part of a file", 14, &written, NULL);
    CloseHandle(leftover);
    InstallDefaults(true);
    ExpectInstalled(DefaultDir(), ExpectNtLayout(), true);
    PrintLinkRows(FileBytes(DefaultDir() + "tnp.inf"));
    std::string dir = ShortPath(DefaultDir());
    // With a CD Player the uninstall gives audio CDs to it, whatever played them before.
    if (std::getenv("TNP_EXPECT_CDPLAYER") == nullptr)
        TakeAudioCdsOver();
    // Copied from a backup, every file came back read-only; the reinstall replaces them all.
    for (const char *name : {"TNPRead.txt", "tnp.hlp", "tnp.cnt", "tnp.exe", "tnp32hlp.dll", "tnp16hlp.dll", "tnp.inf"})
        ASSERT_TRUE(SetFileAttributesA((DefaultDir() + name).c_str(), FILE_ATTRIBUTE_READONLY)) << name;
    {
        // Reinstalled without the desktop link: the first run's is still there to be removed.
        SetupProcess setup;
        AnswerQuestion(setup, IDYES);
        HWND select = WaitForSelect();
        ASSERT_NE(select, nullptr);
        Click(select, ID_DESKTOP);
        Sleep(200);
        EXPECT_FALSE(IsChecked(select, ID_DESKTOP));
        // A scanner holds tnp.hlp, then tnp.inf, with read and delete sharing: each stops it, and stays.
        const std::string stops[2][2] = {{"File ", dir + "tnp.hlp"}, {"Uninstall script ", dir + "tnp.inf"}};
        for (const auto &stop : stops) {
            HANDLE held = CreateFileA(stop[1].c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_DELETE, NULL,
                                      OPEN_EXISTING, 0, NULL);
            Click(select, IDOK);
            HWND box = WaitForMessageBox();
            ASSERT_NE(box, nullptr);
            EXPECT_EQ(Answer(box, IDOK), stop[0] + stop[1] + " could not be written, RC=32");
            CloseHandle(held);
            EXPECT_TRUE(Exists(stop[1])) << stop[1] << " lost once let go";
        }
        ConfirmAndExpectSuccess(select);
        EXPECT_EQ(setup.WaitForExit(), 0);
        ExpectInstalled(dir, ExpectNtLayout(), true, player);
    }
    RunRegisteredUninstall();
    ExpectUninstalled(dir, ExpectNtLayout(), player);
    // On 64-bit Windows an entry may be left in either registry view; setup's own next run
    // must find it in neither.
    if (On64BitWindows())
        ExpectNothingInstalled();
}

// The uninstall link, opened as the shell opens it, on a machine where nothing played audio CDs
// before the product: afterwards nothing names a program that isn't there.
TEST(UninstallLink, OpenedByTheShellRemovesTheInstallation)
{
    SetAudioCdValues(AudioCd(3, {0, ""}));
    InstallDefaults(true);
    ExpectInstalled(DefaultDir(), ExpectNtLayout(), true);
    TakeAudioCdsOver();
    StartAsWindowsDoes("open " + ProgramGroup() + "Uninstall Tone Pilot.lnk");
    ExpectUninstalled(DefaultDir(), ExpectNtLayout());
    ExpectNothingInstalled();
}

TEST(Search, FindsTheFirstCopyOnAFixedDriveOnly)
{
    ExpectSearchOutcome();
}

TEST(Browse, CancelKeepsThePathAndAPickedFolderGetsTonePilotBelowIt)
{
    ASSERT_TRUE(CreateDirectoryA("D:\\Picked", NULL));
    SetupProcess setup;
    HWND select = StartFirstRun(setup);
    ASSERT_NE(select, nullptr);
    SetupProcess second;  // one setup at a time: the second brings the first to the front and ends
    ASSERT_TRUE(second.Start(kSetupExe));
    EXPECT_EQ(second.WaitForExit(), kAlreadyRunning);

    HWND browser = OpenBrowser(select);
    ASSERT_NE(browser, nullptr) << "no folder browser";
    EXPECT_EQ(ControlText(browser, ID_BROWSER_TITLE), "Select path to install into");
    Click(browser, IDCANCEL);
    ASSERT_TRUE(WaitGone(browser));
    EXPECT_EQ(ControlText(select, ID_PATH), DefaultOffer());

    // Wine names a drive "<label> (C:)".
    EXPECT_EQ(BrowseTo(select, {"My Computer", "(D:)", "Picked"}), "D:\\Picked\\Tone Pilot");
    EXPECT_EQ(BrowseTo(select, {"My Computer", "(C:)"}), "C:\\Tone Pilot");

    Click(select, IDCANCEL);
    EXPECT_EQ(setup.WaitForExit(), kNothingChanged);
    EXPECT_FALSE(UninstallEntryExists());
    for (const char *dir : {"c:\\Program Files\\Tone Pilot", "D:\\Picked\\Tone Pilot", "C:\\Tone Pilot"})
        EXPECT_FALSE(Exists(dir)) << dir;
}

TEST(Browse, InCodePageAPickedFolderEndingInTrailByte5CGetsTonePilotBelowIt)
{
    ASSERT_EQ(GetACP(), CaseCodePage());
    std::string name = CaseName(4);  // laid out by run_e2e.sh
    ASSERT_EQ(name.back(), '\\');
    ASSERT_EQ(FolderEntries("D:\\"), std::vector<std::string>{name});
    SetupProcess setup;
    HWND select = StartFirstRun(setup);
    ASSERT_NE(select, nullptr);
    // The shell names My Computer in the locale's language.
    EXPECT_EQ(BrowseTo(select, {MyComputerName(), "(D:)", name}), "D:\\" + name + "\\Tone Pilot");
    Click(select, IDCANCEL);
    EXPECT_EQ(setup.WaitForExit(), kNothingChanged);
    ExpectOnlyTheseFoldersOnD({name});
    EXPECT_EQ(FolderEntries("D:\\" + name + "\\"), std::vector<std::string>{});
}

// As a deployment system runs setup: nobody at the screen, the answer in the exit code and the log.
TEST(Silent, InstallsUpgradesAndRefusesWithNothingShown)
{
    EXPECT_EQ(RunSilently("/S"), 0);
    ExpectInstalled(DefaultDir(), ExpectNtLayout(), true);
    DeleteFileA((DefaultDir() + "tnp.cnt").c_str());  // so the upgrade is seen to write it again
    EXPECT_EQ(RunSilently("/s /LOG=upgrade.log"), 0);  // relative: beside where setup started
    ExpectInstalled(ShortPath(DefaultDir()), ExpectNtLayout(), true);
    EXPECT_TRUE(LogHolds("E:\\upgrade.log", "Install directory: " + ShortPath(DefaultOffer())));
    EXPECT_EQ(RunSilently("/S /D=D:\\My Apps\\Tone Pilot  "), 0);
    ExpectInstalled("D:\\My Apps\\Tone Pilot\\", ExpectNtLayout(), true);
    std::string command = UninstallValue("UninstallString");
    EXPECT_EQ(RunSilently("/LOG=\"E:\\my logs.txt\" /S /D=C:\\Tone \\Pilot"), kFailed);
    EXPECT_TRUE(LogHolds("E:\\my logs.txt", "Directory/folder C:\\Tone \\Pilot\\ isn't a valid path to install too."));
    EXPECT_TRUE(LogHolds("E:\\my logs.txt", "Exit code: 1603"));
    EXPECT_FALSE(Exists("C:\\Tone"));
    EXPECT_EQ(RunSilently("/S /Q"), kBadCommandLine);
    EXPECT_EQ(UninstallValue("UninstallString"), command) << "a refused run changed the entry";
    EXPECT_EQ(UninstallValue("QuietUninstallString"), command);
}
