// The payload store through the real resources of this test program (which carries the same
// six ZPK resources as setup.exe) and real files in the Wine prefix.
#include <gtest/gtest.h>
#include <windows.h>
#include <string>
#include <vector>
#include <zlib.h>
#include "message_box_watcher.h"
#include "scratch.h"
#include "payload/payload_store.h"
#include "payload/payload_table.h"
#include "setup/globals.h"

namespace {

const DWORD kSizes[PAYLOAD_ROW_COUNT] = {2320, 171532, 2104, 441344, 18432, 4768};

// The folder the packed files were made from, as this program sees it through drive Z:.
std::string SourceFile(const char *fileName)
{
    std::string path = std::string("Z:") + TNP_PAYLOAD_FILES_UNIX + "/" + fileName;
    for (char &c : path)
        if (c == '/')
            c = '\\';
    return path;
}

std::string FileNotWritten(const std::string &path, int rc)
{
    return "File " + path + " could not be written, RC=" + std::to_string(rc);
}

class PayloadStore : public ::testing::Test {
protected:
    void SetUp() override { g_instance = GetModuleHandleA(NULL); }
};

}  // namespace

TEST_F(PayloadStore, MeasuresEveryRowAndTheKilobyteSum)
{
    MessageBoxWatcher watcher;
    int kilobytes = 0;
    for (int i = 0; i < PAYLOAD_ROW_COUNT; ++i) {
        DWORD size = GetPayloadSize(g_payloadTable[i].resourceName);
        EXPECT_EQ(size, kSizes[i]) << g_payloadTable[i].resourceName;
        kilobytes += (int)(size / 1024);
    }
    EXPECT_EQ(kilobytes, 624);  // each file rounded down on its own, not 640,500 / 1024
    EXPECT_TRUE(watcher.Texts().empty());
}

TEST_F(PayloadStore, ExtractsAllRowsWithExactNamesAndBytesAndReplacesOnTheSecondRun)
{
    MessageBoxWatcher watcher;
    std::string dir = MakeScratchDir("payload_extract");
    // A longer file of the same name must be replaced, not written over in part.
    WriteWholeFile(dir + "tnp.exe", std::string(600000, 'x'));
    for (int run = 0; run < 2; ++run) {
        EXPECT_TRUE(ReplacePayloadFiles(dir.c_str(), true));
        for (int i = 0; i < PAYLOAD_ROW_COUNT; ++i) {
            const PayloadRow &row = g_payloadTable[i];
            std::string written = ReadWholeFile(dir + row.fileName);
            EXPECT_EQ(written.size(), kSizes[i]) << row.fileName;
            EXPECT_TRUE(written == ReadWholeFile(SourceFile(row.fileName))) << row.fileName << " differs";
        }
    }
    std::vector<std::string> names;
    WIN32_FIND_DATAA entry;
    HANDLE find = FindFirstFileA((dir + "*").c_str(), &entry);
    ASSERT_NE(find, INVALID_HANDLE_VALUE);
    do {
        if (!(entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
            names.push_back(entry.cFileName);
    } while (FindNextFileA(find, &entry));
    FindClose(find);
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"TNPRead.txt", "tnp.cnt", "tnp.exe", "tnp.hlp", "tnp16hlp.dll",
                                               "tnp32hlp.dll"}));
    EXPECT_TRUE(watcher.Texts().empty());
}

TEST_F(PayloadStore, ReportsATargetThatCannotBeCreatedAndLeavesItAlone)
{
    MessageBoxWatcher watcher;
    std::string dir = MakeScratchDir("payload_blocked");
    // A directory of the file's name.
    ASSERT_TRUE(CreateDirectoryA((dir + "tnp.hlp").c_str(), NULL));
    EXPECT_FALSE(ReplacePayloadFiles(dir.c_str(), true));
    EXPECT_NE(GetFileAttributesA((dir + "tnp.hlp").c_str()) & FILE_ATTRIBUTE_DIRECTORY, 0u);
    ASSERT_TRUE(RemoveDirectoryA((dir + "tnp.hlp").c_str()));

    // A file another handle holds open without sharing.
    WriteWholeFile(dir + "tnp.cnt", "old contents");
    HANDLE held = CreateFileA((dir + "tnp.cnt").c_str(), GENERIC_READ, 0, NULL, OPEN_EXISTING, 0, NULL);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    EXPECT_FALSE(ReplacePayloadFiles(dir.c_str(), true));
    CloseHandle(held);
    EXPECT_EQ(ReadWholeFile(dir + "tnp.cnt"), "old contents");

    std::vector<std::string> texts = watcher.Texts();
    ASSERT_EQ(texts.size(), 2u);
    // The directory case is a denied access; Wine and Windows agree on no single code for it.
    std::string prefix = "File " + dir + "tnp.hlp could not be written, RC=";
    EXPECT_EQ(texts[0].substr(0, prefix.size()), prefix) << texts[0];
    EXPECT_GT(atoi(texts[0].c_str() + prefix.size()), 0) << texts[0];
    EXPECT_EQ(texts[1], FileNotWritten(dir + "tnp.cnt", ERROR_SHARING_VIOLATION));
}

