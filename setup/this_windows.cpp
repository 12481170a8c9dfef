#include "this_windows.h"
#include <windows.h>
#include "folders.h"
#include "product.h"
#include "registry_text.h"

typedef BOOL(WINAPI *IsWow64ProcessFn)(HANDLE, PBOOL);
typedef UINT(WINAPI *GetSystemWow64DirectoryAFn)(LPSTR, UINT);

AnyFunction FindKernelFunction(const char *name)
{
    return (AnyFunction)GetProcAddress(GetModuleHandleA("kernel32.dll"), name);
}

static void ReadVersion(OSVERSIONINFOA &version)
{
    version.dwOSVersionInfoSize = sizeof version;
    version.dwPlatformId = 0;
    GetVersionExA(&version);
}

bool DetectNtLayout()
{
    OSVERSIONINFOA version;
    ReadVersion(version);
    return IsNtLayout(version.dwPlatformId);
}

// A compatibility layer makes GetVersionExA report an earlier Windows; the functions this
// Windows exports stay its own. GetTickCount64 is one of Vista's, and no earlier Windows has it.
bool LinksAskForElevation()
{
    return FindKernelFunction("GetTickCount64") != NULL;
}

// Windows 95, NT 4 and 2000 have neither call, and 32-bit XP has the folder call without a
// WoW64 folder; only the process's own answer says that it runs under WoW64.
bool GetWow64SystemFolder(char *folder, int capacity)
{
    folder[0] = '\0';
    IsWow64ProcessFn isWow64Process = (IsWow64ProcessFn)FindKernelFunction("IsWow64Process");
    GetSystemWow64DirectoryAFn getWow64Folder =
        (GetSystemWow64DirectoryAFn)FindKernelFunction("GetSystemWow64DirectoryA");
    BOOL wow64 = FALSE;
    if (isWow64Process == NULL || getWow64Folder == NULL || !isWow64Process(GetCurrentProcess(), &wow64) || !wow64)
        return false;
    UINT length = getWow64Folder(folder, (UINT)capacity);
    if (length == 0 || length >= (UINT)capacity) {
        folder[0] = '\0';
        return false;
    }
    return true;
}

void GetProgramFilesFolder(char *folder, int capacity)
{
    folder[0] = '\0';
    HKEY key;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, "Software\\Microsoft\\Windows\\CurrentVersion", 0, KEY_QUERY_VALUE, &key)
        != ERROR_SUCCESS)
        return;
    // An expandable value would name its folder only once expanded; the system writes a plain one.
    if (ReadRegistryText(key, "ProgramFilesDir", folder, (DWORD)capacity) != REG_SZ)
        folder[0] = '\0';
    RegCloseKey(key);
}

bool ToolDirectoryHasCdPlayer(bool ntLayout)
{
    char windowsDir[TNP_TEXT_CAPACITY] = "";
    char path[TNP_TEXT_CAPACITY];
    GetWindowsDirectoryA(windowsDir, TNP_PATH_CAPACITY);
    if (!BuildToolPath(path, sizeof path, windowsDir, ntLayout, "cdplayer.exe"))
        return false;
    DWORD attributes = GetFileAttributesA(path);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}
