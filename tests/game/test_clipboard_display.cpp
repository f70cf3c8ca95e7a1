// The clipboard on a real (virtual) display: round trips, buffer limits, and
// typing, copy and paste in a text field of the running game, beyond ASCII.
#include <gtest/gtest.h>

#include <SDL2/SDL.h>

#include <cstring>
#include <string>
#include <vector>

#include <GL/glew.h>

#include "EngDebug.h"
#include "EngJpeg.h"
#include "EngUnicode.h"
#include "Linux/EngWindow_LNX.h"
#include "MWin/MWinButton.h"
#include "MWin/MWinWindow.h"
#include "game/MainScreen.h"
#include "game/Various.h"
#include "support/TestSupport.h"

#include "GameWindowFixture.h"

class Clipboard : public vztest::LogTest
{
};

TEST_F(Clipboard, CopyAndPasteWithinTheBuffer)
{
    struct Case
    {
        const char* text;
        int size;
        char expect;
    } cases[] = {
        {"12345678", 10, 1}, {"123456789", 10, 0}, // a buffer of n bytes takes at most n - 2 characters
        {"x", 3, 1},         {"x", 2, 0},          {"gr\xfc\xdf", 16, 1}, // Latin-1, as the fonts hold it
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.text);
        ASSERT_EQ(1, VariousCopyClipboardFromString(c.text));
        char buf[32];
        memset(buf, '#', sizeof(buf));
        EXPECT_EQ(c.expect, VariousPasteClipboardToString(buf, c.size));
        if (c.expect)
        {
            EXPECT_STREQ(c.text, buf);
        }
        EXPECT_EQ('#', buf[c.size]) << "wrote past the buffer";
    }
    // The system clipboard holds UTF-8; characters beyond Latin-1 come in as
    // placeholders, and the size limit counts characters.
    ASSERT_EQ(1, VariousCopyClipboardFromString("gr\xfc\xdf \xa0\xff"));
    char* system = SDL_GetClipboardText();
    ASSERT_NE(system, nullptr);
    EXPECT_STREQ("gr\xc3\xbc\xc3\x9f \xc2\xa0\xc3\xbf", system);
    SDL_free(system);
    ASSERT_EQ(0, SDL_SetClipboardText("\xe2\x82\xac\xd0\xb6\xc3\xa9"));
    char buf5[5];
    ASSERT_EQ(1, VariousPasteClipboardToString(buf5, sizeof(buf5)));
    EXPECT_STREQ("??\xe9", buf5);

    // An empty text leaves the clipboard as it was.
    ASSERT_EQ(1, VariousCopyClipboardFromString("kept"));
    EXPECT_EQ(0, VariousCopyClipboardFromString(""));
    char buf[16];
    ASSERT_EQ(1, VariousPasteClipboardToString(buf, sizeof(buf)));
    EXPECT_STREQ("kept", buf);
}

class GameClipboard : public gametest::GameWindowTest
{
};

TEST_F(GameClipboard, CtrlVPastesIntoATextFieldAndCtrlCCopiesItsText)
{
    ASSERT_NO_FATAL_FAILURE(Start());
    ASSERT_NE(mwinMainMainStartButton, nullptr);
    MWinButton* field = mwinMainMainStartButton->GetParent()->AddButton(
        "Name", MWIN_BUTTON_TEXT_EDIT, MWIN_TEXBUT_DEFAULT, "", 20, 20, 140, 30);
    ASSERT_NE(field, nullptr);
    field->TextEditSetLength(20);
    ClickPixel(int(90 * eng_main_window_x_ratio), int(35 * eng_main_window_y_ratio));
    ASSERT_TRUE(field->IsTextBeingEditing());

    ASSERT_EQ(1, VariousCopyClipboardFromString("pasted"));
    Key(SDLK_v, KMOD_LCTRL);
    EXPECT_STREQ(field->TextEditGetText(), "pasted");

    ASSERT_EQ(1, VariousCopyClipboardFromString("other"));
    Key(SDLK_c, KMOD_LCTRL);
    char buf[32];
    ASSERT_EQ(1, VariousPasteClipboardToString(buf, sizeof(buf)));
    EXPECT_STREQ(buf, "pasted");
}

