// Widget kinds: checkbox, choice, text edit, drop-down list, list panel,
// range and pie.
#include <climits>
#include <cstring>
#include <functional>
#include <string>

#include "MWin/MWinTextEdit.h"
#include "WidgetTestFixture.h"

using vztest::Calls;
using vztest::Logged;

namespace
{
class WidgetsTest : public vztest::WidgetTest
{
};

const char* kItems[] = {"Apple", "Avocado", "Banana", "Cherry", "Date", "Elder", "Fig", "Grape"};

// ---- Checkbox ----

TEST_F(WidgetsTest, CheckboxTogglesOnPressAndDoubleClickAndWritesItsVariable)
{
    MWinButton* b = AddFocused("cb", MWIN_BUTTON_CHECKBOX, 10, 10, 100, 20, "Check");
    char v = 1;
    EXPECT_TRUE(b->CheckboxRegisterCharVariable(&v, 0));
    EXPECT_EQ(b->CheckboxGet(), 1);
    EXPECT_TRUE(Calls().empty());

    b->HandleMouseButtonPressed(0, 1, 0);
    EXPECT_EQ(b->CheckboxGet(), 0);
    EXPECT_EQ(v, 0);
    b->HandleMouseButtonPressed(0, 0, 0);
    EXPECT_EQ(b->CheckboxGet(), 0) << "the release does nothing";
    b->HandleMouseButtonDoubleClicked(0);
    EXPECT_EQ(b->CheckboxGet(), 1);
    ASSERT_EQ(Calls().size(), 2u);
    EXPECT_EQ(Calls()[0].checkbox_state, 0);
    EXPECT_EQ(Calls()[1].checkbox_state, 1);

    b->CheckboxSet(2, 1);
    EXPECT_TRUE(Logged("Invalid check parameter: 2"));
    EXPECT_EQ(b->CheckboxGet(), 1);
    EXPECT_EQ(Calls().size(), 2u);
}

// ---- Choice ----

TEST_F(WidgetsTest, ChoiceKeys)
{
    MWinButton* b = AddFocused("ch", MWIN_BUTTON_CHOICE, 10, 10, 300, 20);
    ASSERT_TRUE(b->ChoiceSetStrings(3, kItems));
    struct Case
    {
        int from, key, want;
        char handled;
    };
    const Case cases[] = {
        {2, 13, 0, 1},  {0, 13, 1, 1},  {2, 245, 2, 1}, {2, 247, 2, 1},
        {1, 245, 2, 1}, {0, 244, 0, 1}, {1, 246, 0, 1}, {1, 'x', 1, 0},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(std::to_string(c.from) + " key " + std::to_string(c.key));
        b->ChoiceSetSel(c.from);
        Calls().clear();
        EXPECT_EQ(b->HandleKeyDown(c.key), c.handled);
        EXPECT_EQ(b->ChoiceGetSel(), c.want);
        EXPECT_EQ(Calls().size(), c.want != c.from ? 1u : 0u) << "a call only when the selection changed";
    }
}

TEST_F(WidgetsTest, ChoiceSelectionLimitsAndBoundVariable)
{
    MWinButton* b = AddFocused("ch", MWIN_BUTTON_CHOICE, 10, 10, 300, 20);
    ASSERT_TRUE(b->ChoiceSetStrings(3, kItems));
    int v = 2;
    EXPECT_TRUE(b->ChoiceRegisterIntVariable(&v, 0));
    EXPECT_EQ(b->ChoiceGetSel(), 2);

    b->ChoiceSetSel(-1, 1);
    EXPECT_EQ(b->ChoiceGetSel(), -1);
    EXPECT_EQ(v, -1);
    ASSERT_EQ(Calls().size(), 1u);
    EXPECT_EQ(Calls()[0].choice_sel, -1);

    b->ChoiceSetSel(3, 1);
    EXPECT_TRUE(Logged("invalid sel : 3 (m_id: ch, entries = 3)"));
    EXPECT_EQ(b->ChoiceGetSel(), -1);
    EXPECT_EQ(Calls().size(), 1u);

    EXPECT_FALSE(b->ChoiceSetStrings(0, kItems));
    EXPECT_FALSE(b->ChoiceSetStrings(2, nullptr));
    EXPECT_TRUE(Logged("Null strings (ID: ch)"));
}

TEST_F(WidgetsTest, ChoiceShrinkingItemCountPullsTheSelectionBack)
{
    MWinButton* b = AddFocused("ch", MWIN_BUTTON_CHOICE, 10, 10, 300, 20);
    ASSERT_TRUE(b->ChoiceSetStrings(5, kItems));
    b->ChoiceUseArrows(1, 0);
    b->ChoiceSetSel(4);
    EXPECT_STREQ(b->GetTextP(), "Date");
    b->ChoiceSetNumItems(2);
    EXPECT_EQ(b->ChoiceGetSel(), 1) << "no selection past the last item";
    EXPECT_STREQ(b->GetTextP(), "Avocado");
    EXPECT_TRUE(b->ChoiceIsLeftArrowShown());
    EXPECT_FALSE(b->ChoiceIsRightArrowShown());
}

TEST_F(WidgetsTest, ChoiceBoxPressSelectsTheItemUnderTheMouse)
{
    MWinButton* b = AddFocused("ch", MWIN_BUTTON_CHOICE, 0, 0, 300, 20);
    ASSERT_TRUE(b->ChoiceSetStrings(3, kItems));
    Mouse(250, 10);
    EXPECT_EQ(b->ChoiceGetItemFromMousePos(0), 2);
    EXPECT_TRUE(b->HandleMouseButtonPressed(0, 1, 0));
    EXPECT_EQ(b->ChoiceGetSel(), 2);
    EXPECT_EQ(Calls().size(), 1u);
    EXPECT_TRUE(b->HandleMouseButtonPressed(0, 1, 0));
    EXPECT_EQ(Calls().size(), 1u) << "pressing the selected item again calls nothing";
    Mouse(400, 10);
    EXPECT_EQ(b->ChoiceGetItemFromMousePos(0), -1);
    EXPECT_EQ(b->ChoiceGetItemFromMousePos(1), 2);

    b->ChoiceSetSelectionExtraWidthMultiplier(2);
    b->ChoiceSetSel(0);
    EXPECT_FLOAT_EQ(b->ChoiceGetItemWidth(0), 150);
    EXPECT_FLOAT_EQ(b->ChoiceGetItemWidth(1), 75);
}

// ---- Text edit ----

struct TypeCase
{
    _MWinButtonTextEditType type;
    const char* typed;
    const char* want;
};

// What each type takes; control codes (below the space, 127 to 159) none.
TEST_F(WidgetsTest, TextEditFilters)
{
    const TypeCase cases[] = {
        {MWIN_TEXTEDIT_NUMBER, "-12.5.-", "-12.5"},
        {MWIN_TEXTEDIT_NUMBER, "--1", "-1"},
        {MWIN_TEXTEDIT_NUMBER, "1-a2", "12"},
        {MWIN_TEXTEDIT_IP_ADDRESS, "1921.168..1", "192.168.1"},
        {MWIN_TEXTEDIT_IP_ADDRESS, ".10", "10"},
        {MWIN_TEXTEDIT_EMAIL, "a b\tc@d", "abc@d"},
        {MWIN_TEXTEDIT_ANY, "a b", "a b"},
        {MWIN_TEXTEDIT_ANY, "a\nb\r\x01\x1f\x7f\x80\x85\x9f c\xa0\xe9", "ab c\xa0\xe9"},
        {MWIN_TEXTEDIT_EMAIL, "x\ny\x85", "xy"},
    };
    int n = 0;
    for (const TypeCase& c : cases)
    {
        SCOPED_TRACE(c.typed);
        std::string id = "te" + std::to_string(n++);
        MWinButton* b = AddFocused(id.c_str(), MWIN_BUTTON_TEXT_EDIT, 10, 10, 200, 20);
        b->TextEditSetLength(40);
        b->TextEditSetType(c.type);
        EXPECT_TRUE(b->HandleKeyDown(13)) << "Enter starts editing";
        ASSERT_TRUE(b->IsTextBeingEditing());
        for (const char* p = c.typed; *p; p++)
            b->HandleKeyDownUChar((unsigned char)*p);
        EXPECT_STREQ(b->TextEditGetText(), c.want);
        b->TextEditTurnOffEditing(1);
    }
}

TEST_F(WidgetsTest, TextEditEnterAndEscapeBothKeepTheTextAndWriteTheVariable)
{
    MWinButton* b = AddFocused("te", MWIN_BUTTON_TEXT_EDIT, 10, 10, 200, 20);
    char name[16] = "Bob";
    ASSERT_TRUE(b->TextEditRegisterStringVariable(name, sizeof(name)));
    EXPECT_EQ(b->TextEditGetLength(), 15);
    EXPECT_STREQ(b->GetTextP(), "Bob");

    struct Case
    {
        int key;
        unsigned char flag;
        const char* want;
    };
    const Case cases[] = {{13, 1, "Bobby"}, {27, 0, "Bobbyby"}};
    for (const Case& c : cases)
    {
        Calls().clear();
        b->TextEditTurnOnEditing();
        b->HandleKeyDownUChar('b');
        b->HandleKeyDownUChar('y');
        EXPECT_TRUE(b->HandleKeyDown(c.key));
        EXPECT_FALSE(b->IsTextBeingEditing());
        EXPECT_STREQ(b->GetTextP(), c.want);
        EXPECT_STREQ(name, c.want);
        ASSERT_EQ(Calls().size(), 1u);
        EXPECT_EQ(Calls()[0].text_edit_flag, c.flag);
    }
}

TEST_F(WidgetsTest, TextEditNumberThatDoesNotFitAnIntIsNoNumber)
{
    MWinButton* b = AddFocused("te", MWIN_BUTTON_TEXT_EDIT, 10, 10, 200, 20);
    int v = 5;
    ASSERT_TRUE(b->TextEditRegisterIntVariable(&v, 32));
    const struct
    {
        const char* typed;
        int want;
    } cases[] = {
        {"2147483647", INT_MAX}, {"-2147483648", INT_MIN}, {"4294967338", 0},
        {"2147483648", 0},       {"-99999999999", 0},      {"12abc", 12},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.typed);
        b->TextEditTurnOnEditing();
        b->TextEditSetCurrentlyBeingEditedText(c.typed);
        EXPECT_EQ(b->TextEditGetNumber(), c.want);
        EXPECT_TRUE(b->HandleKeyDown(13));
        EXPECT_EQ(v, c.want);
    }
}

