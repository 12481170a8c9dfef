/* Stand-in for the product's 32-bit help library: maps the help topics' context names to their
   numbers, the way the program asks for a topic. */
#include <windows.h>

#define IDS_FIRST_CONTEXT 1000
#define CONTEXT_COUNT     42  /* the topics of the help file */

static HINSTANCE s_instance;

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved)
{
    (void)reserved;
    if (reason == DLL_PROCESS_ATTACH)
        s_instance = instance;
    return TRUE;
}

__declspec(dllexport) int WINAPI TnpHelpVersion(void)
{
    return 0x0100;
}

/* The help compiler's hash of a context name. */
__declspec(dllexport) DWORD WINAPI TnpHelpHash(const char *context)
{
    DWORD hash = 0;
    for (; *context; ++context) {
        char c = *context;
        int value = c >= 'A' && c <= 'Z' ? c - 'A' + 17 : c >= 'a' && c <= 'z' ? c - 'a' + 17
                  : c >= '1' && c <= '9' ? c - '0' : c == '0' ? 10 : 13;
        hash = hash * 43 + (DWORD)value;
    }
    return hash;
}

/* The topic number of a context name, or -1. */
__declspec(dllexport) int WINAPI TnpHelpContext(const char *context)
{
    char name[64];
    int i;
    for (i = 0; i < CONTEXT_COUNT; ++i)
        if (LoadStringA(s_instance, IDS_FIRST_CONTEXT + i, name, sizeof name) > 0 &&
            lstrcmpiA(name, context) == 0)
            return i;
    return -1;
}
