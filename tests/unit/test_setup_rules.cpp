// The product's pure rules: the uninstall-string parse, the folder rules and the command.
#include <gtest/gtest.h>
#include <string>
#include "code_pages.h"
#include "setup/command_line.h"
#include "setup/folders.h"
#include "setup/uninstall_command.h"

static std::string Parse(const std::string &value)
{
    char directory[260];
    memset(directory, 'x', sizeof directory);
    ParseUninstallString(value.c_str(), directory, sizeof directory, SingleByteCodePage);
    return directory;
}

TEST(UninstallStringParse, TakesTheShortDirectoryWithoutItsBackslash)
{
    EXPECT_EQ(Parse("rundll32.exe setupapi.dll,InstallHinfSection Uninstall_TNP 128 "
                    "C:\\PROGRA~1\\TONEPI~1\\tnp.inf"),
              "C:\\PROGRA~1\\TONEPI~1");
    EXPECT_EQ(Parse("a b  c C:\\x\\tnp.inf"), "C:\\x");  // several spaces: the last one counts
    EXPECT_EQ(Parse("run 128 C:\\tnp.inf"), "C:");
    // Where a volume keeps no short names the product's own command holds the long path, blanks
    // and all; any other command still splits at its last blank.
    EXPECT_EQ(Parse("rundll32.exe setupapi.dll,InstallHinfSection Uninstall_TNP 128 "
                    "C:\\Program Files\\Tone Pilot\\tnp.inf"),
              "C:\\Program Files\\Tone Pilot");
    EXPECT_EQ(Parse("rundll32.exe setupapi.dll,InstallHinfSection Other 128 C:\\Program Files\\Tone Pilot\\tnp.inf"),
              "Pilot");
}

TEST(UninstallStringParse, GivesEmptyForEverythingElse)
{
    EXPECT_EQ(Parse("rundll32.exe 128 tnp.inf"), "");      // no backslash after the space
    EXPECT_EQ(Parse("rundll32.exe 128 \\tnp.inf"), "");    // backslash only at position 0
    EXPECT_EQ(Parse("rundll32.exe C:\\x\\tnp.inf "), "");  // ends with a space
    EXPECT_EQ(Parse("C:\\no\\spaces\\tnp.inf"), "");       // no space at position 1 or later
    EXPECT_EQ(Parse(" C:\\x\\tnp.inf"), "");               // a space at position 0 only
    EXPECT_EQ(Parse(""), "");
    EXPECT_EQ(Parse("cmd\tC:\\x\\tnp.inf"), "");           // tabs are not spaces
}

TEST(UninstallStringParse, RefusesATailThatWouldNotFit)
{
    std::string fits = "C:\\" + std::string(248, 'd') + "\\tnp.inf";  // 259 characters
    ASSERT_EQ(fits.size(), 259u);
    EXPECT_EQ(Parse("run " + fits), "C:\\" + std::string(248, 'd'));
    std::string tooLong = "C:\\" + std::string(249, 'd') + "\\tnp.inf";  // 260 characters
    EXPECT_EQ(Parse("run " + tooLong), "");
    EXPECT_EQ(Parse("run " + std::string(400, 'x') + "\\" + std::string(100, 'y')), "");
    std::string head = "rundll32.exe setupapi.dll,InstallHinfSection Uninstall_TNP 128 ";
    std::string spaced = "C:\\" + std::string(120, 'd') + " " + std::string(127, 'd') + "\\tnp.inf";  // 259
    EXPECT_EQ(Parse(head + spaced), spaced.substr(0, 251));
    EXPECT_EQ(Parse(head + "C:\\ " + spaced.substr(3)), "") << "260 characters";
}

static std::string Rule(bool (*rule)(char *, int, const char *, bool), const char *windowsDir,
                        bool nt, int capacity = 260)
{
    char out[600];
    memset(out, 'x', sizeof out);
    bool ok = rule(out, capacity, windowsDir, nt);
    return ok ? std::string(out) : "refused:" + std::string(out);
}

static std::string Rule(bool (*rule)(char *, int, const char *), const std::string &folder, int capacity = 260)
{
    char out[600];
    memset(out, 'x', sizeof out);
    bool ok = rule(out, capacity, folder.c_str());
    return ok ? std::string(out) : "refused:" + std::string(out);
}

TEST(FolderRules, BothLayouts)
{
    std::string programs95 = Rule(BuildComposedProgramsFolder, "C:\\WINDOWS", false);
    EXPECT_EQ(programs95, "C:\\WINDOWS\\Start Menu\\Programs");
    EXPECT_EQ(Rule(BuildProgramGroupFolder, programs95), "C:\\WINDOWS\\Start Menu\\Programs\\Tone Pilot\\");
    EXPECT_EQ(Rule(BuildRundll32Path, "C:\\WINDOWS", false), "C:\\WINDOWS\\rundll32.exe");
    std::string programsNt = Rule(BuildComposedProgramsFolder, "C:\\WINNT", true);
    EXPECT_EQ(Rule(BuildProgramGroupFolder, programsNt),
              "C:\\WINNT\\Profiles\\All Users\\Start Menu\\Programs\\Tone Pilot\\");
    EXPECT_EQ(Rule(BuildRundll32Path, "C:\\WINNT", true), "C:\\WINNT\\system32\\rundll32.exe");
    EXPECT_EQ(Rule(BuildDesktopLinkFile, Rule(BuildComposedDesktopFolder, "C:\\WINNT", true)),
              "C:\\WINNT\\Profiles\\All Users\\Desktop\\Tone Pilot.lnk");
    EXPECT_EQ(Rule(BuildDesktopLinkFile, Rule(BuildComposedDesktopFolder, "C:\\WINDOWS", false)),
              "C:\\WINDOWS\\Desktop\\Tone Pilot.lnk");
    // The shell's own folders, wherever and in whatever language they are.
    EXPECT_EQ(Rule(BuildProgramGroupFolder, "C:\\WINDOWS\\Startm\xfcnu\\Programme"),
              "C:\\WINDOWS\\Startm\xfcnu\\Programme\\Tone Pilot\\");
    EXPECT_EQ(Rule(BuildDesktopLinkFile, "C:\\Documents and Settings\\All Users\\Desktop"),
              "C:\\Documents and Settings\\All Users\\Desktop\\Tone Pilot.lnk");
    EXPECT_TRUE(IsNtLayout(2));
    EXPECT_FALSE(IsNtLayout(1));
    EXPECT_FALSE(IsNtLayout(0));
    EXPECT_FALSE(IsNtLayout(3));
}

