// Popups: the kinds and their buttons, keyboard and mouse answers, the state
// of the screen behind, settings for the next popup, and failure paths.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "CoreTestFixture.h"
#include "MWin/MWinFonts.h"
#include "MWin/MWinPopup.h"
#include "EngLanguages.h"
#include "MWin/MWinStyledText.h"
#include "support/TestSupport.h"

using vztest::CoreTest;
using vztest::Logged;

namespace
{
struct Answer
{
    MWin* mw;
    int result;
    void* user;
};

std::vector<Answer>& Answers()
{
    static std::vector<Answer> a;
    return a;
}

void Record(MWin* mw, char result, void* user)
{
    Answers().push_back({mw, result, user});
}

// Left-to-right labels of the popup's buttons.
std::vector<std::string> ButtonRow(MWin* mw)
{
    std::vector<MWinButton*> row;
    for (int i = 0; i < 4; i++)
        if (MWinButton* b = MWinPopupGetButton(mw, i))
            row.push_back(b);
    std::sort(row.begin(), row.end(),
              [](MWinButton* a, MWinButton* b) { return a->GetOrigArea()->x < b->GetOrigArea()->x; });
    std::vector<std::string> labels;
    for (MWinButton* b : row)
        labels.push_back(b->GetTextP());
    return labels;
}
} // namespace

class Popup : public CoreTest
{
protected:
    void SetUp() override
    {
        CoreTest::SetUp();
        Answers().clear();
        back = AddWindow("Back", 0, 0, 640, 480);
        coll->Activate();
        back->Activate();
    }

    // Presses the popup button in slot through the mouse.
    void Click(int slot)
    {
        MWinButton* b = MWinPopupGetButton(mw, slot);
        ASSERT_NE(b, nullptr) << slot;
        _Dimension a;
        b->GetActualArea(&a);
        MoveTo(a.x + a.w / 2, a.y + a.h / 2);
        Press();
        Release();
    }

    MWinWindow* back = nullptr;
};

TEST_F(Popup, MessageHasOneOkThatEscapeAndReturnPress)
{
    for (int key : {27, 13})
    {
        Answers().clear();
        ASSERT_TRUE(MWinPopupMessage(mw, "Title", "Hello", Record, this));
        EXPECT_TRUE(mw->PopupIsOn());
        EXPECT_EQ(ButtonRow(mw), std::vector<std::string>{"OK"});
        MWinWindow* w = MWinPopupGetWindow(mw);
        ASSERT_NE(w, nullptr);
        EXPECT_EQ(w->GetEscapeButton(), MWinPopupGetButton(mw, MWIN_POPUP_BUT_OK));
        EXPECT_EQ(w->GetDefaultButton(), MWinPopupGetButton(mw, MWIN_POPUP_BUT_OK));
        EXPECT_TRUE(Key(key));
        EXPECT_TRUE(Answers().empty()); // the press runs at the next tick
        mw->Tick2();
        EXPECT_FALSE(mw->PopupIsOn());
        ASSERT_EQ(Answers().size(), 1u) << key;
        EXPECT_EQ(Answers()[0].result, 1);
        EXPECT_EQ(Answers()[0].user, this);
    }
    // Without a callback nothing is called and the popup still closes.
    ASSERT_TRUE(MWinPopupMessage(mw, "Hello"));
    Key(27);
    mw->Tick2();
    EXPECT_FALSE(mw->PopupIsOn());
}

