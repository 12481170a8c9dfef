// Hostile input and faults, each through the real setup.exe: the user is told what went wrong,
// the dialog stays for another try, and nothing is reported or registered as installed that
// wasn't. A failure that says "false success" is one where setup claimed success on bad input.
#include <gtest/gtest.h>
#include <cstdlib>
#include <regex>
#include "checks.h"
#include "flows.h"

namespace {

const char kInstalled[] = "Successfully installed.";

std::string Damaged(const char *fileName)
{
    return std::string("Setup data for ") + fileName + " is damaged, get a new copy of setup and try again.";
}

std::string Invalid(const std::string &path)
{
    return "Directory/folder " + path + " isn't a valid path to install too.";
}

// Presses OK on SELECT with bad input and returns the message shown, after checking that it
// was no success and that the dialog is still there with nothing registered.
std::string ConfirmAndReadRefusal(HWND select)
{
    Click(select, IDOK);
    HWND box = WaitForMessageBox();
    EXPECT_NE(box, nullptr) << "no message for bad input";
    if (box == nullptr)
        return "";
    std::string text = Answer(box, IDOK);
    EXPECT_NE(text, kInstalled) << "false success";
    EXPECT_FALSE(UninstallEntryExists()) << "false success: an uninstall entry was registered";
    Sleep(200);
    EXPECT_TRUE(IsWindowVisible(select)) << "the dialog stays for another try";
    return text;
}

void ExpectMatch(const std::string &text, const char *pattern)
{
    EXPECT_TRUE(std::regex_match(text, std::regex(pattern))) << text;
}

void WriteFileBytes(const char *path, const std::string &bytes)
{
    HANDLE file = CreateFileA(path, GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, 0, NULL);
    ASSERT_NE(file, INVALID_HANDLE_VALUE) << path;
    DWORD written = 0;
    WriteFile(file, bytes.data(), (DWORD)bytes.size(), &written, NULL);
    CloseHandle(file);
    ASSERT_EQ(written, bytes.size());
}

// Runs setup on the machine as it is: the question must come, Yes leads to SELECT, and the
// directory SELECT offers is returned. Setup is then cancelled and must leave the entry alone.
std::string DirectoryOfferedAfterYes()
{
    std::string before = UninstallValue("UninstallString");
    SetupProcess setup;
    AnswerQuestion(setup, IDYES);
    HWND select = WaitForSelect();
    EXPECT_NE(select, nullptr);
    if (select == nullptr)
        return "<no SELECT>";
    std::string offered = ControlText(select, ID_PATH);
    Click(select, IDCANCEL);
    EXPECT_EQ(setup.WaitForExit(), kNothingChanged);
    EXPECT_EQ(UninstallValue("UninstallString"), before) << "the entry is only read";
    return offered;
}

// A copy of setup.exe patched as a bad download might leave it: TNP.HLP with one byte of its
// deflate data changed, TNP.EXE cut to half its length, TNP.CNT cut to its two header bytes;
// the other rows intact. (Wine's resource update doesn't delete, so a missing stream is left to
// the payload store's own tests.)
void MakeSpoiltSetup(const char *copy)
{
    ASSERT_TRUE(CopyFileA(kSetupExe, copy, FALSE));
    std::string help = FileBytes("E:\\zpk\\TNP.HLP.zpk"), program = FileBytes("E:\\zpk\\TNP.EXE.zpk");
    ASSERT_GT(help.size(), 1000u);
    help[help.size() / 2] ^= 0x55;
    program.resize(program.size() / 2);
    char header[2] = {0x78, (char)0x9C};
    const WORD english = MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US);
    HANDLE update = BeginUpdateResourceA(copy, FALSE);
    ASSERT_NE(update, nullptr);
    bool ok = UpdateResourceA(update, "ZPK", "TNP.HLP", english, &help[0], (DWORD)help.size())
        && UpdateResourceA(update, "ZPK", "TNP.EXE", english, &program[0], (DWORD)program.size())
        && UpdateResourceA(update, "ZPK", "TNP.CNT", english, header, sizeof header);
    ASSERT_TRUE(EndUpdateResourceA(update, !ok) && ok) << GetLastError();
}

// Starts setup and passes the search, whatever an earlier case left for it to find.
HWND OpenSelect(SetupProcess &setup)
{
    EXPECT_TRUE(setup.Start(kSetupExe));
    std::string status, directory;
    PassSearch(&status, &directory);
    return WaitForSelect();
}

// run_e2e.sh mounts a small volume of its own as the fixed drive G: for the full-drive cases;
// where the system refuses the mount it says so, and these cases are skipped, counted as not run.
const char kNoVolume[] = "no volume to fill: mounting one was refused";
const char kFiller[] = "G:\\filler";
const ULONGLONG kPage = 4096;  // the unit in which the volume hands out room