TEST(FolderRules, ATooLongFolderIsRefusedNotCut)
{
    std::string windowsDir = "C:\\" + std::string(200, 'w');
    // 203 + 19 + 20 + 12 = 254 characters fit in 260; with 40 more they do not.
    std::string programs = Rule(BuildComposedProgramsFolder, windowsDir.c_str(), true);
    EXPECT_EQ(Rule(BuildProgramGroupFolder, programs).size(), 254u);
    EXPECT_EQ(Rule(BuildProgramGroupFolder, programs + std::string(40, 'v')), "refused:");
    EXPECT_EQ(Rule(BuildComposedProgramsFolder, "C:\\WINNT", true, 47), "refused:");
    EXPECT_EQ(Rule(BuildComposedProgramsFolder, "C:\\WINNT", true, 48).size(), 47u);
    EXPECT_EQ(Rule(BuildProgramGroupFolder, "C:\\P", 16), "refused:");
    EXPECT_EQ(Rule(BuildProgramGroupFolder, "C:\\P", 17), "C:\\P\\Tone Pilot\\");
    EXPECT_EQ(Rule(BuildDesktopLinkFile, "C:\\D", 19), "refused:");
    EXPECT_EQ(Rule(BuildDesktopLinkFile, "C:\\D", 20), "C:\\D\\Tone Pilot.lnk");
}

TEST(UninstallCommand, FromTheShortInstallDirectory)
{
    char out[500];
    ASSERT_TRUE(BuildUninstallCommand(out, sizeof out, "C:\\PROGRA~1\\TONEPI~1\\"));
    EXPECT_STREQ(out, "rundll32.exe setupapi.dll,InstallHinfSection Uninstall_TNP 128 C:\\PROGRA~1\\TONEPI~1\\tnp.inf");
    ASSERT_TRUE(BuildUninstallArguments(out, sizeof out, "C:\\PROGRA~1\\TONEPI~1\\"));
    EXPECT_STREQ(out, "setupapi.dll,InstallHinfSection Uninstall_TNP 128 C:\\PROGRA~1\\TONEPI~1\\tnp.inf");
    // The command parses back to the directory it was made from.
    ASSERT_TRUE(BuildUninstallCommand(out, sizeof out, "D:\\APPS~1\\"));
    EXPECT_EQ(Parse(out), "D:\\APPS~1");
    ASSERT_TRUE(BuildUninstallCommand(out, sizeof out, "D:\\My Apps\\Tone Pilot\\"));
    EXPECT_EQ(Parse(out), "D:\\My Apps\\Tone Pilot");
    EXPECT_FALSE(BuildUninstallCommand(out, 70, "C:\\PROGRA~1\\TONEPI~1\\"));
    EXPECT_STREQ(out, "");
}

TEST(CommandLine, WinMainGetsWhatFollowsTheProgramName)
{
    EXPECT_STREQ(SkipProgramName("setup.exe"), "");
    EXPECT_STREQ(SkipProgramName("setup.exe  \t /x y"), "/x y");
    EXPECT_STREQ(SkipProgramName("\"C:\\My Files\\setup.exe\" arg"), "arg");
    EXPECT_STREQ(SkipProgramName("\"C:\\unterminated"), "");
    EXPECT_STREQ(SkipProgramName(""), "");
}

TEST(FolderRules, TheBrowsedFolderGetsTheProductFolderBelowIt)
{
    char out[32];
    ASSERT_TRUE(BuildBrowsedInstallDirectory(out, sizeof out, "D:\\Apps", SingleByteCodePage));
    EXPECT_STREQ(out, "D:\\Apps\\Tone Pilot");
    ASSERT_TRUE(BuildBrowsedInstallDirectory(out, sizeof out, "D:\\", SingleByteCodePage));
    EXPECT_STREQ(out, "D:\\Tone Pilot") << "a drive root has its backslash already";
    ASSERT_TRUE(BuildBrowsedInstallDirectory(out, sizeof out, "\\\\server\\share\\", SingleByteCodePage));
    EXPECT_STREQ(out, "\\\\server\\share\\Tone Pilot");
    ASSERT_TRUE(BuildBrowsedInstallDirectory(out, sizeof out, "D:\\abcdefghijklmnopq", SingleByteCodePage));  // 31 with the suffix
    EXPECT_FALSE(BuildBrowsedInstallDirectory(out, sizeof out, "D:\\abcdefghijklmnopqr", SingleByteCodePage));
    EXPECT_STREQ(out, "") << "refused, not cut";
}
