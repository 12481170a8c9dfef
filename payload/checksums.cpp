// zlib's check function, small in place of fast: zlib's own adler32.c holds unrolled code, and
// is not compiled in at all; nor is crc32.c, which only gzip streams need.
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
