#include "close_folder.h"
#include <windows.h>
#include "folder_rights.h"
#include "../setup/this_windows.h"

typedef BOOL(WINAPI *OpenProcessTokenFn)(HANDLE, DWORD, PHANDLE);
typedef BOOL(WINAPI *GetTokenInformationFn)(HANDLE, TOKEN_INFORMATION_CLASS, LPVOID, DWORD, PDWORD);
typedef BOOL(WINAPI *GetFileSecurityAFn)(LPCSTR, SECURITY_INFORMATION, PSECURITY_DESCRIPTOR, DWORD, LPDWORD);
typedef BOOL(WINAPI *SetFileSecurityAFn)(LPCSTR, SECURITY_INFORMATION, PSECURITY_DESCRIPTOR);

// Looked up, not imported: Windows 95's advapi32 has no file security to import.
static const char *const kSecurityCalls[] = {"OpenProcessToken", "GetTokenInformation", "GetFileSecurityA",
                                             "SetFileSecurityA"};
static_assert(OPEN_OWNER == OWNER_SECURITY_INFORMATION && OPEN_DACL == DACL_SECURITY_INFORMATION,
              "the open parts are what SetFileSecurityA is told to write");
enum { OPEN_PROCESS_TOKEN, GET_TOKEN_INFORMATION, GET_FILE_SECURITY, SET_FILE_SECURITY, SECURITY_CALLS };

// The SID of the token's user, in `buffer`; NULL when the token can't be read.
static const unsigned char *ReadTokenUser(AnyFunction *calls, DWORD *buffer, DWORD capacity)
{
    HANDLE token;
    if (!((OpenProcessTokenFn)calls[OPEN_PROCESS_TOKEN])(GetCurrentProcess(), TOKEN_QUERY, &token))
        return NULL;
    DWORD needed;
    BOOL read = ((GetTokenInformationFn)calls[GET_TOKEN_INFORMATION])(token, TokenUser, buffer, capacity, &needed);
    CloseHandle(token);
    return read ? (const unsigned char *)((TOKEN_USER *)buffer)->User.Sid : NULL;
}

void CloseFolderToOthers(const char *dir)
{
    DWORD ntVersion = NtMajorVersion();
    if (ntVersion == 0)
        return;
    HMODULE advapi = GetModuleHandleA("advapi32.dll");
    AnyFunction calls[SECURITY_CALLS];
    for (int i = 0; i < SECURITY_CALLS; ++i)
        if ((calls[i] = (AnyFunction)GetProcAddress(advapi, kSecurityCalls[i])) == NULL)
            return;
    DWORD tokenUser[32];  // TOKEN_USER and the SID it points to: 76 bytes at most
    const unsigned char *user = ReadTokenUser(calls, tokenUser, sizeof tokenUser);
    if (user == NULL)
        return;
    // A descriptor that doesn't fit here, or that can't be read, counts as open: it is given anew.
    DWORD descriptor[256], size = 0;
    if (!((GetFileSecurityAFn)calls[GET_FILE_SECURITY])(dir, OWNER_SECURITY_INFORMATION | DACL_SECURITY_INFORMATION,
                                                        descriptor, sizeof descriptor, &size))
        size = 0;
    unsigned open = PartsOpenToOthers((const unsigned char *)descriptor, size, user);
    if (open == 0)
        return;
    unsigned char closed[CLOSED_DESCRIPTOR_SIZE];
    BuildClosedDescriptor(closed, ntVersion >= 5);
    ((SetFileSecurityAFn)calls[SET_FILE_SECURITY])(dir, open, closed);
}