TEST_F(WidgetsTest, TextEditCopiesOutOnlyWholeTexts)
{
    MWinButton* b = AddFocused("te", MWIN_BUTTON_TEXT_EDIT, 10, 10, 200, 20, "abcd");
    b->TextEditSetLength(4);
    char out[8] = "zz";
    EXPECT_FALSE(b->TextEditGetText2(out, 3)) << "smaller than the field";
    EXPECT_STREQ(out, "");
    EXPECT_FALSE(b->TextEditGetText2(out, 4)) << "no room for the terminator";
    EXPECT_TRUE(b->TextEditGetText2(out, 5));
    EXPECT_STREQ(out, "abcd");
    EXPECT_FALSE(b->TextEditGetText2(nullptr, 5));
}

TEST_F(WidgetsTest, TextEditCursorKeysAndFullField)
{
    MWinButton* b = AddFocused("te", MWIN_BUTTON_TEXT_EDIT, 10, 10, 200, 20, "abc");
    b->TextEditSetLength(4);
    b->TextEditTurnOnEditing();
    EXPECT_EQ(b->TextEditGetCursorPos(), 3);
    EXPECT_TRUE(b->HandleKeyDown(8)) << "delete at the end";
    EXPECT_STREQ(b->TextEditGetText(), "abc");
    EXPECT_TRUE(b->HandleKeyDown(250));
    EXPECT_TRUE(b->HandleKeyDown(127)) << "backspace at the start";
    EXPECT_STREQ(b->TextEditGetText(), "abc");
    EXPECT_TRUE(b->HandleKeyDown(8));
    EXPECT_STREQ(b->TextEditGetText(), "bc");
    EXPECT_TRUE(b->HandleKeyDown(251));
    EXPECT_TRUE(b->HandleKeyDown(127));
    EXPECT_STREQ(b->TextEditGetText(), "b");
    for (const char* p = "wxyz"; *p; p++)
        EXPECT_TRUE(b->HandleKeyDownUChar((unsigned char)*p));
    EXPECT_STREQ(b->TextEditGetText(), "bwxy") << "a full field takes no more";
    EXPECT_TRUE(b->HandleKeyDown(244));
    EXPECT_EQ(b->TextEditGetCursorPos(), 3);
    EXPECT_FALSE(b->HandleKeyDown('q'));
}

