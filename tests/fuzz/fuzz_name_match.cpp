// The file-name comparison on any two names: it reads no byte past either terminator, folds
// only 'A'-'Z', and answers the same both ways round.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include "search/name_match.h"

namespace {

std::string FoldedAscii(std::string text, char from = 'A', char to = 'a')
{
    for (char &c : text)
        if (c >= from && c < from + 26)
            c = (char)(c - from + to);
    return text;
}

char *ExactCopy(const std::string &text)
{
    char *copy = static_cast<char *>(malloc(text.size() + 1));
    memcpy(copy, text.c_str(), text.size() + 1);
    return copy;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    std::string input(reinterpret_cast<const char *>(data), size);
    size_t split = input.find('\0');
    std::string first = input.substr(0, split);
    std::string second = split == std::string::npos ? "" : input.substr(split + 1);
    second = second.substr(0, second.find('\0'));

    char *a = ExactCopy(first), *b = ExactCopy(second);
    bool same = SameFileName(a, b);
    if (same != SameFileName(b, a) || same != (FoldedAscii(first) == FoldedAscii(second)))
        abort();
    char *upper = ExactCopy(FoldedAscii(first, 'a', 'A'));
    if (!SameFileName(a, a) || !SameFileName(a, upper))
        abort();
    free(upper);
    free(a);
    free(b);
    return 0;
}
