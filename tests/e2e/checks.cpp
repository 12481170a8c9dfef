#include "checks.h"
#include <windows.h>
#include <shlobj.h>
#include <shobjidl.h>
#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <sstream>

const PayloadFile kPayloadFiles[6] = {
    {"TNPRead.txt", 2320}, {"tnp.hlp", 171532},     {"tnp.cnt", 2104},
    {"tnp.exe", 441344},   {"tnp32hlp.dll", 18432}, {"tnp16hlp.dll", 4768},
};

std::string ExpectedPayloadDir()
{
    return "E:\\expect\\";
}

LinkInfo ReadLink(const std::string &linkFile)
{
    LinkInfo info;
    CoInitialize(NULL);
    IShellLinkA *link = NULL;
    if (SUCCEEDED(CoCreateInstance(CLSID_ShellLink, NULL, CLSCTX_INPROC_SERVER, IID_IShellLinkA, (void **)&link))) {
        IPersistFile *file = NULL;
        if (SUCCEEDED(link->QueryInterface(IID_IPersistFile, (void **)&file))) {
            WCHAR wide[MAX_PATH];
            MultiByteToWideChar(CP_ACP, 0, linkFile.c_str(), -1, wide, MAX_PATH);
            if (SUCCEEDED(file->Load(wide, STGM_READ))) {
                char text[1024] = "";
                link->GetPath(text, sizeof text, NULL, SLGP_RAWPATH);
                info.target = text;
                text[0] = '\0';
                link->GetArguments(text, sizeof text);
                info.arguments = text;
                info.loaded = true;
                info.runAsAdministrator = (FileBytes(linkFile).substr(20, 4) + "    ")[1] & 0x20;
            }
            file->Release();
        }
        link->Release();
    }
    CoUninitialize();
    return info;
}

const char kUninstallKey[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Tone Pilot";

std::string UninstallValue(const char *name)
{
    HKEY key;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kUninstallKey, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return "<missing>";
    char text[1024] = "";
    DWORD size = sizeof text, type = 0;
    LONG rc = RegQueryValueExA(key, name, NULL, &type, (BYTE *)text, &size);
    RegCloseKey(key);
    return rc == ERROR_SUCCESS && type == REG_SZ ? std::string(text) : "<missing>";
}

unsigned long UninstallValueSize(const char *name)
{
    HKEY key;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kUninstallKey, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return 0;
    DWORD size = 0;
    RegQueryValueExA(key, name, NULL, NULL, NULL, &size);
    RegCloseKey(key);
    return size;
}

std::string Wow64Folder()
{
    BOOL wow64 = FALSE;
    char text[MAX_PATH] = "";
    if (IsWow64Process(GetCurrentProcess(), &wow64) && wow64)
        GetSystemWow64DirectoryA(text, sizeof text);
    return text;
}

unsigned long UninstallNumber(const char *name)
{
    DWORD number = ~0u, size = sizeof number, type = 0;
    HKEY key;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kUninstallKey, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return number;
    if (RegQueryValueExA(key, name, NULL, &type, (BYTE *)&number, &size) != ERROR_SUCCESS || type != REG_DWORD)
        number = ~0u;
    RegCloseKey(key);
    return number;
}

bool UninstallEntryExists()
{
    for (REGSAM view : {(REGSAM)0, (REGSAM)KEY_WOW64_32KEY, (REGSAM)KEY_WOW64_64KEY}) {
        HKEY key;
        if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kUninstallKey, 0, KEY_READ | view, &key) == ERROR_SUCCESS) {
            RegCloseKey(key);
            return true;
        }
    }
    return false;
}

const char *const kAudioCdKeys[3] = {"AudioCD\\shell\\play\\command", "AudioCD\\DefaultIcon",
                                     "cdafile\\shell\\play\\command"};

AudioCd AudioCdValues()
{
    AudioCd values;
    for (const char *name : kAudioCdKeys) {
        HKEY key;
        char text[1024] = "";
        DWORD size = sizeof text, type = 0;
        if (RegOpenKeyExA(HKEY_CLASSES_ROOT, name, 0, KEY_READ, &key) == ERROR_SUCCESS) {
            if (RegQueryValueExA(key, NULL, NULL, &type, (BYTE *)text, &size) != ERROR_SUCCESS) {
                type = kDelegateOnly;
                size = sizeof text;
                RegQueryValueExA(key, "DelegateExecute", NULL, NULL, (BYTE *)text, &size);
            }
            RegCloseKey(key);
        }
        values.push_back({type, type != 0 ? text : ""});
    }
    return values;
}

