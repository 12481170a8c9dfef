#include "payload_store.h"
#include <zlib.h>
#include "payload_table.h"
#include "../setup/bounded_text.h"
#include "../setup/globals.h"
#include "../setup/messages.h"
#include "../setup/product.h"
#include "../setup/message_box.h"
#include "../setup/write_whole_or_nothing.h"

enum { OUTPUT_PATH_CAPACITY = 256 };

// The row of a payload resource, whose file name messages give and whose slot it is staged in.
static int RowOf(const char *resourceName)
{
    int row = 0;
    while (row < PAYLOAD_ROW_COUNT - 1 && !TextEquals(g_payloadTable[row].resourceName, resourceName))
        ++row;
    return row;
}

// Decompresses one payload file into a heap buffer the caller frees with HeapFree. A stream
// that is missing or doesn't decompress whole is reported, never measured or written.
static BYTE *DecompressPayload(const char *resourceName, DWORD *length)
{
    HRSRC found = FindResourceA(g_instance, resourceName, PAYLOAD_RESOURCE_TYPE);
    HGLOBAL loaded = found ? LoadResource(g_instance, found) : NULL;
    const BYTE *stream = loaded ? (const BYTE *)LockResource(loaded) : NULL;
    DWORD streamSize = found ? SizeofResource(g_instance, found) : 0;

    BYTE *buffer = (BYTE *)HeapAlloc(GetProcessHeap(), 0, PAYLOAD_BUFFER_SIZE);
    if (buffer == NULL) {
        ShowWarning(MSG_BUFFER_FAILED);
        return NULL;
    }
    // Z_OK means the stream ended, adler32 checked, within the buffer. A missing resource reaches
    // uncompress as no input and comes back as damaged data, as does a file too large for the
    // buffer (Z_BUF_ERROR); only zlib's own allocations failing is a matter of memory.
    uLongf produced = PAYLOAD_BUFFER_SIZE;
    int result = uncompress(buffer, &produced, stream, streamSize);
    if (result != Z_OK) {
        HeapFree(GetProcessHeap(), 0, buffer);
        if (result == Z_MEM_ERROR)
            ShowWarning(MSG_BUFFER_FAILED);
        else
            ShowWarning(MSG_PAYLOAD_DAMAGED, g_payloadTable[RowOf(resourceName)].fileName);
        return NULL;
    }
    *length = produced;
    return buffer;
}

DWORD GetPayloadSize(const char *resourceName)
{
    DWORD length = 0;
    BYTE *buffer = DecompressPayload(resourceName, &length);
    if (buffer == NULL)
        return 0;
    HeapFree(GetProcessHeap(), 0, buffer);
    return length;
}

// Composed with room to spare so that a path too long to open can still be named.
static bool ComposeOutputPath(char (&path)[TNP_TEXT_CAPACITY], const char *directory, const char *fileName)
{
    return CopyText(path, sizeof path, directory) && AppendText(path, sizeof path, fileName);
}

static bool ReadyToReplacePayloadFiles(const char *directory)
{
    char path[TNP_TEXT_CAPACITY];
    for (int i = 0; i < PAYLOAD_ROW_COUNT; ++i) {
        DWORD error = ComposeOutputPath(path, directory, g_payloadTable[i].fileName) ? ReadyToReplace(path) : 0;
        if (error != 0) {
            ShowWarning(MSG_FILE_NOT_WRITTEN, path, (int)error);
            return false;
        }
    }
    return true;
}

DWORD ExtractPayloadFile(const char *resourceName, const char *directory, const char *fileName)
{
    char path[TNP_TEXT_CAPACITY] = "";
    if (!ComposeOutputPath(path, directory, fileName) || TextLength(path) >= OUTPUT_PATH_CAPACITY) {
        ShowWarning(MSG_FILE_NOT_WRITTEN, path, ERROR_FILENAME_EXCED_RANGE);
        return 0;
    }

    DWORD length = 0;
    BYTE *buffer = DecompressPayload(resourceName, &length);
    if (buffer == NULL)
        return 0;
    DWORD error = StageFile(directory, RowOf(resourceName), buffer, length);
    HeapFree(GetProcessHeap(), 0, buffer);
    if (error != 0) {
        ShowWarning(MSG_FILE_NOT_WRITTEN, path, (int)error);
        return 0;
    }
    return length;
}

bool ReplacePayloadFiles(const char *directory, bool leftoversTrusted)
{
    const char *names[INSTALLED_FILE_COUNT];
    for (int i = 0; i < PAYLOAD_ROW_COUNT; ++i)
        names[i] = g_payloadTable[i].fileName;
    names[SCRIPT_SLOT] = TNP_UNINSTALL_SCRIPT;
    ReplacedFiles installed = {directory, names, 0, INSTALLED_FILE_COUNT};
    char failed[TNP_TEXT_CAPACITY];
    DWORD error = TidyLeftovers(installed, PAYLOAD_ROW_COUNT, leftoversTrusted, failed);
    if (error == 0) {
        if (!ReadyToReplacePayloadFiles(directory))
            return false;
        ReplacedFiles payload = {directory, names, 0, PAYLOAD_ROW_COUNT};
        for (int i = 0; i < PAYLOAD_ROW_COUNT; ++i)
            if (ExtractPayloadFile(g_payloadTable[i].resourceName, directory, names[i]) == 0) {
                RemoveStaged(payload);
                return false;
            }
        error = PutStagedInPlace(payload, true, failed);
    }
    if (error != 0) {
        ShowWarning(MSG_FILE_NOT_WRITTEN, failed, (int)error);
        return false;
    }
    return true;
}