std::string clipboard;
char CopyHook(const char* s)
{
    clipboard = s;
    return 1;
}
char PasteHook(char* dst, int size)
{
    if ((int)clipboard.size() >= size - 1)
        return 0;
    memcpy(dst, clipboard.c_str(), clipboard.size() + 1);
    return 1;
}

TEST_F(WidgetsTest, TextEditPasteFitsTheRoomLeftAtTheCursor)
{
    mwin_clipboard_copy = &CopyHook;
    mwin_clipboard_paste = &PasteHook;
    MWinButton* b = AddFocused("te", MWIN_BUTTON_TEXT_EDIT, 10, 10, 200, 20, "abc");
    b->TextEditSetLength(10);
    struct Case
    {
        const char* clip;
        const char* want;
    };
    const Case cases[] = {{"1234567", "abc"}, {"123456", "abc123456"}};
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.clip);
        b->TextEditTurnOnEditing();
        b->TextEditSetCurrentlyBeingEditedText("abc");
        clipboard = c.clip;
        eng_key_down[231] = 2;
        EXPECT_TRUE(b->HandleKeyDownUChar('v'));
        EXPECT_STREQ(b->TextEditGetText(), c.want);
        EXPECT_EQ(eng_key_down[231], 0) << "Command is released";
        b->TextEditTurnOffEditing(0);
    }
    b->TextEditTurnOnEditing();
    eng_key_down[231] = 2;
    EXPECT_TRUE(b->HandleKeyDownUChar('c'));
    EXPECT_EQ(clipboard, "abc123456");
    mwin_clipboard_copy = nullptr;
    mwin_clipboard_paste = nullptr;
}

