// The root recognition and component walk that path creation uses, on any bytes: the root is a
// backslash of the text, each step moves forward to a backslash or the end, and the walk ends.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include "tests/support/code_pages.h"
#include "install/path_rules.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    std::string text(reinterpret_cast<const char *>(data), size);
    text = text.substr(0, text.find('\0'));
    char *path = static_cast<char *>(malloc(text.size() + 1));  // exact size, so ASan sees any overread
    memcpy(path, text.c_str(), text.size() + 1);
    int length = (int)text.size();

    int end = FindRootEnd(path, SingleByteCodePage);
    bool drive = length >= 4 && path[1] == ':' && path[2] == '\\';
    bool unc = length >= 5 && path[0] == '\\' && path[1] == '\\';
    if (end != 0 && (end >= length || path[end] != '\\' || !(drive || unc) || (!unc && end != 2)))
        abort();
    if (end == 0 && unc && text.find('\\', 2) != std::string::npos)
        abort();  // a server name followed by a share is a root

    // The same walk path creation makes, which must stop within one step per character.
    for (int steps = 0; end != 0 && length > end + 1; ++steps) {
        int next = NextComponentEnd(path, end, SingleByteCodePage);
        if (next <= end || next > length || (next < length && path[next] != '\\') || steps > length)
            abort();
        if (memchr(path + end + 1, '\\', next - end - 1) != nullptr)
            abort();  // a component holds no backslash
        end = next;
    }
    free(path);
    return 0;
}
