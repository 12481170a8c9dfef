#include "payload_table.h"
#include "../setup/product.h"

const PayloadRow g_payloadTable[PAYLOAD_ROW_COUNT] = {
    { "TNPREAD.TXT",  "TNPRead.txt",  "ReadMe File" },
    { "TNP.HLP",      "tnp.hlp",      "Help Contents" },
    { "TNP.CNT",      "tnp.cnt",      0 },
    { "TNP.EXE",      "tnp.exe",      TNP_DISPLAY_NAME },
    { "TNP32HLP.DLL", "tnp32hlp.dll", 0 },
    { "TNP16HLP.DLL", "tnp16hlp.dll", 0 },
};