bool FullDriveRefused()
{
    return std::getenv("TNP_FULL_DRIVE_REFUSED") != nullptr;
}

ULONGLONG FreeBytesOnG()
{
    ULARGE_INTEGER available, total, free;
    if (!GetDiskFreeSpaceExA("G:\\", &available, &total, &free))
        return 0;
    return available.QuadPart;
}

// Takes up the room on G: with one file, so that exactly `pages` pages stay free for setup.
void LeaveFreePages(ULONGLONG pages)
{
    ASSERT_EQ(GetDriveTypeA("G:\\"), (UINT)DRIVE_FIXED) << "no fixed drive G: laid out";
    DeleteFileA(kFiller);
    ULONGLONG available = FreeBytesOnG();
    ASSERT_EQ(available % kPage, 0u);
    ASSERT_GE(available, pages * kPage);
    WriteFileBytes(kFiller, std::string((size_t)(available - pages * kPage), 'f'));
    ASSERT_EQ(FreeBytesOnG(), pages * kPage);
}

}  // namespace

TEST(BadInputPayload, DamagedStreamsAreReportedAndNothingIsInstalled)
{
    MakeSpoiltSetup("E:\\setup_spoilt.exe");
    if (HasFatalFailure())
        return;
    SetupProcess setup;
    ASSERT_TRUE(setup.Start("E:\\setup_spoilt.exe"));
    std::string status, directory;
    PassSearch(&status, &directory);
    // Measuring the sizes meets each spoilt stream in the table's order.
    for (const char *name : {"tnp.hlp", "tnp.cnt", "tnp.exe"}) {
        HWND box = WaitForMessageBox();
        ASSERT_NE(box, nullptr) << "no message for the damaged " << name;
        EXPECT_EQ(Answer(box, IDOK), Damaged(name));
    }
    HWND select = WaitForSelect();
    ASSERT_NE(select, nullptr);
    EXPECT_EQ(ControlText(select, ID_SIZE), "24") << "2 + 18 + 4 KB of the three intact files";

    TypeText(select, ID_PATH, "C:\\Spoilt");
    EXPECT_EQ(ConfirmAndReadRefusal(select), Damaged("tnp.hlp"));
    EXPECT_EQ(FolderEntries("C:\\Spoilt\\"), std::vector<std::string>{}) << "a file of a stopped install was left";
    Click(select, IDCANCEL);
    EXPECT_EQ(setup.WaitForExit(), kNothingChanged);
}

TEST(BadInputUninstallEntry, UnreadableValuesOfferTheDefaultDirectory)
{
    const DWORD number = 42;
    const BYTE bytes[] = {'D', ':', '\\', 'x', ' ', 'D', ':', '\\', 'x', '\\', 't'};
    CreateDirectoryA("D:\\x", NULL);  // what the binary bytes would name, were they read
    WriteUninstallEntry(REG_SZ, nullptr, 0);
    EXPECT_EQ(DirectoryOfferedAfterYes(), DefaultOffer()) << "an entry without UninstallString";
    WriteUninstallEntry(REG_DWORD, &number, sizeof number);
    EXPECT_EQ(DirectoryOfferedAfterYes(), DefaultOffer()) << "a number";
    WriteUninstallEntry(REG_BINARY, bytes, sizeof bytes);
    EXPECT_EQ(DirectoryOfferedAfterYes(), DefaultOffer()) << "binary bytes that look like a command";
}

TEST(BadInputUninstallEntry, AnUnterminatedStringIsReadToItsEnd)
{
    CreateDirectoryA("D:\\OLD", NULL);
    std::string command = std::string(kCommandHead) + "D:\\OLD\\tnp.inf";
    WriteUninstallEntry(REG_SZ, command.data(), (DWORD)command.size());
    EXPECT_EQ(DirectoryOfferedAfterYes(), "D:\\OLD");
}

TEST(BadInputUninstallEntry, ALongScriptPathWithBlanksOffersItsWholeDirectory)
{
    // As written where the volume keeps no short names.
    CreateDirectoryA("C:\\Program Files\\Tone Pilot", NULL);
    WriteUninstallString(std::string(kCommandHead) + "C:\\Program Files\\Tone Pilot\\tnp.inf");
    EXPECT_EQ(DirectoryOfferedAfterYes(), "C:\\Program Files\\Tone Pilot");
}

TEST(BadInputUninstallEntry, ValuesOf500BytesOrMoreOfferTheDefaultDirectory)
{
    // 499 characters and the terminator still fit the 500 bytes setup reads; one more does not.
    CreateDirectoryA("D:\\OLD", NULL);
    std::string tail = " D:\\OLD\\tnp.inf";
    std::string fits = "rundll32.exe" + std::string(499 - 12 - tail.size(), 'x') + tail;
    ASSERT_EQ(fits.size(), 499u);
    WriteUninstallString(fits);
    EXPECT_EQ(DirectoryOfferedAfterYes(), "D:\\OLD");
    WriteUninstallString("rundll32.exe" + std::string(500 - 12 - tail.size(), 'x') + tail);
    EXPECT_EQ(DirectoryOfferedAfterYes(), DefaultOffer()) << "500 characters";
    WriteUninstallString("rundll32.exe" + std::string(5000, 'x') + tail);
    EXPECT_EQ(DirectoryOfferedAfterYes(), DefaultOffer()) << "5,000 characters";
}

