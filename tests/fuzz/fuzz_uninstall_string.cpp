// The uninstall-string parse on any bytes, in a single-byte and two double-byte code pages:
// never writes past the directory, always terminates it, and only ever yields a prefix of the
// script's path, up to its last backslash: the text after the product's own command head when
// the value starts with it (its rundll32.exe by name or at the end of a path), else the text
// after the last space. Spaces and backslashes count
// only where a character starts, so the cut never falls between a lead byte and its trail byte.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>
#include "tests/support/code_pages.h"
#include "setup/uninstall_command.h"

// The last position at `from` or later where a character `wanted` starts, or npos.
static size_t LastCharacter(const std::string &text, const std::vector<bool> &starts, size_t from, char wanted)
{
    size_t found = std::string::npos;
    for (size_t i = from; i < text.size(); ++i)
        if (starts[i] && text[i] == wanted)
            found = i;
    return found;
}

static void CheckParse(const std::string &value, LeadByteRule isLead)
{
    char *directory = static_cast<char *>(malloc(260));  // exact size, so ASan sees any overrun
    ParseUninstallString(value.c_str(), directory, 260, isLead);
    size_t length = strnlen(directory, 260);
    if (length >= 260)
        abort();
    if (length > 0) {
        std::vector<bool> starts = CharacterStarts(value, isLead);
        const std::string section = " setupapi.dll,InstallHinfSection Uninstall_TNP 128 ";
        size_t space = LastCharacter(value, starts, 0, ' ');
        size_t start = space == std::string::npos ? 0 : space + 1;
        size_t first = 0;
        while (first < value.size() && !(starts[first] && value[first] == ' '))
            ++first;
        size_t name = LastCharacter(value.substr(0, first), starts, 0, '\\');
        name = name == std::string::npos ? 0 : name + 1;
        if (first - name == 12 && value.compare(name, 12, "rundll32.exe") == 0
            && value.compare(first, section.size(), section) == 0)
            start = first + section.size();
        else if (start <= 1)  // no space, or one at position 0 only
            abort();
        size_t cut = start + length;
        if (value.compare(start, length, directory) != 0 || value[cut] != '\\')
            abort();
        if (!starts[cut] || LastCharacter(value, starts, cut + 1, '\\') != std::string::npos)
            abort();  // cut inside a character, or not at the last backslash
    }
    free(directory);
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    std::string value(reinterpret_cast<const char *>(data), size);
    value = value.substr(0, value.find('\0'));
    for (LeadByteRule isLead : kCodePages)
        CheckParse(value, isLead);
    return 0;
}
