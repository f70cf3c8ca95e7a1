// The screen manager.
#include "EngScreens.h"

#include "EngDebug.h"
#include "EngMain.h"
#include "EngProgram.h"
#include "EngToolkitHooks.h"

_EngToolkitHooks eng_toolkit_hooks = {};

EngScreens::EngScreens(MWin* m, void* o) : mwin(m), owner(o)
{
    if (!mwin)
        DebugErrorAlt(__PRETTY_FUNCTION__, "No mwinp");
}

EngScreens::~EngScreens()
{
    Exit();
}

void EngScreens::Exit()
{
    RemoveAll();
    current_index = -1;
    on = 0;
}

char EngScreens::Add(unsigned id, MWinCollectionController* controller)
{
    for (const _EngScreen& s : screens)
        if (s.id == id)
        {
            DebugErrorAlt(__PRETTY_FUNCTION__, "Screen [%s] already exists.", EngGetFourCharIDAsString(id));
            return 0;
        }
    _EngScreen s;
    ResetScreen(&s);
    s.id = id;
    s.controller = controller;
    screens.push_back(s);
    return 1;
}

_EngScreen* EngScreens::GetScreenFromID(unsigned id, int* index)
{
    for (size_t i = 0; i < screens.size(); i++)
        if (screens[i].id == id)
        {
            if (index)
                *index = int(i);
            return &screens[i];
        }
    DebugErrorAlt(__PRETTY_FUNCTION__, "Screen [%s] not found.", EngGetFourCharIDAsString(id));
    return nullptr;
}

void EngScreens::ResetScreen(_EngScreen* s)
{
    if (!s)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "No screen");
        return;
    }
    s->id = 0;
    s->controller = nullptr;
    s->previous_id = 0;
    s->from_id = 0;
    s->reserved[0] = s->reserved[1] = -1;
}

_EngScreen* EngScreens::CurrentRecord()
{
    if (current_id == 0 || current_index < 0 || current_index >= int(screens.size()))
        return nullptr;
    return &screens[size_t(current_index)];
}

char EngScreens::SetCurrentScreenID(unsigned id)
{
    current_id = 0;
    current_index = -1;
    int index = -1;
    if (!GetScreenFromID(id, &index))
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Screen [%s] not found.", EngGetFourCharIDAsString(id));
        return 0;
    }
    current_id = id;
    current_index = index;
    return 1;
}

char EngScreens::SetCurrentLink(EngUInt32 _EngScreen::*field, unsigned id)
{
    _EngScreen* s = CurrentRecord();
    if (!s)
        return 0;
    s->*field = (id && GetScreenFromID(id, nullptr)) ? id : 0;
    return 1;
}

char EngScreens::SetPreviousScreenID(unsigned id)
{
    return SetCurrentLink(&_EngScreen::previous_id, id);
}

char EngScreens::SetFromScreenID(unsigned id)
{
    return SetCurrentLink(&_EngScreen::from_id, id);
}

unsigned EngScreens::GetCurrentScreenID()
{
    return CurrentRecord() ? current_id : 0;
}

unsigned EngScreens::GetPreviousScreenID()
{
    _EngScreen* s = CurrentRecord();
    return s ? s->previous_id : 0;
}

unsigned EngScreens::GetFromScreenID()
{
    _EngScreen* s = CurrentRecord();
    return s ? s->from_id : 0;
}

void EngScreens::ResetCurrent()
{
    current_index = -1;
    current_id = 0;
}

void EngScreens::CallPreChange()
{
    if (pre_change_cb)
        pre_change_cb(mwin, owner);
}

void EngScreens::CallPostChange()
{
    if (post_change_cb)
        post_change_cb(mwin, owner);
}

void EngScreens::StartCurrent()
{
    if (!mwin)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "No mwinp");
        return;
    }
    if (!eng_toolkit_hooks.is_on || !eng_toolkit_hooks.is_on(mwin))
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "MWin is not on");
        return;
    }
    if (current_id == 0)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "No start screen set.");
        return;
    }
    _EngScreen* s = CurrentRecord();
    if (!s)
        return;
    DebugAssertAlt(s->controller != nullptr, __PRETTY_FUNCTION__, "No controller");
    if (!s->controller)
        return;
    MWinCollectionController* c = s->controller;
    c->CreateCollection(mwin);
    on = 1;
    c->StartingCB();
    if (eng_toolkit_hooks.buttons_changed)
        eng_toolkit_hooks.buttons_changed(mwin);
}

