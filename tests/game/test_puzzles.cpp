// The stored puzzle table: format, givens, unique solutions, and the generator.
#include <set>
#include <string>

#include "GameTestSupport.h"

using namespace gametest;

TEST(PuzzleTable, EveryEntryIsAValidPuzzleWithOneSolution)
{
    std::set<std::string> seen;
    for (int level = 0; level < VIZAVU_NUM_LEVELS; level++)
        for (int p = 0; p < VIZAVU_NUM_PUZZLES; p++)
        {
            SCOPED_TRACE("level " + std::to_string(level) + " puzzle " + std::to_string(p));
            const char* entry = VizavuGetLayout(level, p);
            ASSERT_NE(entry, nullptr);
            ASSERT_EQ(entry[81], '\0');
            int g[81], givens = 0;
            for (int i = 0; i < 81; i++)
            {
                ASSERT_TRUE(entry[i] >= '0' && entry[i] <= '9') << "character " << i;
                g[i] = entry[i] - '0';
                givens += g[i] != 0;
            }
            EXPECT_GE(givens, 22);
            EXPECT_LE(givens, 29);
            EXPECT_EQ(CountSolutions(g, 2, nullptr), 1);
            EXPECT_TRUE(seen.insert(entry).second) << "duplicate puzzle";
        }
}

TEST(PuzzleTable, FirstPuzzleOfFirstLevel)
{
    EXPECT_STREQ(VizavuGetLayout(0, 0),
                 "000000000080001000500094000010305090000060400046108503000206000300080000250900604");
}

TEST(PuzzleTable, LookupOutsideTheTableIsRefused)
{
    struct
    {
        int level, puzzle;
        bool found;
    } cases[] = {{-1, 0, false}, {5, 0, false}, {0, -1, false}, {0, 100, false}, {4, 99, true}};
    for (const auto& c : cases)
        EXPECT_EQ(VizavuGetLayout(c.level, c.puzzle) != nullptr, c.found) << c.level << "," << c.puzzle;
}

TEST(PuzzleGenerator, GivesAPuzzleWithOneSolution)
{
    srand(7);
    int values[81];
    ASSERT_EQ(VizavuGetPuzzle(0, values), 1);
    int g[81];
    for (int i = 0; i < 81; i++)
    {
        ASSERT_TRUE(values[i] >= 0 && values[i] <= 9);
        g[i] = values[i];
    }
    EXPECT_EQ(CountSolutions(g, 2, nullptr), 1);
}
