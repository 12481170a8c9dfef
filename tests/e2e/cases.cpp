// End-to-end cases: the real setup.exe in a throw-away prefix, driven through its windows.
// run_e2e.sh prepares one prefix per case (drives, Windows version) and says which layout the
// version must produce in TNP_EXPECT_LAYOUT.
#include <gtest/gtest.h>
#include <cstdlib>
#include <regex>
#include "checks.h"
#include "ui.h"

namespace {

const char kSetupExe[] = "E:\\setup.exe";  // on a CD-ROM drive, which the search never lists
const char kSearchCaption[] = "Searching for release...";
const char kSelectCaption[] = "Tone Pilot Setup";
const char kDefaultDir[] = "c:\\Program Files\\Tone Pilot\\";
enum { ID_PATH = 1024, ID_DESKTOP = 1025, ID_SIZE = 1027, ID_SEARCH_DIR = 1029, ID_SEARCH_STATUS = 1031 };

bool ExpectNtLayout()
{
    const char *layout = std::getenv("TNP_EXPECT_LAYOUT");
    return layout == nullptr || std::string(layout) != "95";
}

std::string ProgramGroup(bool nt)
{
    return WindowsDirectory() + (nt ? "\\Profiles\\All Users" : "") + "\\Start Menu\\Programs\\Tone Pilot\\";
}

std::string DesktopLink(bool nt)
{
    return WindowsDirectory() + (nt ? "\\Profiles\\All Users" : "") + "\\Desktop\\Tone Pilot.lnk";
}

// Lets the search finish and closes it; its outcome texts are returned through the arguments.
void PassSearch(std::string *status, std::string *directory)
{
    HWND search = WaitForDialog(kSearchCaption);
    ASSERT_NE(search, nullptr) << "SEARCH never showed";
    DWORD start = GetTickCount();
    while (!IsEnabled(search, IDCANCEL) && GetTickCount() - start < 120000)
        Sleep(50);
    ASSERT_TRUE(IsEnabled(search, IDCANCEL)) << "the scan did not end";
    *status = ControlText(search, ID_SEARCH_STATUS);
    *directory = ControlText(search, ID_SEARCH_DIR);
    Click(search, IDCANCEL);
    ASSERT_TRUE(WaitGone(search));
}

HWND WaitForSelect()
{
    return WaitForDialog(kSelectCaption);
}

// Presses OK and expects "Successfully installed." and a closed dialog.
void ConfirmAndExpectSuccess(HWND select)
{
    Click(select, IDOK);
    HWND box = WaitForMessageBox();
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(Answer(box, IDOK), "Successfully installed.");
    EXPECT_TRUE(WaitGone(select));
}

void ExpectPayloadFiles(const std::string &dir)
{
    for (const PayloadFile &file : kPayloadFiles) {
        std::string bytes = FileBytes(dir + file.name);
        EXPECT_EQ(bytes.size(), file.size) << dir << file.name;
        EXPECT_TRUE(bytes == FileBytes(ExpectedPayloadDir() + file.name)) << file.name << " differs";
    }
}

void ExpectInstalled(const std::string &dir, bool nt, bool desktop)
{
    ExpectPayloadFiles(dir);
    EXPECT_EQ(FileBytes(dir + "tnp.inf"), ExpectedScript(nt, desktop, WindowsDirectory()));

    std::string shortDir = ShortPath(dir);
    ASSERT_FALSE(shortDir.empty());
    std::string arguments = "setupapi.dll,InstallHinfSection Uninstall_TNP 128 " + shortDir + "tnp.inf";
    EXPECT_EQ(UninstallValue("DisplayName"), "Tone Pilot");
    EXPECT_EQ(UninstallValueSize("DisplayName"), 11u);
    EXPECT_EQ(UninstallValue("UninstallString"), "rundll32.exe " + arguments);
    EXPECT_EQ(UninstallValueSize("UninstallString"), arguments.size() + 14);

    std::string group = ProgramGroup(nt);
    const char *links[3][2] = {{"ReadMe File.lnk", "TNPRead.txt"}, {"Help Contents.lnk", "tnp.hlp"},
                               {"Tone Pilot.lnk", "tnp.exe"}};
    for (auto &link : links) {
        LinkInfo info = ReadLink(group + link[0]);
        EXPECT_TRUE(info.loaded) << group << link[0];
        EXPECT_EQ(info.target, dir + link[1]);
        EXPECT_EQ(info.arguments, "") << "product links take no arguments";
    }
    LinkInfo uninstall = ReadLink(group + "Uninstall Tone Pilot.lnk");
    EXPECT_TRUE(uninstall.loaded);
    EXPECT_EQ(uninstall.target, WindowsDirectory() + (nt ? "\\system32" : "") + "\\rundll32.exe");
    EXPECT_EQ(uninstall.arguments, arguments);
    LinkInfo desktopLink = ReadLink(DesktopLink(nt));
    EXPECT_EQ(desktopLink.loaded, desktop);
    if (desktop)
        EXPECT_EQ(desktopLink.target, group.substr(0, group.size() - 1));
}

// A first run on a machine without an earlier copy, up to an open SELECT.
HWND StartFirstRun(SetupProcess &setup)
{
    EXPECT_TRUE(setup.Start(kSetupExe));
    std::string status, directory;
    PassSearch(&status, &directory);
    EXPECT_EQ(status, "Tone Pilot not found.");
    EXPECT_EQ(directory, "");
    HWND select = WaitForSelect();
    EXPECT_NE(select, nullptr);
    return select;
}

// A later run: the question is shown and answered.
void AnswerQuestion(SetupProcess &setup, int answer)
{
    ASSERT_TRUE(setup.Start(kSetupExe));
    HWND box = WaitForMessageBox();
    ASSERT_NE(box, nullptr) << "no question on a machine with an uninstall entry";
    EXPECT_EQ(Answer(box, answer), "Tone Pilot already installed, do you want to install anyway?");
    EXPECT_EQ(FindWindowA("#32770", kSearchCaption), nullptr) << "no search after the question";
}

void InstallDefaults(bool desktop)
{
    SetupProcess setup;
    HWND select = StartFirstRun(setup);
    ASSERT_NE(select, nullptr);
    EXPECT_EQ(ControlText(select, ID_SIZE), "624");
    EXPECT_EQ(ControlText(select, ID_PATH), "c:\\Program Files\\Tone Pilot");
    EXPECT_TRUE(IsChecked(select, ID_DESKTOP));
    if (!desktop) {
        Click(select, ID_DESKTOP);
        Sleep(200);
        EXPECT_FALSE(IsChecked(select, ID_DESKTOP));
    }
    ConfirmAndExpectSuccess(select);
    EXPECT_EQ(setup.WaitForExit(), 0);
}

void RunRegisteredUninstall()
{
    std::string command = UninstallValue("UninstallString");
    ASSERT_NE(command, "<missing>");
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info;
    ASSERT_TRUE(CreateProcessA(NULL, &command[0], NULL, NULL, FALSE, 0, NULL, NULL, &startup, &info));
    ASSERT_EQ(WaitForSingleObject(info.hProcess, 60000), WAIT_OBJECT_0);
    CloseHandle(info.hProcess);
    CloseHandle(info.hThread);
}

void ExpectUninstalled(const std::string &dir, bool nt)
{
    EXPECT_FALSE(UninstallEntryExists());
    for (const PayloadFile &file : kPayloadFiles)
        EXPECT_FALSE(Exists(dir + file.name)) << file.name << " left behind";
    EXPECT_FALSE(Exists(dir + "tnp.inf"));
    std::string tools = WindowsDirectory() + (nt ? "\\system32" : "");
    EXPECT_EQ(HkcrDefault("AudioCD\\shell\\play\\command"), tools + "\\cdplayer.exe /Play %1");
    // The script's unquoted ",40" is a further field to the INF engine, as the INF format has
    // it, so the icon index never reaches the registry; the script's bytes are kept all the same.
    EXPECT_EQ(HkcrDefault("AudioCD\\DefaultIcon"),
              WindowsDirectory() + (nt ? "\\system32" : "\\system") + "\\shell32.dll");
    EXPECT_EQ(HkcrDefault("cdafile\\shell\\play\\command"), tools + "\\cdplayer.exe -Play %1");
    // Wine invents its own 8.3 names, so the script's fixed startm~1\programs\tonepi~1 paths
    // lead nowhere there and the links stay; on Windows they are the real short names.
}

}  // namespace

