// The command-line split stays inside the text it was given.
#include <cstdint>
#include <cstdlib>
#include <string>
#include "setup/command_line.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    std::string line(reinterpret_cast<const char *>(data), size);
    line = line.substr(0, line.find('\0'));
    const char *rest = SkipProgramName(line.c_str());
    if (rest < line.c_str() || rest > line.c_str() + line.size())
        abort();
    if (*rest == ' ' || *rest == '\t')
        abort();
    return 0;
}
