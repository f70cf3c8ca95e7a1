// The platform message boxes: GTK's modal box with the title, text, icon and
// buttons, standing over the dialog kit's or the game's window, the answer
// its buttons and keys give, and no helper program started for any box.
#include <gtest/gtest.h>

#include <SDL2/SDL.h>
#include <gdk/gdkx.h>
#include <gtk/gtk.h>

#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <mutex>
#include <string>
#include <thread>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

#include "EngWindow.h"
#include "Linux/EngMisc_LNX.h"
#include "Linux/EngWindow_LNX.h"
#include "SWin.h"
#include "support/GtkBoxes.h"
#include "support/GameName.h"
#include "support/GtkKeys.h"
#include "support/FakeBoxHelper.h"
#include "support/TestSupport.h"

namespace
{

// Ends the program when a box blocks outside GTK's loop, where no GLib
// timeout can answer it.
class Watchdog
{
public:
    explicit Watchdog(int seconds)
        : thread(
              [this, seconds]
              {
                  std::unique_lock<std::mutex> lock(m);
                  if (!cv.wait_for(lock, std::chrono::seconds(seconds), [this] { return done; }))
                  {
                      fprintf(stderr, "a message box blocked the test\n");
                      _exit(1);
                  }
              })
    {
    }
    ~Watchdog()
    {
        {
            std::lock_guard<std::mutex> lock(m);
            done = true;
        }
        cv.notify_one();
        thread.join();
    }

private:
    std::mutex m;
    std::condition_variable cv;
    bool done = false;
    std::thread thread;
};

enum class Over
{
    Nothing,
    Kit,  // shown from a button of a dialog kit window
    Game, // shown while the game's SDL window is up
};

enum class Answer
{
    OkButton,
    CancelButton,
    ReturnKey,
    EscapeKey,
    Close,
    Destroy, // by another part of the program
};

struct Case
{
    const char* name;
    char with_cancel;
    char kind;
    const char* title;
    Over over;
    Answer answer;
    char want; // OK/Cancel boxes only
};

const char* const kText = "Your settings cannot be kept.\n\nYou can play, but nothing will be saved.";

// What the answering callback saw of the box.
struct Seen
{
    bool box = false, modal = false, answered = false;
    std::string title, text, secondary, icon;
    GtkMessageType type = GTK_MESSAGE_OTHER;
    std::vector<std::string> buttons;
    unsigned long transient_for = 0;
    int ticks = 0;
    Answer answer = Answer::OkButton;
};

// The X window the toplevel w is transient for (WM_TRANSIENT_FOR), or 0.
unsigned long TransientXid(GtkWidget* w)
{
    GdkAtom type;
    gint format = 0, length = 0;
    guchar* data = nullptr;
    unsigned long xid = 0;
    if (gdk_property_get(gtk_widget_get_window(w), gdk_atom_intern_static_string("WM_TRANSIENT_FOR"),
                         gdk_atom_intern_static_string("WINDOW"), 0, 1, FALSE, &type, &format, &length,
                         &data) &&
        format == 32 && length >= gint(sizeof(long)))
        xid = *reinterpret_cast<unsigned long*>(data);
    g_free(data);
    return xid;
}

// The icon name of the first shown image inside w.
std::string ShownIcon(GtkWidget* w)
{
    if (!gtk_widget_get_visible(w))
        return "";
    if (GTK_IS_IMAGE(w))
    {
        const gchar* name = nullptr;
        if (gtk_image_get_storage_type(GTK_IMAGE(w)) == GTK_IMAGE_ICON_NAME)
            gtk_image_get_icon_name(GTK_IMAGE(w), &name, nullptr);
        return name ? name : "";
    }
    std::string found;
    if (GTK_IS_CONTAINER(w))
    {
        GList* children = gtk_container_get_children(GTK_CONTAINER(w));
        for (GList* l = children; l && found.empty(); l = l->next)
            found = ShownIcon(GTK_WIDGET(l->data));
        g_list_free(children);
    }
    return found;
}

GtkWidget* ButtonLabelled(GtkWidget* box, const char* label)
{
    for (int r : {GTK_RESPONSE_OK, GTK_RESPONSE_CANCEL})
    {
        GtkWidget* b = gtk_dialog_get_widget_for_response(GTK_DIALOG(box), r);
        if (b && GTK_IS_BUTTON(b) && std::string(gtk_button_get_label(GTK_BUTTON(b))) == label)
            return b;
    }
    return nullptr;
}

// Runs every 10 ms while a box may be up: notes the box, then answers it;
// ends a box that the answer did not end after 3 seconds.
gboolean AnswerBox(gpointer p)
{
    Seen* s = static_cast<Seen*>(p);
    GtkWidget* box = vztest::ShownMessageBox();
    if (!box)
        return G_SOURCE_CONTINUE;
    if (s->answered)
    {
        // Still up: the answer did not reach it.
        if (s->ticks++ == 300)
        {
            ADD_FAILURE() << "the answer did not end the box";
            gtk_dialog_response(GTK_DIALOG(box), GTK_RESPONSE_NONE);
        }
        return G_SOURCE_CONTINUE;
    }
    s->box = true;
    s->modal = gtk_window_get_modal(GTK_WINDOW(box));
    s->title = gtk_window_get_title(GTK_WINDOW(box)) ? gtk_window_get_title(GTK_WINDOW(box)) : "";
    gchar *text = nullptr, *secondary = nullptr;
    g_object_get(box, "text", &text, "secondary-text", &secondary, "message-type", &s->type, nullptr);
    s->text = text ? text : "";
    s->secondary = secondary ? secondary : "";
    g_free(text);
    g_free(secondary);
    s->icon = ShownIcon(box);
    for (const char* label : {"_Cancel", "_OK"})
        if (ButtonLabelled(box, label))
            s->buttons.push_back(label);
    s->transient_for = TransientXid(box);
    s->answered = true;
    switch (s->answer)
    {
    case Answer::OkButton:
    case Answer::CancelButton:
        if (GtkWidget* b = ButtonLabelled(box, s->answer == Answer::OkButton ? "_OK" : "_Cancel"))
            gtk_button_clicked(GTK_BUTTON(b));
        break;
    case Answer::ReturnKey:
        vztest::PressGtkKey(box, GDK_KEY_Return);
        break;
    case Answer::EscapeKey:
        vztest::PressGtkKey(box, GDK_KEY_Escape);
        break;
    case Answer::Close:
        gtk_window_close(GTK_WINDOW(box));
        break;
    case Answer::Destroy:
        gtk_widget_destroy(box);
        break;
    }
    return G_SOURCE_CONTINUE;
}

// The box the kit window's button shows, from inside the kit's loop.
const Case* kit_case = nullptr;
char kit_result = -1;
void ShowBoxCB(SWin* w)
{
    if (kit_case->with_cancel)
        kit_result = EngMiscShowOkCancelPopup_LNX(kit_case->kind, kit_case->title, kText);
    else
        EngMiscShowPopupMessage_LNX(kit_case->kind, kit_case->title, kText);
    w->QuitWindowLoop();
}

class PopupBoxGtk : public vztest::LogTest
{
protected:
    void SetUp() override
    {
        LogTest::SetUp();
        SWinSetBackend(nullptr);
    }