TEST_F(Popup, KindsLabelsOrderAndResults)
{
    typedef char (*Kind)(MWin*, const char*, const char*, MWinPopupResultCallback, void*);
    struct Case
    {
        const char* name;
        Kind open;
        std::vector<std::string> labels;
        int escape_result; // -1: Escape presses nothing
        int results[4];    // per slot OK, CANCEL, NO, EXTRA; -1 absent
    };
    const Case cases[] = {
        {"message", MWinPopupMessage, {"OK"}, 1, {1, -1, -1, -1}},
        {"ok cancel", MWinPopupOkCancel, {"OK", "Cancel"}, 0, {1, 0, -1, -1}},
        {"yes no", MWinPopupYesNo, {"Yes", "No"}, -1, {1, 0, -1, -1}},
        {"yes no cancel", MWinPopupYesNoCancel, {"Yes", "No", "Cancel"}, 0, {1, 0, 2, -1}},
        {"yes no cancel extra",
         MWinPopupYesNoCancelExtra,
         {"Yes", "No", "Cancel", "Extra"},
         -1,
         {1, 0, 2, 3}},
        // The toolkit's member forms open the same popups.
        {"member ok cancel",
         [](MWin* m, const char* t, const char* q, MWinPopupResultCallback cb, void* u)
         { return m->PopupOkCancel(t, q, cb, u); },
         {"OK", "Cancel"},
         0,
         {1, 0, -1, -1}},
        {"member yes no cancel extra",
         [](MWin* m, const char* t, const char* q, MWinPopupResultCallback cb, void* u)
         { return m->PopupYesNoCancelExtra(t, q, cb, u); },
         {"Yes", "No", "Cancel", "Extra"},
         -1,
         {1, 0, 2, 3}},
    };
    for (const Case& c : cases)
    {
        for (int slot = 0; slot < 4; slot++)
        {
            ASSERT_TRUE(c.open(mw, "T", "Question?", Record, nullptr)) << c.name;
            EXPECT_EQ(ButtonRow(mw), c.labels) << c.name;
            if (c.results[slot] < 0)
            {
                EXPECT_EQ(MWinPopupGetButton(mw, slot), nullptr) << c.name << slot;
                mw->PopupTurnOff();
                continue;
            }
            Answers().clear();
            Click(slot);
            mw->Tick2();
            EXPECT_FALSE(mw->PopupIsOn()) << c.name << slot;
            ASSERT_EQ(Answers().size(), 1u) << c.name << slot;
            EXPECT_EQ(Answers()[0].result, c.results[slot]) << c.name << slot;
        }
        Answers().clear();
        ASSERT_TRUE(c.open(mw, "T", "Question?", Record, nullptr));
        Key(27);
        mw->Tick2();
        if (c.escape_result < 0)
        {
            EXPECT_TRUE(mw->PopupIsOn()) << c.name;
            EXPECT_TRUE(Answers().empty()) << c.name;
            mw->PopupTurnOff();
        }
        else
        {
            ASSERT_EQ(Answers().size(), 1u) << c.name;
            EXPECT_EQ(Answers()[0].result, c.escape_result) << c.name;
        }
    }
    EXPECT_TRUE(Answers().empty()); // turning a popup off never answers
}

TEST_F(Popup, ScreenBehindIsInactiveDarkenedAndRestored)
{
    char hover = mw->GetSettings()->hover_activates_collection;
    ASSERT_TRUE(MWinPopupOkCancel(mw, "T", "M", Record, nullptr));
    EXPECT_FALSE(coll->IsActive());
    EXPECT_FALSE(back->IsActive());
    EXPECT_EQ(mw->GetDesktop()->darken, 1);
    EXPECT_FLOAT_EQ(mw->GetDesktop()->darken_level, 0.5f);
    EXPECT_EQ(mw->GetSettings()->hover_activates_collection, 0);
    // A press on the screen behind (outside the popup window) reaches nothing there.
    MWinButton* under = AddPush(back, "Under", 0, 0, 40, 40);
    MoveTo(10, 10);
    Press();
    Release();
    EXPECT_FALSE(under->IsFocused());
    EXPECT_TRUE(mw->PopupIsOn());

    mw->PopupTurnOff();
    EXPECT_TRUE(coll->IsActive());
    EXPECT_TRUE(back->IsActive());
    EXPECT_EQ(mw->GetDesktop()->darken, 0);
    EXPECT_EQ(mw->GetSettings()->hover_activates_collection, hover);
    EXPECT_EQ(mw->GetDesktop()->GetCollectionFromID(MWIN_POPUP_COLLECTION_ID, 0), nullptr);
    EXPECT_FALSE(Logged("Internal Error"));
    EXPECT_TRUE(Answers().empty());

    MWinPopupDontLetNextPopupDarkenScreen(mw);
    ASSERT_TRUE(MWinPopupNotice(mw, "T", "Working"));
    EXPECT_EQ(mw->GetDesktop()->darken, 0);
    EXPECT_EQ(ButtonRow(mw).size(), 0u);
    mw->PopupTurnOff();
    ASSERT_TRUE(MWinPopupNotice(mw, "T", "Working")); // the flag was for one popup
    EXPECT_EQ(mw->GetDesktop()->darken, 1);
}

