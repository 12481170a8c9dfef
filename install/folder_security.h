// The system's file security, as far as setup judges and closes the folders of an install path:
// only where an administrator installs on a local volume that keeps permissions.
#pragma once
#include <windows.h>
#include "folder_rights.h"
#include "../setup/this_windows.h"

enum { OPEN_PROCESS_TOKEN, GET_TOKEN_INFORMATION, GET_FILE_SECURITY, SET_FILE_SECURITY, ADJUST_TOKEN_PRIVILEGES,
       CHECK_TOKEN_MEMBERSHIP, SECURITY_CALLS };

struct FolderSecurity {
    bool judged;  // false: nothing is judged or changed, as on a system or volume without permissions
    bool powerUsersTrusted;
    bool protect;  // Windows 2000 and later, whose DACLs can be protected from the parent's entries
    AnyFunction calls[SECURITY_CALLS];
    DWORD tokenUser[32];  // TOKEN_USER and the SID it points to: 76 bytes at most
    const unsigned char *user;
    // What CreatePath gives the folders it makes for the install directory: the closed
    // descriptor, or NULL where they take their parent's entries.
    const unsigned char *newFolders;
    unsigned char closed[CLOSED_DESCRIPTOR_SIZE];
};

// Whether `groups`, a token's, hold the Administrators group enabled: not only for denying.
bool AdministratorsEnabledIn(const TOKEN_GROUPS *groups);

// Fills `security` for an install into `installDir`. Judged only where this process has the
// Administrators group enabled in its token and holds
// what taking ownership needs, and `installDir` lies on a local drive whose file system keeps
// permissions: elsewhere a folder has none setup could judge (FAT, a network drive, a UNC
// path), or they are the user's own to set. Windows 95's advapi32 exports the security calls as
// stubs that fail, so that they work, not a version number, says NT. Where judged, what setting
// an owner other than oneself needs is enabled.
void BeginFolderSecurity(FolderSecurity &security, const char *installDir);

// The owner and DACL of `path` into `buffer` of `capacity` bytes; their size, 0 when unreadable.
unsigned ReadDescriptor(const FolderSecurity &security, const char *path, DWORD *buffer, DWORD capacity);
bool WriteDescriptor(const FolderSecurity &security, const char *path, const unsigned char *descriptor);
// Tells the user that `folder` can be changed by others; false, for the caller to stop.
bool RefuseOpenFolder(const char *folder);