    // Shows the case's box, answered from GTK's loop; the box's answer.
    char Show(const Case& c, Seen* seen, unsigned long* parent)
    {
        seen->answer = c.answer;
        guint source = g_timeout_add(10, AnswerBox, seen);
        char result = -1;
        *parent = 0;
        if (c.over == Over::Kit)
        {
            SWin win;
            _SWinCreateInfo info = {};
            info.x = info.y = -1;
            info.width = 600;
            info.height = 430;
            EXPECT_EQ(1, win.CreateMainWindow(&info));
            GtkWidget* kit = static_cast<GtkWidget*>(win.GetWindowHandle());
            gtk_widget_realize(kit);
            *parent = gdk_x11_window_get_xid(gtk_widget_get_window(kit));
            int b = win.AddPushButtonToWindow(20, 360, 140, 20, "?", ShowBoxCB);
            kit_case = &c;
            kit_result = -1;
            g_idle_add(
                [](gpointer b) -> gboolean
                {
                    gtk_button_clicked(GTK_BUTTON(b));
                    return G_SOURCE_REMOVE;
                },
                win.GetButtonControl(b));
            guint guard = g_timeout_add(
                vztest::kHangSeconds * 1000,
                [](gpointer w) -> gboolean
                {
                    ADD_FAILURE() << "the kit's loop did not end";
                    static_cast<SWin*>(w)->QuitWindowLoop();
                    return G_SOURCE_CONTINUE;
                },
                &win);
            win.RunWindowLoop();
            g_source_remove(guard);
            result = kit_result;
        }
        else
        {
            SDL_Window* game = nullptr;
            if (c.over == Over::Game)
            {
                EXPECT_TRUE(EngMiscStartVideo_LNX());
                game = SDL_CreateWindow("game", 0, 0, 320, 200, SDL_WINDOW_HIDDEN);
                EXPECT_NE(nullptr, game) << SDL_GetError();
                eng_main_sdl_window = game;
                *parent = game ? EngWindowXid_LNX() : 0;
                EXPECT_NE(0u, *parent);
            }
            if (c.with_cancel)
                result = EngMiscShowOkCancelPopup_LNX(c.kind, c.title, kText);
            else
                EngMiscShowPopupMessage_LNX(c.kind, c.title, kText);
            eng_main_sdl_window = nullptr;
            if (game)
                SDL_DestroyWindow(game);
        }
        g_source_remove(source);
        return result;
    }

