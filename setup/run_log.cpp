#include "run_log.h"
#include <windows.h>
#include <stdarg.h>
#include "globals.h"
#include "messages.h"
#include "product_version.h"
#include "this_windows.h"

enum { LINE_CAPACITY = 1025, TEMPORARY_LOGS_A_MINUTE = 100 };  // wvsprintfA writes at most 1024

static char g_logPath[TNP_PATH_CAPACITY];
// A file this run made itself, in a folder where every user may make files, is only ever opened
// again, never made anew: a name someone else put there first is not written through.
static DWORD g_logDisposition = OPEN_ALWAYS;

static HANDLE OpenLog(DWORD disposition)
{
    // Appends to the end as it is at each write, so the lines of two runs never overwrite each
    // other; the 95 family knows no such access and moves to the end before writing.
    DWORD access = DetectNtLayout() ? FILE_APPEND_DATA : GENERIC_WRITE;
    return CreateFileA(g_logPath, access, FILE_SHARE_READ | FILE_SHARE_WRITE, NULL, disposition,
                       FILE_ATTRIBUTE_NORMAL, NULL);
}

void LogLine(const char *text)
{
    if (g_logPath[0] == '\0')
        return;
    HANDLE file = OpenLog(g_logDisposition);
    if (file == INVALID_HANDLE_VALUE)
        return;
    SetFilePointer(file, 0, NULL, FILE_END);
    DWORD written;
    WriteFile(file, text, (DWORD)lstrlenA(text), &written, NULL);
    WriteFile(file, "\r\n", 2, &written, NULL);
    CloseHandle(file);
}

void LogFormat(const char *format, ...)
{
    char line[LINE_CAPACITY];
    va_list args;
    va_start(args, format);
    wvsprintfA(line, format, args);
    va_end(args);
    LogLine(line);
}

// "Tone Pilot Setup 20261210-1405-1.log" in the temporary folder, the first number no file has.
static void MakeTemporaryLog(const SYSTEMTIME &now)
{
    char folder[TNP_PATH_CAPACITY];
    DWORD length = GetTempPathA(sizeof folder, folder);
    if (length == 0 || length >= sizeof folder - 40)
        return;
    g_logDisposition = OPEN_EXISTING;
    for (int number = 1; number <= TEMPORARY_LOGS_A_MINUTE; ++number) {
        wsprintfA(g_logPath, "%sTone Pilot Setup %04u%02u%02u-%02u%02u-%i.log", folder, now.wYear, now.wMonth,
                  now.wDay, now.wHour, now.wMinute, number);
        HANDLE file = OpenLog(CREATE_NEW);
        if (file != INVALID_HANDLE_VALUE) {
            CloseHandle(file);
            return;
        }
        if (GetLastError() != ERROR_FILE_EXISTS && GetLastError() != ERROR_ALREADY_EXISTS)
            break;
    }
    g_logPath[0] = '\0';
}

void OpenRunLog(const char *arguments)
{
    SYSTEMTIME now;
    GetLocalTime(&now);
    if (g_switches.log[0] != '\0') {
        // A relative name is taken from the folder setup started in, before the install changes it.
        char *name;
        DWORD length = GetFullPathNameA(g_switches.log, sizeof g_logPath, g_logPath, &name);
        if (length == 0 || length >= sizeof g_logPath)
            g_logPath[0] = '\0';
    } else if (g_switches.silent) {
        MakeTemporaryLog(now);
    }
    LogFormat(LOG_RUN_STARTED, now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute, now.wSecond,
              TNP_VERSION_TEXT, g_switches.silent ? LOG_MODE_SILENT : LOG_MODE_INTERACTIVE, arguments);
}
