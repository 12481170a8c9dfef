// Lead-byte tests of the ANSI code pages the rules are checked against on the host, as Windows
// defines them: 1252 has none; 932 (Japanese) 0x81-0x9F and 0xE0-0xFC; 950 (Traditional
// Chinese) 0x81-0xFE.
#pragma once
#include <string>
#include <vector>
#include "../../setup/path_chars.h"

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

// The code pages a fuzzer checks each input under.
const LeadByteRule kCodePages[] = {SingleByteCodePage, CodePage932Lead, CodePage950Lead};

// Which positions of `text` start a character, walked from its first byte: a lead byte and the
// byte after it are one character, a lead byte at the very end is one on its own. Position
// text.size() (the end) counts as a start.
inline std::vector<bool> CharacterStarts(const std::string &text, LeadByteRule isLead)
{
    std::vector<bool> starts(text.size() + 1, false);
    size_t i = 0;
    while (i < text.size()) {
        starts[i] = true;
        i += isLead((unsigned char)text[i]) && i + 1 < text.size() ? 2 : 1;
    }
    starts[text.size()] = true;
    return starts;
}
