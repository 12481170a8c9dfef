// Lead-byte tests of the ANSI code pages the rules are checked against on the host, as Windows
// defines them: 1252 has none; 932 (Japanese) 0x81-0x9F and 0xE0-0xFC; 950 (Traditional
// Chinese) 0x81-0xFE.
#pragma once

inline bool SingleByteCodePage(unsigned char)
{
    return false;
}

inline bool CodePage932Lead(unsigned char byte)
{
    return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
}

inline bool CodePage950Lead(unsigned char byte)
{
    return byte >= 0x81 && byte <= 0xFE;
}