TEST(Install, DefaultsWithDesktop)
{
    InstallDefaults(true);
    ExpectInstalled(kDefaultDir, ExpectNtLayout(), true);
    char current[MAX_PATH];
    GetCurrentDirectoryA(sizeof current, current);  // ours, not setup's: nothing to check here
}

TEST(Install, DesktopCleared)
{
    InstallDefaults(false);
    ExpectInstalled(kDefaultDir, ExpectNtLayout(), false);
}

TEST(Install, TypedDirectoriesWithAndWithoutBackslash)
{
    {
        SetupProcess setup;
        HWND select = StartFirstRun(setup);
        ASSERT_NE(select, nullptr);
        TypeText(select, ID_PATH, "D:\\Apps");
        ConfirmAndExpectSuccess(select);
        EXPECT_EQ(setup.WaitForExit(), 0);
        ExpectInstalled("D:\\Apps\\", ExpectNtLayout(), true);
    }
    {
        SetupProcess setup;
        AnswerQuestion(setup, IDYES);
        HWND select = WaitForSelect();
        ASSERT_NE(select, nullptr);
        TypeText(select, ID_PATH, "D:\\Other Apps\\");
        ConfirmAndExpectSuccess(select);
        EXPECT_EQ(setup.WaitForExit(), 0);
        ExpectInstalled("D:\\Other Apps\\", ExpectNtLayout(), true);
        ExpectPayloadFiles("D:\\Apps\\");  // the first copy is left as it was
    }
}