TEST(BadInputUninstallEntry, TailsOf260CharactersOrMoreOfferTheDefaultDirectory)
{
    // The tail after the last space holds the script path; 259 characters fit a path buffer.
    std::string folder = "D:\\" + std::string(248, 'a');
    std::string script = folder + "\\tnp.inf";
    ASSERT_EQ(script.size(), 259u);
    CreateDirectoryA(folder.c_str(), NULL);
    CreateDirectoryA(("D:\\a" + folder.substr(3)).c_str(), NULL);  // what a tail one longer would name
    WriteUninstallString(kCommandHead + script);
    EXPECT_EQ(DirectoryOfferedAfterYes(), folder);
    WriteUninstallString(kCommandHead + std::string("D:\\a") + script.substr(3));
    EXPECT_EQ(DirectoryOfferedAfterYes(), DefaultOffer()) << "a tail of 260 characters";
    WriteUninstallString(kCommandHead + std::string("D:\\") + std::string(400, 'b') + "\\tnp.inf");
    EXPECT_EQ(DirectoryOfferedAfterYes(), DefaultOffer()) << "a tail of 411 characters";
}

TEST(BadInputUninstallEntry, TextsWithoutASpaceOrBackslashOfferTheDefaultDirectory)
{
    const char *texts[] = {"D:\\OLD\\tnp.inf", " D:\\OLD\\tnp.inf", "", "rundll32.exe tnp.inf",
                           "rundll32.exe \\tnp.inf", "rundll32.exe D:\\OLD\\tnp.inf "};
    CreateDirectoryA("D:\\OLD", NULL);
    for (const char *text : texts) {
        WriteUninstallString(text);
        EXPECT_EQ(DirectoryOfferedAfterYes(), DefaultOffer()) << "\"" << text << "\"";
    }
}

TEST(BadInputInstallPath, PathsThatCantBeInstalledIntoAreRefusedOneAfterAnother)
{
    // Setup started from C:\, as from a folder on the system drive, where an emptied box would
    // name the root of C:.
    ASSERT_TRUE(SetCurrentDirectoryA("C:\\"));
    SetupProcess setup;
    HWND select = StartFirstRun(setup);
    ASSERT_NE(select, nullptr);
    // Typing stops at 256 characters; the browser and pasting through other means can give more.
    std::string deep = "C:\\" + std::string(100, 'p') + "\\" + std::string(140, 'q') + "\\";
    struct Refused {
        std::string typed;
        std::string expected;
    };
    const Refused cases[] = {
        {deep + std::string(255 - deep.size(), 'r'), "File " + deep + std::string(255 - deep.size(), 'r')
                                                          + "\\TNPRead.txt could not be written, RC=206"},
        {deep + std::string(256 - deep.size(), 's'), Invalid(deep + std::string(256 - deep.size(), 's') + "\\")},
        {deep + std::string(258 - deep.size(), 't') + "\\", Invalid(deep + std::string(258 - deep.size(), 't') + "\\")},
        {deep + std::string(259 - deep.size(), 'u'), Invalid(deep + std::string(259 - deep.size(), 'u'))},
        {deep + std::string(300 - deep.size(), 'v'), Invalid(deep + std::string(259 - deep.size(), 'v'))},
        {"Tone Pilot", Invalid("Tone Pilot\\")},
        // As pasted: Windows would make the folder without the blank, and no file would be found in it.
        {"C:\\Tone Pilot ", Invalid("C:\\Tone Pilot \\")},
        {"C:\\Tone \\Pilot", Invalid("C:\\Tone \\Pilot\\")},
        // A dot ends a folder name as a blank does: Windows drops it from the last folder only.
        {"C:\\Tone .\\Pilot", Invalid("C:\\Tone .\\Pilot\\")},
        {"C:\\Tone Pilot.\\", Invalid("C:\\Tone Pilot.\\")},
        {"\\\\", Invalid("\\\\")},
        {"\\\\x", Invalid("\\\\x\\")},
    };
    for (const Refused &c : cases) {
        TypeText(select, ID_PATH, c.typed);
        EXPECT_EQ(ConfirmAndReadRefusal(select), c.expected) << c.typed.size() << " characters typed";
    }
    // A server alone is a root with nothing to make, where no file can be written; a share that
    // isn't there can't be made.
    TypeText(select, ID_PATH, "\\\\server");
    ExpectMatch(ConfirmAndReadRefusal(select), R"(File \\\\server\\TNPRead\.txt could not be written, RC=[1-9][0-9]*)");
    TypeText(select, ID_PATH, "\\\\nohost\\noshare\\Tone Pilot");
    ExpectMatch(ConfirmAndReadRefusal(select),
                R"(Directory/folder \\\\nohost\\noshare\\Tone Pilot\\ could not be created, RC=[1-9][0-9]*)");
    TypeText(select, ID_PATH, "");
    EXPECT_EQ(ConfirmAndReadRefusal(select), Invalid(""));
    Click(select, IDCANCEL);
    EXPECT_EQ(setup.WaitForExit(), kNothingChanged);
    EXPECT_FALSE(Exists(deep + std::string(255 - deep.size(), 'r') + "\\TNPRead.txt"));
    EXPECT_FALSE(Exists("C:\\tnp.exe")) << "false success: installed into the root of C:";
    EXPECT_FALSE(Exists("C:\\tnp.inf")) << "false success: installed into the root of C:";
    for (const char *made : {"C:\\Tone Pilot", "C:\\Tone"})
        EXPECT_FALSE(Exists(made)) << made << " made for a refused path";
}

