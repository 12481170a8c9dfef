#include "folder_security.h"
#include "../setup/messages.h"
#include "../setup/message_box.h"

typedef BOOL(WINAPI *OpenProcessTokenFn)(HANDLE, DWORD, PHANDLE);
typedef BOOL(WINAPI *GetTokenInformationFn)(HANDLE, TOKEN_INFORMATION_CLASS, LPVOID, DWORD, PDWORD);
typedef BOOL(WINAPI *GetFileSecurityAFn)(LPCSTR, SECURITY_INFORMATION, PSECURITY_DESCRIPTOR, DWORD, LPDWORD);
typedef BOOL(WINAPI *SetFileSecurityAFn)(LPCSTR, SECURITY_INFORMATION, PSECURITY_DESCRIPTOR);
typedef BOOL(WINAPI *AdjustTokenPrivilegesFn)(HANDLE, BOOL, PTOKEN_PRIVILEGES, DWORD, PTOKEN_PRIVILEGES, PDWORD);
typedef BOOL(WINAPI *CheckTokenMembershipFn)(HANDLE, PSID, PBOOL);

// Looked up, not imported: Windows 95's advapi32 has no file security to import, and NT 4's no
// CheckTokenMembership, the last.
static const char *const kSecurityCalls[] = {"OpenProcessToken", "GetTokenInformation", "GetFileSecurityA",
                                             "SetFileSecurityA", "AdjustTokenPrivileges", "CheckTokenMembership"};
static_assert(sizeof kSecurityCalls / sizeof kSecurityCalls[0] == SECURITY_CALLS, "a name for every call");

// SeTakeOwnershipPrivilege and SeRestorePrivilege, whose LUIDs every NT has had (9 and 18).
static const struct {
    DWORD count;
    LUID_AND_ATTRIBUTES privileges[2];
} kOwnershipPrivileges = {2, {{{9, 0}, SE_PRIVILEGE_ENABLED}, {{18, 0}, SE_PRIVILEGE_ENABLED}}};

// Only the drive form: a UNC path names a share whose permissions are the server's.
static bool KeepsPermissions(const char *installDir)
{
    if (installDir[1] != ':' || installDir[2] != '\\')
        return false;
    char root[4] = {installDir[0], ':', '\\', '\0'};
    DWORD flags = 0;
    return GetDriveTypeA(root) != DRIVE_REMOTE && GetVolumeInformationA(root, NULL, 0, NULL, NULL, &flags, NULL, 0)
        && (flags & FILE_PERSISTENT_ACLS) != 0;
}

bool AdministratorsEnabledIn(const TOKEN_GROUPS *groups)
{
    for (DWORD i = 0; i < groups->GroupCount; ++i)
        if ((groups->Groups[i].Attributes & SE_GROUP_ENABLED) != 0 && IsAdministratorsSid((const unsigned char *)groups->Groups[i].Sid))
            return true;
    return false;
}

// NT 4 has no CheckTokenMembership: the token's groups, read whole into a buffer of the size the
// call asks for.
static bool AdministratorsEnabledInToken(const FolderSecurity &security, HANDLE token)
{
    GetTokenInformationFn getTokenInformation = (GetTokenInformationFn)security.calls[GET_TOKEN_INFORMATION];
    DWORD size = 0;
    getTokenInformation(token, TokenGroups, NULL, 0, &size);
    HANDLE heap = GetProcessHeap();
    TOKEN_GROUPS *groups = (TOKEN_GROUPS *)HeapAlloc(heap, 0, size);
    if (groups == NULL)
        return false;
    bool enabled = getTokenInformation(token, TokenGroups, groups, size, &size) && AdministratorsEnabledIn(groups);
    HeapFree(heap, 0, groups);
    return enabled;
}

void BeginFolderSecurity(FolderSecurity &security, const char *installDir)
{
    security.judged = false;
    security.newFolders = NULL;
    HMODULE advapi = GetModuleHandleA("advapi32.dll");
    for (int i = 0; i < SECURITY_CALLS; ++i)
        if ((security.calls[i] = (AnyFunction)GetProcAddress(advapi, kSecurityCalls[i])) == NULL && i != CHECK_TOKEN_MEMBERSHIP)
            return;
    HANDLE token;
    if (!KeepsPermissions(installDir)
        || !((OpenProcessTokenFn)security.calls[OPEN_PROCESS_TOKEN])(GetCurrentProcess(), TOKEN_QUERY | TOKEN_ADJUST_PRIVILEGES, &token))
        return;
    // The Administrators group enabled (a group present only for denying, as in a standard user's
    // token under UAC, is not); and the token holding what setting an owner other than oneself
    // needs. Left enabled for the rest of the run, which sets no owner but Administrators.
    DWORD size;
    BOOL administrator;  // read only where the call set it
    CheckTokenMembershipFn checkTokenMembership = (CheckTokenMembershipFn)security.calls[CHECK_TOKEN_MEMBERSHIP];
    security.judged = ((GetTokenInformationFn)security.calls[GET_TOKEN_INFORMATION])(token, TokenUser, security.tokenUser,
                                                                                     sizeof security.tokenUser, &size)
                   && (checkTokenMembership == NULL ? AdministratorsEnabledInToken(security, token)
                       : checkTokenMembership(NULL, (PSID)AdministratorsSid(), &administrator) && administrator)
                   && ((AdjustTokenPrivilegesFn)security.calls[ADJUST_TOKEN_PRIVILEGES])(token, FALSE, (PTOKEN_PRIVILEGES)&kOwnershipPrivileges,
                                                                                         0, NULL, NULL)
                   && GetLastError() == ERROR_SUCCESS;
    CloseHandle(token);
    security.user = (const unsigned char *)((TOKEN_USER *)security.tokenUser)->User.Sid;
    security.powerUsersTrusted = !LinksAskForElevation();
    security.protect = security.calls[CHECK_TOKEN_MEMBERSHIP] != NULL;
    BuildClosedDescriptor(security.closed, security.protect);
}

unsigned ReadDescriptor(const FolderSecurity &security, const char *path, DWORD *buffer, DWORD capacity)
{
    DWORD size = 0;
    if (!((GetFileSecurityAFn)security.calls[GET_FILE_SECURITY])(path, OWNER_SECURITY_INFORMATION | DACL_SECURITY_INFORMATION,
                                                                 buffer, capacity, &size))
        size = 0;
    return size;
}

bool WriteDescriptor(const FolderSecurity &security, const char *path, const unsigned char *descriptor)
{
    return ((SetFileSecurityAFn)security.calls[SET_FILE_SECURITY])(path, OWNER_SECURITY_INFORMATION | DACL_SECURITY_INFORMATION,
                                                                   (PSECURITY_DESCRIPTOR)descriptor) != FALSE;
}

bool RefuseOpenFolder(const char *folder)
{
    ShowWarning(MSG_PATH_OPEN_TO_OTHERS, folder);
    return false;
}
