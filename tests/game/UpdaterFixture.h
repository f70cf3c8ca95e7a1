// The fixture of the updater tests: the dialogs on a scripted backend, a
// plain HTTP server for the version check and a TLS server (with a
// certificate made for the test) for the files, both serving the same
// replies; a home folder with a Desktop.
#pragma once

#include <gtest/gtest.h>

#include <deque>
#include <filesystem>
#include <functional>
#include <map>
#include <mutex>
#include <string>
#include <vector>

#include "EngDebug.h"
#include "EngInternet.h"
#include "PrefFolder.h"
#include "SWin.h"
#include "game/Game.h"
#include "game/OnlineHooks.h"
#include "game/Updater.h"
#include "support/HttpTestServer.h"
#include "support/TestSupport.h"

namespace
{

struct Control
{
    _SWinButtonType kind;
    std::string text;
};

// Events wait at the front of the queue until they can act (return true).
class ScriptedBackend : public SWinBackend
{
public:
    std::deque<Control> controls;
    std::deque<std::function<bool(SWin*)>> events;
    std::vector<std::string> shown; // every non-empty text set on a static text
    std::vector<std::string> edit_texts;
    SWin* owner = nullptr;
    long idle = 0;

    char Start() override { return 1; }
    char GetDesktopSize(int* w, int* h) override
    {
        *w = 1280, *h = 1024;
        return 1;
    }
    void* CreateWindow(SWin* o, int, int, int, int, const char*) override
    {
        owner = o;
        controls.clear();
        idle = 0;
        return this;
    }
    void DestroyWindow(void*) override { owner = nullptr; }
    void* CreateControl(void*, SWin*, int, _SWinButtonType kind, int, int, int, int,
                        const char* text) override
    {
        controls.push_back({kind, text});
        if (kind == SWIN_BUT_EDIT_TEXT)
            edit_texts.push_back(text);
        return &controls.back();
    }
    void DestroyControl(void*) override {}
    char SetText(void* c, _SWinButtonType kind, const char* text) override
    {
        static_cast<Control*>(c)->text = text;
        if (kind == SWIN_BUT_STATIC_TEXT && text[0])
            shown.push_back(text);
        return 1;
    }
    char GetText(void* c, _SWinButtonType, std::string* out) override
    {
        *out = static_cast<Control*>(c)->text;
        return 1;
    }
    char SetTextAlign(void*, _SWinButtonType, _SWinTextAlign) override { return 1; }
    void Enable(void*, char) override {}
    void Show(void*, char) override {}
    void Move(void*, _SWinButtonType, int, int, int, int) override {}
    char SetListEntries(void*, const std::vector<std::string>&) override { return 1; }
    void SetListSel(void*, int) override {}
    int GetListSel(void*) override { return 0; }
    char SetPicture(void*, const char*) override { return 1; }
    void SetDefaultButton(void*, void*) override {}
    void RunLoop() override {}
    void QuitLoop() override {}
    char Pump() override
    {
        if (!events.empty() && owner && events.front()(owner))
        {
            events.pop_front();
            return 1;
        }
        // A reply window nobody answers would wait forever.
        if (++idle > 200000 && owner && HasButton("Download"))
        {
            ADD_FAILURE() << "reply window left waiting";
            owner->QuitWindowLoop();
        }
        return 0;
    }
    bool HasButton(const std::string& text)
    {
        for (const Control& c : controls)
            if (c.kind == SWIN_BUT_PUSH && c.text == text)
                return true;
        return false;
    }
    // Clicks the push button with this text once the window shows it.
    void Click(const std::string& text)
    {
        events.push_back(
            [text](SWin* w)
            {
                for (int i = 0; i < w->GetNumButtons(); i++)
                {
                    Control* c = static_cast<Control*>(w->GetButtonControl(i));
                    if (c && c->kind == SWIN_BUT_PUSH && c->text == text)
                    {
                        w->HandleButtonCallback(i);
                        return true;
                    }
                }
                return false;
            });
    }
};

inline std::vector<std::string> opened;
inline char RecordOpen(const char* path)
{
    opened.push_back(path);
    return 1;
}

class UpdaterTest : public vztest::LogTest
{
protected:
    void SetUp() override
    {
        LogTest::SetUp();
        std::filesystem::create_directories(dir.File("config"));
        std::filesystem::create_directories(desktop);
        vztest::WriteFile(dir.File("config/user-dirs.dirs"), "XDG_DESKTOP_DIR=\"" + desktop + "\"\n");
        PrefFolderSetup("Kestrelbay Vizavu", 0, nullptr, 1);
        data_folder = PrefFolderGetMainFolder();
        ASSERT_EQ(0u, data_folder.find(dir.Path()));
        SWinSetBackend(&backend);
        OnlineSetSiteRoot(server.Url("").c_str());
        online_hooks_open = RecordOpen;
        opened.clear();
        up_result_seconds = 0;
        up_link[0] = 0;
        ASSERT_TRUE(cert.Ok());
        eng_internet_ca_file = cert.CaFile().c_str();
    }
    void TearDown() override
    {
        eng_internet_ca_file = nullptr;
        delete up_swin;
        up_swin = nullptr;
        SWinSetBackend(nullptr);
        OnlineSetSiteRoot(nullptr);
        online_hooks_open = nullptr;
        LogTest::TearDown();
    }
    void Reply(const std::string& path, const std::string& body, int status = 200)
    {
        std::lock_guard<std::mutex> g(lock);
        replies[path] = {status, body};
    }
    vztest::HttpReply Serve(const std::string& target)
    {
        std::lock_guard<std::mutex> g(lock);
        vztest::HttpReply r;
        std::string path = target.substr(0, target.find('?'));
        if (shaped.count(path))
            return shaped[path];
        auto it = replies.find(path);
        if (it == replies.end())
            r.status = 404;
        else
            r.status = it->second.first, r.body = it->second.second;
        if (path == "/slow/big.zip")
            r.stall_after_headers = 20;
        return r;
    }
    std::string Check() { return "/cgi-bin/common/updater/CheckVersionV2.cgi"; }
    // A file where the data folder's parent should be.
    void WriteFileBlocker() { vztest::WriteFile(dir.File("blocker"), "not a folder"); }

    vztest::TempDir dir;
    std::string desktop = dir.File("home/Desktop");
    vztest::ScopedEnv home{"HOME", dir.File("home").c_str()};
    vztest::ScopedEnv config{"XDG_CONFIG_HOME", dir.File("config").c_str()};
    vztest::ScopedEnv data{"XDG_DATA_HOME", dir.File("data").c_str()};
    std::string data_folder;
    ScriptedBackend backend;
    vztest::PopupRecorder popups;
    std::mutex lock;
    std::map<std::string, std::pair<int, std::string>> replies;
    std::map<std::string, vztest::HttpReply> shaped; // whole replies, headers included
    vztest::HttpTestServer server{[this](const std::string& t) { return Serve(t); }, 80, 120};
    vztest::TestCertificate cert;
    // The same replies over TLS, where the files are.
    vztest::HttpTestServer secure{[this](const std::string& t) { return Serve(t); }, 200, 120, &cert};
};

} // namespace
