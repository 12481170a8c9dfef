#include "install_size.h"
#include "payload_store.h"
#include "payload_table.h"

unsigned InstallSizeInKilobytes()
{
    unsigned total = 0;
    for (int i = 0; i < PAYLOAD_ROW_COUNT; ++i)
        total += GetPayloadSize(g_payloadTable[i].resourceName) / 1024;
    return total;
}
