// Directory path creation against the real file system, with the messages a user sees.
#include <gtest/gtest.h>
#include <windows.h>
#include <string>
#include <vector>
#include "install/create_path.h"
#include "install/path_rules.h"
#include "code_pages.h"
#include "message_box_watcher.h"
#include "scratch.h"

namespace {

struct Outcome {
    int result;
    std::vector<std::string> messages;
};

Outcome Create(const std::string &path)
{
    MessageBoxWatcher boxes;
    int result = CreatePath(path.c_str(), NULL);
    return {result, boxes.Texts()};
}

std::string Refusal(const std::string &path)
{
    return "Directory/folder " + path + " isn't a valid path to install too.";
}

bool IsDirectory(const std::string &path)
{
    DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// Every folder this program asks the system to make while a recorder is alive, in order, taken
// at the program's own import of CreateDirectoryA: Wine drops a lone lead byte at the end of a
// name, so what appears on disk would hide a request cut inside a character.
std::vector<std::string> g_folderRequests;

BOOL(WINAPI *g_realCreateDirectory)(LPCSTR, LPSECURITY_ATTRIBUTES);

BOOL WINAPI RecordCreateDirectory(LPCSTR path, LPSECURITY_ATTRIBUTES security)
{
    g_folderRequests.push_back(path);
    return g_realCreateDirectory(path, security);
}

// The slot of this program's import table through which its calls to CreateDirectoryA go.
void **CreateDirectoryImportSlot()
{
    BYTE *base = (BYTE *)GetModuleHandleA(NULL);
    IMAGE_NT_HEADERS *nt = (IMAGE_NT_HEADERS *)(base + ((IMAGE_DOS_HEADER *)base)->e_lfanew);
    IMAGE_DATA_DIRECTORY imports = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    void *wanted = (void *)GetProcAddress(GetModuleHandleA("kernel32.dll"), "CreateDirectoryA");
    for (IMAGE_IMPORT_DESCRIPTOR *dll = (IMAGE_IMPORT_DESCRIPTOR *)(base + imports.VirtualAddress); dll->Name != 0; ++dll)
        for (void **slot = (void **)(base + dll->FirstThunk); *slot != NULL; ++slot)
            if (*slot == wanted)
                return slot;
    return NULL;
}

void ReplaceImport(void **slot, void *function)
{
    DWORD old;
    VirtualProtect(slot, sizeof *slot, PAGE_READWRITE, &old);
    *slot = function;
    VirtualProtect(slot, sizeof *slot, old, &old);
}

class FolderRequestRecorder {
public:
    FolderRequestRecorder() : slot_(CreateDirectoryImportSlot())
    {
        g_folderRequests.clear();
        if (slot_ == NULL)
            return;
        g_realCreateDirectory = (BOOL(WINAPI *)(LPCSTR, LPSECURITY_ATTRIBUTES))*slot_;
        ReplaceImport(slot_, (void *)RecordCreateDirectory);
    }
    ~FolderRequestRecorder()
    {
        if (slot_ != NULL)
            ReplaceImport(slot_, (void *)g_realCreateDirectory);
    }
    bool Recording() const { return slot_ != NULL; }

private:
    void **slot_;
};

}  // namespace

TEST(CreatePath, MakesEachMissingComponentWithOrWithoutTrailingBackslash)
{
    std::string base = MakeScratchDir("create");
    Outcome one = Create(base + "Tone Pilot\\");
    EXPECT_EQ(one.result, 1);
    EXPECT_TRUE(one.messages.empty());
    EXPECT_TRUE(IsDirectory(base + "Tone Pilot"));
    EXPECT_EQ(Create(base + "Other").result, 1);
    EXPECT_TRUE(IsDirectory(base + "Other"));
    EXPECT_EQ(Create(base + "a\\b\\c\\").result, 1);
    EXPECT_TRUE(IsDirectory(base + "a\\b\\c"));
    EXPECT_EQ(Create("C:\\").result, 1);
}

TEST(CreatePath, AnExistingFileOrRelativePathIsAccepted)
{
    std::string base = MakeScratchDir("exists");
    WriteWholeFile(base + "file.txt", "x");
    EXPECT_EQ(Create(base + "file.txt").result, 1);
    ASSERT_TRUE(SetCurrentDirectoryA(base.c_str()));
    CreateDirectoryA("relative", NULL);
    Outcome relative = Create("relative");
    SetCurrentDirectoryA("C:\\");
    EXPECT_EQ(relative.result, 1);
    EXPECT_TRUE(relative.messages.empty());
}

// Run by its own test entry with the locale that gives code page 932 (the default entry leaves it
// out): 新 90 56, ソ 83 5C, フ 83 74, ト 83 67, 予 97 5C, 定 92 E8, 表 95 5C, 十 8F 5C.
TEST(CreatePath, InCodePage932EachFolderIsAskedForWholeCharacters)
{
    ASSERT_EQ(GetACP(), 932u);
    std::string base = MakeScratchDir("cp932");
    std::string first = base + "\x90\x56\x83\x5C\x83\x74\x83\x67";
    std::string second = first + "\\\x97\x5C\x92\xE8\x95\x5C";
    std::string third = second + "\\\x8F\x5C";
    Outcome outcome;
    std::vector<std::string> asked;
    {
        FolderRequestRecorder recorder;
        ASSERT_TRUE(recorder.Recording());
        outcome = Create(third);
        asked = g_folderRequests;
    }
    EXPECT_EQ(outcome.result, 1);
    EXPECT_TRUE(outcome.messages.empty());
    EXPECT_EQ(asked, (std::vector<std::string>{first, second, third}));
    EXPECT_TRUE(IsDirectory(third));
    EXPECT_FALSE(PathExists(base + "\x90\x56")) << "a folder cut inside a character";

    FolderRequestRecorder recorder;
    ASSERT_TRUE(recorder.Recording());
    EXPECT_EQ(Create(third + "\\").result, 1);
    EXPECT_TRUE(g_folderRequests.empty()) << "the whole path exists already";
    EXPECT_EQ(Create(base + "\x95\x5C\\\x94\x5C\\").result, 1);
    EXPECT_EQ(g_folderRequests, (std::vector<std::string>{base + "\x95\x5C", base + "\x95\x5C\\\x94\x5C"}));
}

TEST(BadInputCreatePath, PathsWithoutARootAreRefusedAndNothingIsMade)
{
    for (const std::string path : {"Q:", "C:dir", "dir\\sub", "\\dir", "\\\\server", "\\\\a\\", "Q:\\", "\xE9:\\dir"}) {
        Outcome outcome = Create(path);
        EXPECT_EQ(outcome.result, 0) << path;
        ASSERT_EQ(outcome.messages.size(), 1u) << path;
        EXPECT_EQ(outcome.messages[0], Refusal(path));
    }
    Outcome empty = Create("");
    EXPECT_EQ(empty.result, 0);
    ASSERT_EQ(empty.messages.size(), 1u);
    EXPECT_EQ(empty.messages[0], "Directory/folder  isn't a valid path to install too.");
    EXPECT_FALSE(PathExists("C:\\tnptest\\dir"));
}

TEST(BadInputCreatePath, AComponentThatCantBeMadeIsReportedWithTheWholePath)
{
    // The code is the system's own (Windows says 3 for a missing drive, Wine 2).
    ASSERT_FALSE(CreateDirectoryA("Q:\\new", NULL));
    std::string code = std::to_string(GetLastError());
    Outcome missingDrive = Create("Q:\\new\\");
    EXPECT_EQ(missingDrive.result, 0);
    ASSERT_EQ(missingDrive.messages.size(), 1u);
    EXPECT_EQ(missingDrive.messages[0], "Directory/folder Q:\\new\\ could not be created, RC=" + code);

    std::string base = MakeScratchDir("under-file");
    WriteWholeFile(base + "plain", "x");
    std::string path = base + "plain\\sub\\";
    Outcome underFile = Create(path);
    EXPECT_EQ(underFile.result, 0);
    ASSERT_EQ(underFile.messages.size(), 1u);
    EXPECT_EQ(underFile.messages[0].rfind("Directory/folder " + path + " could not be created, RC=", 0), 0u)
        << underFile.messages[0];
}

TEST(BadInputCreatePath, PrefixesThatDontFitTheWorkAreaAreRefusedWhole)
{
    std::string base = MakeScratchDir("long");  // C:\tnptest\long\ is 16 characters
    std::string fits = base + std::string(255 - base.size(), 'f');
    ASSERT_EQ(fits.size(), 255u);
    Outcome ok = Create(fits + "\\");
    EXPECT_EQ(ok.result, 1);
    EXPECT_TRUE(ok.messages.empty()) << ok.messages[0];
    EXPECT_TRUE(IsDirectory(fits)) << "a 255-character prefix fits the work area";
    std::string oneOver = base + std::string(256 - base.size(), 'g');
    Outcome over = Create(oneOver + "\\");
    EXPECT_EQ(over.result, 0);
    ASSERT_EQ(over.messages.size(), 1u);
    EXPECT_EQ(over.messages[0], Refusal(oneOver + "\\"));
    EXPECT_FALSE(PathExists(std::string(oneOver, 0, 255))) << "not cut to fit and made";
    std::string tooLong = base + std::string(40, 'a') + "\\" + std::string(220, 'b') + "\\";
    Outcome refused = Create(tooLong);
    EXPECT_EQ(refused.result, 0);
    ASSERT_EQ(refused.messages.size(), 1u);
    EXPECT_EQ(refused.messages[0], Refusal(tooLong)) << "the whole path, not cut";
    EXPECT_TRUE(IsDirectory(base + std::string(40, 'a'))) << "what was made before stays";
}

TEST(PathRules, RootsOfBothForms)
{
    EXPECT_EQ(FindRootEnd("\\\\srv\\share\\dir", SingleByteCodePage), 5);
    EXPECT_EQ(FindRootEnd("C:\\x", SingleByteCodePage), 2);
    EXPECT_EQ(FindRootEnd("z:\\x", SingleByteCodePage), 2);
    EXPECT_EQ(FindRootEnd("C:\\", SingleByteCodePage), 0);
    EXPECT_EQ(FindRootEnd("\\\\a\\", SingleByteCodePage), 0);
    EXPECT_EQ(FindRootEnd("\\\\abcd", SingleByteCodePage), 0);
    EXPECT_EQ(FindRootEnd("1:\\x", SingleByteCodePage), 0);
    EXPECT_EQ(NextComponentEnd("\\\\srv\\share\\dir", 5, SingleByteCodePage), 11);
    EXPECT_EQ(NextComponentEnd("C:\\ab", 2, SingleByteCodePage), 5);
}

// A 0x5C that is the second byte of a character (932: ソ 83 5C, 表 95 5C; 950: 許 B3 5C, 功 A5 5C)
// neither ends the server name nor a component; in a single-byte code page it still does.
TEST(PathRules, DoubleByteCharactersEndingIn5CStayWhole)
{
    const char *unc = "\\\\\x83\x5C\\share\\d";
    EXPECT_EQ(FindRootEnd(unc, CodePage932Lead), 4);
    EXPECT_EQ(FindRootEnd(unc, SingleByteCodePage), 3);
    EXPECT_EQ(FindRootEnd("\\\\\xB3\x5C\xA5\x5C\\s\\d", CodePage950Lead), 6);
    EXPECT_EQ(FindRootEnd("\\\\\xB3\x5C\xA5\x5C\\s\\d", CodePage932Lead), 3) << "\\xB3 is one character in 932";
    EXPECT_EQ(FindRootEnd("\\\\\x95\x5C\x5C", CodePage932Lead), 4);
    EXPECT_EQ(FindRootEnd("\\\\ab\x95\x5C", CodePage932Lead), 0) << "a server name without its share";
    EXPECT_EQ(FindRootEnd("C:\\\x83\x5C", CodePage932Lead), 2);

    const char *levels = "D:\\\x90\x56\x83\x5C\x83\x74\\\x97\x5C\x95\x5C";
    EXPECT_EQ(NextComponentEnd(levels, 2, CodePage932Lead), 9);
    EXPECT_EQ(NextComponentEnd(levels, 9, CodePage932Lead), 14);
    EXPECT_EQ(NextComponentEnd(levels, 2, SingleByteCodePage), 6);
    EXPECT_EQ(NextComponentEnd(levels, 6, SingleByteCodePage), 9);
    EXPECT_EQ(NextComponentEnd(levels, 9, SingleByteCodePage), 11);
    const char *traditional = "D:\\a\xB3\x5C\\\xBB\x5C\xA5\x5C";
    EXPECT_EQ(NextComponentEnd(traditional, 2, CodePage950Lead), 6);
    EXPECT_EQ(NextComponentEnd(traditional, 6, CodePage950Lead), 11);
    EXPECT_EQ(NextComponentEnd("C:\\a\x83", 2, CodePage932Lead), 5) << "a lead byte at the end ends the path";
}

TEST(PathRules, ATextCutToFitKeepsWholeCharacters)
{
    const char *text = "C:\\\x83\x5C\x95\x5Cx";  // C: and two characters ending in 0x5C, then x
    EXPECT_EQ(WholeCharactersWithin(text, 4, CodePage932Lead), 3);
    EXPECT_EQ(WholeCharactersWithin(text, 5, CodePage932Lead), 5);
    EXPECT_EQ(WholeCharactersWithin(text, 6, CodePage932Lead), 5);
    EXPECT_EQ(WholeCharactersWithin(text, 8, CodePage932Lead), 8);
    EXPECT_EQ(WholeCharactersWithin(text, 259, CodePage932Lead), 8);
    EXPECT_EQ(WholeCharactersWithin(text, 4, SingleByteCodePage), 4);
    EXPECT_EQ(WholeCharactersWithin(text, 6, SingleByteCodePage), 6);
    EXPECT_EQ(WholeCharactersWithin("\xA5\x5C\xA5\x5C", 3, CodePage950Lead), 2);
    EXPECT_EQ(WholeCharactersWithin("\xA5\x5C\xA5\x5C", 3, CodePage932Lead), 3) << "\\xA5 is a character of its own in 932";
    EXPECT_EQ(WholeCharactersWithin("ab\x83", 3, CodePage932Lead), 3) << "a lead byte at the end is one character";
    EXPECT_EQ(WholeCharactersWithin("", 0, CodePage932Lead), 0);
}