// Letters beyond ASCII typed and pasted into a text field of the running
// game, drawn in the game's font and copied back out.
class GameTextField : public gametest::GameWindowTest
{
protected:
    MWinButton* field = nullptr;

    void StartWithField()
    {
        ASSERT_NO_FATAL_FAILURE(Start());
        ASSERT_NO_FATAL_FAILURE(AddField());
    }
    // A text field in the main menu's window, in the game's font.
    void AddField()
    {
        ASSERT_NE(mwinMainMainStartButton, nullptr);
        field = mwinMainMainStartButton->GetParent()->AddButton("Name", MWIN_BUTTON_TEXT_EDIT,
                                                                MWIN_TEXBUT_DEFAULT, "", 20, 20, 300, 40);
        ASSERT_NE(field, nullptr);
        ASSERT_TRUE(field->SetFont("Main"));
        field->TextEditSetLength(40);
        Frames(1);
    }

    // An event queued on the platform's queue, taken by the window as on its frames.
    void Push(SDL_Event e)
    {
        ASSERT_EQ(1, SDL_PushEvent(&e));
        while (main_game->GetWindow()->GetWindowEvents())
        {
        }
        Frames(1);
    }
    void Type(const char* utf8)
    {
        SDL_Event e = {};
        e.type = SDL_TEXTINPUT;
        e.text.windowID = SDL_GetWindowID(static_cast<SDL_Window*>(eng_main_sdl_window));
        strncpy(e.text.text, utf8, sizeof(e.text.text) - 1);
        Push(e);
    }
    // A key pressed and released with a modifier held, then the modifier let go.
    void Keys(SDL_Keycode sym, Uint16 mod)
    {
        struct
        {
            SDL_Keycode sym;
            Uint16 mod;
            bool down;
        } steps[] = {{sym, mod, true}, {sym, mod, false}, {SDLK_LCTRL, 0, false}};
        for (const auto& k : steps)
        {
            SDL_Event e = {};
            e.type = k.down ? SDL_KEYDOWN : SDL_KEYUP;
            e.key.state = k.down ? SDL_PRESSED : SDL_RELEASED;
            e.key.keysym.sym = k.sym;
            e.key.keysym.mod = k.mod;
            Push(e);
        }
    }
    void ClickField()
    {
        _Dimension* a = field->GetActualArea();
        ClickPixel(int((a->x + a->w / 2) * eng_main_window_x_ratio),
                   int((a->y + a->h / 2) * eng_main_window_y_ratio));
    }

    // The field's pixels in a frame drawn now.
    std::vector<unsigned char> FieldPixels()
    {
        main_game->RenderCB();
        _Dimension* a = field->GetActualArea();
        int x = int(a->x * eng_main_window_x_ratio), w = int(a->w * eng_main_window_x_ratio);
        int y = int(a->y * eng_main_window_y_ratio), h = int(a->h * eng_main_window_y_ratio);
        std::vector<unsigned char> px(size_t(w) * h * 3);
        glReadBuffer(GL_BACK);
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        glReadPixels(x, eng_main_window_height - y - h, w, h, GL_RGB, GL_UNSIGNED_BYTE, px.data());
        return px;
    }
    // The field as it draws a Latin-1 text (not editing).
    std::vector<unsigned char> Drawn(const char* latin1)
    {
        field->TextEditSetText(latin1);
        return FieldPixels();
    }
    // How many pixels of the field a text changes against the empty field.
    int Ink(const char* latin1)
    {
        std::vector<unsigned char> empty = Drawn(""), text = Drawn(latin1);
        int n = 0;
        for (size_t i = 0; i < text.size(); i += 3)
            n += text[i] != empty[i] || text[i + 1] != empty[i + 1] || text[i + 2] != empty[i + 2];
        return n;
    }

};

