// tnp.inf byte for byte, the uninstall entry, and what each does when it can't be written.
#include <gtest/gtest.h>
#include <windows.h>
#include <shlwapi.h>
#include <string>
#include "code_pages.h"
#include "message_box_watcher.h"
#include "scratch.h"
#include "shell/uninstall_entry.h"
#include "shell/uninstall_script.h"
#include "shell/uninstall_script_text.h"

namespace {

// The script as its rows read, written out here and not by the code under test.
std::string Rows(bool nt, bool desktop, const std::string &windir)
{
    std::string tools = nt ? windir + "\\system32" : windir;
    std::string s = "[Version]\r\nSignature=\"$CHICAGO$\"\r\n\r\n[Uninstall_TNP]\r\nDelReg=TNP_DelRegUninstall\r\n"
                    "DelFiles=TNP_DelFiles\r\nDelFiles=TNP_DelLinks\r\nAddReg=TNP_SetCDPlayer\r\n";
    if (desktop)
        s += "DelFiles=TNP_DelDesktop\r\n";
    s += "\r\n[DestinationDirs]\r\nTNP_DelFiles=01\r\n";
    s += nt ? "TNP_DelLinks=10,profiles\\alluse~1\\startm~1\\programs\\tonepi~1\r\n"
            : "TNP_DelLinks=10,startm~1\\programs\\tonepi~1\r\n";
    if (desktop)
        s += nt ? "TNP_DelDesktop=10,profiles\\alluse~1\\Desktop\r\n" : "TNP_DelDesktop=10,Desktop\r\n";
    s += "\r\n[TNP_DelRegUninstall]\r\nHKLM,\"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Tone Pilot\"\r\n"
         "\r\n[TNP_DelFiles]\r\ntnp.inf\r\nTNPRead.txt\r\ntnp.hlp\r\ntnp.cnt\r\ntnp.exe\r\ntnp32hlp.dll\r\ntnp16hlp.dll\r\n"
         "\r\n[TNP_DelLinks]\r\nReadMe File.lnk\r\nHelp Contents.lnk\r\nTone Pilot.lnk\r\nUninstall Tone Pilot.lnk\r\n"
         "\r\n[TNP_SetCDPlayer]\r\n";
    s += "HKCR,AudioCD\\shell\\play\\command,,," + tools + "\\cdplayer.exe /Play %1\r\n";
    s += "HKCR,AudioCD\\DefaultIcon,,," + windir + (nt ? "\\system32" : "\\system") + "\\shell32.dll,40\r\n";
    s += "HKCR,cdafile\\shell\\play\\command,,," + tools + "\\cdplayer.exe -Play %1\r\n";
    if (desktop)
        s += "\r\n[TNP_DelDesktop]\r\nTone Pilot.lnk\r\n";
    return s;
}

// A link row as the composer gives it; "refused:" when it gives none.
std::string LinkRow(LinkFolderRow row, bool nt, const char *folder, const char *shellFolder, int csidl,
                    const char *windir, LeadByteRule isLead = SingleByteCodePage, int capacity = 500)
{
    char text[600];
    memset(text, 'x', sizeof text);
    LinkFolderPlace place = {folder, shellFolder, csidl, windir};
    bool ok = ComposeLinkFolderRow(text, capacity, row, nt, place, isLead);
    return ok ? std::string(text) : "refused:" + std::string(text);
}

// The script as the composer builds it for a given Windows directory, piece by piece, with the
// links in the folders an English Windows 95 or NT 4 has, by their real short names.
std::string Composed(bool nt, bool desktop, const char *windir)
{
    const char *files[] = {"TNPRead.txt", "tnp.hlp", "tnp.cnt", "tnp.exe", "tnp32hlp.dll", "tnp16hlp.dll"};
    const char *links[] = {"ReadMe File", "Help Contents", "Tone Pilot"};
    std::string profile = std::string(windir) + (nt ? "\\PROFILES\\ALLUSE~1" : "");
    std::string programs = profile + "\\STARTM~1\\PROGRAMS", desktopFolder = profile + "\\DESKTOP";
    char text[500];
    std::string s;
    EXPECT_TRUE(ComposeScriptHead(text, sizeof text, desktop, true, false));
    s += text;
    s += LinkRow(ROW_PROGRAM_GROUP, nt, (programs + "\\TONEPI~1").c_str(), programs.c_str(), nt ? 23 : 2, windir);
    if (desktop)
        s += LinkRow(ROW_DESKTOP, nt, desktopFolder.c_str(), desktopFolder.c_str(), nt ? 25 : 16, windir);
    EXPECT_TRUE(ComposeScriptFilesHead(text, sizeof text));
    s += text;
    for (const char *file : files) {
        EXPECT_TRUE(ComposeNameLine(text, sizeof text, file, ""));
        s += text;
    }
    EXPECT_TRUE(ComposeSectionStart(text, sizeof text, "[TNP_DelLinks]"));
    s += text;
    for (const char *link : links) {
        EXPECT_TRUE(ComposeNameLine(text, sizeof text, link, ".lnk"));
        s += text;
    }
    EXPECT_TRUE(ComposeNameLine(text, sizeof text, "Uninstall Tone Pilot.lnk", ""));
    s += text;
    EXPECT_TRUE(ComposeSectionStart(text, sizeof text, "[TNP_SetCDPlayer]"));
    s += text;
    for (int row = 0; row < 3; ++row) {
        EXPECT_TRUE(ComposeCdPlayerRow(text, sizeof text, row, windir, nt));
        s += text;
    }
    if (desktop) {
        EXPECT_TRUE(ComposeDesktopSection(text, sizeof text));
        s += text;
    }
    return s;
}

std::string WindowsDir()
{
    char text[MAX_PATH];
    GetWindowsDirectoryA(text, sizeof text);
    return text;
}

const char kKey[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Tone Pilot";

std::string Value(const char *name, DWORD *size)
{
    HKEY key;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kKey, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return "<no key>";
    char text[600] = "";
    DWORD type = 0;
    *size = sizeof text;
    LONG rc = RegQueryValueExA(key, name, NULL, &type, (BYTE *)text, size);
    RegCloseKey(key);
    return rc == ERROR_SUCCESS && type == REG_SZ ? text : "<no value>";
}

DWORD Number(const char *name)
{
    HKEY key;
    DWORD number = 0, size = sizeof number, type = 0;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kKey, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return 0;
    LONG rc = RegQueryValueExA(key, name, NULL, &type, (BYTE *)&number, &size);
    RegCloseKey(key);
    return rc == ERROR_SUCCESS && type == REG_DWORD ? number : 0;
}

}  // namespace

TEST(UninstallScript, WorkedExamplesByteForByte)
{
    std::string nt = Composed(true, true, "C:\\WINNT");
    EXPECT_EQ(nt.size(), 876u);
    EXPECT_EQ(nt, Rows(true, true, "C:\\WINNT"));
    std::string win95 = Composed(false, false, "C:\\WINDOWS");
    EXPECT_EQ(win95.size(), 738u);
    EXPECT_EQ(win95, Rows(false, false, "C:\\WINDOWS"));
    EXPECT_EQ(Composed(true, false, "C:\\WINNT"), Rows(true, false, "C:\\WINNT"));
    EXPECT_EQ(Composed(false, true, "C:\\WINDOWS"), Rows(false, true, "C:\\WINDOWS"));
    // The head before the link rows is 214 characters at its longest, the rows after them 123;
    // with an English NT 4's two rows between them they make the 444 characters they always did.
    char head[500];
    ASSERT_TRUE(ComposeScriptHead(head, sizeof head, true, true, false));
    EXPECT_EQ(strlen(head), 214u);
    EXPECT_FALSE(ComposeScriptHead(head, 214, true, true, false));
    EXPECT_STREQ(head, "");
    ASSERT_TRUE(ComposeScriptFilesHead(head, sizeof head));
    EXPECT_EQ(strlen(head), 123u);
    EXPECT_FALSE(ComposeScriptFilesHead(head, 123));
    EXPECT_STREQ(head, "");
}

TEST(UninstallScript, LinkRowsNameTheFoldersTheLinksAreIn)
{
    // English NT 4 and 95: their short names, written as they have always been.
    EXPECT_EQ(LinkRow(ROW_PROGRAM_GROUP, true, "C:\\WINNT\\PROFILES\\ALLUSE~1\\STARTM~1\\PROGRAMS\\TONEPI~1",
                      "C:\\WINNT\\PROFILES\\ALLUSE~1\\STARTM~1\\PROGRAMS", 23, "C:\\WINNT"),
              "TNP_DelLinks=10,profiles\\alluse~1\\startm~1\\programs\\tonepi~1\r\n");
    EXPECT_EQ(LinkRow(ROW_DESKTOP, false, "c:\\windows\\desktop", "c:\\windows\\desktop", 16, "C:\\WINDOWS"),
              "TNP_DelDesktop=10,Desktop\r\n");
    // Other short names under the Windows directory: Wine's hashed ones, a German Windows 98's.
    EXPECT_EQ(LinkRow(ROW_PROGRAM_GROUP, false, "C:\\windows\\STAR~DZT\\Programs\\TONE~F2K",
                      "C:\\windows\\STAR~DZT\\Programs", 2, "C:\\windows"),
              "TNP_DelLinks=10,STAR~DZT\\Programs\\TONE~F2K\r\n");
    EXPECT_EQ(LinkRow(ROW_PROGRAM_GROUP, false, "C:\\WINDOWS\\STARTM~1\\PROGRAMM\\TONEPI~1",
                      "C:\\WINDOWS\\STARTM~1\\PROGRAMM", 2, "C:\\WINDOWS"),
              "TNP_DelLinks=10,STARTM~1\\PROGRAMM\\TONEPI~1\r\n");
    EXPECT_EQ(LinkRow(ROW_DESKTOP, true, "C:\\WINNT\\PROFILES\\ALLUSE~1\\SCHREI~1", "C:\\WINNT\\PROFILES\\ALLUSE~1\\SCHREI~1",
                      25, "C:\\WINNT"),
              "TNP_DelDesktop=10,PROFILES\\ALLUSE~1\\SCHREI~1\r\n");
    // Elsewhere (Windows 2000 and later): the shell folder's own directory id.
    EXPECT_EQ(LinkRow(ROW_PROGRAM_GROUP, true, "C:\\DOCUME~1\\ALLUSE~1\\STARTM~1\\PROGRAMS\\TONEPI~1",
                      "C:\\DOCUME~1\\ALLUSE~1\\STARTM~1\\PROGRAMS", 23, "C:\\WINDOWS"),
              "TNP_DelLinks=16407,TONEPI~1\r\n");
    EXPECT_EQ(LinkRow(ROW_DESKTOP, true, "C:\\DOCUME~1\\ALLUSE~1\\DESKTOP", "C:\\DOCUME~1\\ALLUSE~1\\DESKTOP", 25,
                      "C:\\WINDOWS"),
              "TNP_DelDesktop=16409\r\n");
    EXPECT_EQ(LinkRow(ROW_PROGRAM_GROUP, true, "D:\\U\\P\\TONEPI~1", "D:\\U\\P", 2, "C:\\WINDOWS"),
              "TNP_DelLinks=16386,TONEPI~1\r\n");
    EXPECT_EQ(LinkRow(ROW_DESKTOP, true, "D:\\U\\D", "D:\\U\\D", 16, "C:\\WINDOWS"), "TNP_DelDesktop=16400\r\n");
    // Only whole folder names match: C:\WINNT does not lie in C:\WIN.
    EXPECT_EQ(LinkRow(ROW_DESKTOP, true, "C:\\WINNT\\D", "C:\\WINNT\\D", 25, "C:\\WIN"), "TNP_DelDesktop=16409\r\n");
    // A folder the system gives no short form of (never made) keeps today's row.
    EXPECT_EQ(LinkRow(ROW_PROGRAM_GROUP, true, "", "C:\\DOCUME~1\\ALLUSE~1\\STARTM~1\\PROGRAMS", 23, "C:\\WINDOWS"),
              "TNP_DelLinks=10,profiles\\alluse~1\\startm~1\\programs\\tonepi~1\r\n");
    EXPECT_EQ(LinkRow(ROW_DESKTOP, false, "C:\\X\\D", "", 0, "C:\\WINDOWS"), "TNP_DelDesktop=10,Desktop\r\n");
    // Refused whole, never cut.
    EXPECT_EQ(LinkRow(ROW_DESKTOP, true, "D:\\U\\D", "D:\\U\\D", 16, "C:\\WINDOWS", SingleByteCodePage, 22),
              "refused:");
    EXPECT_EQ(LinkRow(ROW_DESKTOP, true, "D:\\U\\D", "D:\\U\\D", 16, "C:\\WINDOWS", SingleByteCodePage, 23),
              "TNP_DelDesktop=16400\r\n");
}

TEST(UninstallScript, LinkRowsCompareFolderNamesByCharacter)
{
    // In code page 932 "\x83\x41" and "\x83\x61" are two characters whose second bytes differ
    // only as ASCII letters would in case; "\x95\x5c" ends with the byte of a backslash.
    EXPECT_EQ(LinkRow(ROW_PROGRAM_GROUP, false, "C:\\\x83\x61\\P\\TONEPI~1", "", 0, "C:\\\x83\x41", CodePage932Lead),
              "TNP_DelLinks=10,startm~1\\programs\\tonepi~1\r\n");
    EXPECT_EQ(LinkRow(ROW_PROGRAM_GROUP, false, "C:\\\x83\x61\\P\\TONEPI~1", "", 0, "C:\\\x83\x41", SingleByteCodePage),
              "TNP_DelLinks=10,P\\TONEPI~1\r\n");
    EXPECT_EQ(LinkRow(ROW_DESKTOP, false, "C:\\\x95\x5c\\\x95\x5c", "", 0, "C:\\\x95\x5c", CodePage932Lead),
              "TNP_DelDesktop=10,\x95\x5c\r\n");
    EXPECT_EQ(LinkRow(ROW_DESKTOP, true, "C:\\\x95\x5cX\\D", "C:\\\x95\x5cX\\D", 25, "C:\\\x95", CodePage932Lead),
              "TNP_DelDesktop=16409\r\n");
}

TEST(UninstallScript, LongWindowsDirectoriesStillFillTheCdPlayerRows)
{
    std::string windir = "C:\\" + std::string(240, 'w');
    char text[500];
    ASSERT_TRUE(ComposeCdPlayerRow(text, sizeof text, 1, windir.c_str(), true));
    EXPECT_EQ(std::string(text), "HKCR,AudioCD\\DefaultIcon,,," + windir + "\\system32\\shell32.dll,40\r\n");
    EXPECT_FALSE(ComposeCdPlayerRow(text, 100, 0, windir.c_str(), true));
    EXPECT_STREQ(text, "");
}

// What played audio CDs given back byte for byte: quoted, quotes and percent signs doubled, the
// type kept; an earlier script's record read back whole, and nothing else taken for one.
TEST(UninstallScript, AudioCdValuesAreWrittenAndReadBackWhole)
{
    AudioCdValue value = {2, "\"C:\\x y\\a.exe\" /p \"%L\" %SystemRoot%"}, back;
    char row[1500];
    ASSERT_TRUE(ComposeAudioCdValueRow(row, sizeof row, 0, value));
    EXPECT_STREQ(row, "HKCR,AudioCD\\shell\\play\\command,,0x00020000,\"\"\"C:\\x y\\a.exe\"\" /p \"\"%%L\"\" %%SystemRoot%%\"\r\n");
    std::string script = "[TNP_SetCDPlayer]\r\nHKCR,cdafile\\shell\\play\\command,,,C:\\W\\cdplayer.exe -Play %1\r\n";
    EXPECT_FALSE(FindAudioCdRecord((script + "\r\n[TNP_DelCDPlayer]\r\nHKCR,AudioCD\\DefaultIcon\r\n").c_str(), 2, back));
    EXPECT_TRUE(FindAudioCdRecord((script + row).c_str(), 0, back));
    EXPECT_EQ(back.type, 2u);
    EXPECT_STREQ(back.text, value.text);
    EXPECT_TRUE(FindAudioCdRecord("[TNP_DelCDPlayer]\r\nHKCR,AudioCD\\DefaultIcon\r\n", 1, back));
    EXPECT_EQ(back.type, 0u);
    EXPECT_FALSE(FindAudioCdRecord("[TNP_DelCDPlayer]\r\nHKCR,AudioCD\\DefaultIcon,x\r\n", 1, back));
    AudioCdValue broken = {1, "a\r\nb"};
    EXPECT_FALSE(ComposeAudioCdValueRow(row, sizeof row, 1, broken)) << "a line break";
    ASSERT_TRUE(ComposeAudioCdRemovalRow(row, sizeof row, 1));
    EXPECT_STREQ(row, "HKCR,AudioCD\\DefaultIcon\r\n");
}

namespace {

// The CD Player of Windows 95 to 2000, where the script has always given audio CDs back to it.
void LayOutCdPlayer()
{
    WriteWholeFile(WindowsDir() + "\\cdplayer.exe", "");
    WriteWholeFile(WindowsDir() + "\\system32\\cdplayer.exe", "");
}

LinkFolders Folders(const std::string &programs, int programsCsidl, const std::string &desktop, int desktopCsidl)
{
    LinkFolders folders;
    lstrcpynA(folders.programs.path, programs.c_str(), sizeof folders.programs.path);
    folders.programs.csidl = programsCsidl;
    lstrcpynA(folders.desktop.path, desktop.c_str(), sizeof folders.desktop.path);
    folders.desktop.csidl = desktopCsidl;
    return folders;
}

// Makes the folder and every folder above it.
void MakeFolders(const std::string &path)
{
    for (size_t at = path.find('\\', 3); at != std::string::npos; at = path.find('\\', at + 1))
        CreateDirectoryA(path.substr(0, at).c_str(), NULL);
    CreateDirectoryA(path.c_str(), NULL);
}

std::string ShortForm(const std::string &path)
{
    char text[MAX_PATH] = "";
    EXPECT_NE(GetShortPathNameA(path.c_str(), text, sizeof text), 0u) << path;
    return text;
}

// The script with other destinations for the links than an English Windows 95's.
std::string WithLinkRows(std::string script, const std::string &groupRow, const std::string &desktopRow)
{
    std::string known = "TNP_DelLinks=10,startm~1\\programs\\tonepi~1\r\n";
    script.replace(script.find(known), known.size(), groupRow + "\r\n");
    known = "TNP_DelDesktop=10,Desktop\r\n";
    script.replace(script.find(known), known.size(), desktopRow + "\r\n");
    return script;
}

}  // namespace

TEST(UninstallScript, WrittenIntoTheCurrentDirectoryForAllFourChoices)
{
    std::string dir = MakeScratchDir("script");
    LayOutCdPlayer();
    ASSERT_TRUE(SetCurrentDirectoryA(dir.c_str()));
    for (int nt = 0; nt < 2; ++nt)
        for (int desktop = 0; desktop < 2; ++desktop) {
            WriteWholeFile(dir + "tnp.inf", std::string(2000, 'x'));  // replaced whole, never appended to
            MessageBoxWatcher boxes;
            // Folders that were never made have no short form: the rows stay as they always were.
            std::string profile = WindowsDir() + (nt ? "\\Profiles\\All Users" : "");
            EXPECT_TRUE(WriteUninstallScript(Folders(profile + "\\Start Menu\\Programs", 0, profile + "\\Desktop", 0),
                                             nt != 0, desktop != 0, dir.c_str()));
            EXPECT_EQ(ReadWholeFile(dir + "tnp.inf"), Rows(nt != 0, desktop != 0, WindowsDir()));
            EXPECT_FALSE(PathExists(dir + "tnp_new7.tmp")) << "the script was written under another name";
            EXPECT_TRUE(boxes.Texts().empty());
        }
    SetCurrentDirectoryA("C:\\");
}

TEST(UninstallScript, TheLinkRowsTakeTheShortNamesOfTheFoldersMade)
{
    std::string dir = MakeScratchDir("script-folders");
    LayOutCdPlayer();
    std::string elsewhere = MakeScratchDir("All Users Profile");
    std::string programs = elsewhere + "Start Menu\\Programs", desktop = elsewhere + "Desktop Folder";
    MakeFolders(programs + "\\Tone Pilot");
    MakeFolders(desktop);
    std::string windowsPrograms = WindowsDir() + "\\Tone Pilot Test\\Start Menu\\Programs";
    std::string windowsDesktop = WindowsDir() + "\\Tone Pilot Test\\Desktop Folder";
    MakeFolders(windowsPrograms + "\\Tone Pilot");
    MakeFolders(windowsDesktop);
    ASSERT_TRUE(SetCurrentDirectoryA(dir.c_str()));
    MessageBoxWatcher boxes;

    WriteUninstallScript(Folders(programs, 23, desktop, 25), false, true, dir.c_str());
    std::string group = ShortForm(programs + "\\Tone Pilot");
    EXPECT_EQ(ReadWholeFile(dir + "tnp.inf"),
              WithLinkRows(Rows(false, true, WindowsDir()), "TNP_DelLinks=16407," + group.substr(group.rfind('\\') + 1),
                           "TNP_DelDesktop=16409"));

    WriteUninstallScript(Folders(windowsPrograms, 2, windowsDesktop, 16), false, true, dir.c_str());
    size_t windows = ShortForm(WindowsDir()).size() + 1;
    EXPECT_EQ(ReadWholeFile(dir + "tnp.inf"),
              WithLinkRows(Rows(false, true, WindowsDir()),
                           "TNP_DelLinks=10," + ShortForm(windowsPrograms + "\\Tone Pilot").substr(windows),
                           "TNP_DelDesktop=10," + ShortForm(windowsDesktop).substr(windows)));
    EXPECT_TRUE(boxes.Texts().empty());
    SetCurrentDirectoryA("C:\\");
}

TEST(BadInputUninstallScript, AScriptThatCantBeCreatedIsReported)
{
    std::string dir = MakeScratchDir("blocked-script");
    CreateDirectoryA((dir + "tnp.inf").c_str(), NULL);  // a directory where the script belongs
    ASSERT_TRUE(SetCurrentDirectoryA(dir.c_str()));
    MessageBoxWatcher boxes;
    EXPECT_FALSE(WriteUninstallScript(Folders("C:\\P", 0, "C:\\D", 0), true, true, dir.c_str()))
        << "false success: reported as written";
    SetCurrentDirectoryA("C:\\");
    EXPECT_FALSE(PathExists(dir + "tnp_new7.tmp")) << "the script was left under another name";
    std::vector<std::string> texts = boxes.Texts();
    ASSERT_EQ(texts.size(), 1u) << "false success: nothing was said";
    EXPECT_EQ(texts[0], "Uninstall script " + dir + "tnp.inf could not be written, RC=5");
}

TEST(UninstallEntry, ValuesAndSizesAndASecondInstallationOverwrites)
{
    std::string first = MakeScratchDir("entry-first");
    std::string second = MakeScratchDir("Entry Second Long Name");
    MessageBoxWatcher boxes;
    RegisterUninstallEntry(first.c_str(), 624);
    DWORD size = 0;
    EXPECT_EQ(Value("DisplayName", &size), "Tone Pilot");
    EXPECT_EQ(size, 11u);
    EXPECT_EQ(Value("DisplayIcon", &size), first + "tnp.exe");
    EXPECT_EQ(Value("InstallLocation", &size), first);
    EXPECT_EQ(Number("EstimatedSize"), 624u);
    EXPECT_EQ(Number("NoModify"), 1u);
    EXPECT_EQ(Number("NoRepair"), 1u);
    char shortForm[MAX_PATH];
    ASSERT_NE(GetShortPathNameA(first.c_str(), shortForm, sizeof shortForm), 0u);
    std::string command = "rundll32.exe setupapi.dll,InstallHinfSection Uninstall_TNP 128 " + std::string(shortForm) + "tnp.inf";
    EXPECT_EQ(Value("UninstallString", &size), command);
    EXPECT_EQ(size, command.size() + 1);
    EXPECT_EQ(Value("QuietUninstallString", &size), command) << "deployment tools run it unattended";
    EXPECT_EQ(Value("Publisher", &size), "<no value>") << "a build that names no maker";

    RegisterUninstallEntry(second.c_str(), 624);
    ASSERT_NE(GetShortPathNameA(second.c_str(), shortForm, sizeof shortForm), 0u);
    EXPECT_NE(std::string(shortForm), second) << "the short form has no blanks";
    EXPECT_EQ(Value("UninstallString", &size),
              "rundll32.exe setupapi.dll,InstallHinfSection Uninstall_TNP 128 " + std::string(shortForm) + "tnp.inf");
    EXPECT_TRUE(boxes.Texts().empty());
}

TEST(BadInputUninstallEntry, AMissingDirectoryFallsBackToItsLongForm)
{
    MessageBoxWatcher boxes;
    RegisterUninstallEntry("C:\\does not exist\\", 624);
    DWORD size = 0;
    EXPECT_EQ(Value("UninstallString", &size),
              "rundll32.exe setupapi.dll,InstallHinfSection Uninstall_TNP 128 C:\\does not exist\\tnp.inf");
    EXPECT_TRUE(boxes.Texts().empty());
}

TEST(BadInputUninstallEntry, AKeyThatCantBeCreatedIsReported)
{
    // A volatile parent refuses the lasting key the entry needs, which the registry itself
    // enforces; this is a throw-away prefix, so its Uninstall key may be replaced.
    const char parent[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall";
    SHDeleteKeyA(HKEY_LOCAL_MACHINE, parent);
    HKEY key;
    ASSERT_EQ(RegCreateKeyExA(HKEY_LOCAL_MACHINE, parent, 0, NULL, REG_OPTION_VOLATILE, KEY_ALL_ACCESS, NULL, &key,
                              NULL),
              ERROR_SUCCESS);
    RegCloseKey(key);
    MessageBoxWatcher boxes;
    RegisterUninstallEntry("C:\\", 624);
    std::vector<std::string> texts = boxes.Texts();
    ASSERT_EQ(texts.size(), 1u) << "false success: nothing was said";
    EXPECT_EQ(texts[0], "Uninstall entry could not be registered, RC=1021");
    DWORD size = 0;
    EXPECT_EQ(Value("DisplayName", &size), "<no key>");
    SHDeleteKeyA(HKEY_LOCAL_MACHINE, parent);
}