TEST_F(Popup, OnlyOneAtATimeAndRefusals)
{
    ASSERT_TRUE(MWinPopupMessage(mw, "One"));
    EXPECT_FALSE(MWinPopupMessage(mw, "Two"));
    EXPECT_TRUE(Logged("Popup already on"));
    EXPECT_TRUE(MWinPopupTurnOff(mw));
    EXPECT_FALSE(MWinPopupTurnOff(mw));

    EXPECT_FALSE(MWinPopupGetText(mw, "T", "M", nullptr, 10, Record, nullptr));
    char text[8] = "";
    EXPECT_FALSE(MWinPopupGetText(mw, "T", "M", text, 0, Record, nullptr));
    EXPECT_FALSE(MWinPopupPanel(mw, "T", "M", 3, 3, 100, 60, nullptr, 1, nullptr, nullptr, Record, nullptr));
    EXPECT_TRUE(Logged("No panel sel val"));
    EXPECT_FALSE(mw->PopupIsOn());
    EXPECT_TRUE(coll->IsActive()); // refusals leave the screen behind usable

    mw->Shutdown();
    EXPECT_FALSE(MWinPopupMessage(mw, "Off"));
    EXPECT_TRUE(Logged("MWin is not on"));
    mw->Startup();
}

TEST_F(Popup, NextPopupSettingsLastForOnePopup)
{
    MWinPopupChangeButtonTextsForNextPopup(mw, "Keep", "Drop");
    ASSERT_TRUE(MWinPopupOkCancel(mw, "T", "M", Record, nullptr));
    EXPECT_EQ(ButtonRow(mw), (std::vector<std::string>{"Keep", "Drop"}));
    mw->PopupTurnOff();
    ASSERT_TRUE(MWinPopupOkCancel(mw, "T", "M", Record, nullptr));
    EXPECT_EQ(ButtonRow(mw), (std::vector<std::string>{"OK", "Cancel"}));
    mw->PopupTurnOff();

    MWinPopupSetErrorColoursForNextPopup(mw);
    ASSERT_TRUE(MWinPopupMessage(mw, "T", "M"));
    _ColourRGBA c;
    MWinPopupGetSettings(mw)->msg->GetTextColour(&c);
    EXPECT_FLOAT_EQ(c.r, 1.0f);
    EXPECT_FLOAT_EQ(c.g, 0.282f);
    mw->PopupTurnOff();
    ASSERT_TRUE(MWinPopupMessage(mw, "T", "M"));
    MWinPopupGetSettings(mw)->msg->GetTextColour(&c);
    EXPECT_FLOAT_EQ(c.r, 0.0f);
    mw->PopupTurnOff();

    MWinPopupSetSizeOfBoxForNextPopup(mw, 300, 200);
    ASSERT_TRUE(MWinPopupMessage(mw, "T", "M"));
    float w = 0, h = 0;
    MWinPopupGetWindow(mw)->GetOrigPos(nullptr, nullptr, &w, &h);
    EXPECT_FLOAT_EQ(w, 320);
    EXPECT_FLOAT_EQ(h, 200);
    mw->PopupTurnOff();
    ASSERT_TRUE(MWinPopupMessage(mw, "T", "M"));
    MWinPopupGetWindow(mw)->GetOrigPos(nullptr, nullptr, &w, &h);
    EXPECT_NE(h, 200);
}