// Run with a double-byte code page by run_e2e.sh. The box takes 256 characters, which here can be
// more bytes than the install directory holds: such a text is refused whole, never installed
// into cut short, and the message shows it in the whole characters that fit 259 bytes.
TEST(BadInputInstallPath, InCodePageATextTooLongInBytesIsRefusedNotCut)
{
    ASSERT_EQ(GetACP(), CaseCodePage());
    std::string character = CaseName(0);
    ASSERT_EQ(character.size(), 2u);
    std::string characters;
    for (int i = 0; i < 30; ++i)
        characters += character;
    SetupProcess setup;
    HWND select = StartFirstRun(setup);
    ASSERT_NE(select, nullptr);
    for (size_t names : {200, 201}) {  // the 259th byte a first byte, then a second byte
        std::string typed = "D:\\" + std::string(names, 'n') + "\\" + characters;
        ASSERT_LE(names + 34, 256u) << "characters the box takes";
        size_t shown = names + 4 + 54;  // 27 whole characters fit
        TypeText(select, ID_PATH, typed);
        EXPECT_EQ(ConfirmAndReadRefusal(select), Invalid(typed.substr(0, shown))) << typed.size() << " bytes typed";
    }
    Click(select, IDCANCEL);
    EXPECT_EQ(setup.WaitForExit(), kNothingChanged);
    EXPECT_EQ(FolderEntries("D:\\"), std::vector<std::string>{}) << "false success: a folder was made";
}

// The shell's Programs folder as deep as a path may be, so that the program group in it would
// not fit MAX_PATH: reported as any folder that can't be used, and no link is made anywhere.
TEST(BadInputInstallPath, AProgramsFolderTooDeepForTheGroupIsReportedAndGetsNoLinks)
{
    ForgetEarlierInstallation();
    std::string programs = "C:\\" + std::string(120, 'p') + "\\" + std::string(125, 'q');  // 249 characters
    ASSERT_TRUE(CreateDirectoryA(programs.substr(0, 123).c_str(), NULL));
    ASSERT_TRUE(CreateDirectoryA(programs.c_str(), NULL));
    const char shellFolders[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders";
    HKEY key;
    ASSERT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, shellFolders, 0, KEY_ALL_ACCESS, &key), ERROR_SUCCESS);
    char before[MAX_PATH] = "";
    DWORD size = sizeof before;
    RegQueryValueExA(key, "Common Programs", NULL, NULL, (BYTE *)before, &size);
    RegSetValueExA(key, "Common Programs", 0, REG_EXPAND_SZ, (const BYTE *)programs.c_str(), programs.size() + 1);

    SetupProcess setup;
    HWND select = StartFirstRun(setup);
    ASSERT_NE(select, nullptr);
    Click(select, IDOK);
    HWND box = WaitForMessageBox();
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(Answer(box, IDOK), Invalid(programs + "\\Tone Pilot\\"));
    box = WaitForMessageBox();
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(Answer(box, IDOK), kInstalled);
    EXPECT_EQ(setup.WaitForExit(), kFailed);
    RegSetValueExA(key, "Common Programs", 0, REG_EXPAND_SZ, (const BYTE *)before, lstrlenA(before) + 1);
    RegCloseKey(key);

    ExpectPayloadFiles(DefaultDir());
    EXPECT_NE(UninstallValue("UninstallString"), "<missing>");
    EXPECT_FALSE(Exists(programs + "\\Tone Pilot")) << "no group folder made";
    EXPECT_EQ(FilesNamed("C:\\", kLinkNames), std::vector<std::string>()) << "no link anywhere";
    // The next case starts where no copy is to be found.
    for (const PayloadFile &file : kPayloadFiles)
        DeleteFileA((DefaultDir() + file.name).c_str());
    ForgetEarlierInstallation();
}

