// The product's six files: the resource holding each, the name it is installed as, and the
// shortcut made for it (null for none). Row order is the order of all work over the table.
#pragma once

struct PayloadRow {
    const char *resourceName;
    const char *fileName;
    const char *shortcutName;
};

enum { PAYLOAD_ROW_COUNT = 6 };
// The files setup writes into the install directory: the payload rows, then the uninstall
// script. Each slot has names of its own beside its file while that is replaced.
enum { SCRIPT_SLOT = PAYLOAD_ROW_COUNT, INSTALLED_FILE_COUNT };
enum { PAYLOAD_BUFFER_SIZE = 1000000 };  // decimal, the capacity for one decompressed file

extern const PayloadRow g_payloadTable[PAYLOAD_ROW_COUNT];

#define PAYLOAD_RESOURCE_TYPE "ZPK"
