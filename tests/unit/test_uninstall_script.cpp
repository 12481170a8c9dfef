// tnp.inf byte for byte, the uninstall entry, and what each does when it can't be written.
#include <gtest/gtest.h>
#include <windows.h>
#include <shlwapi.h>
#include <string>
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

// The script as the composer builds it for a given Windows directory, piece by piece.
std::string Composed(bool nt, bool desktop, const char *windir)
{
    const char *files[] = {"TNPRead.txt", "tnp.hlp", "tnp.cnt", "tnp.exe", "tnp32hlp.dll", "tnp16hlp.dll"};
    const char *links[] = {"ReadMe File", "Help Contents", "Tone Pilot"};
    char text[500];
    std::string s;
    EXPECT_TRUE(ComposeScriptHead(text, sizeof text, nt, desktop));
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
    // The first write holds rows 1 to 20 whole; at its longest it is 444 characters.
    char head[500];
    ASSERT_TRUE(ComposeScriptHead(head, sizeof head, true, true));
    EXPECT_EQ(strlen(head), 444u);
    EXPECT_FALSE(ComposeScriptHead(head, 444, true, true));
    EXPECT_STREQ(head, "");
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

TEST(UninstallScript, WrittenIntoTheCurrentDirectoryForAllFourChoices)
{
    std::string dir = MakeScratchDir("script");
    ASSERT_TRUE(SetCurrentDirectoryA(dir.c_str()));
    for (int nt = 0; nt < 2; ++nt)
        for (int desktop = 0; desktop < 2; ++desktop) {
            WriteWholeFile(dir + "tnp.inf", std::string(2000, 'x'));  // replaced whole, never appended to
            MessageBoxWatcher boxes;
            EXPECT_TRUE(WriteUninstallScript(nt != 0, desktop != 0, dir.c_str()));
            EXPECT_EQ(ReadWholeFile(dir + "tnp.inf"), Rows(nt != 0, desktop != 0, WindowsDir()));
            EXPECT_FALSE(PathExists(dir + "tnp_new.tmp")) << "the script was written under another name";
            EXPECT_TRUE(boxes.Texts().empty());
        }
    SetCurrentDirectoryA("C:\\");
}

TEST(BadInputUninstallScript, AScriptThatCantBeCreatedIsReported)
{
    std::string dir = MakeScratchDir("blocked-script");
    CreateDirectoryA((dir + "tnp.inf").c_str(), NULL);  // a directory where the script belongs
    ASSERT_TRUE(SetCurrentDirectoryA(dir.c_str()));
    MessageBoxWatcher boxes;
    EXPECT_FALSE(WriteUninstallScript(true, true, dir.c_str())) << "false success: reported as written";
    SetCurrentDirectoryA("C:\\");
    EXPECT_FALSE(PathExists(dir + "tnp_new.tmp")) << "the script was left under another name";
    std::vector<std::string> texts = boxes.Texts();
    ASSERT_EQ(texts.size(), 1u) << "false success: nothing was said";
    EXPECT_EQ(texts[0], "Uninstall script " + dir + "tnp.inf could not be written, RC=5");
}

TEST(UninstallEntry, ValuesAndSizesAndASecondInstallationOverwrites)
{
    std::string first = MakeScratchDir("entry-first");
    std::string second = MakeScratchDir("Entry Second Long Name");
    MessageBoxWatcher boxes;
    RegisterUninstallEntry(first.c_str());
    DWORD size = 0;
    EXPECT_EQ(Value("DisplayName", &size), "Tone Pilot");
    EXPECT_EQ(size, 11u);
    char shortForm[MAX_PATH];
    ASSERT_NE(GetShortPathNameA(first.c_str(), shortForm, sizeof shortForm), 0u);
    std::string command = "rundll32.exe setupapi.dll,InstallHinfSection Uninstall_TNP 128 " + std::string(shortForm) + "tnp.inf";
    EXPECT_EQ(Value("UninstallString", &size), command);
    EXPECT_EQ(size, command.size() + 1);

    RegisterUninstallEntry(second.c_str());
    ASSERT_NE(GetShortPathNameA(second.c_str(), shortForm, sizeof shortForm), 0u);
    EXPECT_NE(std::string(shortForm), second) << "the short form has no blanks";
    EXPECT_EQ(Value("UninstallString", &size),
              "rundll32.exe setupapi.dll,InstallHinfSection Uninstall_TNP 128 " + std::string(shortForm) + "tnp.inf");
    EXPECT_TRUE(boxes.Texts().empty());
}

TEST(BadInputUninstallEntry, AMissingDirectoryFallsBackToItsLongForm)
{
    MessageBoxWatcher boxes;
    RegisterUninstallEntry("C:\\does not exist\\");
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
    RegisterUninstallEntry("C:\\");
    std::vector<std::string> texts = boxes.Texts();
    ASSERT_EQ(texts.size(), 1u) << "false success: nothing was said";
    EXPECT_EQ(texts[0], "Uninstall entry could not be registered, RC=1021");
    DWORD size = 0;
    EXPECT_EQ(Value("DisplayName", &size), "<no key>");
    SHDeleteKeyA(HKEY_LOCAL_MACHINE, parent);
}