TEST_F(Popup, ButtonSizesAndDefaults)
{
    _MWinPopupSettings* s = MWinPopupGetSettings(mw);
    MWinPopupSetupButtonSizes(mw, 350, 580, 120, 40);
    EXPECT_EQ(s->min_box_w[1], 350);
    EXPECT_EQ(s->button_w[0], 120);
    MWinPopupSetupButtonSizes(mw, -1, 0, -1, -1); // keeps
    EXPECT_EQ(s->max_box_w[1], 580);
    ASSERT_TRUE(MWinPopupMessage(mw, "T", "M"));
    MWinButton* ok = MWinPopupGetButton(mw, MWIN_POPUP_BUT_OK);
    EXPECT_FLOAT_EQ(ok->GetOrigArea()->h, 36); // 0.9 x the button height
    EXPECT_GE(ok->GetOrigArea()->w, 108);
    mw->PopupTurnOff();
    MWinPopupSetupButtonSizes(mw, -2, -2, -2, -2);
    EXPECT_EQ(s->min_box_w[0], 50);
    EXPECT_EQ(s->max_box_w[0], 600);
    EXPECT_EQ(s->button_w[1], 60);
    EXPECT_EQ(s->button_h[1], 30);

    // Red, blue, green, alpha order; negatives keep.
    MWinPopupSetupTexturesAndFonts(mw, "Back2", "TitleBack", "Main", "Main", "Main", 0.1f, 0.2f, 0.3f, 0.7f,
                                   1, 1.4f, -1, -1, -1, -1, -1, -1, 1);
    EXPECT_FLOAT_EQ(s->button_colour.b, 0.2f);
    EXPECT_FLOAT_EQ(s->button_colour.g, 0.3f);
    EXPECT_FLOAT_EQ(s->button_scale_y, 1.4f);
    EXPECT_FLOAT_EQ(s->title_colour.a, 1.0f);
    EXPECT_EQ(s->align, 1);
    EXPECT_STREQ(s->back_texbut, "Back2");
}

namespace
{
int chained = 0;
void OpenAnother(MWin* mw, char, void*)
{
    // The first popup is gone before its result callback runs.
    chained = MWinPopupMessage(mw, "Second", "Again") ? 1 : -1;
}
} // namespace

TEST_F(Popup, ResultCallbackMayOpenTheNextPopup)
{
    chained = 0;
    ASSERT_TRUE(MWinPopupOkCancel(mw, "First", "M", OpenAnother, nullptr));
    Click(MWIN_POPUP_BUT_OK);
    mw->Tick2();
    EXPECT_EQ(chained, 1);
    EXPECT_TRUE(mw->PopupIsOn());
    EXPECT_STREQ(MWinPopupGetWindow(mw)->GetTitle(), "Second");
    EXPECT_FALSE(Logged("Internal Error"));
}

TEST_F(Popup, TextAndPanelPopups)
{
    char text[16] = "abc";
    ASSERT_TRUE(MWinPopupGetText(mw, "Name", "Your name", text, sizeof text, Record, nullptr));
    _MWinPopupSettings* s = MWinPopupGetSettings(mw);
    ASSERT_NE(s->text_edit, nullptr);
    EXPECT_STREQ(s->text_edit->GetID(), "TEXTEDIT");
    EXPECT_TRUE(s->text_edit->TextEditIsTextBeingEdited());
    // Enter in the text field answers OK at the next tick.
    _MWinButtonCallbackInfo info = {};
    info.text_edit_flag = 1;
    MWinPopupGetTextCallback(mw, &info, 0, 0, mw);
    mw->Tick2();
    ASSERT_EQ(Answers().size(), 1u);
    EXPECT_EQ(Answers()[0].result, 1);
    EXPECT_FALSE(mw->PopupIsOn());

    static const char* items[] = {"a", "b", "c"};
    int sel = 1;
    int* selp = &sel;
    ASSERT_TRUE(MWinPopupPanel(
        mw, "Pick", nullptr, 3, 3, 120, 60, [](int i, MWinButton*, void*) { return items[i]; }, 1, &selp,
        nullptr, Record, nullptr));
    ASSERT_NE(s->panel, nullptr);
    EXPECT_EQ(s->panel->PanelGetPos(), 1);
    float w = 0;
    MWinPopupGetWindow(mw)->GetOrigPos(nullptr, nullptr, &w, nullptr);
    EXPECT_GE(w, 130);              // at least the panel's width + 10
    EXPECT_EQ(s->min_box_w[1], 50); // raised for that popup only
    mw->PopupTurnOff();
}