// A one-line field keeps no line breaks or other control codes from the
// clipboard: neither in its text nor in the variable it writes.
TEST_F(GameTextField, PastedLineBreaksStayOutOfAOneLineField)
{
    ASSERT_NO_FATAL_FAILURE(StartWithField());
    char bound[41] = "";
    ASSERT_TRUE(field->TextEditRegisterStringVariable(bound, sizeof(bound)));
    const struct
    {
        const char* clipboard; // UTF-8, as the system holds it
        const char* kept;      // Latin-1
    } cases[] = {
        {"two\nlines", "twolines"},
        {"copied line\r\n", "copied line"},
        {"a\tb\033c\x7f", "abc"},
        {"caf\xc3\xa9\n\xc2\x85!", "caf\xe9?!"}, // a C1 code arrives as a placeholder
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.clipboard);
        ClickField();
        ASSERT_TRUE(field->IsTextBeingEditing());
        field->TextEditSetCurrentlyBeingEditedText("");
        ASSERT_EQ(0, SDL_SetClipboardText(c.clipboard));
        Keys(SDLK_v, KMOD_LCTRL);
        EXPECT_STREQ(field->TextEditGetText(), c.kept);
        Keys(SDLK_RETURN, 0);
        ASSERT_FALSE(field->IsTextBeingEditing());
        EXPECT_STREQ(bound, c.kept);
    }
}

TEST_F(GameTextField, TypedAndPastedLettersArriveDrawAndLeaveAsUtf8)
{
    ASSERT_NO_FATAL_FAILURE(StartWithField());
    ClickField();
    ASSERT_TRUE(field->IsTextBeingEditing());

    // Typed: the platform's UTF-8, one event a character or several at once.
    for (const char* t : {"c", "a", "f", "\xc3\xa9", " \xc3\xba\xc3\xb1"})
        Type(t);
    EXPECT_STREQ("caf\xe9 \xfa\xf1", field->TextEditGetText());
    // Pasted from the system clipboard, which holds UTF-8.
    ASSERT_EQ(0, SDL_SetClipboardText(" gr\xc3\xbc\xc3\x9f"));
    Keys(SDLK_v, KMOD_LCTRL);
    EXPECT_STREQ("caf\xe9 \xfa\xf1 gr\xfc\xdf", field->TextEditGetText());
    // Characters the fonts cannot hold show as placeholders, not nothing.
    Type(" \xe2\x82\xac\xd0\xb6");
    EXPECT_STREQ("caf\xe9 \xfa\xf1 gr\xfc\xdf ??", field->TextEditGetText());
    FieldPixels();
    Shot("-textfield");

    // Copied out: the system clipboard gets UTF-8.
    Keys(SDLK_c, KMOD_LCTRL);
    char* copied = SDL_GetClipboardText();
    ASSERT_NE(copied, nullptr);
    EXPECT_STREQ("caf\xc3\xa9 \xc3\xba\xc3\xb1 gr\xc3\xbc\xc3\x9f ??", copied);
    SDL_free(copied);

    Keys(SDLK_RETURN, 0);
    ASSERT_FALSE(field->IsTextBeingEditing());
    std::string typed = field->TextEditGetText();
    // Every accented letter draws ink of its own, the accent included, also
    // in another window size, after the fonts were made again with the device.
    for (int rebuilt : {0, 1})
    {
        if (rebuilt)
        {
            // The screen is built again with the new device.
            main_game->GetWindow()->WindowResized(1000, 500);
            Frames(2);
            ASSERT_NO_FATAL_FAILURE(AddField());
        }
        SCOPED_TRACE(eng_main_window_width);
        EXPECT_GT(Ink(typed.c_str()), Ink("caf  gr ??"));
        for (const char* letter : {"\xe9", "\xfa", "\xf1", "\xfc", "\xdf"})
        {
            SCOPED_TRACE(unsigned(static_cast<unsigned char>(letter[0])));
            EXPECT_GT(Ink(letter), 0);
        }
        EXPECT_NE(Drawn("\xe9"), Drawn("e"));
        EXPECT_NE(Drawn("\xfc"), Drawn("u"));
        EXPECT_GT(Ink("?"), 0);
    }
    field->TextEditSetText(typed.c_str());
    FieldPixels();
    Shot("-textfield-1000x500");
}
