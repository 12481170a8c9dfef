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
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info;
    ASSERT_TRUE(CreateProcessA(NULL, &command[0], NULL, NULL, FALSE, 0, NULL, NULL, &startup, &info));
    ASSERT_EQ(WaitForSingleObject(info.hProcess, 60000), WAIT_OBJECT_0);
    CloseHandle(info.hProcess);
    CloseHandle(info.hThread);
}

// The names in a folder, without "." and "..".
std::vector<std::string> FolderEntries(const std::string &dir)
{
    std::vector<std::string> names;
    WIN32_FIND_DATAA entry;
    HANDLE find = FindFirstFileA((dir + "*").c_str(), &entry);
    if (find == INVALID_HANDLE_VALUE)
        return names;
    do
        if (std::string(entry.cFileName) != "." && std::string(entry.cFileName) != "..")
            names.push_back(entry.cFileName);
    while (FindNextFileA(find, &entry));
    FindClose(find);
    return names;
}

void ExpectUninstalled(const std::string &dir, bool nt)
{
    EXPECT_FALSE(UninstallEntryExists());
    for (const PayloadFile &file : kPayloadFiles)
        EXPECT_FALSE(Exists(dir + file.name)) << file.name << " left behind";
    EXPECT_FALSE(Exists(dir + "tnp.inf"));
    EXPECT_EQ(FolderEntries(dir), std::vector<std::string>{}) << "something of ours is left in " << dir;
    std::string tools = WindowsDirectory() + (nt ? "\\system32" : "");
    EXPECT_EQ(HkcrDefault("AudioCD\\shell\\play\\command"), tools + "\\cdplayer.exe /Play %1");
    // The script's unquoted ",40" is a further field to the INF engine, as the INF format has
    // it, so the icon index never reaches the registry; the script's bytes are kept all the same.
    EXPECT_EQ(HkcrDefault("AudioCD\\DefaultIcon"),
              WindowsDirectory() + (nt ? "\\system32" : "\\system") + "\\shell32.dll");
    EXPECT_EQ(HkcrDefault("cdafile\\shell\\play\\command"), tools + "\\cdplayer.exe -Play %1");
    EXPECT_EQ(FilesNamed("C:\\", kLinkNames), std::vector<std::string>()) << "links left behind";
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

}  // namespace

TEST(Install, DefaultsWithDesktop)
{
    InstallDefaults(true);
    ExpectInstalled(kDefaultDir, ExpectNtLayout(), true);
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

TEST(Uninstall, TheRegisteredCommandRemovesTheInstallation)
{
    // What a run killed while writing a file leaves beside the files, under the one name setup
    // writes to before a file is whole; this run must take it over.
    ASSERT_TRUE(CreateDirectoryA(kDefaultDir, NULL));
    HANDLE leftover = CreateFileA((std::string(kDefaultDir) + "tnp_new.tmp").c_str(), GENERIC_WRITE, 0, NULL,
                                  CREATE_ALWAYS, 0, NULL);
    ASSERT_NE(leftover, INVALID_HANDLE_VALUE);
    DWORD written = 0;
    WriteFile(leftover, "part of a file", 14, &written, NULL);
    CloseHandle(leftover);
    InstallDefaults(true);
    ExpectInstalled(kDefaultDir, ExpectNtLayout(), true);
    PrintLinkRows(FileBytes(std::string(kDefaultDir) + "tnp.inf"));
    RunRegisteredUninstall();
    ExpectUninstalled(kDefaultDir, ExpectNtLayout());
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

    HWND browser = OpenBrowser(select);
    ASSERT_NE(browser, nullptr) << "no folder browser";
    EXPECT_EQ(ControlText(browser, ID_BROWSER_TITLE), "Select path to install into");
    Click(browser, IDCANCEL);
    ASSERT_TRUE(WaitGone(browser));
    EXPECT_EQ(ControlText(select, ID_PATH), kDefaultOffer);

    // Wine names a drive "<label> (C:)".
    EXPECT_EQ(BrowseTo(select, {"My Computer", "(D:)", "Picked"}), "D:\\Picked\\Tone Pilot");
    EXPECT_EQ(BrowseTo(select, {"My Computer", "(C:)"}), "C:\\Tone Pilot");

    Click(select, IDCANCEL);
    EXPECT_EQ(setup.WaitForExit(), 0);
    EXPECT_FALSE(UninstallEntryExists());
    for (const char *dir : {"c:\\Program Files\\Tone Pilot", "D:\\Picked\\Tone Pilot", "C:\\Tone Pilot"})
        EXPECT_FALSE(Exists(dir)) << dir;
}
