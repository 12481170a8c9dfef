// The steps a user takes through setup's windows, shared by the end-to-end cases.
#include "flows.h"
#include <gtest/gtest.h>
#include <cstdlib>
#include "checks.h"

const char kSetupExe[] = "E:\\setup.exe";  // on a CD-ROM drive, which the search never lists
const char kSearchCaption[] = "Searching for release...";
const char kSelectCaption[] = "Tone Pilot Setup";

const char kCommandHead[] = "rundll32.exe setupapi.dll,InstallHinfSection Uninstall_TNP 128 ";

bool ExpectNtLayout()
{
    const char *layout = std::getenv("TNP_EXPECT_LAYOUT");
    return layout == nullptr || std::string(layout) != "95";
}

// The uninstall link asks for elevation from Vista on: on the Windows the machine runs, whatever
// earlier one a compatibility layer makes it report, as Wine's version setting does. Vista's
// kernel32 exports CreateSymbolicLinkA, and no earlier one does.
static bool ExpectElevatingUninstallLink()
{
    return GetProcAddress(GetModuleHandleA("kernel32.dll"), "CreateSymbolicLinkA") != NULL;
}

unsigned CaseCodePage()
{
    const char *codePage = std::getenv("TNP_CODE_PAGE");
    return codePage == nullptr ? 0 : (unsigned)std::strtoul(codePage, nullptr, 10);
}

std::string CaseName(size_t index)
{
    const char *names = std::getenv("TNP_CODE_PAGE_NAMES");
    std::vector<std::string> decoded(1);
    for (const char *hex = names != nullptr ? names : ""; hex[0] != '\0'; ) {
        if (hex[0] == ' ') {
            decoded.emplace_back();
            ++hex;
            continue;
        }
        char pair[3] = {hex[0], hex[1], '\0'};
        decoded.back() += (char)std::strtoul(pair, nullptr, 16);
        hex += hex[1] != '\0' ? 2 : 1;
    }
    return index < decoded.size() ? decoded[index] : "";
}

const char *const kLinkNames[4] = {"ReadMe File.lnk", "Help Contents.lnk", "Tone Pilot.lnk", "Uninstall Tone Pilot.lnk"};

static std::string Expected(const char *name)
{
    const char *value = std::getenv(name);
    EXPECT_NE(value, nullptr) << name << " not set by run_e2e.sh";
    return value == nullptr ? "" : value;
}

std::string DefaultOffer()
{
    return Expected("TNP_EXPECT_PROGRAM_FILES") + "\\Tone Pilot";
}

std::string DefaultDir()
{
    return DefaultOffer() + "\\";
}

std::string ProgramGroup()
{
    return Expected("TNP_EXPECT_PROGRAMS") + "\\Tone Pilot\\";
}

std::string DesktopLink()
{
    return Expected("TNP_EXPECT_DESKTOP") + "\\Tone Pilot.lnk";
}

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

HWND OpenBrowser(HWND select)
{
    Click(select, ID_BROWSE);
    return WaitForOwnedDialog(select);
}

std::string BrowseTo(HWND select, const std::vector<std::string> &treeItems)
{
    std::string before = ControlText(select, ID_PATH);
    HWND browser = OpenBrowser(select);
    EXPECT_NE(browser, nullptr) << "no folder browser";
    EXPECT_TRUE(SelectTreeItem(GetDlgItem(browser, ID_BROWSER_TREE), treeItems)) << treeItems.back() << " not in the tree";
    Click(browser, IDOK);
    EXPECT_TRUE(WaitGone(browser));
    // SELECT puts the proposal in place after the browser has gone, within the same handler.
    DWORD start = GetTickCount();
    while (ControlText(select, ID_PATH) == before && GetTickCount() - start < 30000)
        Sleep(25);
    return ControlText(select, ID_PATH);
}

