/* Bench only: what an install does after its files, with bare calls and nothing else: the group
   folder, setup's five links (the uninstall link marked "Run as administrator" in its file, as
   Wine's shell stores no such flag), a file of tnp.inf's size and the entry's eight values, for
   setup's last install read from its entry, under names of its own ("Tone Pilot (bench)").
   Timed from inside, COM start-up included; the exit code is microseconds, 0 when a step failed. */
#define COBJMACROS
#include <windows.h>
#include <shlobj.h>
#include <shobjidl.h>
#include "../../setup/product.h"
#include "product_version.h"

#define OWN_NAME "Tone Pilot (bench)"
#define ARGUMENTS_HEAD "setupapi.dll,InstallHinfSection " TNP_UNINSTALL_SECTION " 128 "

static char g_dir[MAX_PATH], g_script[32768];

static char *Join(char *out, const char *a, const char *b)
{
    return lstrcatA(lstrcpyA(out, a), b);
}

static BOOL Save(IShellLinkA *link, IPersistFile *file, const char *target, const char *folder, const char *name)
{
    char path[MAX_PATH];
    WCHAR wide[MAX_PATH];
    MultiByteToWideChar(CP_ACP, 0, Join(path, folder, name), -1, wide, MAX_PATH);
    return SUCCEEDED(IShellLinkA_SetPath(link, target)) && SUCCEEDED(IPersistFile_Save(file, wide, TRUE));
}

static BOOL MarkRunAsAdministrator(const char *folder, const char *name)
{
    char path[MAX_PATH];
    DWORD header[6], done = 0;
    HANDLE file = CreateFileA(Join(path, folder, name), GENERIC_READ | GENERIC_WRITE, 0, NULL, OPEN_EXISTING, 0, NULL);
    BOOL ok = file != INVALID_HANDLE_VALUE && ReadFile(file, header, sizeof header, &done, NULL) && done == sizeof header;
    header[5] |= 0x2000;
    ok = ok && SetFilePointer(file, 0, NULL, FILE_BEGIN) == 0 && WriteFile(file, header, sizeof header, &done, NULL);
    CloseHandle(file);
    return ok;
}

static BOOL MakeLinks(const char *group, const char *desktop, const char *runner, const char *arguments)
{
    static const char *const files[3][2] = {
        {"TNPRead.txt", "ReadMe File.lnk"}, {"tnp.hlp", "Help Contents.lnk"}, {TNP_MAIN_EXECUTABLE, TNP_DISPLAY_NAME ".lnk"}};
    IShellLinkA *link = NULL;
    IPersistFile *file = NULL;
    char target[MAX_PATH];
    BOOL ok = FALSE;
    CoInitialize(NULL);
    if (SUCCEEDED(CoCreateInstance(&CLSID_ShellLink, NULL, CLSCTX_INPROC_SERVER, &IID_IShellLinkA, (void **)&link))
        && SUCCEEDED(IShellLinkA_QueryInterface(link, &IID_IPersistFile, (void **)&file))) {
        ok = TRUE;
        for (int i = 0; i < 3; ++i)
            ok = ok && Save(link, file, Join(target, g_dir, files[i][0]), group, files[i][1]);
        lstrcpynA(target, group, lstrlenA(group));
        ok = ok && Save(link, file, target, desktop, OWN_NAME ".lnk") && SUCCEEDED(IShellLinkA_SetArguments(link, arguments))
            && Save(link, file, runner, group, TNP_UNINSTALL_LINK) && MarkRunAsAdministrator(group, TNP_UNINSTALL_LINK);
        IPersistFile_Release(file);
    }
    if (link != NULL)
        IShellLinkA_Release(link);
    CoUninitialize();
    return ok;
}

