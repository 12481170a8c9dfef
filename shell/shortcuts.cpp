#include "shortcuts.h"
#include <windows.h>
#include <shlobj.h>
#include <shobjidl.h>
#include "short_install_directory.h"
#include "../payload/payload_table.h"
#include "../setup/bounded_text.h"
#include "../setup/folders.h"
#include "../setup/messages.h"
#include "../setup/product.h"
#include "../setup/run_log.h"
#include "../setup/run_outcome.h"
#include "../setup/this_windows.h"
#include "../setup/uninstall_command.h"

// Saves the link as it is set now. A name the shell can't take whole is skipped, not cut. No
// message says that a link is missing, so the log and the exit code do.
static bool SaveLink(IPersistFile *file, const char *linkFile)
{
    HRESULT saved = E_INVALIDARG;
    if (linkFile[0] != '\0' && lstrlenA(linkFile) < MAX_PATH) {
        WCHAR wideName[MAX_PATH];
        MultiByteToWideChar(CP_ACP, 0, linkFile, -1, wideName, MAX_PATH);
        saved = file->Save(wideName, TRUE);
    }
    if (SUCCEEDED(saved))
        return true;
    LogFormat(LOG_LINK_NOT_MADE, linkFile, saved);
    NoteWarning();
    return false;
}

// The uninstall runs the INF engine through rundll32.exe, which never asks for administrator
// rights itself, and the engine can remove nothing of a per-machine install without them. The
// shell keeps "Run as administrator" with the link and stores it as it saves the file.
static void AskForElevation(IShellLinkA *link)
{
    IShellLinkDataList *data = NULL;
    if (FAILED(link->QueryInterface(IID_IShellLinkDataList, (void **)&data)) || data == NULL)
        return;
    DWORD flags = 0;
    if (SUCCEEDED(data->GetFlags(&flags)))
        data->SetFlags(flags | SLDF_RUNAS_USER);
    data->Release();
}

// Windows reads the flag from the LinkFlags of the saved file's header, where a shell that takes
// it and stores nothing (Wine's) leaves it out; only that DWORD is then written. The file is read
// first, and opened for writing only where the bit is missing. The Start menu opens a new link to
// read it soon after it is saved, so each open shares reading, and a sharing violation is waited
// out for about two seconds.
static void MarkSavedLinkRunAsAdministrator(const char *linkFile)
{
    enum { LINK_HEADER_SIZE = 0x4C, LINK_FLAGS = 5, RUN_AS_USER = 0x2000, TRIES = 20, PAUSE_MS = 100 };
    for (DWORD access = GENERIC_READ;; access |= GENERIC_WRITE) {
        HANDLE file;
        for (int tries = TRIES;; Sleep(PAUSE_MS)) {
            file = CreateFileA(linkFile, access, FILE_SHARE_READ, NULL, OPEN_EXISTING, 0, NULL);
            if (file != INVALID_HANDLE_VALUE || GetLastError() != ERROR_SHARING_VIOLATION || --tries == 0)
                break;
        }
        if (file == INVALID_HANDLE_VALUE)
            return;
        DWORD header[LINK_FLAGS + 1];
        DWORD done = 0;
        bool missing = ReadFile(file, header, sizeof header, &done, NULL) && done == sizeof header
            && header[0] == LINK_HEADER_SIZE && (header[LINK_FLAGS] & RUN_AS_USER) == 0;
        bool writing = (access & GENERIC_WRITE) != 0;
        if (missing && writing) {
            header[LINK_FLAGS] |= RUN_AS_USER;
            // An offset given with the write places it there, through a handle of NT opened without
            // overlapping too; the reads and writes of anyone else stay as they are.
            OVERLAPPED at = {};
            at.Offset = LINK_FLAGS * sizeof(DWORD);
            WriteFile(file, &header[LINK_FLAGS], sizeof(DWORD), &done, &at);
        }
        CloseHandle(file);
        if (!missing || writing)
            return;
    }
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
    bool elevating = LinksAskForElevation();
    if (elevating)
        AskForElevation(link);
    if (SaveLink(file, text) && elevating)
        MarkSavedLinkRunAsAdministrator(text);
}

void CreateShortcuts(const char *installDir, const char *programGroupFolder, const char *desktopFolder, bool ntLayout,
                     bool desktop)
{
    IShellLinkA *link = NULL;
    IPersistFile *file = NULL;
    HRESULT made = CoCreateInstance(CLSID_ShellLink, NULL, CLSCTX_INPROC_SERVER, IID_IShellLinkA, (void **)&link);
    if (SUCCEEDED(made) && link != NULL)
        made = link->QueryInterface(IID_IPersistFile, (void **)&file);
    if (SUCCEEDED(made) && file != NULL) {
        CreateProductShortcuts(link, file, installDir, programGroupFolder);
        if (desktop)
            CreateDesktopShortcut(link, file, programGroupFolder, desktopFolder);
        CreateUninstallShortcut(link, file, installDir, programGroupFolder, ntLayout);
        file->Release();
    } else {
        LogFormat(LOG_LINKS_NOT_MADE, made);
        NoteWarning();
    }
    if (link != NULL)
        link->Release();
}
