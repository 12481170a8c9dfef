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

// Every message goes into the log; a silent run, with nobody to answer a box, shows none and
// takes `silentAnswer`. The beep is the one that goes with the box's icon.
static int Show(const char *text, UINT type, int silentAnswer)
{
    LogLine(text);
    if (g_switches.silent)
        return silentAnswer;
    MessageBeep(type & MB_ICONMASK);
    return MessageBoxA(NULL, text, TNP_DISPLAY_NAME, type | MB_SETFOREGROUND);
}

void ShowWarning(const char *format, ...)
{
    char text[MESSAGE_CAPACITY];
    va_list args;
    va_start(args, format);
    wvsprintfA(text, format, args);
    va_end(args);
    NoteWarning();
    Show(text, MB_OK | MB_ICONEXCLAMATION, IDOK);
}

void ShowInformation(const char *text)
{
    Show(text, MB_OK | MB_ICONINFORMATION, IDOK);
}

// A silent run installs anyway, as a deployment that names the product means it to.
bool AskYesNo(const char *text)
{
    bool yes = Show(text, MB_YESNO | MB_ICONQUESTION, IDYES) == IDYES;
    LogFormat(LOG_ANSWERED, yes ? "Yes" : "No");
    return yes;
}