TEST_F(PayloadStore, WritesAPathOf255CharactersButRefusesOneOf256)
{
    MessageBoxWatcher watcher;
    std::string dir = MakeScratchDir("payload_long");
    const std::string fileName = "tnp32hlp.dll";  // 12 characters
    std::string fits = dir + std::string(255 - fileName.size() - dir.size() - 1, 'd') + "\\";
    ASSERT_EQ(fits.size() + fileName.size(), 255u);
    ASSERT_TRUE(CreateDirectoryA(fits.c_str(), NULL));
    EXPECT_EQ(ExtractPayloadFile("TNP32HLP.DLL", fits.c_str(), fileName.c_str()), 18432u);
    WIN32_FIND_DATAA staged;  // beside its target, under a name of this run
    HANDLE find = FindFirstFileA((fits + "tn????w5.tmp").c_str(), &staged);
    ASSERT_NE(find, INVALID_HANDLE_VALUE);
    FindClose(find);
    EXPECT_EQ(ReadWholeFile(fits + staged.cFileName).size(), 18432u);

    std::string tooLong = dir + std::string(256 - fileName.size() - dir.size() - 1, 'e') + "\\";
    ASSERT_TRUE(CreateDirectoryA(tooLong.c_str(), NULL));
    EXPECT_EQ(ExtractPayloadFile("TNP32HLP.DLL", tooLong.c_str(), fileName.c_str()), 0u);
    EXPECT_FALSE(PathExists(tooLong + fileName));
    EXPECT_EQ(watcher.Texts(), std::vector<std::string>{FileNotWritten(tooLong + fileName, 206)});
}

// A folder open to other users until this run: what lies there under setup's names may have been
// planted, and goes; none of it is renamed in, even where a file's own name is missing. The run
// is stopped after its tidy by a file a scanner holds.
TEST_F(PayloadStore, LeftoversOfAFolderOpenToOthersGoAndNoneIsRenamedIn)
{
    MessageBoxWatcher watcher;
    std::string dir = MakeScratchDir("payload_untrusted");
    const char *const planted[] = {"tnp_old4.tmp", "tn00a1w4.tmp", "tn00a1d2.tmp", "tn00a1m1.tmp"};
    for (const char *name : planted)
        WriteWholeFile(dir + name, "planted");
    WriteWholeFile(dir + "TNPRead.txt", "held");
    HANDLE held = CreateFileA((dir + "TNPRead.txt").c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_DELETE, NULL,
                              OPEN_EXISTING, 0, NULL);
    EXPECT_FALSE(ReplacePayloadFiles(dir.c_str(), false));
    CloseHandle(held);
    EXPECT_EQ(watcher.Texts(), std::vector<std::string>{FileNotWritten(dir + "TNPRead.txt", ERROR_SHARING_VIOLATION)});
    EXPECT_EQ(GetFileAttributesA((dir + "tnp.exe").c_str()), INVALID_FILE_ATTRIBUTES) << "a planted file renamed in";
    EXPECT_EQ(GetFileAttributesA((dir + "tnp.hlp").c_str()), INVALID_FILE_ATTRIBUTES) << "a planted file renamed in";
    for (const char *name : planted)
        EXPECT_EQ(GetFileAttributesA((dir + name).c_str()), INVALID_FILE_ATTRIBUTES) << name << " stayed";
}

// setup.exe carries its own adler32 in place of zlib's (payload/checksums.cpp, in the zlib library
// this program links too). Every payload stream is checked with it, so it must be the standard
// one; values from Python's zlib.
TEST(Adler32, GivesTheStandardValuesAcrossTheOverflowBound)
{
    const Bytef word[] = "Wikipedia";
    EXPECT_EQ(adler32(0, Z_NULL, 0), 1u);
    EXPECT_EQ(adler32(1, word, 9), 0x11E60398u);
    EXPECT_EQ(adler32(adler32(1, word, 2), word + 2, 7), 0x11E60398u);
    // 0xFF bytes give the largest sums: the sums must be reduced every 5552 bytes, no later.
    std::vector<Bytef> ones(100000, 0xFF);
    EXPECT_EQ(adler32(1, ones.data(), 5552), 0xF18F9B8Cu);
    EXPECT_EQ(adler32(1, ones.data(), 5553), 0x8E299C8Bu);
    EXPECT_EQ(adler32(1, ones.data(), 100000), 0x149A302Cu);
    EXPECT_EQ(adler32(adler32(1, ones.data(), 33333), ones.data(), 66667), 0x149A302Cu);
}
