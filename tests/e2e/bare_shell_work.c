/* What an install does after its files, with nothing else around it: the program group made,
   the three product links, the uninstall link with its arguments and its "Run as administrator"
   flag, and the desktop link saved through IShellLinkA; a file of tnp.inf's size written; the
   uninstall entry's values set. The same targets, folders and values as setup's last run, read
   from its entry before the clock starts, under names of its own (the group and desktop link
   "Tone Pilot (bench)", the entry key of that name, the file C:\bare\tnp.inf), which each run
   overwrites as setup's runs overwrite theirs. Timed from inside, COM start-up included; the
   exit code is the time in microseconds, 0 when a step failed. Linked as setup.exe is (no C
   runtime). */
#define COBJMACROS
#include <windows.h>
#include <shlobj.h>
#include <shobjidl.h>
#include "../../setup/product.h"
#include "product_version.h"

#define OWN_NAME "Tone Pilot (bench)"
#define OWN_KEY "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\" OWN_NAME
#define SCRIPT_FILE "C:\\bare\\" TNP_UNINSTALL_SCRIPT
#define ARGUMENTS_HEAD "setupapi.dll,InstallHinfSection " TNP_UNINSTALL_SECTION " 128 "

static char g_script[32768];
static char g_installDir[MAX_PATH];

static BOOL SaveLink(IPersistFile *file, const char *folder, const char *name)
{
    char path[MAX_PATH];
    WCHAR wide[MAX_PATH];
    lstrcpyA(path, folder);
    lstrcatA(path, name);
    MultiByteToWideChar(CP_ACP, 0, path, -1, wide, MAX_PATH);
    return SUCCEEDED(IPersistFile_Save(file, wide, TRUE));
}

static BOOL LinkTo(IShellLinkA *link, IPersistFile *file, const char *target, const char *folder, const char *name)
{
    return SUCCEEDED(IShellLinkA_SetPath(link, target)) && SaveLink(file, folder, name);
}

static BOOL LinkToFile(IShellLinkA *link, IPersistFile *file, const char *fileName, const char *folder,
                       const char *name)
{
    char target[MAX_PATH];
    lstrcpyA(target, g_installDir);
    lstrcatA(target, fileName);
    return LinkTo(link, file, target, folder, name);
}

/* The flag Windows reads from the saved header's LinkFlags, which Wine's shell does not store. */
static BOOL MarkRunAsAdministrator(const char *folder, const char *name)
{
    enum { LINK_FLAGS = 5, RUN_AS_USER = 0x2000 };
    char path[MAX_PATH];
    DWORD header[LINK_FLAGS + 1], done = 0;
    lstrcpyA(path, folder);
    lstrcatA(path, name);
    HANDLE file = CreateFileA(path, GENERIC_READ | GENERIC_WRITE, 0, NULL, OPEN_EXISTING, 0, NULL);
    if (file == INVALID_HANDLE_VALUE)
        return FALSE;
    BOOL ok = ReadFile(file, header, sizeof header, &done, NULL) && done == sizeof header;
    header[LINK_FLAGS] |= RUN_AS_USER;
    ok = ok && SetFilePointer(file, 0, NULL, FILE_BEGIN) == 0 && WriteFile(file, header, sizeof header, &done, NULL);
    CloseHandle(file);
    return ok;
}

static BOOL MakeLinks(const char *group, const char *desktop, const char *runner, const char *arguments)
{
    IShellLinkA *link = NULL;
    IPersistFile *file = NULL;
    BOOL ok = FALSE;
    CoInitialize(NULL);
    if (SUCCEEDED(CoCreateInstance(&CLSID_ShellLink, NULL, CLSCTX_INPROC_SERVER, &IID_IShellLinkA, (void **)&link))
        && SUCCEEDED(IShellLinkA_QueryInterface(link, &IID_IPersistFile, (void **)&file))) {
        char groupTarget[MAX_PATH];
        lstrcpynA(groupTarget, group, lstrlenA(group));
        ok = LinkToFile(link, file, "TNPRead.txt", group, "ReadMe File.lnk")
            && LinkToFile(link, file, "tnp.hlp", group, "Help Contents.lnk")
            && LinkToFile(link, file, TNP_MAIN_EXECUTABLE, group, TNP_DISPLAY_NAME ".lnk")
            && LinkTo(link, file, groupTarget, desktop, OWN_NAME ".lnk")
            && SUCCEEDED(IShellLinkA_SetPath(link, runner)) && SUCCEEDED(IShellLinkA_SetArguments(link, arguments))
            && SaveLink(file, group, TNP_UNINSTALL_LINK) && MarkRunAsAdministrator(group, TNP_UNINSTALL_LINK);
        IPersistFile_Release(file);
    }
    if (link != NULL)
        IShellLinkA_Release(link);
    CoUninitialize();
    return ok;
}

static BOOL WriteScript(DWORD size)
{
    DWORD written = 0;
    HANDLE file = CreateFileA(SCRIPT_FILE, GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, 0, NULL);
    if (file == INVALID_HANDLE_VALUE)
        return FALSE;
    BOOL ok = WriteFile(file, g_script, size, &written, NULL) && written == size;
    return CloseHandle(file) && ok;
}

