// The few C runtime functions that static zlib and the compiler call, over the process heap.
// Built with -fno-builtin and without loop-to-call rewriting so that memset and memcpy do not
// turn into calls to themselves.
#include <windows.h>
#include <stddef.h>

extern "C" {

void *malloc(size_t size)
{
    return HeapAlloc(GetProcessHeap(), 0, size);
}

void *calloc(size_t count, size_t size)
{
    if (size != 0 && count > (size_t)-1 / size)
        return NULL;
    return HeapAlloc(GetProcessHeap(), HEAP_ZERO_MEMORY, count * size);
}

void free(void *block)
{
    if (block != NULL)
        HeapFree(GetProcessHeap(), 0, block);
}

void *memcpy(void *destination, const void *source, size_t count)
{
    unsigned char *d = (unsigned char *)destination;
    const unsigned char *s = (const unsigned char *)source;
    while (count--)
        *d++ = *s++;
    return destination;
}

void *memset(void *destination, int value, size_t count)
{
    unsigned char *d = (unsigned char *)destination;
    while (count--)
        *d++ = (unsigned char)value;
    return destination;
}

size_t strlen(const char *text)
{
    const char *end = text;
    while (*end)
        ++end;
    return (size_t)(end - text);
}

}
