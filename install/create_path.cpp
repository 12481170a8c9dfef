#include "create_path.h"
#include <windows.h>
#include "path_rules.h"
#include "../setup/messages.h"
#include "../setup/message_box.h"

// Holds each prefix of the path in turn.
enum { WORK_AREA_CAPACITY = 256 };

static bool Exists(const char *path)
{
    return GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES;
}

static int Refuse(const char *path)
{
    ShowWarning(MSG_PATH_INVALID, path);
    return 0;
}

int CreatePath(const char *path, const unsigned char *descriptor)
{
    if (Exists(path))
        return 1;
    int currentEnd = FindRootEnd(path, SystemLeadByte);
    if (currentEnd == 0 || HasComponentEndingInBlankOrDot(path, SystemLeadByte))
        return Refuse(path);

    int length = lstrlenA(path);
    char prefix[WORK_AREA_CAPACITY];
    SECURITY_ATTRIBUTES security = {sizeof security, (void *)descriptor, FALSE};  // none: the inherited entries
    while (length > currentEnd + 1) {
        currentEnd = NextComponentEnd(path, currentEnd, SystemLeadByte);
        if (currentEnd >= WORK_AREA_CAPACITY)
            return Refuse(path);  // a prefix this long could not be created anyway
        lstrcpynA(prefix, path, currentEnd + 1);
        if (Exists(prefix) || CreateDirectoryA(prefix, &security))
            continue;
        int error = (int)GetLastError();
        ShowWarning(MSG_PATH_NOT_CREATED, path, error);
        return 0;
    }
    return 1;
}