void SetAudioCdValues(const AudioCd &values)
{
    for (int i = 0; i < 3; ++i) {
        RegDeleteKeyA(HKEY_CLASSES_ROOT, kAudioCdKeys[i]);
        HKEY key;
        if (values[i].type != 0 && RegCreateKeyA(HKEY_CLASSES_ROOT, kAudioCdKeys[i], &key) == ERROR_SUCCESS) {
            bool delegate = values[i].type == kDelegateOnly;
            RegSetValueExA(key, delegate ? "DelegateExecute" : NULL, 0, delegate ? REG_SZ : values[i].type,
                           (const BYTE *)values[i].text.c_str(), values[i].text.size() + 1);
            RegCloseKey(key);
        }
    }
}

std::string HkcrDefault(const char *keyName)
{
    HKEY key;
    if (RegOpenKeyExA(HKEY_CLASSES_ROOT, keyName, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return "<missing>";
    char text[1024] = "";
    DWORD size = sizeof text;
    LONG rc = RegQueryValueExA(key, NULL, NULL, NULL, (BYTE *)text, &size);
    RegCloseKey(key);
    return rc == ERROR_SUCCESS ? std::string(text) : "<missing>";
}

std::string ShortPath(const std::string &path)
{
    char text[1024] = "";
    GetShortPathNameA(path.c_str(), text, sizeof text);
    return text;
}

std::string ProductVersionOf(const std::string &exe)
{
    std::vector<char> info(GetFileVersionInfoSizeA(exe.c_str(), NULL));
    char *text = nullptr;
    UINT length = 0;
    if (info.empty() || !GetFileVersionInfoA(exe.c_str(), 0, (DWORD)info.size(), info.data())
        || !VerQueryValueA(info.data(), "\\StringFileInfo\\040904E4\\ProductVersion", (void **)&text, &length))
        return "";
    return text;
}

std::string FileBytes(const std::string &path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

bool Exists(const std::string &path)
{
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::vector<std::string> FolderEntries(const std::string &folder)
{
    std::vector<std::string> names;
    WIN32_FIND_DATAA entry;
    HANDLE find = FindFirstFileA((folder + "*").c_str(), &entry);
    if (find == INVALID_HANDLE_VALUE)
        return names;
    do {
        std::string name = entry.cFileName;
        if (name != "." && name != "..")
            names.push_back(name);
    } while (FindNextFileA(find, &entry));
    FindClose(find);
    std::sort(names.begin(), names.end());
    return names;
}

std::string MyComputerName()
{
    LPITEMIDLIST item = NULL;
    SHFILEINFOA info = {};
    if (SUCCEEDED(SHGetSpecialFolderLocation(NULL, CSIDL_DRIVES, &item))) {
        SHGetFileInfoA((LPCSTR)item, 0, &info, sizeof info, SHGFI_PIDL | SHGFI_DISPLAYNAME);
        CoTaskMemFree(item);
    }
    return info.szDisplayName;
}

std::string WindowsDirectory()
{
    char text[MAX_PATH] = "";
    GetWindowsDirectoryA(text, sizeof text);
    return text;
}

static std::string Lower(std::string text)
{
    for (char &c : text)
        if (c >= 'A' && c <= 'Z')
            c = (char)(c - 'A' + 'a');
    return text;
}

// A folder's destination row: DIRID 10 and the folder's short path below the Windows directory's,
// or a shell folder's DIRID with, for the program group, the group's short name below it.
static std::string LinkRow(const std::string &key, const std::string &folder, const std::string &dirid, bool group,
                           const std::string &windir)
{
    std::string shortFolder = ShortPath(folder);
    EXPECT_FALSE(shortFolder.empty()) << folder << " has no short form: not made";
    if (dirid == "10") {
        std::string shortWindows = ShortPath(windir) + "\\";
        EXPECT_EQ(Lower(shortFolder.substr(0, shortWindows.size())), Lower(shortWindows)) << folder;
        return key + "10," + shortFolder.substr(std::min(shortWindows.size(), shortFolder.size()));
    }
    return key + dirid + (group ? "," + shortFolder.substr(shortFolder.rfind('\\') + 1) : "");
}

// The rows that give audio CDs back to what played them: quoted, with quotes and percent signs
// doubled, and the keys that held nothing deleted; none for a key no row could give back.
static std::vector<std::string> AudioCdSections(const AudioCd &players, bool *sets, bool *removes)
{
    std::vector<std::string> set = {"", "[TNP_SetCDPlayer]"}, removed = {"", "[TNP_DelCDPlayer]"};
    for (int i = 0; i < 3; ++i) {
        std::string quoted;
        for (char c : players[i].text)
            quoted += c == '"' ? "\"\"" : c == '%' ? "%%" : std::string(1, c);
        if (players[i].type == kDelegateOnly)
            continue;
        if (players[i].type == 0)
            removed.push_back(std::string("HKCR,") + kAudioCdKeys[i]);
        else
            set.push_back(std::string("HKCR,") + kAudioCdKeys[i] + (players[i].type == REG_EXPAND_SZ ? ",,0x00020000,\"" : ",,,\"") + quoted + "\"");
    }
    *sets = set.size() > 2;
    *removes = removed.size() > 2;
    if (!*sets)
        set.clear();
    if (*removes)
        set.insert(set.end(), removed.begin(), removed.end());
    return set;
}

std::string ExpectedScript(bool nt, bool desktop, const std::string &windir, const std::string &programGroup,
                           const std::string &desktopLink, const AudioCd &players)
{
    const char *dirids = std::getenv("TNP_EXPECT_DIRIDS");
    std::istringstream ids(dirids == nullptr ? "" : dirids);
    std::string groupDirid, desktopDirid;
    ids >> groupDirid >> desktopDirid;
    EXPECT_FALSE(desktopDirid.empty()) << "TNP_EXPECT_DIRIDS not set by run_e2e.sh";
    std::string tools = nt ? windir + "\\system32" : windir;
    bool cdPlayer = std::getenv("TNP_EXPECT_CDPLAYER") != nullptr, sets = true, removes = false;
    std::vector<std::string> audioCd = {"", "[TNP_SetCDPlayer]",
                                        "HKCR,AudioCD\\shell\\play\\command,,," + tools + "\\cdplayer.exe /Play %1",
                                        "HKCR,AudioCD\\DefaultIcon,,," + windir + (nt ? "\\system32" : "\\system") +
                                            "\\shell32.dll,40",
                                        "HKCR,cdafile\\shell\\play\\command,,," + tools + "\\cdplayer.exe -Play %1"};
    if (!cdPlayer)
        audioCd = AudioCdSections(players, &sets, &removes);
    std::vector<std::string> rows = {
        "[Version]", "Signature=\"$CHICAGO$\"", "", "[Uninstall_TNP]", "DelReg=TNP_DelRegUninstall",
        "DelFiles=TNP_DelFiles", "DelFiles=TNP_DelLinks"};
    if (sets)
        rows.push_back("AddReg=TNP_SetCDPlayer");
    if (removes)
        rows.push_back("DelReg=TNP_DelCDPlayer");
    if (desktop)
        rows.push_back("DelFiles=TNP_DelDesktop");
    rows.insert(rows.end(), {"", "[DestinationDirs]", "TNP_DelFiles=01",
                             LinkRow("TNP_DelLinks=", programGroup.substr(0, programGroup.size() - 1), groupDirid,
                                     true, windir)});
    if (desktop)
        rows.push_back(LinkRow("TNP_DelDesktop=", desktopLink.substr(0, desktopLink.rfind('\\')), desktopDirid,
                               false, windir));
    rows.insert(rows.end(), {"", "[TNP_DelRegUninstall]",
                             "HKLM,\"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Tone Pilot\"", "",
                             "[TNP_DelFiles]", "tnp.inf", "TNPRead.txt", "tnp.hlp", "tnp.cnt", "tnp.exe",
                             "tnp32hlp.dll", "tnp16hlp.dll", "", "[TNP_DelLinks]", "ReadMe File.lnk",
                             "Help Contents.lnk", "Tone Pilot.lnk", "Uninstall Tone Pilot.lnk"});
    rows.insert(rows.end(), audioCd.begin(), audioCd.end());
    if (desktop)
        rows.insert(rows.end(), {"", "[TNP_DelDesktop]", "Tone Pilot.lnk"});
    std::string text;
    for (const std::string &row : rows)
        text += row + "\r\n";
    return text;
}

static void CollectFilesNamed(const std::string &dir, const char *const (&names)[4], std::vector<std::string> &found)
{
    WIN32_FIND_DATAA entry;
    HANDLE find = FindFirstFileA((dir + "*").c_str(), &entry);
    if (find == INVALID_HANDLE_VALUE)
        return;
    do {
        std::string name = entry.cFileName;
        if (name == "." || name == ".." || (entry.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT))
            continue;
        if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            CollectFilesNamed(dir + name + "\\", names, found);
            continue;
        }
        for (const char *wanted : names)
            if (Lower(name) == Lower(wanted))
                found.push_back(Lower(dir + name));
    } while (FindNextFileA(find, &entry));
    FindClose(find);
}

std::vector<std::string> FilesNamed(const std::string &root, const char *const (&names)[4])
{
    std::vector<std::string> found;
    CollectFilesNamed(root, names, found);
    std::sort(found.begin(), found.end());
    return found;
}

std::vector<std::string> SortedIgnoringCase(std::vector<std::string> paths)
{
    for (std::string &path : paths)
        path = Lower(path);
    std::sort(paths.begin(), paths.end());
    return paths;
}
