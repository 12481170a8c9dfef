#include "shortcuts.h"
#include <windows.h>
#include <shlobj.h>
#include <shobjidl.h>
#include "short_install_directory.h"
#include "../payload/payload_table.h"
#include "../setup/bounded_text.h"
#include "../setup/folders.h"
#include "../setup/product.h"
#include "../setup/this_windows.h"
#include "../setup/uninstall_command.h"

// Saves the link as it is set now. A name the shell can't take whole is skipped, not cut.
static void SaveLink(IPersistFile *file, const char *linkFile)
{
    if (linkFile[0] == '\0' || lstrlenA(linkFile) >= MAX_PATH)
        return;
    WCHAR wideName[MAX_PATH];
    MultiByteToWideChar(CP_ACP, 0, linkFile, -1, wideName, MAX_PATH);
    file->Save(wideName, TRUE);
}

// The uninstall runs the INF engine through rundll32.exe, which never asks for administrator
// rights itself, and the engine can remove nothing of a per-machine install without them. Windows
// reads "Run as administrator" from the LinkFlags of the saved file's header; Wine's shell takes
// the flag through IShellLinkDataList and stores nothing, so the file itself is marked.
static void MarkRunAsAdministrator(const char *linkFile)
{
    enum { LINK_HEADER_SIZE = 0x4C, LINK_FLAGS = 5, RUN_AS_USER = 0x2000 };
    DWORD header[LINK_FLAGS + 1];
    DWORD done = 0;
    HANDLE file = CreateFileA(linkFile, GENERIC_READ, 0, NULL, OPEN_EXISTING, 0, NULL);
    if (file == INVALID_HANDLE_VALUE)
        return;
    bool isLink = ReadFile(file, header, sizeof header, &done, NULL) && done == sizeof header
        && header[0] == LINK_HEADER_SIZE;
    CloseHandle(file);
    if (!isLink)
        return;
    header[LINK_FLAGS] |= RUN_AS_USER;
    file = CreateFileA(linkFile, GENERIC_WRITE, 0, NULL, OPEN_EXISTING, 0, NULL);
    if (file == INVALID_HANDLE_VALUE)
        return;
    WriteFile(file, header, sizeof header, &done, NULL);
    CloseHandle(file);
}

static bool Join(char *out, const char *a, const char *b, const char *c = "")
{
    out[0] = '\0';
    return AppendText(out, TNP_TEXT_CAPACITY, a) && AppendText(out, TNP_TEXT_CAPACITY, b)
        && AppendText(out, TNP_TEXT_CAPACITY, c);
}

static void CreateProductShortcuts(IShellLinkA *link, IPersistFile *file, const char *installDir,
                                   const char *programGroupFolder)
{
    char text[TNP_TEXT_CAPACITY];
    for (int i = 0; i < PAYLOAD_ROW_COUNT; ++i) {
        const PayloadRow &row = g_payloadTable[i];
        if (row.shortcutName == 0)
            continue;
        if (!Join(text, installDir, row.fileName))
            continue;
        link->SetPath(text);
        if (Join(text, programGroupFolder, row.shortcutName, ".lnk"))
            SaveLink(file, text);
    }
}

static void CreateDesktopShortcut(IShellLinkA *link, IPersistFile *file, const char *programGroupFolder,
                                  const char *desktopFolder)
{
    char text[TNP_TEXT_CAPACITY];
    // The group folder opens by its name without the backslash it ends with.
    lstrcpynA(text, programGroupFolder, lstrlenA(programGroupFolder));
    link->SetPath(text);
    if (BuildDesktopLinkFile(text, sizeof text, desktopFolder, SystemLeadByte))
        SaveLink(file, text);
}

static void CreateUninstallShortcut(IShellLinkA *link, IPersistFile *file, const char *installDir,
                                    const char *programGroupFolder, bool ntLayout)
{
    char scratch[TNP_TEXT_CAPACITY] = "";
    char wow64Folder[TNP_PATH_CAPACITY];
    char text[TNP_TEXT_CAPACITY];
    GetWindowsDirectoryA(scratch, sizeof scratch);
    GetWow64SystemFolder(wow64Folder, sizeof wow64Folder);
    if (!BuildUninstallRunnerPath(text, sizeof text, scratch, ntLayout, wow64Folder))
        return;
    link->SetPath(text);
    GetShortInstallDirectory(installDir, scratch, sizeof scratch);
    if (!BuildUninstallArguments(text, sizeof text, scratch))
        return;
    link->SetArguments(text);
    if (!Join(text, programGroupFolder, TNP_UNINSTALL_LINK))
        return;
    SaveLink(file, text);
    if (LinksAskForElevation())
        MarkRunAsAdministrator(text);
}

void CreateShortcuts(const char *installDir, const char *programGroupFolder, const char *desktopFolder, bool ntLayout,
                     bool desktop)
{
    IShellLinkA *link = NULL;
    if (SUCCEEDED(CoCreateInstance(CLSID_ShellLink, NULL, CLSCTX_INPROC_SERVER, IID_IShellLinkA, (void **)&link))
        && link != NULL) {
        IPersistFile *file = NULL;
        if (SUCCEEDED(link->QueryInterface(IID_IPersistFile, (void **)&file)) && file != NULL) {
            CreateProductShortcuts(link, file, installDir, programGroupFolder);
            if (desktop)
                CreateDesktopShortcut(link, file, programGroupFolder, desktopFolder);
            CreateUninstallShortcut(link, file, installDir, programGroupFolder, ntLayout);
            file->Release();
        }
        link->Release();
    }
}
