/* Stand-in for the product's main program while we build without the product's own files: it
   greets with one of its tips and says that it is a stand-in. */
#include <windows.h>

#define IDS_STANDIN    100
#define IDS_FIRST_TIP 2000
#define TIP_COUNT      320

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR commandLine, int show)
{
    char standin[128], tip[512], text[700];
    (void)previous; (void)commandLine; (void)show;
    LoadStringA(instance, IDS_STANDIN, standin, sizeof standin);
    LoadStringA(instance, IDS_FIRST_TIP + (int)(GetTickCount() % TIP_COUNT), tip, sizeof tip);
    wsprintfA(text, "%s\n\nTip: %s", standin, tip);
    MessageBoxA(NULL, text, "Tone Pilot", MB_OK | MB_ICONINFORMATION);
    return 0;
}
