#include "install_sequence.h"
#include "close_folder.h"
#include "create_path.h"
#include "folder_security.h"
#include "install_proposal.h"
#include "path_safety.h"
#include "../payload/install_size.h"
#include "../payload/payload_store.h"
#include "../resources/resource_ids.h"
#include "../setup/folders.h"
#include "../setup/messages.h"
#include "../setup/message_box.h"
#include "../setup/path_chars.h"
#include "../setup/product.h"
#include "../setup/run_log.h"
#include "../setup/run_outcome.h"
#include "../setup/this_windows.h"
#include "../shell/link_folders.h"
#include "../shell/shortcuts.h"
#include "../shell/uninstall_entry.h"
#include "../shell/uninstall_script.h"

// The install directory as typed, always ending with a backslash. The box takes 256 characters,
// which in a double-byte code page can be twice as many bytes, so the text is read whole: one that
// leaves no room for the backslash is refused rather than cut, and shown only as far as the
// directory would hold it, in whole characters. An emptied box is refused too: its backslash
// alone would name the root of the current drive, which always exists.
static bool ReadInstallDirectory(char *typed, char *installDir)
{
    bool endsWithBackslash = EndsWithBackslash(typed, SystemLeadByte);
    int length = lstrlenA(typed);
    if (length == 0 || length + (endsWithBackslash ? 0 : 1) >= TNP_PATH_CAPACITY) {
        typed[WholeCharactersWithin(typed, TNP_PATH_CAPACITY - 1, SystemLeadByte)] = '\0';
        ShowWarning(MSG_PATH_INVALID, typed);
        return false;
    }
    lstrcpyA(installDir, typed);
    if (!endsWithBackslash)
        lstrcatA(installDir, "\\");
    return true;
}

// The program-group folder, made on disk. False when its path does not fit MAX_PATH (the user
// has been told, as for any folder that can't be made) so that no link is written beside it.
static bool MakeProgramGroupFolder(const char *programsFolder, char *folder)
{
    if (!BuildProgramGroupFolder(folder, TNP_PATH_CAPACITY, programsFolder, SystemLeadByte)) {
        char tooLong[2 * TNP_TEXT_CAPACITY];
        BuildProgramGroupFolder(tooLong, sizeof tooLong, programsFolder, SystemLeadByte);
        ShowWarning(MSG_PATH_INVALID, tooLong);
        return false;
    }
    CreatePath(folder, NULL);  // the Start menu's own entries
    return true;
}

// The desktop link is made unless the box was cleared; a silent run takes what SELECT offers.
static bool DesktopChosen(HWND dialog)
{
    return dialog == NULL || IsDlgButtonChecked(dialog, IDC_DESKTOP) == BST_CHECKED;
}

bool RunInstallSequence(HWND dialog, char *typed, DWORD sizeKilobytes)
{
    BeginAttempt();
    LogFormat(LOG_INSTALL_DIRECTORY, typed);
    char installDir[TNP_PATH_CAPACITY];
    if (!ReadInstallDirectory(typed, installDir))
        return false;
    // The path is judged before anything is made, and again once what was missing is made: a
    // folder that appeared in between is judged like any other. The install folder is closed
    // before the first file is staged there, so that every file setup writes inherits the result.
    static FolderSecurity security;  // too big for a frame that joins the script's
    BeginFolderSecurity(security, installDir);
    bool wasOpen;
    if (!PathClosedToOthers(security, installDir) || !CreatePath(installDir, security.newFolders)
        || !PathClosedToOthers(security, installDir) || !CloseFolderToOthers(security, installDir, &wasOpen))
        return false;
    SetCurrentDirectoryA(installDir);
    if (!ReplacePayloadFiles(installDir, !wasOpen))
        return false;
    NoteFilesInPlace();

    bool ntLayout = DetectNtLayout();
    static LinkFolders folders;  // too big for a frame that joins the script's: see the code options
    FindLinkFolders(folders, ntLayout);
    char programGroupFolder[TNP_PATH_CAPACITY];
    bool haveFolder = MakeProgramGroupFolder(folders.programs.path, programGroupFolder);
    bool desktop = DesktopChosen(dialog);
    if (haveFolder)
        CreateShortcuts(installDir, programGroupFolder, folders.desktop.path, ntLayout, desktop);
    if (!WriteUninstallScript(folders, ntLayout, desktop, installDir))
        return false;
    RegisterUninstallEntry(installDir, sizeKilobytes);

    NoteAttemptFinished();
    ShowInformation(MSG_INSTALLED);
    SetCurrentDirectoryA("c:\\");
    if (dialog != NULL)
        EndDialog(dialog, 1);
    return true;
}

void RunSilentInstall()
{
    char proposal[TNP_TEXT_CAPACITY];
    ProposeInstallDirectory(proposal);
    RunInstallSequence(NULL, proposal, InstallSizeInKilobytes());
}
