// The folder rules, the browsed-folder proposal and the uninstall command with any Windows
// directory (or picked folder) and capacity: the result fits its buffer or is refused empty,
// never cut. The names joined below a folder (program group, desktop link, proposal) are checked
// in a single-byte and two double-byte code pages: each is appended at a character boundary,
// with a backslash unless the folder's last character is one.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>
#include "tests/support/code_pages.h"
#include "setup/folders.h"
#include "setup/uninstall_command.h"

typedef bool (*Rule)(char *, int, const char *, bool);
typedef bool (*FolderRule)(char *, int, const char *, LeadByteRule);

// The result fits its buffer or is refused empty, and starts with the folder it was built from.
static void CheckBuiltOn(const char *out, int capacity, bool ok, const std::string &start)
{
    size_t length = strnlen(out, capacity);
    if (length >= (size_t)capacity || (!ok && length != 0) || (ok && std::string(out, start.size()) != start))
        abort();
}

// `name` joined below `folder` by `rule`: at a character boundary, with a backslash unless the
// folder's last character is one.
static void CheckBelow(FolderRule rule, const char *name, const std::string &folder, int capacity,
                       LeadByteRule isLead)
{
    char *out = static_cast<char *>(malloc(capacity));
    bool ok = rule(out, capacity, folder.c_str(), isLead);
    size_t length = strnlen(out, capacity);
    if (length >= (size_t)capacity || (!ok && length != 0))
        abort();
    if (ok) {
        std::vector<bool> starts = CharacterStarts(folder, isLead);
        size_t last = folder.size();
        while (last > 0 && !starts[last - 1])
            --last;
        bool endsWithBackslash = last > 0 && folder[last - 1] == '\\';
        if (std::string(out) != folder + (endsWithBackslash ? "" : "\\") + name)
            abort();
        // A folder the system gives is made of whole characters; the join must then be a
        // character boundary of the result too.
        bool loneLeadAtEnd = last == folder.size() && last > 0 && isLead((unsigned char)folder[last - 1]);
        if (!loneLeadAtEnd && !CharacterStarts(out, isLead)[folder.size()])
            abort();
    }
    free(out);
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size < 2)
        return 0;
    int capacity = 1 + data[0] * 2;  // 1 .. 511
    bool nt = data[1] & 1;
    std::string windowsDir(reinterpret_cast<const char *>(data + 2), size - 2);
    windowsDir = windowsDir.substr(0, windowsDir.find('\0'));
    const Rule rules[] = {BuildComposedProgramsFolder, BuildComposedDesktopFolder,
                          [](char *out, int c, const char *w, bool n) { return BuildUninstallRunnerPath(out, c, w, n, ""); }};
    for (Rule rule : rules) {
        char *out = static_cast<char *>(malloc(capacity));
        CheckBuiltOn(out, capacity, rule(out, capacity, windowsDir.c_str(), nt), windowsDir);
        free(out);
    }
    for (LeadByteRule isLead : kCodePages) {
        CheckBelow(BuildProgramGroupFolder, "Tone Pilot\\", windowsDir, capacity, isLead);
        CheckBelow(BuildDesktopLinkFile, "Tone Pilot.lnk", windowsDir, capacity, isLead);
        CheckBelow(BuildBrowsedInstallDirectory, "Tone Pilot", windowsDir, capacity, isLead);
        char *proposal = static_cast<char *>(malloc(capacity));
        BuildDefaultInstallDirectory(proposal, capacity, windowsDir.c_str(), isLead);
        if (strnlen(proposal, capacity) >= (size_t)capacity)
            abort();
        free(proposal);
    }
    char *command = static_cast<char *>(malloc(capacity));
    bool ok = BuildUninstallCommand(command, capacity, nt ? windowsDir.c_str() : "", windowsDir.c_str());
    if (strnlen(command, capacity) >= (size_t)capacity || (!ok && command[0] != '\0'))
        abort();
    free(command);
    return 0;
}
