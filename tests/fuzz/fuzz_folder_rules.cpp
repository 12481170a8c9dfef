// The folder rules, the browsed-folder proposal and the uninstall command with any Windows
// directory (or picked folder) and capacity: the result fits its buffer or is refused empty,
// never cut.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include "tests/support/code_pages.h"
#include "setup/folders.h"
#include "setup/uninstall_command.h"

typedef bool (*Rule)(char *, int, const char *, bool);
typedef bool (*FolderRule)(char *, int, const char *);

// The result fits its buffer or is refused empty, and starts with the folder it was built from.
static void CheckBuiltOn(const char *out, int capacity, bool ok, const std::string &start)
{
    size_t length = strnlen(out, capacity);
    if (length >= (size_t)capacity || (!ok && length != 0) || (ok && std::string(out, start.size()) != start))
        abort();
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size < 2)
        return 0;
    int capacity = 1 + data[0] * 2;  // 1 .. 511
    bool nt = data[1] & 1;
    std::string windowsDir(reinterpret_cast<const char *>(data + 2), size - 2);
    windowsDir = windowsDir.substr(0, windowsDir.find('\0'));
    const Rule rules[] = {BuildComposedProgramsFolder, BuildComposedDesktopFolder, BuildRundll32Path};
    for (Rule rule : rules) {
        char *out = static_cast<char *>(malloc(capacity));
        CheckBuiltOn(out, capacity, rule(out, capacity, windowsDir.c_str(), nt), windowsDir);
        free(out);
    }
    const FolderRule folderRules[] = {BuildProgramGroupFolder, BuildDesktopLinkFile};
    for (FolderRule rule : folderRules) {
        char *out = static_cast<char *>(malloc(capacity));
        CheckBuiltOn(out, capacity, rule(out, capacity, windowsDir.c_str()), windowsDir);
        free(out);
    }
    char *proposal = static_cast<char *>(malloc(capacity));
    bool proposed = BuildBrowsedInstallDirectory(proposal, capacity, windowsDir.c_str(), SingleByteCodePage);
    size_t proposalLength = strnlen(proposal, capacity);
    if (proposalLength >= (size_t)capacity || (!proposed && proposalLength != 0) ||
        (proposed && (std::string(proposal, windowsDir.size()) != windowsDir ||
                      std::string(proposal).substr(proposalLength - 10) != "Tone Pilot")))
        abort();
    free(proposal);
    char *command = static_cast<char *>(malloc(capacity));
    bool ok = BuildUninstallCommand(command, capacity, windowsDir.c_str());
    if (strnlen(command, capacity) >= (size_t)capacity || (!ok && command[0] != '\0'))
        abort();
    free(command);
    return 0;
}