void EngScreens::StopCurrent()
{
    _EngScreen* s = CurrentRecord();
    if (s && s->controller)
        s->controller->RemoveVars();
}

void EngScreens::TurnOn(char start_gui)
{
    if (on)
        return;
    if (start_gui < 0)
        start_gui = (mwin && eng_toolkit_hooks.is_on && eng_toolkit_hooks.is_on(mwin)) ? 0 : 1;
    gui_started = 0;
    if (start_gui)
    {
        if (!mwin)
            DebugErrorAlt(__PRETTY_FUNCTION__, "No mwinp");
        else if (eng_toolkit_hooks.startup && eng_toolkit_hooks.startup(mwin))
            gui_started = 1;
        else
        {
            DebugExitPopupAlt(__PRETTY_FUNCTION__, "Could not start the user interface");
            return;
        }
    }
    CallPreChange();
    StartCurrent();
    CallPostChange();
}

void EngScreens::TurnOff(char mode)
{
    if (!on)
        return;
    StopCurrent();
    if (gui_started < 0)
        DebugErrorAlt(__PRETTY_FUNCTION__, "Internal error.");
    char shut = 0;
    if (mode < 0)
        shut = gui_started == 1 ? 1 : 0;
    else if (mode == 1 || mode == 2)
        shut = 1;
    if (shut)
    {
        if (!mwin)
            DebugErrorAlt(__PRETTY_FUNCTION__, "No mwinp");
        else if (eng_toolkit_hooks.shutdown)
            eng_toolkit_hooks.shutdown(mwin);
    }
    gui_started = -1;
    if (mode == 2)
        ResetCurrent();
    on = 0;
}

void EngScreens::GotoScreen(unsigned id)
{
    unsigned old = current_id;
    if (!GetScreenFromID(id, nullptr))
        return;
    StopCurrent();
    SetCurrentScreenID(id);
    _EngScreen* s = CurrentRecord();
    if (s)
    {
        unsigned known_old = GetScreenFromID(old, nullptr) ? old : 0;
        // GetScreenFromID may not move the list, but take the record again.
        s = CurrentRecord();
        s->previous_id = known_old;
        s->from_id = known_old;
    }
    CallPreChange();
    StartCurrent();
    CallPostChange();
}

void EngScreens::GoBack()
{
    _EngScreen* s = CurrentRecord();
    if (!s)
        return;
    unsigned target = s->previous_id;
    unsigned left = current_id;
    if (!GetScreenFromID(target, nullptr))
        return;
    StopCurrent();
    SetCurrentScreenID(target);
    s = CurrentRecord();
    if (s)
        s->from_id = left;
    CallPreChange();
    StartCurrent();
    CallPostChange();
}

void EngScreens::ReloadCurrentScreen()
{
    StopCurrent();
    CallPreChange();
    StartCurrent();
    CallPostChange();
    if (mwin && eng_toolkit_hooks.buttons_changed)
        eng_toolkit_hooks.buttons_changed(mwin);
}

char EngScreens::Tick()
{
    if (!on)
        return 0;
    _EngScreen* s = CurrentRecord();
    if (s && s->controller)
        s->controller->TickCB();
    if (!eng_main_program || eng_main_program->IsExiting() || !on)
        return 0;
    if (main_tick_cb)
    {
        main_tick_cb(mwin, owner);
        if (!on)
            return 1;
    }
    if (mwin && eng_toolkit_hooks.tick2)
        eng_toolkit_hooks.tick2(mwin);
    return 1;
}

void EngScreens::Render(_MWinRenderStage stage)
{
    if (!on)
        return;
    _EngScreen* s = CurrentRecord();
    if (s && s->controller)
        s->controller->RenderCB(stage);
}

void EngScreens::RemoveScreen(int index)
{
    if (index < 0 || index >= int(screens.size()))
        return;
    _EngScreen& s = screens[size_t(index)];
    if (s.controller)
    {
        if (s.controller->GetScreens(1))
            s.controller->RemoveVars();
        else
            DebugErrorAlt(__PRETTY_FUNCTION__, "Bad controller_p");
    }
    ResetScreen(&screens[size_t(index)]);
}

void EngScreens::RemoveAll()
{
    for (int i = 0; i < int(screens.size()); i++)
        RemoveScreen(i);
    screens.clear();
}
