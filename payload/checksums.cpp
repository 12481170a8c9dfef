// zlib's two check functions, small in place of fast: zlib's own adler32.c and crc32.c hold
// 10 KB of unrolled code and tables, and are not compiled in at all.
#include <zlib.h>

static const uLong ADLER_BASE = 65521;
static const uInt ADLER_NMAX = 5552;  // the most bytes before the sums can overflow 32 bits

// Checks every payload stream, which is zlib format.
extern "C" uLong ZEXPORT adler32(uLong adler, const Bytef *buf, uInt len)
{
    if (buf == Z_NULL)
        return 1;
    uLong low = adler & 0xFFFF;
    uLong high = (adler >> 16) & 0xFFFF;
    while (len > 0) {
        uInt chunk = len < ADLER_NMAX ? len : ADLER_NMAX;
        len -= chunk;
        while (chunk--) {
            low += *buf++;
            high += low;
        }
        low %= ADLER_BASE;
        high %= ADLER_BASE;
    }
    return (high << 16) | low;
}

// Inflate calls this only for gzip streams, which the payload never is; bit at a time, it is
// the same CRC-32, only slower.
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
