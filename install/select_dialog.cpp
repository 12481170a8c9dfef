#include "select_dialog.h"
#include <shlobj.h>
#include "install_sequence.h"
#include "../payload/payload_store.h"
#include "../payload/payload_table.h"
#include "../resources/resource_ids.h"
#include "../setup/folders.h"
#include "../setup/globals.h"
#include "../setup/messages.h"
#include "../setup/this_windows.h"
#include "../shell/shell_folder.h"

// Kilobytes the product takes, each file rounded down on its own as the size display always has.
static UINT InstallSizeInKilobytes()
{
    UINT total = 0;
    for (int i = 0; i < PAYLOAD_ROW_COUNT; ++i)
        total += GetPayloadSize(g_payloadTable[i].resourceName) / 1024;
    return total;
}

// The earlier copy's directory where one is known and still there, else the product's folder in
// the system's program folder; either leaves room for the backslash the install directory ends
// with. An entry's directory deleted by hand leaves a short name that names nothing, and OK
// would make a folder of that very name.
static void ProposeInstallDirectory(HWND dialog)
{
    if (g_existingCopyDirectory[0] != '\0' && GetFileAttributesA(g_existingCopyDirectory) != INVALID_FILE_ATTRIBUTES) {
        SetDlgItemTextA(dialog, IDC_PATH, g_existingCopyDirectory);
        return;
    }
    char programFiles[TNP_TEXT_CAPACITY];
    char proposal[TNP_PATH_CAPACITY];
    GetProgramFilesFolder(programFiles, sizeof programFiles);
    BuildDefaultInstallDirectory(proposal, TNP_PATH_CAPACITY - 1, programFiles, SystemLeadByte);
    SetDlgItemTextA(dialog, IDC_PATH, proposal);
}

static void InitialiseDialog(HWND dialog)
{
    SetDlgItemInt(dialog, IDC_SIZE, InstallSizeInKilobytes(), FALSE);
    ProposeInstallDirectory(dialog);
    SendDlgItemMessageA(dialog, IDC_PATH, EM_LIMITTEXT, 256, 0);
    SendDlgItemMessageA(dialog, IDC_DESKTOP, BM_SETCHECK, BST_CHECKED, 0);
}

// Proposes the product's folder one level below a folder picked in the shell's browser; a folder
// with no file-system path (a library, say) leaves the box as it was.
static void BrowseForFolder(HWND dialog)
{
    char path[MAX_PATH];
    BROWSEINFOA browse;
    browse.hwndOwner = dialog;
    browse.pidlRoot = NULL;
    browse.pszDisplayName = path;
    browse.lpszTitle = MSG_BROWSE_TITLE;
    browse.ulFlags = BIF_RETURNONLYFSDIRS;
    browse.lpfn = NULL;
    browse.lParam = 0;
    browse.iImage = 0;
    char proposal[TNP_TEXT_CAPACITY];
    if (TakePathFromItemList(SHBrowseForFolderA(&browse), path)
        && BuildBrowsedInstallDirectory(proposal, sizeof proposal, path, SystemLeadByte))
        SetDlgItemTextA(dialog, IDC_PATH, proposal);
}

// The install's message boxes have no owner, so SELECT stays enabled beneath them; until the
// install is over its buttons start, end and change nothing.
static bool g_installing;

INT_PTR CALLBACK SelectDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM)
{
    if (message == WM_INITDIALOG) {
        InitialiseDialog(dialog);
        return TRUE;
    }
    if (message != WM_COMMAND || g_installing)
        return FALSE;
    switch (LOWORD(wParam)) {
    case IDOK: {
        g_installing = true;
        bool installed = RunInstallSequence(dialog);
        g_installing = false;
        return installed ? TRUE : FALSE;
    }
    case IDCANCEL:
        EndDialog(dialog, 1);
        return TRUE;
    case IDC_BROWSE:
        BrowseForFolder(dialog);
        return FALSE;
    }
    return FALSE;
}
