#include "message_box.h"
#include <windows.h>
#include <stdarg.h>
#include "product.h"

// wvsprintfA never writes more than 1024 characters, so this holds any message whole.
enum { MESSAGE_CAPACITY = 1025 };

void ShowWarning(const char *format, ...)
{
    char text[MESSAGE_CAPACITY];
    va_list args;
    va_start(args, format);
    wvsprintfA(text, format, args);
    va_end(args);
    MessageBeep(MB_ICONEXCLAMATION);
    MessageBoxA(NULL, text, TNP_DISPLAY_NAME, MB_OK | MB_ICONEXCLAMATION | MB_SETFOREGROUND);
}

void ShowInformation(const char *text)
{
    MessageBeep(MB_ICONASTERISK);
    MessageBoxA(NULL, text, TNP_DISPLAY_NAME, MB_OK | MB_ICONINFORMATION | MB_SETFOREGROUND);
}

bool AskYesNo(const char *text)
{
    MessageBeep(MB_ICONQUESTION);
    return MessageBoxA(NULL, text, TNP_DISPLAY_NAME, MB_YESNO | MB_ICONQUESTION | MB_SETFOREGROUND)
        == IDYES;
}