// ---- Drop-down list ----

TEST_F(WidgetsTest, ListOpenLayoutKeepsRowsOnScreen)
{
    static const char* many[100];
    static char names[100][8];
    for (int i = 0; i < 100; i++)
    {
        snprintf(names[i], sizeof(names[i]), "E%d", i);
        many[i] = names[i];
    }
    MWinButton* b = AddFocused("l", MWIN_BUTTON_LIST, 10, 200, 100, 20);
    ASSERT_TRUE(b->ListSetStrings(100, many));
    ASSERT_TRUE(b->ListSetPos(50));
    b->ListOpen();
    ASSERT_TRUE(b->ListIsOpen());
    const _MWinButtonListInfo* l = b->ListGetInfo();
    // 10 rows above the field, 14 from it down; the first and last carry arrows.
    EXPECT_TRUE(l->up_arrow);
    EXPECT_TRUE(l->down_arrow);
    EXPECT_EQ(l->first_shown, 41);
    EXPECT_EQ(l->end_shown, 63);
    EXPECT_FLOAT_EQ(l->up_row_y, 0);
    EXPECT_FLOAT_EQ(l->box_y, 20);
    EXPECT_FLOAT_EQ(l->down_row_y + l->down_row_h, 480);
    EXPECT_FLOAT_EQ(l->highlight_y, 200);
}

TEST_F(WidgetsTest, ListCommitsByKeysAndWheelAndRefusesBadPositions)
{
    MWinButton* b = AddFocused("l", MWIN_BUTTON_LIST, 10, 200, 100, 20);
    ASSERT_TRUE(b->ListSetStrings(4, kItems));
    EXPECT_FALSE(b->ListSetPos(4));
    EXPECT_TRUE(Logged("invalid pos : 4 (id: l, entries = 4)"));

    EXPECT_TRUE(b->HandleKeyDown(247)) << "down on a closed list commits the next entry";
    EXPECT_FALSE(b->ListIsOpen());
    EXPECT_EQ(b->ListGetPos(), 1);
    EXPECT_STREQ(b->GetTextP(), "Avocado");
    ASSERT_FALSE(Calls().empty());
    EXPECT_EQ(Calls().back().list_event, 1);

    b->ListSetPos(3);
    Calls().clear();
    EXPECT_TRUE(b->HandleMouseWheel(-1));
    EXPECT_EQ(b->ListGetPos(), 3) << "no entry after the last";
    EXPECT_TRUE(Calls().empty());
    EXPECT_TRUE(b->HandleMouseWheel(1));
    EXPECT_EQ(b->ListGetPos(), 2);
    ASSERT_FALSE(Calls().empty());
    EXPECT_EQ(Calls().back().list_event, 1);
    EXPECT_EQ(Calls().back().list_pos, 2);
}

TEST_F(WidgetsTest, ListClosedWithoutChoiceCallsOnlyWhenTheHighlightMoved)
{
    MWinButton* b = AddFocused("l", MWIN_BUTTON_LIST, 10, 200, 100, 20);
    ASSERT_TRUE(b->ListSetStrings(4, kItems));
    EXPECT_TRUE(b->HandleKeyDown(13));
    ASSERT_TRUE(b->ListIsOpen());
    b->HandleKeyDown(247);
    b->HandleKeyDown(246);
    Calls().clear();
    EXPECT_TRUE(b->HandleKeyDown(27));
    EXPECT_FALSE(b->ListIsOpen());
    EXPECT_TRUE(Calls().empty());

    b->HandleKeyDown(13);
    b->HandleKeyDown(247);
    Calls().clear();
    b->Deactivate();
    EXPECT_FALSE(b->ListIsOpen());
    ASSERT_EQ(Calls().size(), 1u);
    EXPECT_EQ(Calls()[0].list_event, 2);
    EXPECT_EQ(b->ListGetPos(), 0);
}

// ---- List panel ----