TEST(BadInputInstallPath, NonAsciiDirectoryNamesInstall)
{
    ForgetEarlierInstallation();
    std::string dir = "C:\\T\xF6ne \xC4pps\\\xDC\xDF\xE9";  // Töne Äpps\Üßé in the ANSI code page
    InstallTyped(dir);
    ExpectInstalled(dir + "\\", ExpectNtLayout(), true);
}

TEST(BadInputInstall, UncreatableDirectoryKeepsTheDialogForAnotherTry)
{
    SetupProcess setup;
    HWND select = StartFirstRun(setup);
    ASSERT_NE(select, nullptr);
    TypeText(select, ID_PATH, "Q:\\new");
    ExpectMatch(ConfirmAndReadRefusal(select), R"(Directory/folder Q:\\new\\ could not be created, RC=[1-9][0-9]*)");

    TypeText(select, ID_PATH, "C:\\Fixed\\Path");
    ConfirmAndExpectSuccess(select);
    EXPECT_EQ(setup.WaitForExit(), 0);
    ExpectInstalled("C:\\Fixed\\Path\\", ExpectNtLayout(), true);
}

TEST(BadInputInstall, UnwritablePayloadFileStopsAndCancelRemovesNothing)
{
    // A directory in the way of tnp.hlp, which no user can write over.
    CreateDirectoryA("C:\\Blocked", NULL);
    CreateDirectoryA("C:\\Blocked\\tnp.hlp", NULL);
    SetupProcess setup;
    HWND select = StartFirstRun(setup);
    ASSERT_NE(select, nullptr);
    TypeText(select, ID_PATH, "C:\\Blocked");
    ExpectMatch(ConfirmAndReadRefusal(select), R"(File C:\\Blocked\\tnp\.hlp could not be written, RC=[1-9][0-9]*)");
    EXPECT_EQ(FolderEntries("C:\\Blocked\\"), std::vector<std::string>{"tnp.hlp"}) << "nothing is written";

    Click(select, IDCANCEL);
    EXPECT_TRUE(WaitGone(select));
    EXPECT_EQ(setup.WaitForExit(), kNothingChanged);
    EXPECT_FALSE(UninstallEntryExists());
}

// Room for the first three files (44 pages) but not for tnp.exe (108 pages).
TEST(BadInputInstall, AFullDriveDuringAFileIsReportedAndLeavesNoPartOfIt)
{
    if (FullDriveRefused())
        GTEST_SKIP() << kNoVolume;
    ForgetEarlierInstallation();
    LeaveFreePages(100);
    if (HasFatalFailure())
        return;
    // What a run killed while writing leaves beside the files, under the one name setup writes to
    // before a file is whole; the next run takes that name over.
    CreateDirectoryA("C:\\Roomy", NULL);
    WriteFileBytes("C:\\Roomy\\tnp_new4.tmp", "left by a killed run");
    SetupProcess setup;
    HWND select = OpenSelect(setup);
    ASSERT_NE(select, nullptr);
    TypeText(select, ID_PATH, "G:\\Full");
    EXPECT_EQ(ConfirmAndReadRefusal(select), "File G:\\Full\\tnp.exe could not be written, RC=112");
    EXPECT_EQ(FolderEntries("G:\\Full\\"), std::vector<std::string>{}) << "a file or a part of one was left";

    TypeText(select, ID_PATH, "C:\\Roomy");
    ConfirmAndExpectSuccess(select);
    EXPECT_EQ(setup.WaitForExit(), 0);
    ExpectInstalled("C:\\Roomy\\", ExpectNtLayout(), true);
    EXPECT_FALSE(Exists("C:\\Roomy\\tnp_new4.tmp")) << "what the killed run left is still there";
}

// Room for the six files (159 pages) and not a page more, so tnp.inf finds none; then room is
// made and OK pressed again.
TEST(BadInputInstall, AFullDriveAtTheScriptRegistersNothingUntilRoomIsMade)
{
    if (FullDriveRefused())
        GTEST_SKIP() << kNoVolume;
    ForgetEarlierInstallation();
    LeaveFreePages(159);
    if (HasFatalFailure())
        return;
    SetupProcess setup;
    HWND select = OpenSelect(setup);
    ASSERT_NE(select, nullptr);
    TypeText(select, ID_PATH, "G:\\Script");
    EXPECT_EQ(ConfirmAndReadRefusal(select), "Uninstall script G:\\Script\\tnp.inf could not be written, RC=112");
    EXPECT_FALSE(Exists("G:\\Script\\tnp.inf")) << "false success: an empty script was left";
    EXPECT_EQ(FolderEntries("G:\\Script\\").size(), 6u) << "a part of the script was left";
    ExpectPayloadFiles("G:\\Script\\");

    ASSERT_TRUE(DeleteFileA(kFiller));
    ConfirmAndExpectSuccess(select);
    EXPECT_EQ(setup.WaitForExit(), 0);
    ExpectInstalled("G:\\Script\\", ExpectNtLayout(), true);
}