static BOOL WriteScriptAndEntry(DWORD scriptSize, DWORD sizeKilobytes, const char *command)
{
    static const char names[] = "DisplayName\0UninstallString\0DisplayIcon\0DisplayVersion\0InstallLocation\0"
                                "EstimatedSize\0NoModify\0NoRepair";
    char icon[MAX_PATH];
    const DWORD yes = 1;
    const void *data[8] = {TNP_DISPLAY_NAME, command, Join(icon, g_dir, TNP_MAIN_EXECUTABLE), TNP_VERSION_TEXT, g_dir,
                           &sizeKilobytes, &yes, &yes};
    DWORD written = 0, disposition;
    HKEY key = NULL;
    HANDLE file = CreateFileA("C:\\bare\\" TNP_UNINSTALL_SCRIPT, GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, 0, NULL);
    BOOL ok = file != INVALID_HANDLE_VALUE && WriteFile(file, g_script, scriptSize, &written, NULL);
    ok = CloseHandle(file) && ok && written == scriptSize
        && RegCreateKeyExA(HKEY_LOCAL_MACHINE, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\" OWN_NAME, 0,
                           (LPSTR)TNP_UNINSTALL_KEY_CLASS, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, NULL, &key,
                           &disposition) == ERROR_SUCCESS;
    const char *name = names;
    for (int i = 0; i < 8 && ok; ++i, name += lstrlenA(name) + 1)
        ok = RegSetValueExA(key, name, 0, i < 5 ? REG_SZ : REG_DWORD, (const BYTE *)data[i],
                            i < 5 ? (DWORD)lstrlenA((const char *)data[i]) + 1 : sizeof(DWORD)) == ERROR_SUCCESS;
    RegCloseKey(key);
    return ok;
}

static BOOL Work(DWORD scriptSize, DWORD sizeKilobytes)
{
    char programs[MAX_PATH], desktop[MAX_PATH], group[MAX_PATH], shortDir[MAX_PATH], runner[MAX_PATH];
    char arguments[2 * MAX_PATH], command[3 * MAX_PATH];
    if (!SHGetSpecialFolderPathA(NULL, programs, CSIDL_COMMON_PROGRAMS, FALSE)
        || !SHGetSpecialFolderPathA(NULL, desktop, CSIDL_COMMON_DESKTOPDIRECTORY, FALSE))
        return FALSE;
    Join(group, programs, "\\" OWN_NAME "\\");
    lstrcatA(desktop, "\\");
    DWORD length = GetShortPathNameA(g_dir, shortDir, MAX_PATH);
    if ((!CreateDirectoryA(group, NULL) && GetLastError() != ERROR_ALREADY_EXISTS) || length == 0 || length >= MAX_PATH)
        return FALSE;
    lstrcatA(Join(arguments, ARGUMENTS_HEAD, shortDir), TNP_UNINSTALL_SCRIPT);
    GetSystemDirectoryA(runner, MAX_PATH);
    lstrcatA(runner, "\\" TNP_UNINSTALL_RUNNER);
    Join(command, TNP_UNINSTALL_RUNNER " ", arguments);
    return MakeLinks(group, desktop, runner, arguments) && WriteScriptAndEntry(scriptSize, sizeKilobytes, command);
}

void WinMainCRTStartup(void)
{
    DWORD sizeKilobytes = 0, length = sizeof g_dir, numberLength = sizeof sizeKilobytes;
    char script[MAX_PATH];
    WIN32_FILE_ATTRIBUTE_DATA data;
    HKEY key = NULL;
    BOOL ok = RegOpenKeyExA(HKEY_LOCAL_MACHINE, TNP_UNINSTALL_KEY, 0, KEY_QUERY_VALUE, &key) == ERROR_SUCCESS
        && RegQueryValueExA(key, "InstallLocation", NULL, NULL, (BYTE *)g_dir, &length) == ERROR_SUCCESS
        && RegQueryValueExA(key, "EstimatedSize", NULL, NULL, (BYTE *)&sizeKilobytes, &numberLength) == ERROR_SUCCESS
        && GetFileAttributesExA(Join(script, g_dir, TNP_UNINSTALL_SCRIPT), GetFileExInfoStandard, &data)
        && data.nFileSizeLow <= sizeof g_script;
    RegCloseKey(key);
    if (!ok)
        ExitProcess(0);
    CreateDirectoryA("C:\\bare", NULL);
    LARGE_INTEGER frequency, start, end;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&start);
    ok = Work(data.nFileSizeLow, sizeKilobytes);
    QueryPerformanceCounter(&end);
    ExitProcess(ok ? (UINT)((end.QuadPart - start.QuadPart) * 1000000 / frequency.QuadPart) : 0);
}