TEST_F(WidgetsTest, PanelSidebarOnlyWhenEntriesDoNotFit)
{
    MWinButton* b = AddFocused("p", MWIN_BUTTON_PANEL, 0, 0, 200, 100);
    ASSERT_TRUE(b->PanelSetStrings(3, 5, kItems));
    EXPECT_FALSE(b->PanelGetInfo()->sidebar_shown);
    EXPECT_FLOAT_EQ(b->PanelGetInfo()->entries_w, 200);
    EXPECT_EQ(b->PanelGetNumDisplayedItems(), 3);
    ASSERT_TRUE(b->PanelSetStrings(8, 4, kItems));
    EXPECT_TRUE(b->PanelGetInfo()->sidebar_shown);
    EXPECT_LT(b->PanelGetInfo()->entries_w, 200);
}

TEST_F(WidgetsTest, PanelRowsPerPageFromTheHeightUnlessFixed)
{
    const float bh = (*ls)[MWIN_LS_DEFAULT_BUTTON_H];
    ASSERT_GT(bh, 0);
    MWinButton* b = AddFocused("p", MWIN_BUTTON_PANEL, 0, 0, 200, bh * 6);
    ASSERT_TRUE(b->PanelSetStrings(8, 0, kItems));
    EXPECT_EQ(b->PanelGetNumEntriesPerPage(), 6);
    b->SetOrigPos(0, 0, 200, bh * 3);
    EXPECT_EQ(b->PanelGetNumEntriesPerPage(), 3) << "follows the height";
    b->PanelUpdateNumPerPageVar(-2);
    EXPECT_EQ(b->PanelGetNumEntriesPerPage(), int(bh * 3 / (0.66f * bh))) << "compact rows";
    ASSERT_TRUE(b->PanelSetStrings(8, 4, kItems));
    b->SetOrigPos(0, 0, 200, bh * 7);
    EXPECT_EQ(b->PanelGetNumEntriesPerPage(), 4) << "a fixed count stays";
}

TEST_F(WidgetsTest, PanelMultipleSelectionWithShiftAndCommand)
{
    MWinButton* b = AddFocused("p", MWIN_BUTTON_PANEL, 0, 0, 200, 100);
    b->PanelAllowMultisel(1, 0);
    ASSERT_TRUE(b->PanelSetStrings(8, 8, kItems));
    b->PanelSetPos(2, 1, 0);
    eng_key_down[228] = 2;
    b->PanelSetPos(5, 1, 0);
    eng_key_down[228] = 0;
    EXPECT_EQ(b->PanelGetNumSelectedItems(), 4);
    for (int i = 0; i < 8; i++)
        EXPECT_EQ(b->PanelIsItemSelected(i), i >= 2 && i <= 5) << i;
    eng_key_down[231] = 2;
    b->PanelSetPos(3, 1, 0);
    eng_key_down[231] = 0;
    EXPECT_FALSE(b->PanelIsItemSelected(3));
    EXPECT_EQ(b->PanelGetNumSelectedItems(), 3);
    EXPECT_EQ(b->PanelGetNthSelectedItemNum(1), 4);
    EXPECT_EQ(b->PanelGetNthSelectedItemNum(3), -1);
    b->PanelSetPos(7, 1, 0);
    EXPECT_EQ(b->PanelGetNumSelectedItems(), 1);
    EXPECT_TRUE(b->PanelIsItemSelected(7));
}

TEST_F(WidgetsTest, PanelRowIsChosenOnReleaseNotPress)
{
    MWinButton* b = AddFocused("p", MWIN_BUTTON_PANEL, 0, 0, 200, 100);
    ASSERT_TRUE(b->PanelSetStrings(4, 4, kItems));
    Mouse(50, 60); // third row of 25
    EXPECT_TRUE(b->HandleMouseButtonPressed(0, 1, 0));
    EXPECT_EQ(b->PanelGetPos(), 0);
    EXPECT_TRUE(Calls().empty());
    EXPECT_TRUE(b->HandleMouseButtonPressed(0, 0, 0));
    EXPECT_EQ(b->PanelGetPos(), 2);
    ASSERT_EQ(Calls().size(), 1u);
    EXPECT_EQ(Calls()[0].panel_event, 0);
    EXPECT_EQ(Calls()[0].panel_caller, 1);
    EXPECT_TRUE(b->HandleMouseButtonDoubleClicked(0));
    EXPECT_EQ(Calls().back().panel_event, 1);
}

