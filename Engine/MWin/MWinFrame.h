// The frame button (kind 16): a back panel with a heading strip that shows
// its text and an optional close box "X" that calls back when clicked or on
// Escape.
#pragma once

#include "MWinButton.h"

class MWinFrameButton : public MWinButton
{
public:
    MWinFrameButton(MWin* mw, const char* id, MWinWindow* parent, const char* texbut, const char* text,
                    float x, float y, float w, float h);
    ~MWinFrameButton() override;

    void Reset();
    void AddCloseButton(MWinButtonPlainCallback fn, char escape_closes);
    void AddCloseButton(MWinButtonCallback4 fn, char escape_closes);
    char IsCloseBoxOn() const { return close_on; }
    char IsMouseOverCloseBox() const { return mouse_over_close; }

    // Virtual slots.
    void PositionUpdated() override;
    void Render() override;
    char HandleMouseButtonPressed(char button, char down, char third) override;
    void HandleMouseButtonPressCanceled() override {}
    char HandleMouseMove() override;
    char HandleKeyDown(int key) override;
    char KeepFocusOnMouseMove() override { return 0; }
    void Activate() override { MWinButton::Activate(); }
    void Deactivate() override { MWinButton::Deactivate(); }

private:
    char CloseBoxArea(_Dimension* out);
    void CallClose();

    char close_on;
    MWinButtonCallback4 close_cb;
    MWinButtonPlainCallback close_plain_cb;
    char escape_closes;
    char mouse_over_close;
};

// Adds a frame button to a window (the window's factory for this kind).
MWinFrameButton* MWinWindowAddBackButton(MWinWindow* window, const char* id, const char* texbut,
                                         const char* text, float x, float y, float w, float h);
