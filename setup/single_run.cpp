#include "single_run.h"
#include <windows.h>
#include "messages.h"
#include "product.h"

// Windows with sessions (NT 4 Terminal Server, 2000 and later) see a name of the Global namespace
// from every session. Where the prefix is refused (plain NT 4 has no such namespace), the bare
// name: such a Windows has only one.
static const char kGlobalRunMutexName[] = "Global\\Tone Pilot Setup running";
enum { GLOBAL_PREFIX_LENGTH = 7 };

bool TakeRunMutex()
{
    for (int i = 0; i < 2; ++i) {
        HANDLE mutex = CreateMutexA(NULL, FALSE, kGlobalRunMutexName + i * GLOBAL_PREFIX_LENGTH);
        DWORD error = GetLastError();
        if (mutex != NULL)
            return error != ERROR_ALREADY_EXISTS;
        if (error == ERROR_ACCESS_DENIED)
            return false;
    }
    // Without a mutex at all, nothing tells two runs apart; the run goes on as it always did.
    return true;
}

void BringOtherRunToFront()
{
    static const char *const kCaptions[3] = {CAPTION_SELECT, CAPTION_SEARCH, TNP_DISPLAY_NAME};
    for (int i = 0; i < 3; ++i) {
        HWND window = FindWindowA("#32770", kCaptions[i]);
        if (window == NULL)
            continue;
        if (IsIconic(window))
            ShowWindow(window, SW_RESTORE);
        SetForegroundWindow(window);
        return;
    }
}
