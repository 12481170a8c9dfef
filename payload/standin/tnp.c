/* Stand-in for the product's main program while we build without the product's own files. */
#include <windows.h>

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR commandLine, int show)
{
    (void)instance; (void)previous; (void)commandLine; (void)show;
    MessageBoxA(NULL, "Tone Pilot stand-in: the real program is not part of this build.",
                "Tone Pilot", MB_OK | MB_ICONINFORMATION);
    return 0;
}