TEST_F(WidgetsTest, PanelKeysAndTypeAhead)
{
    MWinButton* b = AddFocused("p", MWIN_BUTTON_PANEL, 0, 0, 200, 100);
    ASSERT_TRUE(b->PanelSetStrings(8, 4, kItems));
    EXPECT_TRUE(b->HandleKeyDown(249));
    EXPECT_EQ(b->PanelGetPos(), 4);
    EXPECT_FLOAT_EQ(b->PanelGetDisplayPos(), 1) << "the position is scrolled into view";
    EXPECT_TRUE(b->HandleKeyDown(249));
    EXPECT_EQ(b->PanelGetPos(), 7);
    EXPECT_TRUE(b->HandleKeyDown(247)) << "no move past the end, still used";
    EXPECT_EQ(b->PanelGetPos(), 7);
    // Letters as the window sends them: the key, then the character typed.
    Calls().clear();
    EXPECT_FALSE(mw->ProcessInput(ENG_INPUT_KEY_DOWN, 'A', 0))
        << "a letter's key goes on to the key callback";
    EXPECT_EQ(b->PanelGetPos(), 7) << "the key finds nothing: its letter is the character";
    EXPECT_FALSE(mw->ProcessInput(ENG_INPUT_CHARACTER, 'a', 0)) << "found, and passed on";
    EXPECT_EQ(b->PanelGetPos(), 0);
    EXPECT_TRUE(mw->ProcessInput(ENG_INPUT_CHARACTER, 'A', 0)) << "the next entry with the same letter";
    EXPECT_EQ(b->PanelGetPos(), 1);
    EXPECT_EQ(Calls().size(), 2u);
    Calls().clear();
    EXPECT_FALSE(mw->ProcessInput(ENG_INPUT_CHARACTER, 'z', 0));
    EXPECT_EQ(b->PanelGetPos(), 1);
    EXPECT_TRUE(Calls().empty());
    b->PanelAllowMultisel(1, 0);
    EXPECT_FALSE(mw->ProcessInput(ENG_INPUT_CHARACTER, 'c', 0)) << "no type-ahead with multiple selection";
    EXPECT_EQ(b->PanelGetPos(), 1);
}

TEST_F(WidgetsTest, PanelSliderDragReachesTheLastPage)
{
    MWinButton* b = AddFocused("p", MWIN_BUTTON_PANEL, 0, 0, 200, 100);
    ASSERT_TRUE(b->PanelSetStrings(8, 4, kItems));
    const _MWinButtonPanelInfo* p = b->PanelGetInfo();
    ASSERT_TRUE(p->sidebar_shown);
    Mouse(p->slider_x + 1, p->slider_y + 1);
    EXPECT_TRUE(b->HandleMouseButtonPressed(0, 1, 0));
    EXPECT_TRUE(b->IsDragging());
    EXPECT_TRUE(b->KeepFocusOnMouseMove());
    Mouse(p->slider_x + 1, 400);
    b->HandleMouseMove();
    EXPECT_FLOAT_EQ(b->PanelGetDisplayPos(), 4);
    Mouse(p->slider_x + 1, -50);
    b->HandleMouseMove();
    EXPECT_FLOAT_EQ(b->PanelGetDisplayPos(), 0);
    EXPECT_TRUE(Calls().empty()) << "scrolling calls nothing";
}

TEST_F(WidgetsTest, PanelPositionClamping)
{
    MWinButton* b = AddFocused("p", MWIN_BUTTON_PANEL, 0, 0, 200, 100);
    ASSERT_TRUE(b->PanelSetStrings(8, 4, kItems));
    b->PanelSetPos(-5, 0, 0);
    EXPECT_EQ(b->PanelGetPos(), 0);
    b->PanelSetPos(50, 0, 0);
    EXPECT_EQ(b->PanelGetPos(), 7);
    b->PanelAllowNoPos();
    b->PanelSetPos(-5, 0, 0);
    EXPECT_EQ(b->PanelGetPos(), -1);
    EXPECT_FLOAT_EQ(b->PanelGetDisplayPos(), 0);
    EXPECT_STREQ(b->PanelGetSelString(), "");
    b->PanelSetEntryColour(8, nullptr);
    _ColourRGBA red = {1, 0, 0, -1};
    b->PanelSetEntryColour(8, &red);
    EXPECT_TRUE(Logged("Invalid entry num 8 (8)"));
    b->PanelSetEntryColour(2, &red);
    ASSERT_NE(b->PanelGetEntryColours(), nullptr);
    EXPECT_FLOAT_EQ(b->PanelGetEntryColours()[2 * 4 + 0], 1);
    EXPECT_FLOAT_EQ(b->PanelGetEntryColours()[2 * 4 + 1], 0);
}