void ConfirmAndExpectSuccess(HWND select, bool pressAgain)
{
    Click(select, IDOK);
    HWND box = WaitForMessageBox();
    ASSERT_NE(box, nullptr);
    if (pressAgain)
        Click(select, IDOK);  // SELECT takes it before the box's OK, both being posted to its thread
    EXPECT_EQ(Answer(box, IDOK), "Successfully installed.");
    if (pressAgain)
        EXPECT_EQ(WaitForMessageBox(2000), nullptr) << "a second install ran inside the first";
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

void ExpectInstalled(const std::string &dir, bool nt, bool desktop, const AudioCd &players)
{
    ExpectPayloadFiles(dir);
    EXPECT_EQ(FileBytes(dir + "tnp.inf"),
              ExpectedScript(nt, desktop, WindowsDirectory(), ProgramGroup(), DesktopLink(), players));

    std::string shortDir = ShortPath(dir);
    ASSERT_FALSE(shortDir.empty());
    std::string arguments = "setupapi.dll,InstallHinfSection Uninstall_TNP 128 " + shortDir + "tnp.inf";
    // Under WoW64 the 32-bit rundll32.exe by its path, which 64-bit Windows would not start by name.
    std::string runner = Wow64Folder().empty() ? "rundll32.exe" : Wow64Folder() + "\\rundll32.exe";
    EXPECT_EQ(UninstallValue("DisplayName"), "Tone Pilot");
    EXPECT_EQ(UninstallValueSize("DisplayName"), 11u);
    EXPECT_EQ(UninstallValue("UninstallString"), runner + " " + arguments);
    EXPECT_EQ(UninstallValueSize("UninstallString"), runner.size() + arguments.size() + 2);
    EXPECT_EQ(UninstallValue("DisplayIcon"), dir + "tnp.exe");
    EXPECT_EQ(UninstallValue("DisplayVersion"), ProductVersionOf(kSetupExe));
    EXPECT_EQ(UninstallValue("InstallLocation"), dir);
    EXPECT_EQ(UninstallNumber("EstimatedSize"), 624u);
    EXPECT_EQ(UninstallNumber("NoModify"), 1u);
    EXPECT_EQ(UninstallNumber("NoRepair"), 1u);

    std::string group = ProgramGroup();
    const char *links[3][2] = {{"ReadMe File.lnk", "TNPRead.txt"}, {"Help Contents.lnk", "tnp.hlp"},
                               {"Tone Pilot.lnk", "tnp.exe"}};
    for (auto &link : links) {
        LinkInfo info = ReadLink(group + link[0]);
        EXPECT_TRUE(info.loaded) << group << link[0];
        EXPECT_EQ(info.target, dir + link[1]);
        EXPECT_EQ(info.arguments, "") << "product links take no arguments";
        EXPECT_FALSE(info.runAsAdministrator) << link[0];
    }
    LinkInfo uninstall = ReadLink(group + "Uninstall Tone Pilot.lnk");
    EXPECT_TRUE(uninstall.loaded);
    EXPECT_EQ(uninstall.target, Wow64Folder().empty() ? WindowsDirectory() + (nt ? "\\system32" : "") + "\\rundll32.exe"
                                                      : runner);
    EXPECT_EQ(uninstall.arguments, arguments);
    EXPECT_EQ(uninstall.runAsAdministrator, ExpectElevatingUninstallLink());
    LinkInfo desktopLink = ReadLink(DesktopLink());
    EXPECT_EQ(desktopLink.loaded, desktop);
    EXPECT_FALSE(desktopLink.runAsAdministrator);
    if (desktop)
        EXPECT_EQ(desktopLink.target, group.substr(0, group.size() - 1));

    std::vector<std::string> made;
    for (const char *name : kLinkNames)
        made.push_back(group + name);
    if (desktop)
        made.push_back(DesktopLink());
    EXPECT_EQ(FilesNamed("C:\\", kLinkNames), SortedIgnoringCase(made)) << "links only in the shell's folders";
}

HWND StartFirstRun(SetupProcess &setup, const char *exe)
{
    EXPECT_TRUE(setup.Start(exe));
    std::string status, directory;
    PassSearch(&status, &directory);
    EXPECT_EQ(status, "Tone Pilot not found.");
    EXPECT_EQ(directory, "");
    HWND select = WaitForSelect();
    EXPECT_NE(select, nullptr);
    return select;
}

void AnswerQuestion(SetupProcess &setup, int answer)
{
    ASSERT_TRUE(setup.Start(kSetupExe));
    HWND box = WaitForMessageBox();
    ASSERT_NE(box, nullptr) << "no question on a machine with an uninstall entry";
    EXPECT_EQ(Answer(box, answer), "Tone Pilot already installed, do you want to install anyway?");
    EXPECT_EQ(FindWindowA("#32770", kSearchCaption), nullptr) << "no search after the question";
}

void InstallDefaults(bool desktop, const char *exe, int exitCode)
{
    SetupProcess setup;
    HWND select = StartFirstRun(setup, exe);
    ASSERT_NE(select, nullptr);
    EXPECT_EQ(ControlText(select, ID_SIZE), "624");
    EXPECT_EQ(ControlText(select, ID_PATH), DefaultOffer());
    EXPECT_TRUE(IsChecked(select, ID_DESKTOP));
    if (!desktop) {
        Click(select, ID_DESKTOP);
        Sleep(200);
        EXPECT_FALSE(IsChecked(select, ID_DESKTOP));
    }
    ConfirmAndExpectSuccess(select);
    EXPECT_EQ(setup.WaitForExit(), exitCode);
}

void InstallTyped(const std::string &typed)
{
    SetupProcess setup;
    HWND select = StartFirstRun(setup);
    ASSERT_NE(select, nullptr);
    TypeText(select, ID_PATH, typed);
    ConfirmAndExpectSuccess(select);
    EXPECT_EQ(setup.WaitForExit(), 0);
}

static DWORD g_silentProcess;
static std::string g_windowSeen;

static BOOL CALLBACK NoteVisibleWindow(HWND window, LPARAM)
{
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    char title[256] = "";
    if (process == g_silentProcess && IsWindowVisible(window) && GetWindowTextA(window, title, sizeof title) >= 0)
        g_windowSeen = std::string("\"") + title + "\" " + ControlText(window, 0xFFFF);
    return TRUE;
}

int RunSilently(const std::string &arguments)
{
    SetupProcess setup;
    EXPECT_TRUE(setup.Start(kSetupExe, arguments));
    g_silentProcess = setup.info.dwProcessId;
    g_windowSeen.clear();
    for (; setup.Running(); Sleep(10))
        EnumWindows(NoteVisibleWindow, 0);
    EXPECT_EQ(g_windowSeen, "") << "a silent run showed a window";
    return setup.WaitForExit();
}

bool LogHolds(const std::string &log, const std::string &line)
{
    return ("\n" + FileBytes(log)).find("\n" + line + "\r\n") != std::string::npos;
}

void ExpectSearchOutcome()
{
    const char *expected = std::getenv("TNP_EXPECT_FOUND");
    std::string found = expected == nullptr ? "" : expected;
    SetupProcess setup;
    ASSERT_TRUE(setup.Start(kSetupExe));
    HWND search = WaitForDialog(kSearchCaption);
    ASSERT_NE(search, nullptr);
    bool disabledWhileScanning = !IsEnabled(search, IDCANCEL);
    bool longScan = std::getenv("TNP_EXPECT_LONG_SCAN") != nullptr;
    int asked = 0;
    if (longScan) {
        EXPECT_TRUE(disabledWhileScanning) << "Continue must wait for the scan";
        // Windows 2000 and later ghost a window that leaves its queue alone for 5 s; from 6 s on,
        // every second, the system must still find SEARCH answering while Continue waits.
        DWORD start = GetTickCount();
        for (; !IsEnabled(search, IDCANCEL); Sleep(1000)) {
            if (GetTickCount() - start < 6000)
                continue;
            DWORD_PTR answer = 0;
            EXPECT_FALSE(IsHungAppWindow(search)) << "hung " << (GetTickCount() - start) / 1000 << " s into the scan";
            EXPECT_NE(SendMessageTimeoutA(search, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 2000, &answer), 0);
            ++asked;
        }
    }
    std::string status, directory;
    PassSearch(&status, &directory);
    EXPECT_EQ(status, found.empty() ? "Tone Pilot not found." : "Tone Pilot found in the directory below.");
    EXPECT_EQ(directory, found);

    HWND select = WaitForSelect();
    ASSERT_NE(select, nullptr);
    EXPECT_EQ(ControlText(select, ID_PATH), found.empty() ? DefaultOffer() : found);
    if (found.empty() || std::getenv("TNP_SEARCH_INSTALL") == nullptr) {
        Click(select, IDCANCEL);
        EXPECT_EQ(setup.WaitForExit(), kNothingChanged);
        if (longScan && asked < 3)
            GTEST_SKIP() << "the scan took under 9 s here: too short to see the system judge it";
        return;
    }
    if (const char *refused = std::getenv("TNP_EXPECT_REFUSED")) {  // the folder others may change
        Click(select, IDOK);
        HWND box = WaitForMessageBox();
        ASSERT_NE(box, nullptr);
        EXPECT_EQ(Answer(box, IDOK), "Directory/folder " + std::string(refused)
                                         + " can be changed by other users of this computer, choose another one.");
        EXPECT_EQ(FolderEntries(found), std::vector<std::string>{"tnp.exe"}) << "nothing is written";
        TypeText(select, ID_PATH, DefaultOffer());
        found = DefaultDir();
    }
    ConfirmAndExpectSuccess(select);
    EXPECT_EQ(setup.WaitForExit(), 0);
    ExpectInstalled(found, ExpectNtLayout(), true);
}

bool On64BitWindows()
{
    return sizeof(void *) == 8 || !Wow64Folder().empty();
}

void StartAsWindowsDoes(const std::string &what)
{
    SetupProcess launcher;
    ASSERT_TRUE(launcher.Start(On64BitWindows() ? "E:\\launch64.exe" : "E:\\launch.exe", what));
    EXPECT_EQ(launcher.WaitForExit(180000), 0) << what;
}

void ExpectNothingInstalled()
{
    SetupProcess setup;
    HWND select = StartFirstRun(setup);
    ASSERT_NE(select, nullptr);
    EXPECT_EQ(ControlText(select, ID_PATH), DefaultOffer());
    Click(select, IDCANCEL);
    EXPECT_EQ(setup.WaitForExit(), kNothingChanged);
}

void ForgetEarlierInstallation()
{
    RegDeleteKeyA(HKEY_LOCAL_MACHINE, kUninstallKey);
}

// An uninstall entry as another program, or damage, might have left it: `data` of `size` bytes
// of `type` as UninstallString, or no such value at all when `data` is null.
void WriteUninstallEntry(DWORD type, const void *data, DWORD size)
{
    ForgetEarlierInstallation();
    HKEY key;
    ASSERT_EQ(RegCreateKeyExA(HKEY_LOCAL_MACHINE, kUninstallKey, 0, NULL, 0, KEY_ALL_ACCESS, NULL, &key, NULL),
              ERROR_SUCCESS);
    RegSetValueExA(key, "DisplayName", 0, REG_SZ, (const BYTE *)"Tone Pilot", 11);
    if (data != nullptr)
        EXPECT_EQ(RegSetValueExA(key, "UninstallString", 0, type, (const BYTE *)data, size), ERROR_SUCCESS);
    RegCloseKey(key);
}

void WriteUninstallString(const std::string &text)
{
    WriteUninstallEntry(REG_SZ, text.c_str(), (DWORD)text.size() + 1);
}
