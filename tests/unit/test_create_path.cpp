// Directory path creation against the real file system, with the messages a user sees.
#include <gtest/gtest.h>
#include <windows.h>
#include <string>
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
    int result = CreatePath(path.c_str());
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
