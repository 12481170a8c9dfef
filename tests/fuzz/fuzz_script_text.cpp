// The uninstall script composer with any Windows directory, name and capacity: a piece either
// fits whole or is refused empty, and a piece that fits needs exactly its length plus one.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include "shell/uninstall_script_text.h"
#include "tests/support/code_pages.h"

namespace {

// Composes into an exact-size buffer, so ASan sees any write past `capacity`.
template <typename Compose>
void CheckNeverCut(int capacity, Compose compose)
{
    char *out = static_cast<char *>(malloc(capacity > 0 ? capacity : 1));
    out[0] = 'x';
    bool ok = compose(out, capacity);
    size_t length = capacity > 0 ? strnlen(out, capacity) : 0;
    if (capacity > 0 && (length >= (size_t)capacity || (!ok && length != 0)))
        abort();
    if (capacity < 1 && ok)
        abort();
    std::string composed = ok ? std::string(out, length) : "";
    free(out);
    if (!ok)
        return;
    char *exact = static_cast<char *>(malloc(length + 1));
    char *tooSmall = static_cast<char *>(malloc(length > 0 ? length : 1));
    if (!compose(exact, (int)length + 1) || exact != composed || compose(tooSmall, (int)length))
        abort();
    free(exact);
    free(tooSmall);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size < 3)
        return 0;
    int capacity = (int)data[0] * 4 - 4;  // -4 .. 1016
    bool nt = data[1] & 1, desktop = data[1] & 2;
    int row = (int)(data[2] % 5) - 1;  // -1 .. 3, the ends outside the three rows
    std::string text(reinterpret_cast<const char *>(data + 3), size - 3);
    // The folder, the shell folder and the Windows directory of a link row: the text's first
    // three NUL-separated parts.
    std::string parts[3];
    for (int i = 0, at = 0; i < 3 && at <= (int)text.size(); ++i) {
        size_t end = text.find('\0', at);
        parts[i] = text.substr(at, end == std::string::npos ? std::string::npos : end - at);
        at = end == std::string::npos ? (int)text.size() + 1 : (int)end + 1;
    }
    text = parts[0];
    const char *s = text.c_str();
    LinkFolderPlace place = {parts[0].c_str(), parts[1].c_str(), data[1] >> 2, parts[2].c_str()};
    LeadByteRule isLead = data[2] & 0x80 ? CodePage932Lead : SingleByteCodePage;

    CheckNeverCut(capacity, [&](char *out, int c) { return ComposeScriptHead(out, c, desktop, nt, row & 1); });
    CheckNeverCut(capacity, [&](char *out, int c) { return ComposeScriptFilesHead(out, c); });
    CheckNeverCut(capacity, [&](char *out, int c) {
        return ComposeLinkFolderRow(out, c, desktop ? ROW_DESKTOP : ROW_PROGRAM_GROUP, nt, place, isLead);
    });
    CheckNeverCut(capacity, [&](char *out, int c) { return ComposeNameLine(out, c, s, nt ? ".lnk" : ""); });
    CheckNeverCut(capacity, [&](char *out, int c) { return ComposeSectionStart(out, c, s); });
    CheckNeverCut(capacity, [&](char *out, int c) { return ComposeCdPlayerRow(out, c, row, s, nt); });
    CheckNeverCut(capacity, [&](char *out, int c) { return ComposeDesktopSection(out, c); });
    // A value given back is read back from its row as it was, whatever its bytes.
    AudioCdValue value = {(unsigned long)(data[1] >> 6), ""}, back;
    if (text.size() < sizeof value.text)
        memcpy(value.text, s, text.size() + 1);
    int key = (data[2] & 0x7f) % AUDIO_CD_KEYS;
    CheckNeverCut(capacity, [&](char *out, int c) { return ComposeAudioCdValueRow(out, c, key, value); });
    CheckNeverCut(capacity, [&](char *out, int c) { return ComposeAudioCdRemovalRow(out, c, key); });
    static char line[AUDIO_CD_ROW_CAPACITY];
    if (ComposeAudioCdValueRow(line, sizeof line, key, value)
        && (!FindAudioCdRecord(("[TNP_SetCDPlayer]\r\n" + std::string(line)).c_str(), key, back) || back.type != value.type || strcmp(back.text, value.text) != 0))
        abort();
    FindAudioCdRecord(s, key, back);
    if (row < 0 || row > 2) {
        char out[1024];
        if (ComposeCdPlayerRow(out, sizeof out, row, s, nt) || out[0] != '\0')
            abort();  // there are three rows only
    }
    return 0;
}
