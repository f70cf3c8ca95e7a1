// Directory listings: filtering, skipped entries, passes, joins and misuse.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <sys/stat.h>
#include <vector>

#include "DirList.h"
#include "EngDebug.h"
#include "support/TestSupport.h"

using vztest::TempDir;
using vztest::WriteFile;

namespace
{

struct Seen
{
    std::vector<int> indexes;
};

char TxtOnly(int index, const ENG_CHAR* name, const ENG_CHAR*, void* user)
{
    std::string n = name;
    bool ok = n.size() > 4 && n.compare(n.size() - 4, 4, ".txt") == 0;
    if (ok && user)
        static_cast<Seen*>(user)->indexes.push_back(index);
    return ok;
}

std::vector<std::string> Names(DirList& dl)
{
    std::vector<std::string> names;
    EXPECT_EQ(1, dl.PrepareToGetFilenamesInDir());
    for (const char* n = dl.GetNextFilenameInDir(); *n; n = dl.GetNextFilenameInDir())
        names.push_back(n);
    EXPECT_STREQ("", dl.GetNextFilenameInDir()) << "the end stays the end";
    EXPECT_EQ(1, dl.CleanupAfterGettingFilenamesInDir());
    std::sort(names.begin(), names.end());
    return names;
}

class DirListTest : public vztest::LogTest
{
protected:
    TempDir dir;
};

TEST_F(DirListTest, FilterCountsAndHandsOutMatchesInTwoPasses)
{
    for (const char* f : {"b.txt", "a.txt", "c.dat", "txt"})
        WriteFile(dir.File(f), "x");
    mkdir(dir.File("d.txt").c_str(), 0700);
    Seen seen;
    DirList dl;
    ASSERT_EQ(1, dl.OpenDir(dir.Path().c_str(), TxtOnly, &seen));
    EXPECT_EQ(3, dl.CountMatchedFilesInDir());
    EXPECT_EQ((std::vector<int>{0, 1, 2}), seen.indexes);
    const std::vector<std::string> want = {"a.txt", "b.txt", "d.txt"};
    EXPECT_EQ(want, Names(dl));
    EXPECT_EQ(want, Names(dl)) << "a second pass lists the same names";
    dl.CloseDir();
    // Without a callback every entry but "." and ".." is accepted.
    ASSERT_EQ(1, dl.OpenDir(dir.Path().c_str(), nullptr, nullptr));
    EXPECT_EQ(5, dl.CountMatchedFilesInDir());
}

TEST_F(DirListTest, DotEntriesAreSkippedUnlessParentIsIncluded)
{
    DirList dl;
    ASSERT_EQ(1, dl.OpenDir(dir.Path().c_str(), nullptr, nullptr));
    EXPECT_EQ(0, dl.CountMatchedFilesInDir());
    EXPECT_TRUE(Names(dl).empty());
    dl.IncludeParentDirectory(1);
    EXPECT_EQ(1, dl.CountMatchedFilesInDir());
    EXPECT_EQ(std::vector<std::string>{".."}, Names(dl));
}

TEST_F(DirListTest, JoinsNameToPath)
{
    struct Case
    {
        std::string path, name, joined;
    };
    const Case cases[] = {
        {"/", "x", "/x"},
        {dir.Path(), "x", dir.Path() + "/x"},
        {dir.Path() + "/", "x", dir.Path() + "//x"},
    };
    for (const Case& c : cases)
    {
        DirList dl;
        ASSERT_EQ(1, dl.OpenDir(c.path.c_str(), nullptr, nullptr));
        EXPECT_EQ(c.joined, dl.GetFilenameWithPath(c.name.c_str()));
    }
}

TEST_F(DirListTest, MisuseIsReportedAndChangesNothing)
{
    DirList dl;
    EXPECT_STREQ("", dl.GetNextFilenameInDir());
    EXPECT_EQ(" <ERROR>  ( DirList::GetNextFilenameInDir )    Call DirList::PrepareToGetFilenamesInDir() first.",
              LastLine());
    EXPECT_EQ(0, dl.CountMatchedFilesInDir());
    EXPECT_NE(std::string::npos, LastLine().find("Directory not opened - call DirList::OpenDir() first."));
    EXPECT_STREQ("", dl.GetFilenameWithPath("x"));
    EXPECT_NE(std::string::npos, LastLine().find("Not setup"));
    EXPECT_EQ(0, dl.CleanupAfterGettingFilenamesInDir());
    EXPECT_NE(std::string::npos, LastLine().find("Not getting files in dir"));

    std::string missing = dir.File("missing");
    EXPECT_EQ(0, dl.OpenDir(missing.c_str(), nullptr, nullptr));
    EXPECT_NE(std::string::npos, LastLine().find("Directory does not exist [" + missing + "]"));
    EXPECT_EQ(0, dl.OpenDir("", nullptr, nullptr));
    EXPECT_NE(std::string::npos, LastLine().find("Invalid Path Passed In"));

    ASSERT_EQ(1, dl.OpenDir(dir.Path().c_str(), nullptr, nullptr));
    EXPECT_STREQ("", dl.GetFilenameWithPath(""));
    EXPECT_NE(std::string::npos, LastLine().find("No filename"));
    ASSERT_EQ(1, dl.PrepareToGetFilenamesInDir());
    EXPECT_EQ(0, dl.CountMatchedFilesInDir());
    EXPECT_NE(std::string::npos, LastLine().find("Error - get filenames in progress"));
    EXPECT_EQ(0, dl.PrepareToGetFilenamesInDir());
}

char AsciiTxt(int, char* name, char*)
{
    return std::string(name).find(".txt") != std::string::npos;
}

TEST_F(DirListTest, AsciiTwinListsAndNeverOverrunsItsJoinBuffer)
{
    WriteFile(dir.File("a.txt"), "x");
    WriteFile(dir.File("b.dat"), "x");
    std::string p = dir.Path();
    DirListAscii dl;
    ASSERT_EQ(1, dl.OpenDir(&p[0], AsciiTxt));
    EXPECT_EQ(1, dl.CountMatchedFilesInDir());
    ASSERT_EQ(1, dl.PrepareToGetFilenamesInDir());
    EXPECT_STREQ("a.txt", dl.GetNextFilenameInDir());
    EXPECT_STREQ("", dl.GetNextFilenameInDir());
    EXPECT_EQ(1, dl.CleanupAfterGettingFilenamesInDir());
    std::string long_name(4000, 'n');
    std::string joined = dl.GetFilenameWithPath(long_name.c_str());
    EXPECT_EQ(p + "/" + long_name.substr(0, 512 - 1), joined);
}

TEST_F(DirListTest, AsciiMisuseNamesItsOwnClass)
{
    DirListAscii dl;
    std::string p = dir.Path();
    struct Case
    {
        std::function<long()> call;
        long result;
        const char* line;
    };
    const Case cases[] = {
        {[&] { return long(*dl.GetNextFilenameInDir()); }, 0,
         " <ERROR>  ( DirListAscii::PrepareToGetFilenamesInDir )    Call "
         "DirListAscii::PrepareToGetFilenamesInDir() first."},
        {[&] { return long(dl.CountMatchedFilesInDir()); }, 0,
         " <ERROR>  ( DirListAscii::CountMatchedFilesInDir )    Directory not opened - call DirListAscii::OpenDir() "
         "first."},
        {[&] { return long(dl.PrepareToGetFilenamesInDir()); }, 0,
         " <ERROR>  ( DirListAscii::PrepareToGetFilenamesInDir )    Directory not opened - call "
         "DirListAscii::OpenDir() first."},
        {[&] { return long(*dl.GetFilenameWithPath("x")); }, 0,
         " <ERROR>  ( DirListAscii::GetFilenameWithPath )    Not setup"},
        {[&] { return long(dl.CleanupAfterGettingFilenamesInDir()); }, 0,
         " <ERROR>  ( DirListAscii::CleanupAfterGettingFilenamesInDir )    Not getting files in dir"},
        {[&] { return long(dl.OpenDir(&p[0], nullptr)); }, 1, ""},
        {[&] { return long(*dl.GetFilenameWithPath("")); }, 0,
         " <ERROR>  ( DirListAscii::GetFilenameWithPath )    No filename"},
        {[&] { return long(dl.PrepareToGetFilenamesInDir()); }, 1, ""},
        {[&] { return long(dl.CountMatchedFilesInDir()); }, 0,
         " <ERROR>  ( DirListAscii::CountMatchedFilesInDir )    Error - get filenames in progress"},
        {[&] { return long(dl.PrepareToGetFilenamesInDir()); }, 0,
         " <ERROR>  ( DirListAscii::PrepareToGetFilenamesInDir )    Error - get filenames in progress"},
    };
    for (size_t i = 0; i < sizeof(cases) / sizeof(cases[0]); i++)
    {
        DebugClearLog();
        EXPECT_EQ(cases[i].result, cases[i].call()) << i;
        EXPECT_EQ(cases[i].line, LastLine()) << i;
    }
}

} // namespace
