#include "message_box.h"
#include <windows.h>
#include <stdarg.h>
#include "globals.h"
#include "messages.h"
#include "product.h"
#include "run_log.h"
#include "run_outcome.h"

// wvsprintfA never writes more than 1024 characters, so this holds any message whole.
enum { MESSAGE_CAPACITY = 1025 };

// Every message goes into the log; a silent run, with nobody to answer a box, shows none.
void ShowWarning(const char *format, ...)
{
    char text[MESSAGE_CAPACITY];
    va_list args;
    va_start(args, format);
    wvsprintfA(text, format, args);
    va_end(args);
    NoteWarning();
    LogLine(text);
    if (g_switches.silent)
        return;
    MessageBeep(MB_ICONEXCLAMATION);
    MessageBoxA(NULL, text, TNP_DISPLAY_NAME, MB_OK | MB_ICONEXCLAMATION | MB_SETFOREGROUND);
}

void ShowInformation(const char *text)
{
    LogLine(text);
    if (g_switches.silent)
        return;
    MessageBeep(MB_ICONASTERISK);
    MessageBoxA(NULL, text, TNP_DISPLAY_NAME, MB_OK | MB_ICONINFORMATION | MB_SETFOREGROUND);
}

// A silent run installs anyway, as a deployment that names the product means it to.
bool AskYesNo(const char *text)
{
    LogLine(text);
    bool yes = true;
    if (!g_switches.silent) {
        MessageBeep(MB_ICONQUESTION);
        yes = MessageBoxA(NULL, text, TNP_DISPLAY_NAME, MB_YESNO | MB_ICONQUESTION | MB_SETFOREGROUND) == IDYES;
    }
    LogFormat(LOG_ANSWERED, yes ? "Yes" : "No");
    return yes;
}