    Watchdog watchdog{60};
};

TEST_F(PopupBoxGtk, ShowsTheBoxAndGivesTheAnswer)
{
    const Case cases[] = {
        {"warning, OK clicked", 0, 1, "Nothing Will Be Saved", Over::Nothing, Answer::OkButton, 0},
        {"information without a title, Escape", 0, 0, nullptr, Over::Game, Answer::EscapeKey, 0},
        {"over the kit's window, OK clicked", 0, 0, "Anti-Aliasing", Over::Kit, Answer::OkButton, 0},
        {"question, OK clicked", 1, 2, "Error Running Program", Over::Nothing, Answer::OkButton, 1},
        {"question, Cancel clicked", 1, 2, "Error Running Program", Over::Game, Answer::CancelButton, 0},
        {"question, Return", 1, 1, "Update", Over::Kit, Answer::ReturnKey, 1},
        {"question, Escape", 1, 2, "Update", Over::Nothing, Answer::EscapeKey, 0},
        {"question over the kit's window, closed", 1, 0, "Update", Over::Kit, Answer::Close, 0},
        {"question, destroyed", 1, 2, "Update", Over::Nothing, Answer::Destroy, 0},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        Seen seen;
        unsigned long parent = 0;
        ::testing::internal::CaptureStderr();
        char result = Show(c, &seen, &parent);
        std::string err = ::testing::internal::GetCapturedStderr();
        ASSERT_TRUE(seen.box) << "no box appeared; standard error: " << err;
        EXPECT_EQ(nullptr, vztest::ShownMessageBox()) << "the box stayed up";
        EXPECT_TRUE(seen.modal);
        EXPECT_EQ(c.kind ? GTK_MESSAGE_WARNING : GTK_MESSAGE_INFO, seen.type);
        EXPECT_EQ(c.kind ? "dialog-warning" : "dialog-information", seen.icon);
        // The title heads the text; without one the text stands alone.
        EXPECT_EQ(c.title ? c.title : "", seen.title);
        EXPECT_EQ(c.title ? c.title : kText, seen.text);
        EXPECT_EQ(c.title ? kText : "", seen.secondary);
        const std::vector<std::string> buttons =
            c.with_cancel ? std::vector<std::string>{"_Cancel", "_OK"} : std::vector<std::string>{"_OK"};
        EXPECT_EQ(buttons, seen.buttons);
        EXPECT_EQ(parent, seen.transient_for);
        if (c.with_cancel)
        {
            EXPECT_EQ(c.want, result);
        }
        EXPECT_EQ(std::string::npos, err.find(kText)) << "the shown box also went to standard error";
        EXPECT_EQ(std::string::npos, err.find("CRITICAL")) << err;
    }
}

TEST_F(PopupBoxGtk, NoOutsideProgramShowsTheBox)
{
    vztest::FakeBoxHelper helper;
    const Case cases[] = {
        {"warning", 0, 1, "Nothing Will Be Saved", Over::Nothing, Answer::OkButton, 0},
        {"over the game's window", 0, 0, "Anti-Aliasing", Over::Game, Answer::OkButton, 0},
        {"question", 1, 2, "Update", Over::Nothing, Answer::OkButton, 1},
        {"question over the game's window", 1, 2, "Update", Over::Game, Answer::CancelButton, 0},
        {"over the kit's window", 0, 0, "Anti-Aliasing", Over::Kit, Answer::OkButton, 0},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        Seen seen;
        unsigned long parent = 0;
        char result = Show(c, &seen, &parent);
        EXPECT_TRUE(seen.box) << "GTK's box was not shown";
        EXPECT_EQ(parent, seen.transient_for);
        if (c.with_cancel)
        {
            EXPECT_EQ(c.want, result);
        }
        EXPECT_FALSE(helper.Ran()) << helper.Starts();
    }
}

} // namespace