static BOOL SetText(HKEY key, const char *name, const char *text)
{
    return RegSetValueExA(key, name, 0, REG_SZ, (const BYTE *)text, (DWORD)lstrlenA(text) + 1) == ERROR_SUCCESS;
}

static BOOL SetNumber(HKEY key, const char *name, DWORD number)
{
    return RegSetValueExA(key, name, 0, REG_DWORD, (const BYTE *)&number, sizeof number) == ERROR_SUCCESS;
}

static BOOL SetEntry(const char *command, DWORD sizeKilobytes)
{
    char icon[MAX_PATH];
    HKEY key;
    DWORD disposition;
    if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, OWN_KEY, 0, (LPSTR)TNP_UNINSTALL_KEY_CLASS, REG_OPTION_NON_VOLATILE,
                        KEY_ALL_ACCESS, NULL, &key, &disposition) != ERROR_SUCCESS)
        return FALSE;
    lstrcpyA(icon, g_installDir);
    lstrcatA(icon, TNP_MAIN_EXECUTABLE);
    BOOL ok = SetText(key, "DisplayName", TNP_DISPLAY_NAME) && SetText(key, "UninstallString", command)
        && SetText(key, "DisplayIcon", icon) && SetText(key, "DisplayVersion", TNP_VERSION_TEXT)
        && SetText(key, "InstallLocation", g_installDir) && SetNumber(key, "EstimatedSize", sizeKilobytes)
        && SetNumber(key, "NoModify", 1) && SetNumber(key, "NoRepair", 1);
    RegCloseKey(key);
    return ok;
}

/* Where setup's last run installed, the size it gave, and the size of the tnp.inf it wrote. */
static BOOL ReadSetupsRun(DWORD *sizeKilobytes, DWORD *scriptSize)
{
    HKEY key;
    DWORD length = sizeof g_installDir, numberLength = sizeof *sizeKilobytes;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, TNP_UNINSTALL_KEY, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS)
        return FALSE;
    BOOL ok = RegQueryValueExA(key, "InstallLocation", NULL, NULL, (BYTE *)g_installDir, &length) == ERROR_SUCCESS
        && RegQueryValueExA(key, "EstimatedSize", NULL, NULL, (BYTE *)sizeKilobytes, &numberLength) == ERROR_SUCCESS;
    RegCloseKey(key);
    char script[MAX_PATH];
    WIN32_FILE_ATTRIBUTE_DATA data;
    lstrcpyA(script, g_installDir);
    lstrcatA(script, TNP_UNINSTALL_SCRIPT);
    *scriptSize = ok && GetFileAttributesExA(script, GetFileExInfoStandard, &data) ? data.nFileSizeLow : 0;
    return *scriptSize > 0 && *scriptSize <= sizeof g_script;
}

static BOOL Work(DWORD scriptSize, DWORD sizeKilobytes)
{
    char programs[MAX_PATH], desktop[MAX_PATH], group[MAX_PATH], shortDir[MAX_PATH], runner[MAX_PATH];
    char arguments[2 * MAX_PATH], command[3 * MAX_PATH];
    if (!SHGetSpecialFolderPathA(NULL, programs, CSIDL_COMMON_PROGRAMS, FALSE)
        || !SHGetSpecialFolderPathA(NULL, desktop, CSIDL_COMMON_DESKTOPDIRECTORY, FALSE))
        return FALSE;
    lstrcpyA(group, programs);
    lstrcatA(group, "\\" OWN_NAME "\\");
    lstrcatA(desktop, "\\");
    if (!CreateDirectoryA(group, NULL) && GetLastError() != ERROR_ALREADY_EXISTS)
        return FALSE;
    DWORD length = GetShortPathNameA(g_installDir, shortDir, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        return FALSE;
    lstrcpyA(arguments, ARGUMENTS_HEAD);
    lstrcatA(arguments, shortDir);
    lstrcatA(arguments, TNP_UNINSTALL_SCRIPT);
    GetSystemDirectoryA(runner, MAX_PATH);
    lstrcatA(runner, "\\" TNP_UNINSTALL_RUNNER);
    lstrcpyA(command, TNP_UNINSTALL_RUNNER " ");
    lstrcatA(command, arguments);
    return MakeLinks(group, desktop, runner, arguments) && WriteScript(scriptSize) && SetEntry(command, sizeKilobytes);
}

void WinMainCRTStartup(void)
{
    DWORD sizeKilobytes, scriptSize;
    if (!ReadSetupsRun(&sizeKilobytes, &scriptSize))
        ExitProcess(0);
    CreateDirectoryA("C:\\bare", NULL);
    LARGE_INTEGER frequency, start, end;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&start);
    BOOL ok = Work(scriptSize, sizeKilobytes);
    QueryPerformanceCounter(&end);
    ExitProcess(ok ? (UINT)((end.QuadPart - start.QuadPart) * 1000000 / frequency.QuadPart) : 0);
}
