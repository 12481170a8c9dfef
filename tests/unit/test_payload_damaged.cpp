// The payload store with a deliberately spoilt store: TNP.HLP with a changed byte, TNP.EXE cut
// short, TNP.CNT left out; the other three rows are the real ones. And zlib out of memory.
#include <gtest/gtest.h>
#include <windows.h>
#include <string>
#include <vector>
#include <zlib.h>
#include "message_box_watcher.h"
#include "scratch.h"
#include "payload/payload_store.h"
#include "setup/globals.h"

// zlib's own allocator, wrapped at link time (payload_tests.cmake), fails while this is set.
static volatile bool g_zlibAllocationFails = false;

extern "C" voidpf __real_zcalloc(voidpf opaque, unsigned items, unsigned size);
extern "C" voidpf __wrap_zcalloc(voidpf opaque, unsigned items, unsigned size)
{
    return g_zlibAllocationFails ? Z_NULL : __real_zcalloc(opaque, items, size);
}

namespace {

std::string Damaged(const std::string &fileName)
{
    return "Setup data for " + fileName + " is damaged, get a new copy of setup and try again.";
}

struct Spoilt {
    const char *resourceName;
    const char *fileName;
};
const Spoilt kSpoilt[] = {{"TNP.HLP", "tnp.hlp"}, {"TNP.EXE", "tnp.exe"}, {"TNP.CNT", "tnp.cnt"}};

class BadInputPayloadStore : public ::testing::Test {
protected:
    void SetUp() override { g_instance = GetModuleHandleA(NULL); }
};

}  // namespace

TEST_F(BadInputPayloadStore, MeasuringReportsEachSpoiltStreamAndGivesZero)
{
    MessageBoxWatcher watcher;
    std::vector<std::string> expected;
    for (const Spoilt &s : kSpoilt) {
        EXPECT_EQ(GetPayloadSize(s.resourceName), 0u) << s.resourceName;
        expected.push_back(Damaged(s.fileName));
    }
    EXPECT_EQ(GetPayloadSize("TNPREAD.TXT"), 2320u);  // the intact rows still measure
    EXPECT_EQ(watcher.Texts(), expected);
}

TEST_F(BadInputPayloadStore, ExtractionReportsBeforeTouchingAnyFile)
{
    MessageBoxWatcher watcher;
    std::string dir = MakeScratchDir("payload_damaged");
    WriteWholeFile(dir + "tnp.exe", "the copy installed before");
    std::vector<std::string> expected;
    for (const Spoilt &s : kSpoilt) {
        EXPECT_EQ(ExtractPayloadFile(s.resourceName, dir.c_str(), s.fileName), 0u) << s.resourceName;
        expected.push_back(Damaged(s.fileName));
    }
    EXPECT_EQ(ReadWholeFile(dir + "tnp.exe"), "the copy installed before");
    EXPECT_FALSE(PathExists(dir + "tnp.hlp"));
    EXPECT_FALSE(PathExists(dir + "tnp.cnt"));
    EXPECT_EQ(ExtractPayloadFile("TNP16HLP.DLL", dir.c_str(), "tnp16hlp.dll"), 4768u);
    EXPECT_EQ(watcher.Texts(), expected);
}

TEST_F(BadInputPayloadStore, ZlibOutOfMemoryIsAShortageNotDamage)
{
    MessageBoxWatcher watcher;
    std::string dir = MakeScratchDir("payload_no_memory");
    g_zlibAllocationFails = true;
    DWORD measured = GetPayloadSize("TNPREAD.TXT");
    DWORD written = ExtractPayloadFile("TNP16HLP.DLL", dir.c_str(), "tnp16hlp.dll");
    g_zlibAllocationFails = false;
    EXPECT_EQ(measured, 0u);
    EXPECT_EQ(written, 0u);
    EXPECT_FALSE(PathExists(dir + "tnp16hlp.dll"));
    const std::string shortage = "Buffer couldn't be allocated, close some programs and try again.";
    EXPECT_EQ(watcher.Texts(), (std::vector<std::string>{shortage, shortage}));
    EXPECT_EQ(GetPayloadSize("TNPREAD.TXT"), 2320u) << "measures again once memory is back";
}