// An earlier release, each file with bytes of its own, and its tnp.hlp still set aside by a run
// killed mid-swap; a drive with room for the new tnp.hlp beside the earlier files but not for
// all six: every earlier file stays as it was, and once there is room the upgrade goes through.
TEST(BadInputInstall, AnUpgradeOnAFullDriveKeepsTheEarlierCopyWholeUntilThereIsRoom)
{
    if (FullDriveRefused())
        GTEST_SKIP() << kNoVolume;
    ForgetEarlierInstallation();
    auto earlier = [](const char *name) { return FileBytes(ExpectedPayloadDir() + name) + "1.0"; };
    ASSERT_TRUE(CreateDirectoryA("G:\\Earlier", NULL));
    for (const PayloadFile &file : kPayloadFiles)
        WriteFileBytes(("G:\\Earlier\\" + std::string(file.name == std::string("tnp.hlp") ? "tnp_old2.tmp" : file.name)).c_str(),
                       earlier(file.name));
    LeaveFreePages(100);
    if (HasFatalFailure())
        return;
    EXPECT_EQ(RunSilently("/S /LOG=E:\\full.log /D=G:\\Earlier"), kFailed);
    EXPECT_TRUE(LogHolds("E:\\full.log", "File G:\\Earlier\\tnp.exe could not be written, RC=112"));
    SetupProcess setup;
    HWND select = OpenSelect(setup);
    ASSERT_NE(select, nullptr);
    TypeText(select, ID_PATH, "G:\\Earlier");
    EXPECT_EQ(ConfirmAndReadRefusal(select), "File G:\\Earlier\\tnp.exe could not be written, RC=112");
    for (const PayloadFile &file : kPayloadFiles)
        EXPECT_TRUE(FileBytes("G:\\Earlier\\" + std::string(file.name)) == earlier(file.name)) << file.name << " not kept";
    EXPECT_EQ(FolderEntries("G:\\Earlier\\").size(), 6u) << "something besides the earlier files was left";
    ASSERT_TRUE(DeleteFileA(kFiller));
    ConfirmAndExpectSuccess(select);
    EXPECT_EQ(setup.WaitForExit(), 0);
    ExpectInstalled("G:\\Earlier\\", ExpectNtLayout(), true);
    EXPECT_EQ(FolderEntries("G:\\Earlier\\").size(), 7u) << "more than the six files and tnp.inf";
}

// An earlier release, each file with bytes of its own, whose tnp.exe runs: the upgrade stops at
// tnp.exe with every earlier file as it was, and installs once Tone Pilot is closed.
TEST(BadInputInstall, ARunningTonePilotStopsTheUpgradeWithTheEarlierCopyWhole)
{
    auto earlier = [](const char *name) { return FileBytes(ExpectedPayloadDir() + name) + "1.0"; };
    ASSERT_TRUE(CreateDirectoryA("C:\\Earlier", NULL));
    for (const PayloadFile &file : kPayloadFiles)
        WriteFileBytes(("C:\\Earlier\\" + std::string(file.name)).c_str(), earlier(file.name));
    SetupProcess tonePilot;
    ASSERT_TRUE(tonePilot.Start("C:\\Earlier\\tnp.exe"));
    ASSERT_TRUE(ShowWindow(WaitForMessageBox(), SW_HIDE)) << "no greeting";  // so that setup's boxes are answered
    SetupProcess setup;
    HWND select = OpenSelect(setup);
    ASSERT_NE(select, nullptr);
    TypeText(select, ID_PATH, "C:\\Earlier");
    EXPECT_EQ(ConfirmAndReadRefusal(select), "File C:\\Earlier\\tnp.exe could not be written, RC=32");
    for (const PayloadFile &file : kPayloadFiles)
        EXPECT_TRUE(FileBytes("C:\\Earlier\\" + std::string(file.name)) == earlier(file.name)) << file.name << " replaced";
    TerminateProcess(tonePilot.info.hProcess, 0);
    EXPECT_EQ(tonePilot.WaitForExit(), 0);
    // What a killed run of the last release set aside for the last row, held by a scanner: a
    // name of another run, in no way of this one's swap.
    WriteFileBytes("C:\\Earlier\\tnp_old6.tmp", "set aside");
    HANDLE held = CreateFileA("C:\\Earlier\\tnp_old6.tmp", GENERIC_READ, FILE_SHARE_READ, NULL, OPEN_EXISTING, 0, NULL);
    ConfirmAndExpectSuccess(select);
    EXPECT_EQ(setup.WaitForExit(), 0);
    CloseHandle(held);
    ExpectInstalled("C:\\Earlier\\", ExpectNtLayout(), true);
}

