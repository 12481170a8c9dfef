/* Started once per test run: exit code 42 proves that this machine runs Windows code of the
   architecture it was built for, under Wine. */
#include <windows.h>

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR commandLine, int show)
{
    (void)instance;
    (void)previous;
    (void)commandLine;
    (void)show;
    return 42;
}