TEST_F(Popup, ScriptPopupShowsTheCallersText)
{
    // The box draws only with a user font; it takes the popup's (the
    // drawing itself is checked on a GL window).
    EngFont font;
    ASSERT_GE(mw->GetFonts()->AddUserFontPointer("Main", &font), 0);
    MWinPopupSetupTexturesAndFonts(mw, MWIN_TEXBUT_DEFAULT, MWIN_TEXBUT_DEFAULT, "Main");
    static char text[] = "<1<Name>2>42\nMore";
    ASSERT_TRUE(
        MWinPopupScript(mw, "Read", "Below", text, MWIN_TEXBUT_DEFAULT, 200, 80, 1, 0, 0, Record, nullptr));
    MWinButton* b = MWinPopupGetWindow(mw)->GetButtonFromID("SCRIPT", 0);
    ASSERT_NE(b, nullptr);
    MWinScriptButton* sb = static_cast<MWinScriptButton*>(b);
    EXPECT_EQ(sb->GetFontNum(), mw->GetFonts()->GetFontNumFromID("Main"));
    EXPECT_EQ(sb->GetNumParagraphs(), 3);
    float w = 0;
    MWinPopupGetWindow(mw)->GetOrigPos(nullptr, nullptr, &w, nullptr);
    EXPECT_GE(w, 220);
    Key(13);
    mw->Tick2();
    ASSERT_EQ(Answers().size(), 1u);
    EXPECT_EQ(Answers()[0].result, 1);
    mw->GetFonts()->RemoveUserFont("Main");
}

TEST_F(Popup, NoticesCloseThemselvesAndShownPopupsCanBeMovedAndFaded)
{
    ASSERT_TRUE(MWinPopupMessage(mw, "Old"));
    // A short notice with fading asked for is shown without it, then removed.
    EXPECT_TRUE(MWinPopupNoticeForTime(mw, "T", "Saved", 0.1, 1));
    EXPECT_FALSE(mw->PopupIsOn());
    EXPECT_TRUE(coll->IsActive());
    EXPECT_EQ(MWinPopupGetSettings(mw)->dont_darken, 0);
    EXPECT_TRUE(MWinPopupNoticeShowItAndRemoveIt(mw, "T", "Working..."));
    EXPECT_FALSE(mw->PopupIsOn());

    ASSERT_TRUE(MWinPopupOkCancel(mw, "T", "M", Record, nullptr));
    MWinPopupSetWindowYPos(mw, 50);
    float x0 = 0, y = 0;
    MWinPopupGetWindow(mw)->GetOrigPos(&x0, &y, nullptr, nullptr);
    EXPECT_FLOAT_EQ(y, 50);
    MWinPopupSetTransparency(mw, 0.5f);
    EXPECT_FLOAT_EQ(MWinPopupGetWindow(mw)->GetTransparency(), 0.5f);
    EXPECT_FLOAT_EQ(MWinPopupGetButton(mw, MWIN_POPUP_BUT_OK)->GetTransparency(), 0.5f);
    mw->PopupTurnOff();
    EXPECT_EQ(MWinPopupGetWindow(mw), nullptr);
    EXPECT_EQ(MWinPopupGetButton(mw, MWIN_POPUP_BUT_OK), nullptr);
}

TEST_F(Popup, LanguageFilesGiveTheLabelsUnlessTextsWereSet)
{
    vztest::TempDir dir;
    vztest::WriteFile(dir.File("English.txt"), "Language=English\nPopup_Yes=Aye\nPopup_No=Nay\n"
                                               "Popup_Cancel=Back\nCommon_Error=Trouble\n");
    ASSERT_EQ(EngLanguagesInit(dir.Path().c_str(), nullptr, 0), 1);
    ASSERT_TRUE(MWinPopupYesNoCancelExtra(mw, "T", "M", Record, nullptr));
    EXPECT_EQ(ButtonRow(mw), (std::vector<std::string>{"Aye", "Nay", "Back", "Extra"}));
    mw->PopupTurnOff();
    MWinPopupChangeButtonTextsForNextPopup(mw, nullptr, "Stay");
    ASSERT_TRUE(MWinPopupOkCancel(mw, "T", "M", Record, nullptr));
    EXPECT_EQ(ButtonRow(mw), (std::vector<std::string>{"OK", "Stay"}))
        << "no Popup_OK token: the plain label";
    mw->PopupTurnOff();
    ASSERT_TRUE(MWinPopupErrorMessage(mw, "Disk full"));
    EXPECT_STREQ(MWinPopupGetWindow(mw)->GetTitle(), "Trouble");
    mw->PopupTurnOff();
    EngLanguagesExit();
}