// What a killed run left beside an earlier release, each file with bytes of its own, under the
// run's names; then setup once, stopped after its tidy by a file a scanner holds; then a restart.
// Per file in table order: 'e' the earlier file, 's' it and the new one staged, 'w' the new one
// in place and the earlier set aside, 'a' the earlier one set aside alone.
struct KilledRun {
    const char *staged, *aside, *mark, *files;
    int heldAside, heldFile;  // the set-aside copy a program holds without delete sharing (-1: none)
    bool newRelease;          // what must be whole: the new release, else the earlier one under some name
    const char *refusal;
};
const KilledRun kKilledRuns[] = {
    {"tnp_new", "tnp_old", "", "eeeaee", 3, 0, false, "File C:\\Killed0\\tnp.exe could not be written, RC=32"},
    {"tn00a1w", "tn00a1d", "tn00a1m1.tmp", "wwwsss", -1, 0, true, "File C:\\Killed1\\TNPRead.txt could not be written, RC=32"},
    {"tn00a1w", "tn00a1d", "", "ssssss", -1, 5, false, "File C:\\Killed2\\tnp16hlp.dll could not be written, RC=32"},
};

TEST(BadInputInstall, WhatAKilledRunLeftEndsAsOneWholeReleaseAfterARestart)
{
    auto path = [](int row, const std::string &name) { return "C:\\Killed" + std::to_string(row) + "\\" + name; };
    auto beside = [&](int row, const char *stem, int i) { return path(row, stem + std::to_string(i + 1) + ".tmp"); };
    auto release = [](bool isNew, const char *name) { return FileBytes(ExpectedPayloadDir() + name) + (isNew ? "" : "1.0"); };
    for (int row = 0; row < 3; ++row) {
        const KilledRun &run = kKilledRuns[row];
        ASSERT_TRUE(CreateDirectoryA(path(row, "").c_str(), NULL));
        for (int i = 0; i < 6; ++i) {
            const char *name = kPayloadFiles[i].name, kind = run.files[i];
            WriteFileBytes((kind == 'a' ? beside(row, run.aside, i) : path(row, name)).c_str(), release(kind == 'w', name));
            if (kind == 's' || kind == 'w')
                WriteFileBytes((kind == 's' ? beside(row, run.staged, i) : beside(row, run.aside, i)).c_str(), release(kind == 's', name));
        }
        if (*run.mark != '\0')
            WriteFileBytes(path(row, run.mark).c_str(), "");
        HANDLE aside = run.heldAside < 0 ? INVALID_HANDLE_VALUE
            : CreateFileA(beside(row, run.aside, run.heldAside).c_str(), GENERIC_READ, FILE_SHARE_READ, NULL, OPEN_EXISTING, 0, NULL);
        HANDLE held = CreateFileA(path(row, kPayloadFiles[run.heldFile].name).c_str(), GENERIC_READ,
                                  FILE_SHARE_READ | FILE_SHARE_DELETE, NULL, OPEN_EXISTING, 0, NULL);
        SetupProcess setup;
        HWND select = OpenSelect(setup);
        ASSERT_NE(select, nullptr);
        TypeText(select, ID_PATH, path(row, ""));
        EXPECT_EQ(ConfirmAndReadRefusal(select), run.refusal);
        Click(select, IDCANCEL);
        EXPECT_EQ(setup.WaitForExit(), kNothingChanged);
        CloseHandle(aside);
        CloseHandle(held);
    }
    SetupProcess restart;  // Wine carries out the deletions scheduled for the next start of Windows
    ASSERT_TRUE(restart.Start(WindowsDirectory() + "\\system32\\wineboot.exe", "-r"));
    EXPECT_EQ(restart.WaitForExit(), 0);
    for (int row = 0; row < 3; ++row) {
        const KilledRun &run = kKilledRuns[row];
        for (int i = 0; i < 6; ++i) {
            std::string whole = release(run.newRelease, kPayloadFiles[i].name);
            EXPECT_TRUE(FileBytes(path(row, kPayloadFiles[i].name)) == whole
                        || (!run.newRelease && FileBytes(beside(row, run.aside, i)) == whole))
                << "row " << row << ": " << kPayloadFiles[i].name << " is of neither release, or gone";
        }
        EXPECT_EQ(FolderEntries(path(row, "")).size(), 6u) << "row " << row << ": a leftover stayed, or a file went";
    }
}

