/* Stand-in code for the product's 16-bit help library, compiled for 16-bit mode: the same
   context lookups as the 32-bit library, over the table in its data segment. */
typedef unsigned long DWORD;

struct ContextEntry {
    unsigned short topic;
    unsigned short offset;
};

extern const char g_contextNames[];
extern const struct ContextEntry g_contextTable[];
extern unsigned short g_contextCount;

int TnpHelpVersion(void)
{
    return 0x0100;
}

DWORD TnpHelpHash(const char *context)
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

static int SameName(const char *a, const char *b)
{
    while (*a && *a == *b)
        ++a, ++b;
    return *a == *b;
}

/* The topic number of a context name, or -1. */
int TnpHelpContext(const char *context)
{
    const char *name = g_contextNames;
    int i;
    for (i = 0; *name; ++i) {
        if (SameName(name, context))
            return g_contextTable[i].topic;
        while (*name)
            ++name;
        ++name;
    }
    return -1;
}

/* The topic offset within the help file of a topic number, or 0. */
unsigned short TnpHelpOffset(int topic)
{
    unsigned short i;
    for (i = 0; i < g_contextCount; ++i)
        if (g_contextTable[i].topic == topic)
            return g_contextTable[i].offset;
    return 0;
}
