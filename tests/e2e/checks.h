// What an installation leaves on the machine, read back through the platform.
#pragma once
#include <string>
#include <vector>

struct LinkInfo {
    bool loaded = false;
    std::string target;
    std::string arguments;
    bool runAsAdministrator = false;  // RunAsUser in the file's LinkFlags, as Windows reads it
};

LinkInfo ReadLink(const std::string &linkFile);
// Under WoW64 the system's WoW64 folder; "" on 32-bit Windows and for the 64-bit twin.
std::string Wow64Folder();
extern const char kUninstallKey[];  // under HKEY_LOCAL_MACHINE
// The uninstall entry's value, or "<missing>".
std::string UninstallValue(const char *name);
unsigned long UninstallValueSize(const char *name);
unsigned long UninstallNumber(const char *name);  // a REG_DWORD value; ~0 when there is none
// In either registry view of 64-bit Windows.
bool UninstallEntryExists();
std::string HkcrDefault(const char *key);
// The default values of the audio-CD keys (type 0: no such key) in the order setup reads them; a
// key without one, as Windows 8 and later keep many a verb, is kDelegateOnly with its DelegateExecute.
struct RegText {
    unsigned long type;
    std::string text;
};
typedef std::vector<RegText> AudioCd;
const unsigned long kDelegateOnly = ~0ul;
extern const char *const kAudioCdKeys[3];
AudioCd AudioCdValues();
void SetAudioCdValues(const AudioCd &values);
std::string ShortPath(const std::string &path);
// The ProductVersion string of a program's version resource, as Windows reads it; "" for none.
std::string ProductVersionOf(const std::string &exe);
std::string FileBytes(const std::string &path);
bool Exists(const std::string &path);
// The names a folder holds ("." and ".." left out), sorted.
std::vector<std::string> FolderEntries(const std::string &folder);
std::string WindowsDirectory();
// The name the shell shows for My Computer.
std::string MyComputerName();

// tnp.inf as its rows read, written out here independently of the program, for links in these
// places (the group folder ends with a backslash). The destinations of the links come from the
// system's short names and the directory ids run_e2e.sh expects (TNP_EXPECT_DIRIDS); audio CDs
// go back to the CD Player where run_e2e.sh laid one out (TNP_EXPECT_CDPLAYER), else to `players`.
std::string ExpectedScript(bool ntLayout, bool desktop, const std::string &windowsDir, const std::string &programGroup,
                           const std::string &desktopLink, const AudioCd &players);

// Every file below `root` with one of the four names, by full path in lower case, sorted; links
// into other trees (Wine's into the host) are not followed.
std::vector<std::string> FilesNamed(const std::string &root, const char *const (&names)[4]);
std::vector<std::string> SortedIgnoringCase(std::vector<std::string> paths);

struct PayloadFile {
    const char *name;
    size_t size;
};
extern const PayloadFile kPayloadFiles[6];
// Folder holding the files the payload was packed from.
std::string ExpectedPayloadDir();
