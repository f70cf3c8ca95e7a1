// The styled-text box: cutting the text into pieces at newlines and markers,
// counting lines, styles.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/TestSupport.h"
#include "MWin/MWinStyledText.h"
#include "WidgetTestFixture.h"

using vztest::Logged;

namespace
{
struct Piece
{
    std::string text;
    int style, align;
    int ends_line;
};

class StyledText : public vztest::WidgetTest
{
protected:
    MWinScriptButton* Add()
    {
        MWinScriptButton* b = MWinWindowAddScriptButton(win, "script", MWIN_TEXBUT_DEFAULT, 10, 10, 200, 100);
        EXPECT_NE(b, nullptr);
        return b;
    }
    std::vector<Piece> Pieces(MWinScriptButton* b, const char* text)
    {
        std::vector<Piece> out;
        for (int i = 0; i < b->GetNumParagraphs(); i++)
        {
            const MWinScriptParagraph* p = b->GetParagraph(i);
            out.push_back(
                {std::string(text + p->start, size_t(p->end - p->start)), p->style, p->align, p->ends_line});
        }
        return out;
    }
};

bool operator==(const Piece& a, const Piece& b)
{
    return a.text == b.text && a.style == b.style && a.align == b.align && a.ends_line == b.ends_line;
}
std::ostream& operator<<(std::ostream& o, const Piece& p)
{
    return o << "{" << p.text << " s" << p.style << " a" << p.align << " e" << p.ends_line << "}";
}
} // namespace

TEST_F(StyledText, MarkersAndNewlinesCutTheText)
{
    MWinScriptButton* b = Add();
    EXPECT_EQ(b->GetType(), MWIN_SCRIPT_TYPE);
    struct Case
    {
        const char* text;
        std::vector<Piece> pieces;
    };
    static char texts[][64] = {"<1<Name>2>42", "Hello\nWorld", "a<7<b", "ab<1",  "<3>mid>4<own",
                               "x<5<y",        "Line\n",       "",      "A\n\nB"};
    const std::vector<std::vector<Piece>> expected = {
        {{"Name", 1, 0, 0}, {"42", 2, 2, 1}},
        {{"Hello", -1, -1, 1}, {"World", -1, -1, 1}},
        {{"a<7<b", -1, -1, 1}},
        {{"ab<1", -1, -1, 1}},
        {{"mid", 3, 1, 0}, {"own", 4, -1, 1}},
        {{"x", -1, -1, 0}, {"y", 5, 0, 1}},
        {{"Line", -1, -1, 1}},
        {},
        {{"A", -1, -1, 1}, {"", -1, -1, 1}, {"B", -1, -1, 1}},
    };
    for (size_t i = 0; i < expected.size(); i++)
    {
        ASSERT_TRUE(b->SetTextPointer(texts[i]));
        EXPECT_EQ(Pieces(b, texts[i]), expected[i]) << texts[i];
    }
    // A text ending in a marker keeps what comes before it.
    static char ending[] = "Total<1<";
    b->SetTextPointer(ending);
    EXPECT_EQ(Pieces(b, ending), (std::vector<Piece>{{"Total", -1, -1, 0}}));
}

TEST_F(StyledText, LinesPerPieceAndTotal)
{
    MWinScriptButton* b = Add();
    static char two[] = "Hello\nWorld";
    b->SetTextPointer(two);
    const int counts[2] = {1, 1};
    b->AssignLines(counts, 20);
    EXPECT_EQ(b->GetTotalLines(), 3);
    EXPECT_EQ(b->GetParagraph(1)->first_line, 1);
    EXPECT_EQ(b->GetLinesPerPage(), 5);

    // Pieces sharing a line count it once.
    static char shared[] = "<1<Name>2>42";
    b->SetTextPointer(shared);
    b->AssignLines(counts, 20);
    EXPECT_EQ(b->GetTotalLines(), 2);
    EXPECT_EQ(b->GetParagraph(1)->first_line, 0);

    // A piece measured at 0 lines counts as one; a font of no height counts nothing.
    static char three[] = "a\nb\nc";
    b->SetTextPointer(three);
    const int bad[3] = {2, 0, 1};
    b->AssignLines(bad, 20);
    EXPECT_TRUE(Logged("Bad num lines for string <b>"));
    EXPECT_EQ(b->GetTotalLines(), 5);
    b->AssignLines(bad, 0);
    EXPECT_EQ(b->GetTotalLines(), 0);
    EXPECT_EQ(b->GetLinesPerPage(), 1);
}

TEST_F(StyledText, StylesAndTextSources)
{
    MWinScriptButton* b = Add();
    EXPECT_TRUE(b->SetStyle(1, 1, 0, 0, 1, 2));
    EXPECT_FALSE(b->SetStyle(0, 1, 1, 1, 1, 1));
    EXPECT_TRUE(Logged("Style 0 is the button style and cannot be changed"));
    EXPECT_FALSE(b->SetStyle(5, 1, 1, 1, 1, 1));
    EXPECT_TRUE(Logged("Invalid style num 5"));

    EXPECT_FALSE(b->SetTextPointerToButtonText());
    EXPECT_TRUE(Logged("No text"));
    b->SetText("One\nTwo");
    EXPECT_TRUE(b->SetTextPointerToButtonText());
    EXPECT_EQ(b->GetNumParagraphs(), 2);
    EXPECT_FALSE(b->IsSidebarOn()) << "nothing measured yet: the text fits";
    b->ClearText();
    EXPECT_EQ(b->GetNumParagraphs(), 0);
}