// run_e2e.sh runs this group as a user without root's right to write read-only files.
TEST(BadInputTargetFile, AReadOnlyFileIsReplaced)
{
    ForgetEarlierInstallation();
    CreateDirectoryA("C:\\ReadOnly", NULL);
    WriteFileBytes("C:\\ReadOnly\\tnp.cnt", "kept");
    ASSERT_TRUE(SetFileAttributesA("C:\\ReadOnly\\tnp.cnt", FILE_ATTRIBUTE_READONLY));
    SetupProcess setup;
    HWND select = OpenSelect(setup);
    ASSERT_NE(select, nullptr);
    TypeText(select, ID_PATH, "C:\\ReadOnly");
    ConfirmAndExpectSuccess(select);
    EXPECT_EQ(setup.WaitForExit(), 0);
    ExpectInstalled("C:\\ReadOnly\\", ExpectNtLayout(), true);
}

TEST(BadInputTargetFile, ALockedFileIsReportedAndWrittenOnceItIsReleased)
{
    ForgetEarlierInstallation();
    CreateDirectoryA("C:\\Locked", NULL);
    HANDLE lock = CreateFileA("C:\\Locked\\tnp.exe", GENERIC_READ | GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, 0, NULL);
    ASSERT_NE(lock, INVALID_HANDLE_VALUE);
    SetupProcess setup;
    HWND select = OpenSelect(setup);
    ASSERT_NE(select, nullptr);
    TypeText(select, ID_PATH, "C:\\Locked");
    EXPECT_EQ(ConfirmAndReadRefusal(select), "File C:\\Locked\\tnp.exe could not be written, RC=32");
    EXPECT_FALSE(Exists("C:\\Locked\\tnp32hlp.dll")) << "nothing after the failed row";

    CloseHandle(lock);
    ConfirmAndExpectSuccess(select);
    EXPECT_EQ(setup.WaitForExit(), 0);
    ExpectInstalled("C:\\Locked\\", ExpectNtLayout(), true);
}

// The shell's link class removed from the registry, as on a machine with a broken shell: the
// files, script and entry are installed and no link is left half made.
TEST(BadInputShellLink, AMissingLinkClassSkipsTheLinksOnly)
{
    const char clsid[] = "CLSID\\{00021401-0000-0000-C000-000000000046}";
    ASSERT_EQ(RegDeleteTreeA(HKEY_CLASSES_ROOT, clsid), ERROR_SUCCESS);
    InstallDefaults(true, kSetupExe, kFailed);  // no message says the links are missing: the exit code does
    bool nt = ExpectNtLayout();
    ExpectPayloadFiles(DefaultDir());
    EXPECT_EQ(FileBytes(DefaultDir() + "tnp.inf"),
              ExpectedScript(nt, true, WindowsDirectory(), ProgramGroup(), DesktopLink(), AudioCdValues()));
    EXPECT_NE(UninstallValue("UninstallString"), "<missing>");
    EXPECT_EQ(FilesNamed("C:\\", kLinkNames), std::vector<std::string>()) << "no link anywhere";
}

// The names of the DLLs laid out beside the copy of setup.exe in E:\planted, without ".dll".
static std::vector<std::string> PlantedDllNames()
{
    std::vector<std::string> names;
    WIN32_FIND_DATAA entry;
    HANDLE find = FindFirstFileA("E:\\planted\\*.dll", &entry);
    if (find == INVALID_HANDLE_VALUE)
        return names;
    do
        names.push_back(std::string(entry.cFileName, strlen(entry.cFileName) - 4));
    while (FindNextFileA(find, &entry));
    FindClose(find);
    return names;
}

// DLLs named after system DLLs that load after start-up, planted beside a copy of setup.exe in
// a folder of its own (laid out by run_e2e.sh), as a download folder may hold them; each leaves
// "<name>.dll.loaded" beside itself when anything loads it.
TEST(BadInputPlantedDll, DllsBesideSetupAreNeverLoaded)
{
    std::vector<std::string> planted = PlantedDllNames();
    ASSERT_FALSE(planted.empty()) << "nothing laid out";
    // Where Windows loads the file it finds first, Wine puts its own builtin in the place of a
    // system DLL found beside a program; setup.exe is made to load these names as Windows does.
    HKEY key;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\Wine\\AppDefaults\\setup.exe\\DllOverrides", 0, NULL,
                              0, KEY_ALL_ACCESS, NULL, &key, NULL),
              ERROR_SUCCESS);
    for (const std::string &name : planted)
        RegSetValueExA(key, name.c_str(), 0, REG_SZ, (const BYTE *)"native,builtin", 15);
    RegCloseKey(key);

    InstallDefaults(true, "E:\\planted\\setup.exe");
    ExpectInstalled(DefaultDir(), ExpectNtLayout(), true);
    for (const std::string &name : planted)
        EXPECT_FALSE(Exists("E:\\planted\\" + name + ".dll.loaded")) << name << ".dll beside setup.exe ran inside it";
}

// Links back up the tree and trees deeper than any path buffer, laid out by run_e2e.sh: the
// scan ends, and reports the copy beyond them.
TEST(BadInputSearch, LoopsAndOverLongTreesAreWalkedSafely)
{
    ExpectSearchOutcome();
}
