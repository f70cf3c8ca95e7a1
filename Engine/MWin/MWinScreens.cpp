// The toolkit's screen manager with fades.
#include "MWinScreens.h"

#include <cmath>
#include <new>

#include "EngDebug.h"
#include "EngDevice.h"
#include "EngDim.h"
#include "EngMainLoop.h"
#include "EngProgram.h"
#include "MWin.h"
#include "MWinDesktop.h"

namespace
{
const double kFadeSeconds = 0.15;

void DrawFadeFrame(float darkness)
{
    if (eng_main_program)
        eng_main_program->RenderCB();
    EngDimDarkenScreen(darkness);
    if (eng_main_device)
        eng_main_device->SwapBuffers();
}

void RemoveCollections(MWin* mwin)
{
    if (mwin && mwin->GetDesktop())
        mwin->GetDesktop()->RemoveAllCollections();
}
} // namespace

MWinScreens::MWinScreens(MWin* m, char f) : screens(nullptr), fade(f), mwin(m)
{
    DebugAssertAlt(mwin != nullptr, __PRETTY_FUNCTION__, "No m_mwinp");
    screens = new (std::nothrow) EngScreens(mwin, this);
    DebugAssertAlt(screens != nullptr, __PRETTY_FUNCTION__, "No memory.");
    if (mwin)
    {
        MWinScreens* self = this;
        mwin->SetScreens(&self);
    }
}

MWinScreens::~MWinScreens()
{
    if (screens)
        screens->RemoveAll();
    delete screens;
    screens = nullptr;
    if (mwin)
        mwin->ClearScreens(this);
}

char MWinScreens::SetupAllScreens()
{
    if (!screens)
        return 0;
    screens->RemoveAll();
    screens->RegisterPreChangeCallback(MWinScreens_PreChangingCB);
    screens->RegisterPostChangeCallback(MWinScreens_PostChangingCB);
    if (!SetupProgramScreens())
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Could not setup program's screens");
        return 0;
    }
    return 1;
}

char MWinScreens::AddScreen(unsigned int code, MWinCollectionController* controller)
{
    if (!screens)
        return 0;
    char ok = screens->Add(code, controller);
    if (ok && controller)
        controller->SetScreens(this);
    return ok;
}

void MWinScreens::RemoveAllScreens()
{
    if (screens)
        screens->RemoveAll();
}

void MWinScreens::Exit()
{
    RemoveAllScreens();
}

unsigned int MWinScreens::GetCurrentScreen()
{
    return screens ? screens->GetCurrentScreenID() : 0;
}

void MWinScreens::SetCurrentScreen(unsigned int code)
{
    if (screens)
        screens->SetCurrentScreenID(code);
}

unsigned int MWinScreens::GetPreviousScreen()
{
    return screens ? screens->GetPreviousScreenID() : 0;
}

void MWinScreens::SetPreviousScreen(unsigned int code)
{
    if (screens)
        screens->SetPreviousScreenID(code);
}

unsigned int MWinScreens::GetFromScreen()
{
    return screens ? screens->GetFromScreenID() : 0;
}

void MWinScreens::SetFromScreen(unsigned int code)
{
    if (screens)
        screens->SetFromScreenID(code);
}

void MWinScreens::ReloadCurrentScreen()
{
    if (screens)
        screens->ReloadCurrentScreen();
}

char MWinScreens::Tick()
{
    return screens ? screens->Tick() : 0;
}

void MWinScreens::Render(_MWinRenderStage stage)
{
    if (screens)
        screens->Render(stage);
}

char MWinScreens::AreOn()
{
    return mwin && mwin->IsOn() && screens && screens->IsOn();
}

void MWinScreens::Start(char start_gui)
{
    if (!screens)
        return;
    Fade(-1);
    PreScreensStartCB();
    screens->TurnOn(start_gui);
    PostScreensStartCB(GetCurrentScreen());
    Fade(1);
}

void MWinScreens::StartScreen(unsigned int code, char start_gui)
{
    if (!screens)
        return;
    screens->SetCurrentScreenID(code);
    Fade(-1);
    PreScreensStartCB();
    screens->TurnOn(start_gui);
    Fade(1);
}