// One past the last entry (the number of entries), set from code or through
// a bound variable: the panel takes its last entry, writes it back, reports it
// and scrolls it into view.
TEST_F(WidgetsTest, PanelSetOnePastTheLastEntryTakesTheLast)
{
    int i = 0;
    short s = 0;
    char c = 0;
    const struct
    {
        const char* what;
        std::function<void(MWinButton*)> set;
        std::function<int()> bound;
    } cases[] = {
        {"set", [](MWinButton* b) { b->PanelSetPos(8, 1, 0); }, nullptr},
        {"set where no position is allowed",
         [](MWinButton* b)
         {
             b->PanelAllowNoPos();
             b->PanelSetPos(8, 1, 0);
         },
         nullptr},
        {"int bound",
         [&](MWinButton* b)
         {
             i = 8;
             b->PanelRegisterIntVariable(&i, 1);
         },
         [&] { return i; }},
        {"16-bit bound",
         [&](MWinButton* b)
         {
             s = 8;
             b->PanelRegisterInt16Variable(&s, 1);
         },
         [&] { return int(s); }},
        {"char bound",
         [&](MWinButton* b)
         {
             c = 8;
             b->PanelRegisterCharVariable(&c, 1);
         },
         [&] { return int(c); }},
    };
    for (const auto& k : cases)
    {
        SCOPED_TRACE(k.what);
        win->RemoveAllButtons();
        MWinButton* b = AddFocused("p", MWIN_BUTTON_PANEL, 0, 0, 200, 100);
        ASSERT_TRUE(b->PanelSetStrings(8, 4, kItems));
        Calls().clear();
        k.set(b);
        EXPECT_EQ(b->PanelGetPos(), 7);
        EXPECT_STREQ(b->PanelGetSelString(), "Grape");
        if (k.bound)
        {
            EXPECT_EQ(k.bound(), 7);
        }
        EXPECT_FLOAT_EQ(b->PanelGetDisplayPos(), 4) << "the last page shows";
        ASSERT_EQ(Calls().size(), 1u);
        EXPECT_EQ(Calls()[0].panel_pos, 7);
    }
}

// ---- Range ----

TEST_F(WidgetsTest, RangeLimitsAndCollapsedIntervals)
{
    MWinButton* b = AddFocused("r", MWIN_BUTTON_RANGE, 0, 0, 300, 20, "Years");
    EXPECT_TRUE(b->RangeSetLimits(0, 10, 0));
    EXPECT_FLOAT_EQ(b->RangeGetInfo()->gap, 1);
    EXPECT_FALSE(b->RangeSetLimits(0, 1, 1));
    EXPECT_TRUE(Logged("Bad parameters"));
    EXPECT_FALSE(b->RangeSetLimits(2, 1, 0.1f));
    ASSERT_TRUE(b->RangeSetLimits(0, 1, 0.1f));

    float lo, hi;
    b->RangeSetRange(0.5f, 0.52f, 0, 0);
    EXPECT_NEAR(b->RangeGetInfo()->lower, 0.46f, 1e-5);
    EXPECT_NEAR(b->RangeGetInfo()->upper, 0.56f, 1e-5);
    EXPECT_TRUE(b->RangeGetAcualRangeValues(&lo, &hi));
    EXPECT_NEAR(lo, 0.51f, 1e-5);
    EXPECT_FLOAT_EQ(lo, hi);

    b->RangeSetAutoText(1, 2, 1);
    b->RangeSetRange(0, 0.05f, 0, 0);
    EXPECT_FLOAT_EQ(b->RangeGetInfo()->lower, 0);
    EXPECT_TRUE(b->RangeGetAcualRangeValues(&lo, &hi));
    EXPECT_FLOAT_EQ(lo, 0);
    EXPECT_STREQ(b->GetTextP(), "Years [0.00]");
    b->RangeSetRange(0.2f, 0.8f, 0, 0);
    EXPECT_STREQ(b->GetTextP(), "Years [0.20,0.80]");
}

TEST_F(WidgetsTest, RangeKeysAndBoundFloats)
{
    MWinButton* b = AddFocused("r", MWIN_BUTTON_RANGE, 0, 0, 300, 20);
    ASSERT_TRUE(b->RangeSetLimits(0, 100, 10));
    float p = 20, q = 40;
    ASSERT_TRUE(b->RangeRegisterTwoFloatVariables(&p, &q, 1, 0));
    EXPECT_FLOAT_EQ(b->RangeGetInfo()->lower, 20);
    EXPECT_TRUE(b->HandleKeyDown(245));
    EXPECT_FLOAT_EQ(p, 21);
    EXPECT_FLOAT_EQ(q, 41);
    eng_key_down[229] = 2;
    EXPECT_TRUE(b->HandleKeyDown(244));
    eng_key_down[229] = 0;
    EXPECT_FLOAT_EQ(p, 20);
    EXPECT_FLOAT_EQ(q, 41);
    EXPECT_TRUE(b->HandleKeyDown(247));
    EXPECT_FLOAT_EQ(p, 39.5f);
    EXPECT_FLOAT_EQ(q, 60.5f);
    EXPECT_FALSE(b->HandleKeyDown('x'));
    EXPECT_EQ(Calls().size(), 3u);
}