TEST(SecondRun, NoChangesNothingYesReinstallsIntoTheShortDirectory)
{
    InstallDefaults(true);
    std::string scriptBefore = FileBytes(std::string(kDefaultDir) + "tnp.inf");
    std::string commandBefore = UninstallValue("UninstallString");
    {
        SetupProcess setup;
        AnswerQuestion(setup, IDNO);
        EXPECT_EQ(setup.WaitForExit(), 0);
        EXPECT_EQ(FindWindowA("#32770", kSelectCaption), nullptr);
        EXPECT_EQ(FileBytes(std::string(kDefaultDir) + "tnp.inf"), scriptBefore);
        EXPECT_EQ(UninstallValue("UninstallString"), commandBefore);
    }
    {
        // Damage one file so that the reinstall is seen to write it again.
        HANDLE file = CreateFileA((std::string(kDefaultDir) + "tnp.cnt").c_str(), GENERIC_WRITE, 0, NULL,
                                  CREATE_ALWAYS, 0, NULL);
        ASSERT_NE(file, INVALID_HANDLE_VALUE);
        CloseHandle(file);
        SetupProcess setup;
        AnswerQuestion(setup, IDYES);
        HWND select = WaitForSelect();
        ASSERT_NE(select, nullptr);
        std::string shortDir = ShortPath(kDefaultDir);
        EXPECT_EQ(ControlText(select, ID_PATH), shortDir.substr(0, shortDir.size() - 1));
        ConfirmAndExpectSuccess(select);
        EXPECT_EQ(setup.WaitForExit(), 0);
        ExpectInstalled(shortDir, ExpectNtLayout(), true);
    }
}

TEST(BadInputInstall, UncreatableDirectoryKeepsTheDialogForAnotherTry)
{
    SetupProcess setup;
    HWND select = StartFirstRun(setup);
    ASSERT_NE(select, nullptr);
    TypeText(select, ID_PATH, "Q:\\new");
    Click(select, IDOK);
    HWND box = WaitForMessageBox();
    ASSERT_NE(box, nullptr);
    std::string text = Answer(box, IDOK);
    EXPECT_TRUE(std::regex_match(text, std::regex(R"(Directory/folder Q:\\new\\ could not be created, RC=[1-9][0-9]*)")))
        << text;
    EXPECT_TRUE(IsWindowVisible(select)) << "the dialog stays open";
    EXPECT_FALSE(UninstallEntryExists());

    TypeText(select, ID_PATH, "C:\\Fixed\\Path");
    ConfirmAndExpectSuccess(select);
    EXPECT_EQ(setup.WaitForExit(), 0);
    ExpectInstalled("C:\\Fixed\\Path\\", ExpectNtLayout(), true);
}