void MWinScreens::End(char mode)
{
    if (!screens)
        return;
    Fade(-1);
    screens->TurnOff(mode);
    if (mwin && mwin->IsOn())
        RemoveCollections(mwin);
    PostScreensFinishCB();
    Fade(1);
}

void MWinScreens::GotoScreen(unsigned int code)
{
    if (!screens)
        return;
    if (mwin && mwin->PopupIsOn())
    {
        DebugInfoAlt(__PRETTY_FUNCTION__, "Called when a popup was on. Turning popup off...");
        mwin->PopupTurnOff();
    }
    Fade(-1);
    screens->GotoScreen(code);
    Fade(1);
}

void MWinScreens::GoBack()
{
    if (!screens)
        return;
    Fade(-1);
    screens->GoBack();
    Fade(1);
}

void MWinScreens::Fade(char direction)
{
    if (fade)
        DoFade(direction, kFadeSeconds);
}

int MWinScreens::FadeSteps(double seconds, double frame)
{
    if (seconds <= 0 || frame <= 0)
        return -1;
    // The small allowance keeps 0.15 / 0.05 at 3 steps despite rounding.
    double steps = std::floor(seconds / frame + 1e-9);
    if (steps > 1000000)
        return -1;
    return int(steps);
}

void MWinScreens::DoFade(char direction, double seconds)
{
    if (eng_main_frame_rate <= 1 || seconds <= 0)
        return;
    const float start_level = direction < 0 ? 0.0f : 1.0f;
    double t0 = EngMainGetCurrentTimeWithoutUpdatingGlobalCurrentTime();
    DrawFadeFrame(start_level);
    double t1 = EngMainGetCurrentTimeWithoutUpdatingGlobalCurrentTime();
    int n = FadeSteps(seconds, t1 - t0);
    if (n <= 0)
        return;
    float a = 0;
    for (int i = 0; i < n; i++)
    {
        a += 1.0f / float(n);
        double elapsed = EngMainGetCurrentTimeWithoutUpdatingGlobalCurrentTime() - t1;
        if (a > 1 || elapsed > 2 * seconds)
            a = 1;
        DrawFadeFrame(direction < 0 ? a : 1 - a);
        if (a >= 1)
            break;
    }
}

void MWinScreens::PreChangingCB()
{
    if (GetCurrentScreen() != 0)
    {
        PreScreenChangeCB();
        RemoveCollections(mwin);
    }
}

void MWinScreens::PostChangingCB()
{
    if (mwin)
        mwin->ScreenChanged();
    PostScreenChangeCB(GetCurrentScreen());
}

void MWinScreens_PreChangingCB(MWin*, void* user)
{
    DebugAssertAlt(user != nullptr, __PRETTY_FUNCTION__, "No user data");
    if (user)
        static_cast<MWinScreens*>(user)->PreChangingCB();
}

void MWinScreens_PostChangingCB(MWin*, void* user)
{
    DebugAssertAlt(user != nullptr, __PRETTY_FUNCTION__, "No user data");
    if (user)
        static_cast<MWinScreens*>(user)->PostChangingCB();
}

// ---------------------------------------------------------------------------
// Toolkit members that drive and report on the registered screens.

void MWin::GotoScreen(unsigned code)
{
    if (MWinScreens* s = GetScreens())
        s->GotoScreen(code);
}

void MWin::GoBackToPreviousScreen()
{
    if (MWinScreens* s = GetScreens())
        s->GoBack();
}

void MWin::StartScreensAtScreen(unsigned code, char start_gui)
{
    if (MWinScreens* s = GetScreens())
        s->StartScreen(code, start_gui);
}

char MWin::AreScreensOn()
{
    return screens ? screens->AreOn() : 0;
}

unsigned MWin::GetCurrentScreen()
{
    return screens ? screens->GetCurrentScreen() : 0;
}

unsigned MWin::GetPreviousScreen()
{
    return screens ? screens->GetPreviousScreen() : 0;
}

unsigned MWin::GetFromScreen()
{
    return screens ? screens->GetFromScreen() : 0;
}
