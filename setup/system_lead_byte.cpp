#include <windows.h>
#include "path_chars.h"

bool SystemLeadByte(unsigned char byte)
{
    return IsDBCSLeadByte(byte) != FALSE;
}
