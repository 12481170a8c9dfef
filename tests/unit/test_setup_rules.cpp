// The product's pure rules: the uninstall-string parse, the folder rules and the command.
#include <gtest/gtest.h>
#include <windows.h>
#include <sddl.h>
#include <string>
#include <vector>
#include "code_pages.h"
#include "install/folder_rights.h"
#include "install/folder_security.h"
#include "setup/command_line.h"
#include "setup/folders.h"
#include "setup/uninstall_command.h"

static std::string Parse(const std::string &value, LeadByteRule isLead = SingleByteCodePage)
{
    char directory[260];
    memset(directory, 'x', sizeof directory);
    ParseUninstallString(value.c_str(), directory, sizeof directory, isLead);
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

// Code page 932: \x83\x5C is a katakana, \x95\x5C and \x97\x5C kanji; 950: \xB3\x5C and \xA5\x5C.
// In 932 \xA5 is a character of its own (a half-width katakana), so \xA5\x5C is that and a backslash.
TEST(UninstallStringParse, ASecondByte5CIsPartOfTheNameInDoubleByteCodePages)
{
    std::string head = "rundll32.exe setupapi.dll,InstallHinfSection Uninstall_TNP 128 ";
    EXPECT_EQ(Parse(head + "C:\\\x83\x5C\\tnp.inf", CodePage932Lead), "C:\\\x83\x5C");
    EXPECT_EQ(Parse(head + "D:\\\xB3\x5C\\\xA5\x5C\\tnp.inf", CodePage950Lead), "D:\\\xB3\x5C\\\xA5\x5C");
    EXPECT_EQ(Parse("run C:\\\x95\x5C\\\x97\x5C", CodePage932Lead), "C:\\\x95\x5C");
    EXPECT_EQ(Parse("run D:\\\xB3\x5C\\\xA5\x5C", CodePage950Lead), "D:\\\xB3\x5C");
    EXPECT_EQ(Parse("run D:\\\xB3\x5C\\\xA5\x5C", CodePage932Lead), "D:\\\xB3\x5C\\\xA5");
    EXPECT_EQ(Parse("run C:\x83\x5Ctnp.inf", CodePage932Lead), "") << "no separator, only a second byte";
    EXPECT_EQ(Parse("run C:\x83\x5Ctnp.inf"), "C:\x83") << "one byte, one character";
    EXPECT_EQ(Parse("run C:\\\x95\x5C\\\x97\x5C"), "C:\\\x95\x5C\\\x97");
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

static std::string Rule(bool (*rule)(char *, int, const char *, LeadByteRule), const std::string &folder,
                        int capacity = 260, LeadByteRule isLead = SingleByteCodePage)
{
    char out[600];
    memset(out, 'x', sizeof out);
    bool ok = rule(out, capacity, folder.c_str(), isLead);
    return ok ? std::string(out) : "refused:" + std::string(out);
}

TEST(FolderRules, BothLayouts)
{
    std::string programs95 = Rule(BuildComposedProgramsFolder, "C:\\WINDOWS", false);
    EXPECT_EQ(programs95, "C:\\WINDOWS\\Start Menu\\Programs");
    EXPECT_EQ(Rule(BuildProgramGroupFolder, programs95), "C:\\WINDOWS\\Start Menu\\Programs\\Tone Pilot\\");
    char out[300];
    ASSERT_TRUE(BuildUninstallRunnerPath(out, sizeof out, "C:\\WINDOWS", false, ""));
    EXPECT_STREQ(out, "C:\\WINDOWS\\rundll32.exe");
    std::string programsNt = Rule(BuildComposedProgramsFolder, "C:\\WINNT", true);
    EXPECT_EQ(Rule(BuildProgramGroupFolder, programsNt),
              "C:\\WINNT\\Profiles\\All Users\\Start Menu\\Programs\\Tone Pilot\\");
    ASSERT_TRUE(BuildUninstallRunnerPath(out, sizeof out, "C:\\WINNT", true, ""));
    EXPECT_STREQ(out, "C:\\WINNT\\system32\\rundll32.exe");
    ASSERT_TRUE(BuildToolPath(out, sizeof out, "C:\\WINNT", true, "cdplayer.exe"));
    EXPECT_STREQ(out, "C:\\WINNT\\system32\\cdplayer.exe");
    // Under WoW64 the 32-bit one, wherever the Windows directory is.
    ASSERT_TRUE(BuildUninstallRunnerPath(out, sizeof out, "C:\\WINNT", true, "C:\\Windows\\SysWOW64"));
    EXPECT_STREQ(out, "C:\\Windows\\SysWOW64\\rundll32.exe");
    EXPECT_EQ(Rule(BuildDesktopLinkFile, Rule(BuildComposedDesktopFolder, "C:\\WINNT", true)),
              "C:\\WINNT\\Profiles\\All Users\\Desktop\\Tone Pilot.lnk");
    EXPECT_EQ(Rule(BuildDesktopLinkFile, Rule(BuildComposedDesktopFolder, "C:\\WINDOWS", false)),
              "C:\\WINDOWS\\Desktop\\Tone Pilot.lnk");
    // The shell's own folders, wherever and in whatever language they are.
    EXPECT_EQ(Rule(BuildProgramGroupFolder, "C:\\WINDOWS\\Startm\xfcnu\\Programme"),
              "C:\\WINDOWS\\Startm\xfcnu\\Programme\\Tone Pilot\\");
    EXPECT_EQ(Rule(BuildDesktopLinkFile, "C:\\Documents and Settings\\All Users\\Desktop"),
              "C:\\Documents and Settings\\All Users\\Desktop\\Tone Pilot.lnk");
    // A drive root the shell may name brings its own backslash; a trail byte 0x5C is none.
    EXPECT_EQ(Rule(BuildProgramGroupFolder, "D:\\"), "D:\\Tone Pilot\\");
    EXPECT_EQ(Rule(BuildDesktopLinkFile, "D:\\"), "D:\\Tone Pilot.lnk");
    EXPECT_EQ(Rule(BuildProgramGroupFolder, "C:\\\x95\x5C", 260, CodePage932Lead), "C:\\\x95\x5C\\Tone Pilot\\");
    EXPECT_EQ(Rule(BuildDesktopLinkFile, "C:\\\xB3\x5C", 260, CodePage950Lead), "C:\\\xB3\x5C\\Tone Pilot.lnk");
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

// The system's program folder where it is not the English one, else the seed's text.
TEST(FolderRules, TheDefaultDirectoryIsInTheSystemsProgramFolder)
{
    auto proposal = [](const char *folder, int capacity = 259, LeadByteRule isLead = SingleByteCodePage) {
        char out[300];
        BuildDefaultInstallDirectory(out, capacity, folder, isLead);
        return std::string(out);
    };
    EXPECT_EQ(proposal("C:\\Program Files (x86)"), "C:\\Program Files (x86)\\Tone Pilot");
    EXPECT_EQ(proposal("C:\\Programme"), "C:\\Programme\\Tone Pilot");
    EXPECT_EQ(proposal("D:\\"), "D:\\Tone Pilot");
    EXPECT_EQ(proposal("C:\\\x95\x5C", 259, CodePage932Lead), "C:\\\x95\x5C\\Tone Pilot");
    for (const char *seed : {"C:\\Program Files", "c:\\PROGRAM FILES", "C:\\Program Files\\", ""})
        EXPECT_EQ(proposal(seed), "c:\\Program Files\\Tone Pilot") << seed;
    std::string deep = "D:\\" + std::string(244, 'p');  // with "\\Tone Pilot" 258, room for the backslash
    EXPECT_EQ(proposal(deep.c_str()), deep + "\\Tone Pilot");
    EXPECT_EQ(proposal((deep + "p").c_str()), "c:\\Program Files\\Tone Pilot");
}

TEST(UninstallCommand, FromTheShortInstallDirectory)
{
    char out[500];
    // Under WoW64 the runner is the 32-bit one by its path; the directory still parses back.
    ASSERT_TRUE(BuildUninstallCommand(out, sizeof out, "C:\\Windows\\SysWOW64", "C:\\My Apps\\Tone Pilot\\"));
    EXPECT_STREQ(out, "C:\\Windows\\SysWOW64\\rundll32.exe setupapi.dll,InstallHinfSection Uninstall_TNP 128 "
                      "C:\\My Apps\\Tone Pilot\\tnp.inf");
    EXPECT_EQ(Parse(out), "C:\\My Apps\\Tone Pilot");
    EXPECT_EQ(Parse("C:\\Windows\\SysWOW64\\xrundll32.exe setupapi.dll,InstallHinfSection Uninstall_TNP 128 C:\\a b\\tnp.inf"),
              "b") << "another program";
    ASSERT_TRUE(BuildUninstallCommand(out, sizeof out, "", "C:\\PROGRA~1\\TONEPI~1\\"));
    EXPECT_STREQ(out, "rundll32.exe setupapi.dll,InstallHinfSection Uninstall_TNP 128 C:\\PROGRA~1\\TONEPI~1\\tnp.inf");
    ASSERT_TRUE(BuildUninstallArguments(out, sizeof out, "C:\\PROGRA~1\\TONEPI~1\\"));
    EXPECT_STREQ(out, "setupapi.dll,InstallHinfSection Uninstall_TNP 128 C:\\PROGRA~1\\TONEPI~1\\tnp.inf");
    // The command parses back to the directory it was made from.
    ASSERT_TRUE(BuildUninstallCommand(out, sizeof out, "", "D:\\APPS~1\\"));
    EXPECT_EQ(Parse(out), "D:\\APPS~1");
    ASSERT_TRUE(BuildUninstallCommand(out, sizeof out, "", "D:\\My Apps\\Tone Pilot\\"));
    EXPECT_EQ(Parse(out), "D:\\My Apps\\Tone Pilot");
    EXPECT_FALSE(BuildUninstallCommand(out, 70, "", "C:\\PROGRA~1\\TONEPI~1\\"));
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

TEST(CommandLine, SwitchesAsDeploymentSystemsGiveThem)
{
    // line | silent | malformed | directory | log
    const char *const rows[][5] = {
        {"", "", "", "", ""}, {"readme.txt /s", "1", "", "", ""}, {"/S /SD", "1", "1", "", ""},
        {"/log=\"C:\\my logs\\a.log\" /S /d=\"D:\\My Apps\" \t ", "1", "", "D:\\My Apps", "C:\\my logs\\a.log"},
        {"/D=C:\\x /S", "", "", "C:\\x /S", ""}, {"/S /D=  ", "1", "1", "", ""}, {"/LOG= /S", "1", "1", "", ""},
        {"/LOG=\"a b /S", "", "1", "", ""}, {"/LOG=\"\" /S", "1", "1", "", ""}};
    for (const auto &row : rows) {
        Switches switches;
        ParseSwitches(row[0], switches);
        EXPECT_EQ(switches.silent, row[1][0] != '\0') << row[0];
        EXPECT_EQ(switches.malformed, row[2][0] != '\0') << row[0];
        EXPECT_STREQ(switches.directory, row[3]) << row[0];
        EXPECT_STREQ(switches.log, row[4]) << row[0];
    }
}

TEST(FolderRules, TheBrowsedFolderGetsTheProductFolderBelowIt)
{
    const auto browsed = [](const char *picked, LeadByteRule isLead = SingleByteCodePage) {
        return Rule(BuildBrowsedInstallDirectory, picked, 32, isLead);
    };
    EXPECT_EQ(browsed("D:\\Apps"), "D:\\Apps\\Tone Pilot");
    EXPECT_EQ(browsed("D:\\"), "D:\\Tone Pilot") << "a drive root has its backslash already";
    EXPECT_EQ(browsed("\\\\server\\share\\"), "\\\\server\\share\\Tone Pilot");
    EXPECT_EQ(browsed("D:\\abcdefghijklmnopq"), "D:\\abcdefghijklmnopq\\Tone Pilot");  // 31 with the suffix
    EXPECT_EQ(browsed("D:\\abcdefghijklmnopqr"), "refused:") << "refused, not cut";

    EXPECT_EQ(browsed("D:\\\x95\x5C", CodePage932Lead), "D:\\\x95\x5C\\Tone Pilot");
    EXPECT_EQ(browsed("D:\\\x83\x5C\\", CodePage932Lead), "D:\\\x83\x5C\\Tone Pilot");
    EXPECT_EQ(browsed("D:\\\xA5\x5C", CodePage950Lead), "D:\\\xA5\x5C\\Tone Pilot");
    EXPECT_EQ(browsed("D:\\\xA5\x5C", CodePage932Lead), "D:\\\xA5\\Tone Pilot") << "a half-width katakana and a backslash";
    EXPECT_EQ(browsed("D:\\", CodePage950Lead), "D:\\Tone Pilot");
    EXPECT_EQ(browsed("D:\\\xE9\x5C"), "D:\\\xE9\\Tone Pilot") << "in 1252 every 0x5C is a backslash";
}

TEST(FolderRules, OnlyABackslashThatStartsACharacterEndsAPath)
{
    EXPECT_FALSE(EndsWithBackslash("C:\\\x83\x5C", CodePage932Lead));
    EXPECT_FALSE(EndsWithBackslash("C:\\\x90\x56\x8F\x5C", CodePage932Lead));
    EXPECT_TRUE(EndsWithBackslash("C:\\\x8F\x5C\\", CodePage932Lead));
    EXPECT_FALSE(EndsWithBackslash("C:\\\xBB\x5C", CodePage950Lead));
    EXPECT_TRUE(EndsWithBackslash("C:\\\xA5\x5C", CodePage932Lead));
    EXPECT_TRUE(EndsWithBackslash("C:\\\x83\x5C", SingleByteCodePage));
    EXPECT_TRUE(EndsWithBackslash("C:\\", CodePage932Lead));
    EXPECT_FALSE(EndsWithBackslash("", CodePage932Lead));
    EXPECT_FALSE(EndsWithBackslash("\x83", CodePage932Lead)) << "a lead byte at the end is one character";
    // A trail byte can itself look like a lead byte: \x83\x83 is one character, so the next
    // \x5C is a backslash.
    EXPECT_TRUE(EndsWithBackslash("C:\\\x83\x83\x5C", CodePage932Lead));
    EXPECT_FALSE(EndsWithBackslash("C:\\\x83\x83\x83\x5C", CodePage932Lead));
}

// Descriptors in SDDL as the system reads them, for the installing user S-1-5-21-1-2-3-1000.
// A self-relative descriptor from its SDDL text, as GetFileSecurityA would give it.
static std::vector<unsigned char> Descriptor(const char *sddl)
{
    PSECURITY_DESCRIPTOR sd = NULL;
    ULONG size = 0;
    if (!ConvertStringSecurityDescriptorToSecurityDescriptorA(sddl, SDDL_REVISION_1, &sd, &size)) {
        ADD_FAILURE() << "not SDDL: " << sddl;
        return {};
    }
    std::vector<unsigned char> bytes((unsigned char *)sd, (unsigned char *)sd + size);
    LocalFree(sd);
    return bytes;
}

TEST(FolderRights, OnlyTheSystemTheAdministratorsAndTheInstallingUserMayChangeTheFolder)
{
    const struct { const char *sddl; unsigned open; } rows[] = {
        {"O:BAD:(A;OICI;FA;;;SY)(A;OICIIO;SDGRGWGX;;;AU)", OPEN_DACL},       // below C:\ from Vista on
        {"O:BAD:(A;OICI;FA;;;SY)(A;CI;0x2;;;BU)", OPEN_DACL},                 // Users may add files
        {"O:S-1-5-21-1-2-3-1001D:(A;OICI;FA;;;SY)", OPEN_OWNER | OPEN_DACL},  // made by a plain user
        {"O:BA", OPEN_DACL},  // no DACL, as a NULL one (Wine reads D:NO_ACCESS_CONTROL as an empty one)
        {"O:S-1-5-80-956008885-3418522649-1831038044-1853292631-2271478464D:PAI(A;OICIIO;GA;;;CO)"
         "(A;OICI;FA;;;SY)(A;OICI;FA;;;BA)(A;OICI;0x1200a9;;;BU)(A;OICI;FA;;;S-1-5-21-1-2-3-1000)", 0},
    };
    PSID user = NULL;
    ASSERT_TRUE(ConvertStringSidToSidA("S-1-5-21-1-2-3-1000", &user));
    for (const auto &row : rows) {
        std::vector<unsigned char> sd = Descriptor(row.sddl);
        EXPECT_EQ(PartsOpenToOthers(sd.data(), (unsigned)sd.size(), (const unsigned char *)user, false), row.open) << row.sddl;
    }
    // What setup gives a folder open to others: Program Files' model, closed.
    unsigned char closed[CLOSED_DESCRIPTOR_SIZE];
    BuildClosedDescriptor(closed, true);
    char *text = NULL;
    ASSERT_TRUE(ConvertSecurityDescriptorToStringSecurityDescriptorA(closed, SDDL_REVISION_1, OPEN_OWNER | OPEN_DACL, &text, NULL));
    EXPECT_STREQ(text, "O:BAD:P(A;OICI;FA;;;SY)(A;OICI;FA;;;BA)(A;OICI;0x1200a9;;;BU)");
    EXPECT_EQ(PartsOpenToOthers(closed, sizeof closed, (const unsigned char *)user, false), 0u);
    LocalFree(text);
    LocalFree(user);
}

// Folders of the install path, above the install folder or at the root the walk starts at.
TEST(FolderRights, NoFolderOfThePathLetsAnotherPutAFolderInTheInstallFoldersPlace)
{
    const struct { unsigned long attributes; const char *sddl; int place; bool powerUsers, replace; } rows[] = {
        {0x10, "O:BAD:(A;OICI;FA;;;SY)(A;;0x40;;;AU)", PATH_DRIVE_ROOT, false, true},     // AU may delete children
        {0x10, "O:S-1-5-21-1-2-3-1001D:(A;OICI;FA;;;SY)", PATH_ABOVE, false, true},       // D:\Games, a user's
        {0x10, "O:BAD:AI(A;OICIID;FA;;;SY)(A;OICIID;0x1301bf;;;AU)", PATH_ABOVE, false, true},  // C:\Games on Vista
        {0x10, "O:BAD:(A;OICI;FA;;;BA)(A;OICI;0x1301bf;;;PU)", PATH_ABOVE, true, false},  // before Vista
        {0x10, "O:BAD:(A;OICI;FA;;;BA)(A;OICI;0x1301bf;;;PU)", PATH_ABOVE, false, true},  // Vista and later
        {0x410, "O:BAD:P(A;OICI;FA;;;SY)(A;OICI;FA;;;BA)", PATH_ABOVE, false, true},      // a junction
        {0x410, "O:BAD:P(A;OICI;FA;;;SY)(A;OICI;FA;;;BA)", PATH_INSTALL_FOLDER, false, true},
        {0x10, "O:BAD:(A;;FA;;;S-1-5-21-1-2-3-1001)", PATH_INSTALL_FOLDER, false, false},  // closed, not refused
        // Vista's C:\, whose Modify for AU is inherit-only: a root to start at, never to install into.
        {0x10, "O:SYD:(A;OICI;FA;;;BA)(A;OICIIO;SDGRGWGX;;;AU)(A;;0x4;;;AU)", PATH_DRIVE_ROOT, false, false},
        {0x10, "O:SYD:(A;OICI;FA;;;BA)(A;OICIIO;SDGRGWGX;;;AU)(A;;0x4;;;AU)", PATH_DRIVE_ROOT_INSTALLED, false, true},
    };
    PSID user = NULL;
    ASSERT_TRUE(ConvertStringSidToSidA("S-1-5-21-1-2-3-1000", &user));
    for (const auto &row : rows) {
        std::vector<unsigned char> sd = Descriptor(row.sddl);
        EXPECT_EQ(LetsOthersReplace(row.attributes, sd.data(), (unsigned)sd.size(), (const unsigned char *)user,
                                    row.powerUsers, row.place), row.replace) << row.sddl << " at " << row.place;
        if (row.place == PATH_ABOVE && row.powerUsers)  // the install folder inherits the same
            EXPECT_EQ(PartsOpenToOthers(sd.data(), (unsigned)sd.size(), (const unsigned char *)user, true), 0u);
    }
    LocalFree(user);
}

// NT 4's token groups: Administrators counts only where enabled, not where kept for denying.
TEST(FolderRights, AnAdministratorsTokenHoldsTheGroupEnabled)
{
    PSID users = NULL, administrators = NULL;
    ASSERT_TRUE(ConvertStringSidToSidA("BU", &users) && ConvertStringSidToSidA("BA", &administrators));
    struct { DWORD count; SID_AND_ATTRIBUTES groups[2]; } token = {2, {{users, SE_GROUP_ENABLED}, {administrators, SE_GROUP_USE_FOR_DENY_ONLY}}};
    EXPECT_FALSE(AdministratorsEnabledIn((const TOKEN_GROUPS *)&token)) << "a standard user's token under UAC";
    token.groups[1].Attributes = SE_GROUP_MANDATORY | SE_GROUP_ENABLED_BY_DEFAULT | SE_GROUP_ENABLED;
    EXPECT_TRUE(AdministratorsEnabledIn((const TOKEN_GROUPS *)&token));
    token.count = 1;
    EXPECT_FALSE(AdministratorsEnabledIn((const TOKEN_GROUPS *)&token)) << "the groups beyond the count";
    LocalFree(users);
    LocalFree(administrators);
}