TEST_F(WidgetsTest, RangePressLeftOfTheLowerHandleChangesNothing)
{
    MWinButton* b = AddFocused("r", MWIN_BUTTON_RANGE, 0, 0, 300, 20);
    ASSERT_TRUE(b->RangeSetLimits(0, 1, 0.1f));
    b->RangeSetRange(0.5f, 0.8f, 0, 0);
    float lx, hx;
    b->RangeGetScreenXPos(&lx, &hx);
    Mouse(lx - 5, 10);
    EXPECT_TRUE(b->HandleMouseButtonPressed(0, 1, 0));
    EXPECT_FALSE(b->IsDragging());
    EXPECT_FLOAT_EQ(b->RangeGetInfo()->lower, 0.5f);
    EXPECT_FLOAT_EQ(b->RangeGetInfo()->upper, 0.8f);
    EXPECT_TRUE(Calls().empty());
}

// ---- Callbacks that remove their widget ----

MWinWindow* removing_window = nullptr;
void RemoveSelf(MWin*, _MWinButtonCallbackInfo* info, int, int)
{
    removing_window->RemoveButton(info->button);
}

TEST_F(WidgetsTest, WidgetRemovedByItsOwnCallbackIsLeftAlone)
{
    removing_window = win;
    struct Case
    {
        const char* id;
        _MWinButtonType kind;
        int key; // sent after set-up, before the removing call
    };
    const Case cases[] = {
        {"edit", MWIN_BUTTON_TEXT_EDIT, 'a'}, {"list", MWIN_BUTTON_LIST, 247},
        {"listkey", MWIN_BUTTON_LIST, 0},     {"choice", MWIN_BUTTON_CHOICE, 0},
        {"panel", MWIN_BUTTON_PANEL, 0},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.id);
        MWinButton* b = AddFocused(c.id, c.kind, 0, 0, 200, 20);
        if (c.kind == MWIN_BUTTON_TEXT_EDIT)
        {
            b->TextEditSetLength(10);
            b->TextEditTurnOnEditing();
            b->HandleKeyDownUChar((unsigned char)c.key);
        }
        else if (c.kind == MWIN_BUTTON_LIST)
        {
            ASSERT_TRUE(b->ListSetStrings(4, kItems));
            if (c.key)
            {
                b->ListOpen();
                b->HandleKeyDown(c.key);
            }
        }
        else if (c.kind == MWIN_BUTTON_CHOICE)
            ASSERT_TRUE(b->ChoiceSetStrings(4, kItems));
        else
            ASSERT_TRUE(b->PanelSetStrings(4, 4, kItems));
        b->SetCallback(&RemoveSelf, 0, 0, 0);
        if (c.kind == MWIN_BUTTON_LIST && !c.key)
            EXPECT_TRUE(b->HandleKeyDown(247)) << "opens, moves and commits";
        else if (c.kind == MWIN_BUTTON_CHOICE)
        {
            Mouse(150, 10);
            EXPECT_TRUE(b->HandleMouseButtonDoubleClicked(0));
        }
        else if (c.kind == MWIN_BUTTON_PANEL)
            EXPECT_TRUE(b->HandleKeyDownUChar('b')) << "type-ahead: a removed button counts as used";
        else
            b->Deactivate();
        EXPECT_EQ(win->GetButtonFromID(c.id, 0), nullptr);
    }
}

// ---- Pie ----

TEST_F(WidgetsTest, PieIgnoresValuesOutsideItsRange)
{
    MWinButton* b = Add("pie", MWIN_BUTTON_PIE, 0, 0, 50, 50);
    EXPECT_TRUE(b->IsLive()) << "live, so that its window draws it";
    b->Activate();
    EXPECT_FALSE(b->TakesInput());
    EXPECT_FALSE(b->HandleMouseButtonPressed(0, 1, 0));
    EXPECT_FALSE(b->IsPressed());
    EXPECT_FALSE(b->IsATabStop());
    EXPECT_FLOAT_EQ(b->PieGetInfo()->value, 0.5f);
    b->PieSetValuesFloat(2, 1);
    b->PieSetValuesFloat(-1, 1);
    b->PieSetValuesFloat(0, 0);
    EXPECT_FLOAT_EQ(b->PieGetInfo()->value, 0.5f);
    EXPECT_FLOAT_EQ(b->PieGetInfo()->maximum, 1);
    b->PieSetValuesFloat(0, 4);
    EXPECT_FLOAT_EQ(b->PieGetInfo()->value, 0);
    float v = 9;
    EXPECT_TRUE(b->PieRegisterFloatVariable(&v, 1));
    EXPECT_FLOAT_EQ(b->PieGetInfo()->value, 4) << "clamped to the maximum";
}

} // namespace
