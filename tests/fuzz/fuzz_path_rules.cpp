// The root recognition and component walk that path creation uses, on any bytes and in a
// single-byte and two double-byte code pages: the root is a backslash of the text, each step
// moves forward to a backslash or the end, and the walk ends; no split falls between a lead
// byte and its trail byte, and a component holds no backslash that starts a character; a blank
// or a dot ends a component only where it starts a character, and "." and ".." end in none. A
// text cut to fit a limit keeps as many whole characters as fit, and no part of one.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>
#include "tests/support/code_pages.h"
#include "install/path_rules.h"

static void CheckWalk(const std::string &text, LeadByteRule isLead)
{
    char *path = static_cast<char *>(malloc(text.size() + 1));  // exact size, so ASan sees any overread
    memcpy(path, text.c_str(), text.size() + 1);
    int length = (int)text.size();
    std::vector<bool> starts = CharacterStarts(text, isLead);

    int end = FindRootEnd(path, isLead);
    bool drive = length >= 4 && path[1] == ':' && path[2] == '\\';
    bool unc = length >= 5 && path[0] == '\\' && path[1] == '\\';
    if (end != 0 && (end >= length || path[end] != '\\' || !(drive || unc) || (!unc && end != 2)))
        abort();
    if (end != 0 && !starts[end])
        abort();
    for (int i = 2; end == 0 && unc && i < length; ++i)
        if (starts[i] && path[i] == '\\')
            abort();  // a server name followed by a share is a root

    // The same walk path creation makes, which must stop within one step per character.
    for (int steps = 0; end != 0 && length > end + 1; ++steps) {
        int next = NextComponentEnd(path, end, isLead);
        if (next <= end || next > length || (next < length && path[next] != '\\') || steps > length)
            abort();
        if (!starts[next])
            abort();  // the split falls inside a character
        for (int i = end + 1; i < next; ++i)
            if (starts[i] && path[i] == '\\')
                abort();  // a component holds no backslash
        end = next;
    }

    bool blankEnds = false;  // a blank or dot that starts a character, then a backslash or the end
    for (int i = 0, start = 0; i < length; ++i) {
        start = starts[i] && path[i] == '\\' ? i + 1 : start;
        std::string part = text.substr(start, i + 1 - start);
        blankEnds = blankEnds || (starts[i] && (path[i] == ' ' || (path[i] == '.' && part != "." && part != ".."))
                                  && (i + 1 == length || path[i + 1] == '\\'));
    }
    if (HasComponentEndingInBlankOrDot(path, isLead) != blankEnds)
        abort();

    for (int limit : {0, length / 2, length - 1, length, (int)(unsigned char)text[0]}) {
        if (limit < 0)
            continue;
        int cut = WholeCharactersWithin(path, limit, isLead);
        if (cut > limit || cut > length || !starts[cut])
            abort();
        int nextStart = cut + 1;
        while (nextStart < length && !starts[nextStart])
            ++nextStart;
        if (cut < length && nextStart <= limit)
            abort();  // a further whole character would have fitted
    }
    free(path);
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    std::string text(reinterpret_cast<const char *>(data), size);
    text = text.substr(0, text.find('\0'));
    for (LeadByteRule isLead : kCodePages)
        CheckWalk(text, isLead);
    return 0;
}