TEST(BadInputInstall, UnwritablePayloadFileStopsAndCancelRemovesNothing)
{
    // A directory in the way of tnp.hlp: as root Wine writes even read-only files.
    CreateDirectoryA("C:\\Blocked", NULL);
    CreateDirectoryA("C:\\Blocked\\tnp.hlp", NULL);
    SetupProcess setup;
    HWND select = StartFirstRun(setup);
    ASSERT_NE(select, nullptr);
    TypeText(select, ID_PATH, "C:\\Blocked");
    Click(select, IDOK);
    HWND box = WaitForMessageBox();
    ASSERT_NE(box, nullptr);
    std::string text = Answer(box, IDOK);
    EXPECT_TRUE(std::regex_match(text, std::regex(R"(File C:\\Blocked\\tnp\.hlp could not be written, RC=[1-9][0-9]*)")))
        << text;
    EXPECT_TRUE(IsWindowVisible(select));
    EXPECT_EQ(FileBytes("C:\\Blocked\\TNPRead.txt").size(), 2320u) << "the first file stays";
    EXPECT_FALSE(Exists("C:\\Blocked\\tnp.cnt")) << "nothing after the failed row";

    Click(select, IDCANCEL);
    EXPECT_TRUE(WaitGone(select));
    EXPECT_EQ(setup.WaitForExit(), 0);
    EXPECT_EQ(FileBytes("C:\\Blocked\\TNPRead.txt").size(), 2320u) << "Cancel removes nothing";
    EXPECT_FALSE(Exists("C:\\Blocked\\tnp.inf"));
    EXPECT_FALSE(UninstallEntryExists());
}

TEST(Uninstall, TheRegisteredCommandRemovesTheInstallation)
{
    InstallDefaults(true);
    ExpectInstalled(kDefaultDir, ExpectNtLayout(), true);
    RunRegisteredUninstall();
    ExpectUninstalled(kDefaultDir, ExpectNtLayout());
}

// The search over the drives run_e2e.sh laid out for the case; TNP_EXPECT_FOUND holds the
// directory the search must report, or nothing when there is no copy to find.
TEST(Search, FindsTheFirstCopyOnAFixedDriveOnly)
{
    const char *expected = std::getenv("TNP_EXPECT_FOUND");
    std::string found = expected == nullptr ? "" : expected;
    SetupProcess setup;
    ASSERT_TRUE(setup.Start(kSetupExe));
    HWND search = WaitForDialog(kSearchCaption);
    ASSERT_NE(search, nullptr);
    bool disabledWhileScanning = !IsEnabled(search, IDCANCEL);
    if (std::getenv("TNP_EXPECT_LONG_SCAN") != nullptr) {
        EXPECT_TRUE(disabledWhileScanning) << "Continue must wait for the scan";
    }
    std::string status, directory;
    PassSearch(&status, &directory);
    EXPECT_EQ(status, found.empty() ? "Tone Pilot not found." : "Tone Pilot found in the directory below.");
    EXPECT_EQ(directory, found);

    HWND select = WaitForSelect();
    ASSERT_NE(select, nullptr);
    EXPECT_EQ(ControlText(select, ID_PATH), found.empty() ? "c:\\Program Files\\Tone Pilot" : found);
    if (found.empty() || std::getenv("TNP_SEARCH_INSTALL") == nullptr) {
        Click(select, IDCANCEL);
        EXPECT_EQ(setup.WaitForExit(), 0);
        return;
    }
    ConfirmAndExpectSuccess(select);
    EXPECT_EQ(setup.WaitForExit(), 0);
    ExpectInstalled(found, ExpectNtLayout(), true);
}
