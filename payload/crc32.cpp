// zlib's inflate refers to crc32 for gzip streams, which the payload never is (its streams are
// zlib format, checked with adler32). Defining crc32 here keeps zlib's crc32.o and its 8 KB of
// tables out of setup.exe; this bit-at-a-time form is the same CRC-32, only slower.
#include <zlib.h>

extern "C" uLong ZEXPORT crc32(uLong crc, const Bytef *buf, uInt len)
{
    if (buf == Z_NULL)
        return 0;
    crc = ~crc & 0xFFFFFFFFUL;
    while (len--) {
        crc ^= *buf++;
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc >> 1) ^ (0xEDB88320UL & (0UL - (crc & 1)));
    }
    return ~crc & 0xFFFFFFFFUL;
}
