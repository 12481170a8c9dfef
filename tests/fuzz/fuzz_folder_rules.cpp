// The folder rules, the browsed-folder proposal and the uninstall command with any Windows
// directory (or picked folder) and capacity: the result fits its buffer or is refused empty,
// never cut. The proposal is checked in a single-byte and two double-byte code pages: the
// product's folder is appended at a character boundary, with a backslash unless the picked
// folder's last character is one.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>
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

static void CheckProposal(const std::string &picked, int capacity, LeadByteRule isLead)
{
    char *proposal = static_cast<char *>(malloc(capacity));
    bool proposed = BuildBrowsedInstallDirectory(proposal, capacity, picked.c_str(), isLead);
    size_t proposalLength = strnlen(proposal, capacity);
    if (proposalLength >= (size_t)capacity || (!proposed && proposalLength != 0))
        abort();
    if (proposed) {
        std::vector<bool> starts = CharacterStarts(picked, isLead);
        size_t last = picked.size();
        while (last > 0 && !starts[last - 1])
            --last;
        bool endsWithBackslash = last > 0 && picked[last - 1] == '\\';
        if (std::string(proposal) != picked + (endsWithBackslash ? "Tone Pilot" : "\\Tone Pilot"))
            abort();
        // A folder the system gives is made of whole characters; the join must then be a
        // character boundary of the proposal too.
        bool loneLeadAtEnd = last == picked.size() && last > 0 && isLead((unsigned char)picked[last - 1]);
        if (!loneLeadAtEnd && !CharacterStarts(proposal, isLead)[picked.size()])
            abort();
    }
    free(proposal);
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
    for (LeadByteRule isLead : kCodePages)
        CheckProposal(windowsDir, capacity, isLead);
    char *command = static_cast<char *>(malloc(capacity));
    bool ok = BuildUninstallCommand(command, capacity, windowsDir.c_str());
    if (strnlen(command, capacity) >= (size_t)capacity || (!ok && command[0] != '\0'))
        abort();
    free(command);
    return 0;
}
