#include "registry_text.h"

DWORD ReadRegistryText(HKEY key, const char *name, char *text, DWORD capacity)
{
    DWORD type = 0;
    DWORD size = capacity;
    text[0] = '\0';
    if (RegQueryValueExA(key, name, NULL, &type, (BYTE *)text, &size) != ERROR_SUCCESS
        || (type != REG_SZ && type != REG_EXPAND_SZ)) {
        text[0] = '\0';
        return 0;
    }
    if (size > 0 && text[size - 1] == '\0')
        return type;
    if (size >= capacity) {  // unterminated and no room left for the terminator
        text[0] = '\0';
        return 0;
    }
    text[size] = '\0';
    return type;
}
