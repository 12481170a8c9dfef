// The uninstall-string parse on any bytes: never writes past the directory, always terminates
// it, and only ever yields a prefix of the script's path, up to a backslash: the text after the
// product's own command head when the value starts with it, else the text after the last space.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include "tests/support/code_pages.h"
#include "setup/uninstall_command.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    std::string value(reinterpret_cast<const char *>(data), size);
    value = value.substr(0, value.find('\0'));
    char *directory = static_cast<char *>(malloc(260));  // exact size, so ASan sees any overrun
    ParseUninstallString(value.c_str(), directory, 260, SingleByteCodePage);
    size_t length = strnlen(directory, 260);
    if (length >= 260)
        abort();
    if (length > 0) {
        const std::string head = "rundll32.exe setupapi.dll,InstallHinfSection Uninstall_TNP 128 ";
        size_t start = value.rfind(' ') + 1;
        if (value.compare(0, head.size(), head) == 0)
            start = head.size();
        else if (start <= 1)  // no space, or one at position 0 only
            abort();
        if (value.compare(start, length, directory) != 0 || value[start + length] != '\\')
            abort();
    }
    free(directory);
    return 0;
}
