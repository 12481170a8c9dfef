// The uninstall-string parse on any bytes: never writes past the directory, always terminates
// it, and only ever yields a prefix of the text after the last space.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include "setup/uninstall_command.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    std::string value(reinterpret_cast<const char *>(data), size);
    value = value.substr(0, value.find('\0'));
    char *directory = static_cast<char *>(malloc(260));  // exact size, so ASan sees any overrun
    ParseUninstallString(value.c_str(), directory, 260);
    size_t length = strnlen(directory, 260);
    if (length >= 260)
        abort();
    if (length > 0) {
        size_t space = value.rfind(' ');
        if (space == std::string::npos || space == 0 || value.compare(space + 1, length, directory) != 0 ||
            value[space + 1 + length] != '\\')
            abort();
    }
    free(directory);
    return 0;
}
