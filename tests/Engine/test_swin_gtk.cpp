// The native dialog kit on GTK: scripted clicks, selections, closing and the
// quit key, control sizes, texts and pictures, and the GTK helpers.
#include <gtest/gtest.h>

#include <tiffio.h>

#include <chrono>
#include <cstring>
#include <string>
#include <thread>
#include <unistd.h>
#include <vector>

#include "EngDebug.h"
#include "EngDevice.h"
#include "EngProgram.h"
#include "EngTexture.h"
#include "GL/EngDeviceGL.h"
#include "GL/EngTextureGL.h"
#include "Linux/EngGui_LNX.h"
#include "SWin.h"
#include "support/GameName.h"
#include "support/GtkBoxes.h"
#include "support/GtkDrawn.h"
#include "support/GtkKeys.h"
#include "support/JpegEncode.h"
#include "support/PictureFiles.h"
#include "support/KitWindowTest.h"
#include "support/TestSupport.h"

using vztest::Logged;

namespace
{

// Runs GTK until cond holds or the given seconds have passed.
template <typename F> bool SpinUntil(F cond, int seconds = 1)
{
    auto end = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
    while (!cond())
    {
        if (std::chrono::steady_clock::now() > end)
            return false;
        while (gtk_events_pending())
            gtk_main_iteration_do(FALSE);
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    return true;
}

// The UTF-8 text GTK holds for a kit control.
std::string GtkText(GtkWidget* w)
{
    if (GTK_IS_LABEL(w))
        return gtk_label_get_text(GTK_LABEL(w));
    if (GTK_IS_BUTTON(w))
        return gtk_button_get_label(GTK_BUTTON(w));
    if (GTK_IS_ENTRY(w))
        return gtk_entry_get_text(GTK_ENTRY(w));
    GtkTextBuffer* buf = gtk_text_view_get_buffer(GTK_TEXT_VIEW(gtk_bin_get_child(GTK_BIN(w))));
    GtkTextIter a, b;
    gtk_text_buffer_get_bounds(buf, &a, &b);
    gchar* t = gtk_text_buffer_get_text(buf, &a, &b, FALSE);
    std::string out = t;
    g_free(t);
    return out;
}

// Puts UTF-8 text into a control as GTK itself would (typing, pasting).
void SetGtkText(GtkWidget* w, const char* utf8)
{
    if (GTK_IS_LABEL(w))
        gtk_label_set_text(GTK_LABEL(w), utf8);
    else if (GTK_IS_ENTRY(w))
        gtk_entry_set_text(GTK_ENTRY(w), utf8);
    else
        gtk_text_buffer_set_text(gtk_text_view_get_buffer(GTK_TEXT_VIEW(gtk_bin_get_child(GTK_BIN(w)))), utf8,
                                 -1);
}

std::string ComboEntry(GtkWidget* combo, int k)
{
    GtkTreeModel* m = gtk_combo_box_get_model(GTK_COMBO_BOX(combo));
    GtkTreeIter it;
    if (!gtk_tree_model_iter_nth_child(m, &it, nullptr, k))
        return "<none>";
    gchar* t = nullptr;
    gtk_tree_model_get(m, &it, 0, &t, -1);
    std::string out = t ? t : "";
    g_free(t);
    return out;
}

class SWinGtk : public vztest::KitWindowTest
{
protected:
    void TearDown() override
    {
        if (guard)
            g_source_remove(guard);
        KitWindowTest::TearDown();
    }
    GtkWidget* W(int i) { return static_cast<GtkWidget*>(win.GetButtonControl(i)); }
    GtkWidget* Window() { return static_cast<GtkWidget*>(win.GetWindowHandle()); }
    // Ends a loop that the scripted event failed to end.
    void RunWithGuard()
    {
        guard = g_timeout_add(
            vztest::kHangSeconds * 1000,
            [](gpointer w) -> gboolean
            {
                ADD_FAILURE() << "the loop did not end";
                static_cast<SWin*>(w)->QuitWindowLoop();
                return G_SOURCE_REMOVE;
            },
            &win);
        EXPECT_EQ(1, win.RunWindowLoop());
        g_source_remove(guard);
        guard = 0;
    }
    // Clicks button b once the loop runs, then runs it.
    void ClickAndRun(int b)
    {
        g_idle_add(
            [](gpointer w) -> gboolean
            {
                gtk_button_clicked(GTK_BUTTON(w));
                return G_SOURCE_REMOVE;
            },
            W(b));
        RunWithGuard();
    }

    guint guard = 0;
};

int clicks;
void QuitCB(SWin* w)
{
    clicks++;
    w->QuitWindowLoop();
}

TEST_F(SWinGtk, ClickOnAQuittingButtonEndsTheLoop)
{
    clicks = 0;
    int b = win.AddPushButtonToWindow(209, 344, 173, 20, "Start", QuitCB);
    ASSERT_GE(b, 0);
    win.SetDefaultPushButton(b);
    EXPECT_TRUE(gtk_widget_has_default(W(b)));
    ClickAndRun(b);
    EXPECT_EQ(1, clicks);
    EXPECT_EQ(1, win.IsQuitRequested());
    EXPECT_EQ(0, gtk_main_level());
}

void DestroyCB(SWin* w)
{
    clicks++;
    w->DestroyMainWindow();
}

TEST_F(SWinGtk, ClickThatDestroysTheWindowEndsTheLoop)
{
    clicks = 0;
    int b = win.AddPushButtonToWindow(20, 360, 140, 20, "Close", DestroyCB);
    ClickAndRun(b);
    EXPECT_EQ(1, clicks);
    EXPECT_EQ(0, win.IsCreated());
    EXPECT_EQ(0, gtk_main_level());
}

struct Seen
{
    std::vector<std::string> log;
    int* bound;
} seen;

void IntCB(SWin*, int sel)
{
    seen.log.push_back(std::to_string(sel) + "/" + std::to_string(*seen.bound));
}

TEST_F(SWinGtk, TheBoundIntFollowsTheShownEntry)
{
    char strs[3][SWIN_STR_SIZE] = {"Off", "Normal [2x2]", "Strong [4x4]"};
    int list = win.AddListButtonToWindow(140, 274, 168, 20, 3, strs, IntCB);
    ASSERT_GE(list, 0);
    GtkComboBox* combo = GTK_COMBO_BOX(W(list));
    EXPECT_EQ(0, gtk_combo_box_get_active(combo));

    int stored = 7;
    seen = {{}, &stored};
    // Out of the entries: the nearest one is selected, shown, reported once
    // and held by the variable.
    ASSERT_EQ(1, win.ListRegisterIntVariable(list, &stored));
    EXPECT_EQ(2, gtk_combo_box_get_active(combo));
    EXPECT_EQ(2, win.ListGetSel(list));
    EXPECT_EQ(2, stored);
    // Code selecting leaves the variable alone.
    ASSERT_EQ(1, win.ListSetSel(list, 1));
    EXPECT_EQ(1, gtk_combo_box_get_active(combo));
    EXPECT_EQ(2, stored);
    ASSERT_EQ(1, win.ListSetSel(list, 99));
    EXPECT_EQ(2, gtk_combo_box_get_active(combo));
    EXPECT_EQ(2, win.ListGetSel(list));
    ASSERT_EQ(1, win.ListSetStrs(list, 3, strs));
    EXPECT_EQ((std::vector<std::string>{"2/2", "1/2", "2/2"}), seen.log);

    // As the user picks: written first, then the callback.
    gtk_combo_box_set_active(combo, 1);
    EXPECT_EQ(1, stored);
    EXPECT_EQ(1, win.ListGetSel(list));
    EXPECT_EQ((std::vector<std::string>{"2/2", "1/2", "2/2", "1/1"}), seen.log);
}

// The index of the item a popup menu marks as active, or -1.
int ActiveMenuItem(GtkWidget* menu)
{
    GtkWidget* active = gtk_menu_get_active(GTK_MENU(menu));
    GList* items = gtk_container_get_children(GTK_CONTAINER(menu));
    int index = active ? g_list_index(items, active) : -1;
    g_list_free(items);
    return index;
}

// A selection one past the last entry (the number of entries), from code or
// from a bound variable, shows the last entry, and the opened list marks it
// and is scrolled to it, at each window size; a move up from it in the open
// list is the player's choice. The list sits at the window's foot.
TEST_F(SWinGtk, ASelectionOnePastTheLastShowsTheLastEntryInTheOpenList)
{
    const int n = 100;
    static char strs[n][SWIN_STR_SIZE];
    for (int k = 0; k < n; k++)
        snprintf(strs[k], SWIN_STR_SIZE, "Entry %d", k);
    const struct
    {
        int w, h;
    } sizes[] = {{600, 430}, {300, 120}};
    for (const auto& z : sizes)
    {
        SCOPED_TRACE(testing::Message() << z.w << " x " << z.h);
        win.DestroyMainWindow();
        _SWinCreateInfo info = {};
        info.x = info.y = -1;
        info.width = z.w;
        info.height = z.h;
        ASSERT_EQ(1, win.CreateMainWindow(&info));
        int list = win.AddListButtonToWindow(10, z.h - 30, 150, 20, n, strs, IntCB);
        ASSERT_GE(list, 0);
        GtkComboBox* combo = GTK_COMBO_BOX(W(list));

        int stored = n;
        seen = {{}, &stored};
        ASSERT_EQ(1, win.ListRegisterIntVariable(list, &stored));
        EXPECT_EQ(n - 1, stored);
        EXPECT_EQ(n - 1, win.ListGetSel(list));
        EXPECT_EQ(n - 1, gtk_combo_box_get_active(combo));
        ASSERT_EQ(1, win.ListSetSel(list, 0));
        ASSERT_EQ(1, win.ListSetSel(list, n));
        EXPECT_EQ(n - 1, win.ListGetSel(list));
        EXPECT_EQ(n - 1, gtk_combo_box_get_active(combo));
        const std::string last = std::to_string(n - 1);
        EXPECT_EQ((std::vector<std::string>{last + "/" + last, "0/" + last, last + "/" + last}), seen.log);

        ASSERT_TRUE(SpinUntil([&] { return gtk_widget_get_mapped(Window()); }, 10));
        gtk_combo_box_popup(combo);
        AtkObject* acc = gtk_combo_box_get_popup_accessible(combo);
        ASSERT_NE(nullptr, acc);
        GtkWidget* menu = gtk_accessible_get_widget(GTK_ACCESSIBLE(acc));
        ASSERT_TRUE(GTK_IS_MENU(menu));
        ASSERT_TRUE(SpinUntil([&] { return gtk_widget_get_mapped(menu); }, 10));
        EXPECT_EQ(n - 1, ActiveMenuItem(menu));
        // The open list is taller than the screen: it is scrolled to the entry.
        GtkWidget* top = gtk_widget_get_toplevel(menu);
        GtkWidget* item = gtk_menu_get_active(GTK_MENU(menu));
        ASSERT_NE(nullptr, item);
        int row_h = gtk_widget_get_allocated_height(item), top_h = gtk_widget_get_allocated_height(top);
        EXPECT_LT(top_h, n * row_h);
        int x = -1, y = -1;
        ASSERT_TRUE(gtk_widget_translate_coordinates(item, top, 0, 0, &x, &y));
        EXPECT_GE(y, 0);
        EXPECT_LE(y + row_h, top_h);

        vztest::PressGtkKey(top, GDK_KEY_Up);
        vztest::PressGtkKey(top, GDK_KEY_Return);
        EXPECT_TRUE(SpinUntil([&] { return !gtk_widget_get_mapped(menu); }, 10));
        EXPECT_EQ(n - 2, gtk_combo_box_get_active(combo));
        EXPECT_EQ(n - 2, win.ListGetSel(list));
        EXPECT_EQ(n - 2, stored);
    }
}

TEST_F(SWinGtk, CloseButtonEndsTheLoopAndKeepsTheWindow)
{
    g_idle_add(
        [](gpointer w) -> gboolean
        {
            gtk_window_close(GTK_WINDOW(w));
            return G_SOURCE_REMOVE;
        },
        Window());
    RunWithGuard();
    EXPECT_EQ(1, win.IsQuitRequested());
    ASSERT_EQ(1, win.IsCreated());
    EXPECT_TRUE(GTK_IS_WINDOW(Window()));
    EXPECT_TRUE(gtk_widget_get_visible(Window()));
    win.DestroyMainWindow();
    EXPECT_EQ(nullptr, win.GetWindowHandle());
}

TEST_F(SWinGtk, WindowDestroyedElsewhereEndsTheLoopAndThePump)
{
    g_idle_add(
        [](gpointer w) -> gboolean
        {
            gtk_widget_destroy(GTK_WIDGET(w));
            return G_SOURCE_REMOVE;
        },
        Window());
    RunWithGuard();
    EXPECT_EQ(1, win.IsQuitRequested());
    EXPECT_EQ(0, win.IsCreated());
    EXPECT_EQ(nullptr, win.GetWindowHandle());
    EXPECT_EQ(0, gtk_main_level());
    EXPECT_EQ(0, win.ProcessAnyWindowsMessages());

    // A new window runs as before; one destroyed under the pump stops it.
    _SWinCreateInfo info = {};
    info.x = info.y = -1;
    info.width = 600;
    info.height = 430;
    ASSERT_EQ(1, win.CreateMainWindow(&info));
    clicks = 0;
    ClickAndRun(win.AddPushButtonToWindow(209, 344, 173, 20, "Start", QuitCB));
    EXPECT_EQ(1, clicks);
    win.DestroyMainWindow();
    ASSERT_EQ(1, win.CreateMainWindow(&info));
    EXPECT_NE(0, win.ProcessAnyWindowsMessages());
    gtk_widget_destroy(Window());
    EXPECT_EQ(0, win.ProcessAnyWindowsMessages());
    EXPECT_EQ(0, win.IsCreated());
}

TEST_F(SWinGtk, CtrlQEndsThePump)
{
    ASSERT_TRUE(SpinUntil([&] { return gtk_widget_get_mapped(Window()); }));
    EXPECT_NE(0, win.ProcessAnyWindowsMessages());

    vztest::PutGtkKey(Window(), GDK_KEY_q, GDK_KEY_PRESS, GDK_CONTROL_MASK);

    char r = 1;
    for (int k = 0; k < 100 && r != 0; k++)
        r = win.ProcessAnyWindowsMessages();
    EXPECT_EQ(0, r);
    EXPECT_EQ(0, win.ProcessAnyWindowsMessages());
    EXPECT_EQ(1, win.IsCreated());
}

TEST_F(SWinGtk, RowsStayInsideTheirRectangles)
{
    char strs[2][SWIN_STR_SIZE] = {"Fullscreen", "Windowed"};
    std::vector<int> ids = {
        win.AddTextButtonToWindow(32, 183, 96, 20, "Screen Size:", SWIN_ALIGN_RIGHT),
        win.AddChoiceButtonToWindow(140, 183, 208, 20, 2, strs, nullptr),
        win.AddPushButtonToWindow(403, 124, 173, 20, "Check for new version", nullptr),
        win.AddButtonToWindow(SWIN_BUT_EDIT_TEXT, 10, 213, 200, 20, "edit"),
        win.AddPushButtonToWindow(320, 274, 32, 20, "?", nullptr),
    };
    for (int i : ids)
        ASSERT_GE(i, 0);
    ASSERT_TRUE(SpinUntil(
        [&]
        {
            GtkAllocation a;
            gtk_widget_get_allocation(W(ids.back()), &a);
            return a.width > 1;
        }));
    for (int i : ids)
    {
        SCOPED_TRACE(i);
        GtkAllocation a;
        gtk_widget_get_allocation(W(i), &a);
        int x, y, w, h;
        win.GetButtonPos(i, &x, &y, &w, &h);
        EXPECT_EQ(x, a.x);
        EXPECT_EQ(y, a.y);
        EXPECT_EQ(w, a.width);
        EXPECT_EQ(h, a.height);
    }
}

TEST_F(SWinGtk, TextsOfTheControls)
{
    int label = win.AddTextButtonToWindow(0, 22, 400, 20, "Updating", SWIN_ALIGN_CENTRE);
    int one_line = win.AddButtonToWindow(SWIN_BUT_EDIT_TEXT, 10, 50, 200, 20, "");
    int reply = win.AddButtonToWindow(SWIN_BUT_EDIT_TEXT, 20, 80, 560, 200, "");
    int push = win.AddPushButtonToWindow(480, 360, 100, 20, "Close", nullptr);
    EXPECT_TRUE(GTK_IS_ENTRY(W(one_line)));
    ASSERT_TRUE(GTK_IS_SCROLLED_WINDOW(W(reply)));
    EXPECT_EQ(GTK_WRAP_WORD_CHAR,
              gtk_text_view_get_wrap_mode(GTK_TEXT_VIEW(gtk_bin_get_child(GTK_BIN(W(reply))))));
    EXPECT_FLOAT_EQ(0.5f, gtk_label_get_xalign(GTK_LABEL(W(label))));

    // The kit's texts are Latin-1; GTK holds them as UTF-8.
    struct Case
    {
        const char* latin1;
        const char* shown;
    } cases[] = {
        {"Checking for updates ...", "Checking for updates ..."},
        {"", ""},
        {"caf\xE9 \xA9", "caf\xC3\xA9 \xC2\xA9"},
        {"Zo\xEB", "Zo\xC3\xAB"},
        {"\xC3\xA9", "\xC3\x83\xC2\xA9"}, // two Latin-1 characters, though it reads as UTF-8
        {"line one\nline two", "line one\nline two"},
    };
    for (int i : {label, one_line, reply, push})
        for (const Case& c : cases)
        {
            SCOPED_TRACE(testing::Message() << i << " " << c.shown);
            if (i == one_line && strchr(c.latin1, '\n'))
                continue;
            ASSERT_EQ(1, win.SetButtonText(i, c.latin1));
            EXPECT_EQ(c.shown, GtkText(W(i)));
            if (i == push)
                continue;
            char buf[64];
            ASSERT_EQ(1, win.GetButtonText(i, buf, sizeof(buf)));
            EXPECT_STREQ(c.latin1, buf);
        }

    // What GTK holds (typed, pasted) comes back as Latin-1, a character it
    // cannot hold as "?"; the static and edit helpers read the same.
    struct Back
    {
        const char* utf8;
        const char* latin1;
    } backs[] = {
        {"Zo\xC3\xAB", "Zo\xEB"},
        {"5 \xE2\x82\xAC", "5 ?"},
        {"caf\xC3\xA9", "caf\xE9"},
    };
    for (int i : {label, one_line, reply})
        for (const Back& b : backs)
        {
            SCOPED_TRACE(testing::Message() << i << " " << b.utf8);
            SetGtkText(W(i), b.utf8);
            char buf[64];
            ASSERT_EQ(1, win.GetButtonText(i, buf, sizeof(buf)));
            EXPECT_STREQ(b.latin1, buf);
            char helper[64] = "";
            EXPECT_EQ(1, i == label ? EngGuiGetStaticTextString_LNX(W(i), helper, sizeof(helper))
                                    : EngGuiGetEditableTextString_LNX(W(i), helper, sizeof(helper)));
            EXPECT_STREQ(b.latin1, helper);
            // "Zo\xEB" fills 4 bytes exactly.
            char four[4];
            if (strcmp(b.latin1, "Zo\xEB") == 0)
            {
                EXPECT_EQ(1, i == label ? EngGuiGetStaticTextString_LNX(W(i), four, sizeof(four))
                                        : EngGuiGetEditableTextString_LNX(W(i), four, sizeof(four)));
                EXPECT_STREQ("Zo\xEB", four);
            }
        }

    // Entries of a list, and the helpers' menu texts.
    char entries[2][SWIN_STR_SIZE] = {"caf\xE9", "\xC3\xA9"};
    int list = win.AddListButtonToWindow(10, 300, 200, 20, 2, entries, nullptr);
    ASSERT_GE(list, 0);
    GtkTreeModel* menu = nullptr;
    ASSERT_EQ(1, EngGuiGetPopupButtonMenu_LNX(W(list), &menu));
    EXPECT_EQ("caf\xC3\xA9", ComboEntry(W(list), 0));
    EXPECT_EQ("\xC3\x83\xC2\xA9", ComboEntry(W(list), 1));
    char item[16];
    EngGuiGetMenuItemString_LNX(menu, 0, item, sizeof(item));
    EXPECT_STREQ("caf\xE9", item);
    EngGuiSetMenuItemText_LNX(menu, 2, "Zo\xEB");
    EXPECT_EQ("Zo\xC3\xAB", ComboEntry(W(list), 1));
    EngGuiGetPopupMenuCurrentText_LNX(menu, W(list), item, sizeof(item));
    EXPECT_STREQ("caf\xE9", item);

    ASSERT_EQ(1, win.SetButtonText(push, "Cancel"));
    EXPECT_STREQ("Cancel", gtk_button_get_label(GTK_BUTTON(W(push))));
    ASSERT_EQ(1, win.SetButtonTextAlign(push, SWIN_ALIGN_LEFT));

    win.DisableButton(push);
    EXPECT_FALSE(gtk_widget_get_sensitive(W(push)));
    win.HideButton(label);
    EXPECT_FALSE(gtk_widget_get_visible(W(label)));
    win.MoveButton(push, 20, 360, 140, -1);
    int w = 0, h = 0;
    gtk_widget_get_size_request(W(push), &w, &h);
    EXPECT_EQ(140, w);
    EXPECT_EQ(20, h);
}

TEST_F(SWinGtk, TypedTextReadsBackAsLatin1)
{
    int name = win.AddButtonToWindow(SWIN_BUT_EDIT_TEXT, 10, 50, 200, 20, "");
    ASSERT_GE(name, 0);
    ASSERT_TRUE(SpinUntil([&] { return gtk_widget_get_mapped(Window()); }));
    gtk_widget_grab_focus(W(name));
    vztest::PressGtkKey(Window(), GDK_KEY_Z, GDK_SHIFT_MASK);
    for (guint key : {GDK_KEY_o, GDK_KEY_ediaeresis})
        vztest::PressGtkKey(Window(), key);
    ASSERT_TRUE(SpinUntil([&] { return g_utf8_strlen(gtk_entry_get_text(GTK_ENTRY(W(name))), -1) == 3; }))
        << gtk_entry_get_text(GTK_ENTRY(W(name)));
    EXPECT_STREQ("Zo\xC3\xAB", gtk_entry_get_text(GTK_ENTRY(W(name))));
    char buf[16];
    ASSERT_EQ(1, win.GetButtonText(name, buf, sizeof(buf)));
    EXPECT_STREQ("Zo\xEB", buf);
}

// A window with edit texts opens with the keyboard in the first of them,
// wherever its default button is: the keys typed go there, and Return is
// the default button's.
TEST_F(SWinGtk, TheKeyboardStartsInTheFirstEditText)
{
    const struct
    {
        const char* name;
        bool button_first; // the default button is added before the edit texts
        int second_height; // of a second edit text after the first (over 30: several lines), or 0
    } rows[] = {
        {"the default button before the edit text", true, 0},
        {"the default button after the edit text", false, 0},
        {"a line, then a text of several lines", true, 60},
        {"two lines", false, 20},
    };
    for (const auto& r : rows)
    {
        SCOPED_TRACE(r.name);
        if (win.IsCreated())
            win.DestroyMainWindow();
        _SWinCreateInfo info = {};
        info.x = info.y = -1;
        info.width = 400;
        info.height = 230;
        ASSERT_EQ(1, win.CreateMainWindow(&info));
        clicks = 0;
        int ok = -1;
        if (r.button_first)
            ok = win.AddPushButtonToWindow(300, 150, 80, 20, "OK", QuitCB);
        win.AddTextButtonToWindow(10, 10, 200, 20, "Name:", SWIN_ALIGN_LEFT);
        const int first = win.AddButtonToWindow(SWIN_BUT_EDIT_TEXT, 10, 40, 200, 20, "");
        const int second = r.second_height
                               ? win.AddButtonToWindow(SWIN_BUT_EDIT_TEXT, 10, 70, 200, r.second_height, "")
                               : -1;
        if (!r.button_first)
            ok = win.AddPushButtonToWindow(300, 150, 80, 20, "OK", QuitCB);
        ASSERT_GE(first, 0);
        ASSERT_GE(ok, 0);
        win.SetDefaultPushButton(ok);
        g_idle_add(
            [](gpointer w) -> gboolean
            {
                GtkWidget* window = static_cast<GtkWidget*>(w);
                for (guint key : {GDK_KEY_a, GDK_KEY_b, GDK_KEY_Return})
                    vztest::PressGtkKey(window, key);
                return G_SOURCE_REMOVE;
            },
            Window());
        RunWithGuard();
        EXPECT_EQ(1, clicks) << "Return did not reach the default button";
        char buf[16] = "";
        win.GetButtonText(first, buf, sizeof(buf));
        EXPECT_STREQ("ab", buf);
        if (second >= 0)
        {
            win.GetButtonText(second, buf, sizeof(buf));
            EXPECT_STREQ("", buf);
        }
    }
}

TEST_F(SWinGtk, PictureIsScaledToFit)
{
    GdkPixbuf* src = gdk_pixbuf_new(GDK_COLORSPACE_RGB, FALSE, 8, 400, 100);
    gdk_pixbuf_fill(src, 0x3050a0ff);
    std::string path = dir.File("TitleButton.png");
    ASSERT_TRUE(gdk_pixbuf_save(src, path.c_str(), "png", nullptr, nullptr));
    g_object_unref(src);

    int pic = win.AddPictureButtonToWindow(16, 8, 200, 108, path.c_str());
    ASSERT_GE(pic, 0);
    GdkPixbuf* shown = gtk_image_get_pixbuf(GTK_IMAGE(W(pic)));
    ASSERT_NE(nullptr, shown);
    EXPECT_EQ(200, gdk_pixbuf_get_width(shown));
    EXPECT_EQ(50, gdk_pixbuf_get_height(shown));

    // Not an image: refused, nothing shown changes.
    vztest::WriteFile(dir.File("bad.png"), "not a picture");
    EXPECT_EQ(0, win.PictureSetFromFile(pic, dir.File("bad.png").c_str()));
    EXPECT_TRUE(Logged("Could not load picture"));
    EXPECT_EQ(shown, gtk_image_get_pixbuf(GTK_IMAGE(W(pic))));

    // A picture control that cannot show its file is not made: no widget is
    // left in the window and its slot stays free, however often it fails.
    GtkWidget* fixed = gtk_bin_get_child(GTK_BIN(Window()));
    auto widgets = [&]
    {
        GList* children = gtk_container_get_children(GTK_CONTAINER(fixed));
        int n = int(g_list_length(children));
        g_list_free(children);
        return n;
    };
    ASSERT_EQ(1, widgets());
    for (int k = 0; k < SWIN_MAX_BUTTONS; k++)
    {
        ASSERT_EQ(-1, win.AddPictureButtonToWindow(16, 8, 200, 108,
                                                   dir.File(k % 2 ? "bad.png" : "none.png").c_str()));
        ASSERT_EQ(1, win.GetNumButtons());
        ASSERT_EQ(1, widgets());
    }
    EXPECT_EQ(1, win.AddPushButtonToWindow(20, 360, 140, 20, "Start", nullptr));
}

// Every line of the log ring.
std::vector<std::string> LogLines()
{
    std::vector<std::string> lines;
    for (int i = 0; i < DebugGetNumMessages(); i++)
        lines.push_back(DebugGetMessage(i)->text);
    return lines;
}

std::string LineWith(const std::vector<std::string>& lines, const std::string& text)
{
    for (const std::string& l : lines)
        if (l.find(text) != std::string::npos)
            return l;
    return std::string();
}

// What the textures make of a file: its pixels as a texture in memory (4
// channels, colours premultiplied by alpha), or the reason it is refused;
// "" when they do not read its format at all.
struct TextureView
{
    bool reads = false, loaded = false;
    int w = 0, h = 0;
    std::vector<unsigned char> px;
    std::string reason;
};

TextureView AsTexture(const std::string& path)
{
    // A device half without any GL context, as on a device of any size.
    eng_main_device_type = ENG_DEVICE_TYPE_GL;
    eng_main_device_gl = new EngDeviceGL(nullptr);
    eng_main_device_gl->power_of_two_needed = 0;
    TextureView v;
    DebugClearLog();
    {
        EngTexture t;
        v.loaded = t.LoadFromFileToMemory(path.c_str(), 1, 2, 0) != 0;
        if (v.loaded)
        {
            const EngTextureGL* gl = t.GetGL();
            v.w = gl->mem_width, v.h = gl->mem_height;
            if (gl->mem_channels == 4)
                v.px.assign(gl->mem_pixels, gl->mem_pixels + size_t(v.w) * v.h * 4);
        }
    }
    const std::string failed = LineWith(LogLines(), "Load failed <");
    if (!failed.empty())
        v.reason = failed.substr(failed.find("Load failed <") + 13,
                                 failed.rfind('>') - failed.find("Load failed <") - 13);
    v.reads = v.loaded || (v.reason.find("Image kind not supported") == std::string::npos &&
                           v.reason.find("Unknown image kind") == std::string::npos);
    delete eng_main_device_gl;
    eng_main_device_gl = nullptr;
    eng_main_device_type = 0;
    return v;
}

// Each format the kit shows comes with its pixels; one whose decoding the
// engine does not bound (JPEG data inside another format, however its
// header is written), or whose structure does not hold together, or of a
// kind the engine does not read, is refused with its reason and the file's
// name. Of the formats the textures read too, the kit shows a texture's
// pixels and refuses what a texture refuses, for the same reason. Nothing
// reaches standard error.
TEST_F(SWinGtk, PicturesAreShownWithTheirPixelsOrRefusedWithTheirReason)
{
    const uint16_t w = 16, h = 8;
    std::vector<unsigned char> px(size_t(w) * h * 3);
    for (size_t i = 0; i < px.size(); i++)
        px[i] = (unsigned char)(i * 7);
    // A row of one colour, which a run-length writer packs into a run.
    for (size_t i = 0; i < size_t(w) * 3; i++)
        px[size_t(w) * 3 * 2 + i] = (unsigned char)(40 + i % 3 * 50);
    // rgba's alpha falls from 255 to 128 and holds every colour in steps of
    // 2 (of 255) or finer once premultiplied.
    std::vector<unsigned char> rgba, opaque, grey, grey_alpha, bitmap, five_bits, sixteen, holes;
    for (size_t i = 0; i < size_t(w) * h; i++)
    {
        const unsigned char* p = &px[i * 3];
        const unsigned char a = (unsigned char)(255 - i), b = p[0] < 128 ? 0 : 255;
        rgba.insert(rgba.end(), {p[0], p[1], p[2], a});
        opaque.insert(opaque.end(), {p[0], p[1], p[2], 255});
        grey.insert(grey.end(), {p[0], p[0], p[0], 255});
        grey_alpha.insert(grey_alpha.end(), {p[0], p[0], p[0], a});
        bitmap.insert(bitmap.end(), {b, b, b, 255});
        five_bits.insert(five_bits.end(),
                         {(unsigned char)((p[0] >> 3) * 255 / 31), (unsigned char)((p[1] >> 3) * 255 / 31),
                          (unsigned char)((p[2] >> 3) * 255 / 31), 255});
        // 16 colours; holes has every fifth pixel transparent.
        const unsigned char c = (unsigned char)(i % 16 * 17);
        sixteen.insert(sixteen.end(), {c, (unsigned char)(255 - c), (unsigned char)(c / 2), 255});
        if (i % 5)
            holes.insert(holes.end(), {c, (unsigned char)(255 - c), (unsigned char)(c / 2), 255});
        else
            holes.insert(holes.end(), {0, 0, 0, 0});
    }
    const std::string raw(px.begin(), px.end());
    const std::string jpeg = vztest::EncodeJpeg(px, w, h, 3, JCS_RGB);
    const vztest::TiffPage plain = {raw, w, h};
    auto jpeg_page = [&](uint16_t compression, uint16_t type) {
        return vztest::TiffPage{jpeg, w, h, compression, type};
    };
    auto big_endian = []
    {
        vztest::TiffLayout l;
        l.little = false;
        return l;
    };
    auto big = []
    {
        vztest::TiffLayout l;
        l.big = true;
        return l;
    };
    vztest::TiffLayout wrapping_second = big();
    wrapping_second.last_next_set = true;
    wrapping_second.last_next = 0xFFFFFFFFFFFFFFF8ull;
    // The first directory's offset near 2^64, and nothing else.
    const std::string wrapping_first("II\x2B\0\x08\0\0\0\xF8\xFF\xFF\xFF\xFF\xFF\xFF\xFF", 16);
    // An icon file whose one image is JPEG data.
    std::string icns = std::string("icns") + std::string(4, '\0') + "ic08" + std::string(4, '\0') + jpeg;
    for (int k = 0; k < 4; k++)
        icns[size_t(7 - k)] = char(icns.size() >> (8 * k)),
                        icns[size_t(15 - k)] = char((icns.size() - 8) >> (8 * k));
    // A colour-mapped TGA whose indexes are said to be 24 bits long.
    std::string wide_indexes = vztest::Tga(1, 24, w, h, sixteen);
    wide_indexes[16] = 24;
    const std::string tga = vztest::Tga(2, 24, w, h, rgba);
    const std::string jpeg_refusal = "TIFF pictures of JPEG data are not supported";
    struct Case
    {
        const char* name;
        std::string data;
        const char* refusal; // null: shown with the pixels of want (or, with none, a texture's)
        const std::vector<unsigned char>* want;
        const char* file = "picture";
        int off_by = 0; // the most a colour may differ (an alpha premultiplied on the way)
    } const cases[] = {
        {"uncompressed TIFF, little-endian", vztest::Tiff({plain}), nullptr, &opaque},
        {"uncompressed TIFF, big-endian", vztest::Tiff({plain}, big_endian()), nullptr, &opaque},
        {"uncompressed BigTIFF", vztest::Tiff({plain}, big()), nullptr, &opaque},
        {"LZW TIFF as libtiff writes it",
         vztest::LibtiffWritten(dir.File("lzw.tif"), COMPRESSION_LZW, px, w, h), nullptr, &opaque},
        {"PackBits TIFF as libtiff writes it",
         vztest::LibtiffWritten(dir.File("pb.tif"), COMPRESSION_PACKBITS, px, w, h), nullptr, &opaque},
        {"deflate TIFF as libtiff writes it",
         vztest::LibtiffWritten(dir.File("zip.tif"), COMPRESSION_ADOBE_DEFLATE, px, w, h), nullptr, &opaque},
        {"TIFF with alpha as libtiff writes it",
         vztest::LibtiffWritten(dir.File("a.tif"), COMPRESSION_LZW, rgba, w, h, 4), nullptr, &rgba, "picture",
         1},
        {"TIFF of JPEG data", vztest::Tiff({jpeg_page(7, 3)}), jpeg_refusal.c_str(), nullptr},
        {"TIFF of old-style JPEG data", vztest::Tiff({jpeg_page(6, 3)}, big_endian()), jpeg_refusal.c_str(),
         nullptr},
        {"TIFF of JPEG data, its compression a BYTE", vztest::Tiff({jpeg_page(7, 1)}), jpeg_refusal.c_str(),
         nullptr},
        {"TIFF of JPEG data, its compression an SSHORT", vztest::Tiff({jpeg_page(7, 8)}, big_endian()),
         jpeg_refusal.c_str(), nullptr},
        {"TIFF of JPEG data, its compression an SLONG", vztest::Tiff({jpeg_page(7, 9)}), jpeg_refusal.c_str(),
         nullptr},
        {"BigTIFF of JPEG data, its compression a LONG8", vztest::Tiff({jpeg_page(7, 16)}, big()),
         jpeg_refusal.c_str(), nullptr},
        {"TIFF whose second page is JPEG data", vztest::Tiff({plain, jpeg_page(7, 3)}), jpeg_refusal.c_str(),
         nullptr},
        {"BigTIFF whose first directory's offset wraps", wrapping_first, "Could not read the TIFF picture",
         nullptr},
        {"BigTIFF whose second directory's offset wraps", vztest::Tiff({plain}, wrapping_second),
         "Could not read the TIFF picture", nullptr},
        {"JPEG", jpeg, nullptr, nullptr},
        {"BMP", vztest::Bmp(w, h, rgba), nullptr, &opaque},
        {"BMP of 1 bit a pixel", vztest::Bmp(w, h, bitmap, {1}), nullptr, &bitmap},
        {"BMP of 4 bits a pixel", vztest::Bmp(w, h, sixteen, {4}), nullptr, &sixteen},
        {"BMP of 8 bits a pixel", vztest::Bmp(w, h, opaque, {8}), nullptr, &opaque},
        {"BMP of 16 bits a pixel", vztest::Bmp(w, h, opaque, {16}), nullptr, &five_bits, "picture", 1},
        {"BMP of 16 bits a pixel in bit fields", vztest::Bmp(w, h, grey, {16, false, 3}), nullptr, &grey,
         "picture", 8},
        {"BMP stored from the top down", vztest::Bmp(w, h, opaque, {24, true}), nullptr, &opaque},
        {"BMP of 32 bits a pixel", vztest::Bmp(w, h, rgba, {32}), nullptr, &rgba},
        {"BMP of 32 bits a pixel with an alpha mask", vztest::Bmp(w, h, rgba, {32, true, 3}), nullptr, &rgba},
        {"run-length-coded BMP", vztest::Bmp(w, h, opaque, {8, false, 1}),
         "Could not read the BMP picture <PATH>: run-length-coded BMPs are not supported", nullptr},
        // A header asking for 3 GB of itself: the image library's own loader
        // would take them before it reads on.
        {"BMP of a header of 3 GB", std::string("BM\0\0\0\0\0\0\0\0\0\0\0\0", 14) + std::string(113, '\xB5'),
         "Could not read the BMP picture", nullptr},
        {"PNG", vztest::Png(w, h, opaque), nullptr, &opaque},
        {"PNG with alpha", vztest::Png(w, h, rgba, {6}), nullptr, &rgba},
        {"PNG of 16 bits a sample", vztest::Png(w, h, rgba, {6, 16}), nullptr, &rgba},
        {"interlaced PNG", vztest::Png(w, h, rgba, {6, 8, true}), nullptr, &rgba},
        {"palette PNG", vztest::Png(w, h, sixteen, {3, 4}), nullptr, &sixteen},
        {"interlaced palette PNG with transparency", vztest::Png(w, h, holes, {3, 8, true}), nullptr, &holes},
        {"grey PNG", vztest::Png(w, h, grey, {0}), nullptr, &grey},
        {"grey PNG of 1 bit a pixel", vztest::Png(w, h, bitmap, {0, 1}), nullptr, &bitmap},
        {"grey PNG with alpha", vztest::Png(w, h, grey_alpha, {4}), nullptr, &grey_alpha},
        {"GIF", vztest::Gif(w, h, sixteen), nullptr, &sixteen},
        {"GIF with transparency", vztest::Gif(w, h, holes), nullptr, &holes},
        {"interlaced GIF of two pictures: the first", vztest::Gif(w, h, sixteen, {true, true}), nullptr,
         &sixteen},
        {"PNM bitmap in text (P1)", vztest::Pnm(1, w, h, opaque), nullptr, &bitmap},
        {"PNM grey in text (P2)", vztest::Pnm(2, w, h, opaque), nullptr, &grey},
        {"PNM colour in text (P3)", vztest::Pnm(3, w, h, opaque), nullptr, &opaque},
        {"PNM bitmap (P4)", vztest::Pnm(4, w, h, opaque), nullptr, &bitmap},
        {"PNM grey (P5)", vztest::Pnm(5, w, h, opaque), nullptr, &grey},
        {"PNM colour (P6)", vztest::Pnm(6, w, h, opaque), nullptr, &opaque},
        {"PNM asking for more pixels than the engine decodes", "P6\n100000 100000\n255\n" + raw,
         "Picture [100000 x 100000] needs 76294 MB, more than 256 MB <PATH>", nullptr},
        // Loaders that take what a header asks for, or decode an inner picture
        // out of the engine's sight.
        {"Mac icon file of JPEG data", icns, "Picture format not supported", nullptr},
        {"Windows icon", std::string("\0\0\1\0\1\0\x10\x10\0\0\1\0\x20\0\0\0\0\x60\0\0\0\x20", 22),
         "Picture format not supported", nullptr},
        {"XPM", "/* XPM */\nstatic char* p[] = {\"1 1 1 1\", \"a c #FF0000\", \"a\"};\n",
         "Picture format not supported", nullptr},
        {"TGA of 24 bits", tga, nullptr, &opaque, "picture.tga"},
        {"TGA of 24 bits, named in capitals", tga, nullptr, &opaque, "PICTURE.TGA"},
        {"TGA of 24 bits, named without its extension", tga, nullptr, &opaque},
        {"TGA of 32 bits", vztest::Tga(2, 32, w, h, rgba), nullptr, &rgba, "picture.tga"},
        {"TGA of 15 bits", vztest::Tga(2, 15, w, h, opaque), nullptr, &five_bits, "picture.tga", 1},
        {"TGA of 24 bits from the top left", vztest::Tga(2, 24, w, h, rgba, vztest::TGA_TOP_LEFT), nullptr,
         &opaque, "picture.tga"},
        {"TGA of 24 bits from the top right", vztest::Tga(2, 24, w, h, rgba, vztest::TGA_TOP_RIGHT), nullptr,
         &opaque, "picture.tga"},
        {"grey TGA", vztest::Tga(3, 8, w, h, rgba), nullptr, &grey, "picture.tga"},
        {"grey TGA with alpha", vztest::Tga(3, 16, w, h, grey_alpha), nullptr, &grey_alpha, "picture.tga"},
        {"colour-mapped TGA", vztest::Tga(1, 24, w, h, sixteen), nullptr, &sixteen, "picture.tga"},
        {"colour-mapped TGA with alpha", vztest::Tga(1, 32, w, h, holes), nullptr, &holes, "picture.tga"},
        {"run-length TGA", vztest::Tga(10, 24, w, h, rgba), nullptr, &opaque, "picture.tga"},
        {"run-length TGA of 32 bits from the bottom right",
         vztest::Tga(10, 32, w, h, rgba, vztest::TGA_BOTTOM_RIGHT), nullptr, &rgba, "picture.tga"},
        {"run-length colour-mapped TGA", vztest::Tga(9, 24, w, h, sixteen), nullptr, &sixteen, "picture.tga"},
        {"run-length grey TGA", vztest::Tga(11, 8, w, h, grey), nullptr, &grey, "picture.tga"},
        {"TGA cut short", tga.substr(0, 18 + 200),
         "Could not read the TGA picture <PATH>: TGA cut short: its pixels need 402 bytes, the file has 218",
         nullptr, "picture.tga"},
        {"colour-mapped TGA of 24-bit indexes", wide_indexes,
         "Could not read the TGA picture <PATH>: colour-mapped TGAs of 24-bit indexes are not supported",
         nullptr, "picture.tga"},
        {"QuickTime picture", std::string("\0\0\0\x56idsc", 8) + std::string(0x4e, '\0'),
         "Picture format not supported", nullptr},
        {"SVG",
         "<svg xmlns='http://www.w3.org/2000/svg' width='16' height='8'><rect width='16' height='8'/></svg>",
         "Picture format not supported", nullptr},
    };
    // A window holds so many controls: a full one makes way for a new one.
    _SWinCreateInfo info = {};
    info.x = info.y = -1;
    info.width = 600;
    info.height = 430;
    auto check = [&](const Case& c)
    {
        SCOPED_TRACE(c.name);
        if (win.GetNumButtons() == SWIN_MAX_BUTTONS)
        {
            win.DestroyMainWindow();
            ASSERT_EQ(1, win.CreateMainWindow(&info));
        }
        ASSERT_FALSE(c.data.empty());
        const std::string path = dir.File(c.file);
        vztest::WriteFile(path, c.data);
        DebugClearLog();
        const int pic = win.AddPictureButtonToWindow(0, 0, w, h, path.c_str());
        const std::vector<std::string> kit_log = LogLines();
        const TextureView texture = AsTexture(path);
        unlink(path.c_str());
        if (c.refusal)
        {
            EXPECT_EQ(-1, pic);
            // The message with the file's name in place of PATH, or followed by it.
            std::string message = c.refusal;
            const size_t at = message.find("PATH");
            if (at != std::string::npos)
                message.replace(at, 4, path);
            else
                message += " <" + path + ">";
            const std::string line = LineWith(kit_log, message);
            EXPECT_FALSE(line.empty()) << (kit_log.empty() ? "" : kit_log[0]);
            if (texture.reads)
            {
                EXPECT_FALSE(texture.loaded) << "a texture shows it";
                EXPECT_FALSE(texture.reason.empty());
                EXPECT_NE(std::string::npos, line.find(": " + texture.reason)) << line << "\n"
                                                                               << texture.reason;
            }
            return;
        }
        ASSERT_GE(pic, 0) << (kit_log.empty() ? "" : kit_log[0]);
        GdkPixbuf* shown = gtk_image_get_pixbuf(GTK_IMAGE(W(pic)));
        ASSERT_NE(nullptr, shown);
        ASSERT_EQ(w, gdk_pixbuf_get_width(shown));
        ASSERT_EQ(h, gdk_pixbuf_get_height(shown));
        const int n = gdk_pixbuf_get_n_channels(shown), stride = gdk_pixbuf_get_rowstride(shown);
        const unsigned char* rows = gdk_pixbuf_read_pixels(shown);
        auto got = [&](int x, int y, int k) { return k < n ? rows[y * stride + x * n + k] : 255; };
        int wrong = 0;
        for (int y = 0; y < h && c.want; y++)
            for (int x = 0; x < w; x++)
                for (int k = 0; k < 4; k++)
                    wrong += std::abs(got(x, y, k) - (*c.want)[(size_t(y) * w + x) * 4 + k]) > c.off_by;
        EXPECT_EQ(0, wrong);
        if (!texture.reads)
            return;
        // A texture's pixels, premultiplied as it keeps them.
        ASSERT_TRUE(texture.loaded) << texture.reason;
        ASSERT_EQ(w, texture.w);
        ASSERT_EQ(h, texture.h);
        ASSERT_EQ(size_t(w) * h * 4, texture.px.size());
        int unlike = 0;
        for (int y = 0; y < h; y++)
            for (int x = 0; x < w; x++)
                for (int k = 0; k < 4; k++)
                {
                    const int a = got(x, y, 3), v = k == 3 ? a : (got(x, y, k) * a + 127) / 255;
                    unlike += v != texture.px[(size_t(y) * w + x) * 4 + k];
                }
        EXPECT_EQ(0, unlike) << "unlike a texture's";
    };
    ::testing::internal::CaptureStderr();
    for (const Case& c : cases)
        check(c);
    // Nor does the image library complain of its loaders ("Bug! loader ...").
    const std::string err = ::testing::internal::GetCapturedStderr();
    EXPECT_EQ(std::string::npos, err.find("GdkPixbuf")) << err;
    EXPECT_EQ(std::string::npos, err.find("CRITICAL")) << err;
}

// The opaque pixels w draws.
int OpaquePixelsDrawn(GtkWidget* w)
{
    const std::vector<unsigned char> px = vztest::DrawnPixels(w);
    int n = 0;
    for (size_t i = 3; i < px.size(); i += 4)
        n += px[i] > 128;
    return n;
}

GtkWidget* FirstImage(GtkWidget* w)
{
    if (GTK_IS_IMAGE(w))
        return w;
    GtkWidget* found = nullptr;
    if (GTK_IS_CONTAINER(w))
    {
        GList* children = gtk_container_get_children(GTK_CONTAINER(w));
        for (GList* l = children; l && !found; l = l->next)
            found = FirstImage(GTK_WIDGET(l->data));
        g_list_free(children);
    }
    return found;
}

// The engine leaves GTK and its image library as a program on it found
// them: after the kit's window started GTK, its picture, an interface file
// and the engine's message box, every format of the image library is on,
// GTK's theme gives its symbolic icons at every size and scale (drawn from
// SVG where it ships no bitmap of that size), the program's own reading of a
// JPEG, SVG, TIFF or BMP file works, and the box draws its icon, with no
// complaint from GTK.
TEST_F(SWinGtk, GtkAndItsImageLibraryStayAsTheProgramHadThem)
{
    ::testing::internal::CaptureStderr();
    const uint16_t w = 16, h = 8;
    std::vector<unsigned char> px, rgba;
    for (int i = 0; i < w * h; i++)
    {
        px.insert(px.end(), {0x30, 0x50, 0xa0});
        rgba.insert(rgba.end(), {0x30, 0x50, 0xa0, 0xff});
    }
    const std::string png = dir.File("picture.png");
    vztest::WriteFile(png, vztest::Png(w, h, rgba));
    EXPECT_GE(win.AddPictureButtonToWindow(0, 0, w, h, png.c_str()), 0);
    const std::string ui = dir.File("spin.ui");
    vztest::WriteFile(
        ui, "<interface><object class=\"GtkWindow\" id=\"W\"><child><object class=\"GtkSpinButton\"/>"
            "</child></object></interface>");
    EngGuiDialogHandlerUPP_LNX upp = nullptr;
    GtkWidget* dialog = nullptr;
    EXPECT_EQ(1, EngGuiLoadDialogFromNib_LNX(ui.c_str(), "W", nullptr, 0, &upp, &dialog));
    if (dialog)
    {
        gtk_widget_show_all(dialog);
        EXPECT_TRUE(SpinUntil([&] { return gtk_widget_get_mapped(dialog) != 0; }, vztest::kHangSeconds));
        EngGuiDestroyDialog_LNX(&upp, &dialog);
    }

    static int drawn;
    drawn = -1;
    const guint look = g_timeout_add(
        10,
        [](gpointer) -> gboolean
        {
            GtkWidget* box = vztest::ShownMessageBox();
            GtkWidget* icon = box ? FirstImage(box) : nullptr;
            if (!icon || !gtk_widget_get_mapped(icon) || gtk_widget_get_allocated_width(icon) <= 1)
                return G_SOURCE_CONTINUE;
            drawn = OpaquePixelsDrawn(icon);
            gtk_dialog_response(GTK_DIALOG(box), GTK_RESPONSE_OK);
            return G_SOURCE_CONTINUE;
        },
        nullptr);
    guard = g_timeout_add(
        vztest::kHangSeconds * 1000,
        [](gpointer) -> gboolean
        {
            ADD_FAILURE() << "the box was not answered";
            if (GtkWidget* box = vztest::ShownMessageBox())
                gtk_dialog_response(GTK_DIALOG(box), GTK_RESPONSE_CANCEL);
            return G_SOURCE_CONTINUE;
        },
        nullptr);
    EXPECT_EQ(1, EngGuiShowMessageBox_LNX(1, "Nothing Will Be Saved", "The data folder cannot be made.", 0));
    g_source_remove(look);
    g_source_remove(guard);
    guard = 0;
    // The warning sign at GTK's dialog size, 48 x 48 pixels, is mostly ink.
    EXPECT_GT(drawn, 48 * 48 / 4);

    GSList* formats = gdk_pixbuf_get_formats();
    for (GSList* l = formats; l; l = l->next)
    {
        GdkPixbufFormat* f = static_cast<GdkPixbufFormat*>(l->data);
        gchar* name = gdk_pixbuf_format_get_name(f);
        EXPECT_FALSE(gdk_pixbuf_format_is_disabled(f)) << name;
        g_free(name);
    }
    g_slist_free(formats);

    GtkIconTheme* theme = gtk_icon_theme_get_default();
    for (const char* name :
         {"pan-down-symbolic", "pan-up-symbolic", "list-add-symbolic", "list-remove-symbolic",
          "window-close-symbolic", "dialog-warning", "dialog-information", "image-missing"})
        for (int size : {16, 20, 40, 48})
            for (int scale : {1, 2})
            {
                GError* e = nullptr;
                GdkPixbuf* icon =
                    gtk_icon_theme_load_icon_for_scale(theme, name, size, scale, GtkIconLookupFlags(0), &e);
                EXPECT_NE(nullptr, icon)
                    << name << " at " << size << " x " << scale << ": " << (e ? e->message : "");
                if (icon)
                    g_object_unref(icon);
                if (e)
                    g_error_free(e);
            }

    const std::string jpeg = dir.File("own.jpg"), tiff = dir.File("own.tif"), bmp = dir.File("own.bmp"),
                      svg = dir.File("own.svg");
    vztest::WriteFile(jpeg, vztest::EncodeJpeg(px, w, h, 3, JCS_RGB));
    vztest::WriteFile(tiff, vztest::Tiff({{std::string(px.begin(), px.end()), w, h}}));
    vztest::WriteFile(bmp, vztest::Bmp(w, h, rgba));
    vztest::WriteFile(svg, "<svg xmlns='http://www.w3.org/2000/svg' width='16' height='8'>"
                           "<rect width='16' height='8' fill='#3050a0'/></svg>");
    for (const std::string& file : {jpeg, tiff, bmp, svg})
    {
        GError* e = nullptr;
        GdkPixbuf* p = gdk_pixbuf_new_from_file(file.c_str(), &e);
        EXPECT_NE(nullptr, p) << file << ": " << (e ? e->message : "");
        if (p)
        {
            const unsigned char* c = gdk_pixbuf_read_pixels(p);
            EXPECT_TRUE(std::abs(c[0] - 0x30) < 8 && std::abs(c[1] - 0x50) < 8 && std::abs(c[2] - 0xa0) < 8)
                << file;
            g_object_unref(p);
        }
        if (e)
            g_error_free(e);
    }
    const std::string err = ::testing::internal::GetCapturedStderr();
    EXPECT_EQ(std::string::npos, err.find("Could not load")) << err;
    EXPECT_EQ(std::string::npos, err.find("CRITICAL")) << err;
}

TEST_F(SWinGtk, Helpers)
{
    int label = win.AddTextButtonToWindow(32, 183, 96, 20, "Mode:", SWIN_ALIGN_RIGHT);
    char buf4[4], buf6[6];
    EXPECT_EQ(-1, EngGuiGetStaticTextString_LNX(W(label), buf4, sizeof(buf4)));
    EXPECT_STREQ("Mod", buf4);
    EXPECT_EQ(1, EngGuiGetStaticTextString_LNX(W(label), buf6, sizeof(buf6)));
    EXPECT_STREQ("Mode:", buf6);
    EXPECT_EQ(0, EngGuiGetStaticTextString_LNX(nullptr, buf6, sizeof(buf6)));

    // Controls are found again by the kit's command IDs.
    GtkWidget* found = nullptr;
    EXPECT_EQ(1, EngGuiGetControl_LNX(Window(), EngFourCC('S', 'W', 'B', 'T'), label, &found));
    EXPECT_EQ(W(label), found);
    EXPECT_EQ(0, EngGuiGetControl_LNX(Window(), EngFourCC('S', 'W', 'B', 'T') + 1, 9, &found));
    EXPECT_TRUE(Logged("Could not get control [id = 9]"));

    // A popup of three entries.
    GtkWidget* combo = gtk_combo_box_text_new();
    g_object_ref_sink(combo);
    GtkTreeModel* menu = nullptr;
    ASSERT_EQ(1, EngGuiGetPopupButtonMenu_LNX(combo, &menu));
    for (const char* s : {"60 Hz", "75 Hz", "85 Hz"})
        EngGuiAddStringToMenu_LNX(menu, s);
    EXPECT_EQ(3, EngGuiGetMenuCount_LNX(menu));
    EXPECT_EQ(0, EngGuiSyncPopupButtonToMenu_LNX(combo));
    EngGuiSetPopupControlCurrentSelection_LNX(combo, 2);
    EXPECT_EQ(2, EngGuiGetPopupControlCurrentSelection_LNX(combo));
    char item[16];
    EngGuiGetPopupMenuCurrentText_LNX(menu, combo, item, sizeof(item));
    EXPECT_STREQ("85 Hz", item);
    EngGuiSetMenuItemText_LNX(menu, 1, "50 Hz");
    EngGuiGetPopupMenuCurrentText_LNX(menu, nullptr, item, sizeof(item));
    EXPECT_STREQ("50 Hz", item);
    EngGuiSetMenuItemText_LNX(menu, 4, "x");
    EXPECT_TRUE(Logged("Could not set menu text to <x>"));
    for (int outside : {9, 3})
    {
        EngGuiSetPopupControlCurrentSelection_LNX(combo, 0);
        EngGuiSetPopupControlCurrentSelection_LNX(combo, outside);
        EXPECT_EQ(2, EngGuiGetPopupControlCurrentSelection_LNX(combo)) << "the nearest entry to " << outside;
    }
    EngGuiResetMenu_LNX(menu);
    EXPECT_EQ(0, EngGuiSyncPopupButtonToMenu_LNX(combo));
    EXPECT_EQ(-1, EngGuiGetPopupControlCurrentSelection_LNX(combo));
    EXPECT_EQ(-1, EngGuiGetPopupButtonMenuRef_LNX(nullptr, &menu));
    g_object_unref(combo);

    // Integer texts.
    GtkWidget* entry = gtk_entry_new();
    g_object_ref_sink(entry);
    struct IntCase
    {
        const char* text;
        int value;
    } ints[] = {{"75", 75}, {"-3 Hz", -3}, {"Hz", 0}, {"99999999999", 0}};
    for (const IntCase& c : ints)
    {
        EngGuiSetEditableTextString_LNX(entry, c.text);
        EXPECT_EQ(c.value, EngGuiGetEditableTextInt_LNX(entry)) << c.text;
    }
    EngGuiSetEditableTextInt_LNX(entry, -2147483647 - 1);
    EXPECT_STREQ("-2147483648", gtk_entry_get_text(GTK_ENTRY(entry)));
    EXPECT_EQ(-1, EngGuiGetEditableTextInt_LNX(nullptr));
    g_object_unref(entry);

    // Check boxes and menu items by command.
    GtkWidget* check = gtk_check_button_new_with_label("x");
    g_object_ref_sink(check);
    EngGuiCheckButton_LNX(check, 1);
    EXPECT_EQ(1, EngGuiIsButtonChecked_LNX(check));
    g_object_unref(check);
    GtkWidget* m = gtk_menu_new();
    g_object_ref_sink(m);
    GtkWidget* a = gtk_check_menu_item_new_with_label("a");
    GtkWidget* b = gtk_check_menu_item_new_with_label("b");
    gtk_menu_shell_append(GTK_MENU_SHELL(m), a);
    gtk_menu_shell_append(GTK_MENU_SHELL(m), b);
    EngGuiSetMenuItemCommandID_LNX(a, EngFourCC('q', 'u', 'i', 't'));
    EngGuiCheckMenuItemUsingCommandId_LNX(m, EngFourCC('q', 'u', 'i', 't'), 1);
    EngGuiEnableMenuItemUsingCommandId_LNX(m, EngFourCC('q', 'u', 'i', 't'), 0);
    EXPECT_EQ(1, EngGuiIsButtonChecked_LNX(a));
    EXPECT_EQ(0, EngGuiIsButtonChecked_LNX(b));
    EXPECT_FALSE(gtk_widget_get_sensitive(a));
    EXPECT_TRUE(gtk_widget_get_sensitive(b));
    g_object_unref(m);

    // A dialog of its own, without a handler: ended from its loop, then destroyed.
    GtkWidget* dialog = gtk_window_new(GTK_WINDOW_TOPLEVEL);
    g_idle_add(
        [](gpointer w) -> gboolean
        {
            EngGuiQuitDialog_LNX(GTK_WIDGET(w));
            return G_SOURCE_REMOVE;
        },
        dialog);
    EXPECT_EQ(1, EngGuiDoDialog_LNX(nullptr, &dialog, 1, 1));
    EXPECT_EQ(nullptr, dialog);
    EXPECT_EQ(0, EngGuiDoDialog_LNX(nullptr, &dialog, 1, 1));
    DebugClearLog();
    EngGuiDestroyDialog_LNX(nullptr, &dialog);
    EXPECT_TRUE(Logged("Bad parameters"));

    // Pictures must exist as files; errors are logged with their GError text.
    DebugClearLog();
    EXPECT_EQ(nullptr, EngGuiCreateCGImageFromBundleResource(""));
    EXPECT_TRUE(Logged("No filename."));
    EXPECT_EQ(nullptr, EngGuiCreateCGImageFromBundleResource(dir.File("none.png").c_str()));
    EXPECT_TRUE(Logged("File does not exist."));
    GError* e = g_error_new_literal(G_FILE_ERROR, G_FILE_ERROR_NOENT, "gone");
    EXPECT_EQ(0, EngGuiIsReturnCodeOk_LNX("Label", e));
    EXPECT_TRUE(Logged("Error: gone (g-file-error-quark)"));
    g_error_free(e);
    EXPECT_EQ(1, EngGuiIsReturnCodeOk_LNX("Label", nullptr));
}

} // namespace
