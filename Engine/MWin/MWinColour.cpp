#include "MWinColour.h"

#include "EngDebug.h"
#include "EngTexture.h"
#include "MWin.h"
#include "MWinButton.h"
#include "MWinCollection.h"
#include "MWinColourPicker.h"
#include "MWinDesktop.h"
#include "MWinWindow.h"
#include "MWinTextures.h"

void MWinColourFillHueTable(_MWinHueEntry* t)
{
    for (int i = 0; i < MWIN_HUE_TABLE_SIZE; i++)
    {
        float r, g, b;
        if (i <= 42)
            r = 1, g = 0, b = i / 42.0f;
        else if (i <= 84)
            r = 1 - (i - 43) / 41.0f, g = 0, b = 1;
        else if (i <= 127)
            r = 0, g = (i - 85) / 42.0f, b = 1;
        else if (i <= 170)
            r = 0, g = 1, b = 1 - (i - 128) / 42.0f;
        else if (i <= 212)
            r = (i - 171) / 42.0f, g = 1, b = 0;
        else
            r = 1, g = 1 - (i - 213) / 42.0f, b = 0;
        t[i] = {r, g, b};
    }
}

void MWin::ColourCreateGraphics()
{
    if (!textures)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "No textures");
        return;
    }
    for (int i = 0; i < 3; i++)
    {
        EngTexture* t = textures->GetColourStripTexture(i);
        if (!t || !t->CreateEmptyTexture(MWIN_COLOUR_STRIP_W, MWIN_COLOUR_STRIP_H, 0))
            return;
    }
    MWinColourFillHueTable(hue_table);
    // Repaint every live colour picker into the new strips.
    if (!desktop)
        return;
    for (MWinCollection* c = desktop->GetFirstCollection(); c; c = c->GetNext())
        for (int l = 0; l < 5; l++)
            for (MWinWindow* w = c->GetFirstWindowOfLayout(l); w; w = w->next_window)
                for (MWinButton* b = w->GetFirstButton(); b; b = b->next)
                    if (b->GetType() == MWIN_BUTTON_COLOUR && b->IsLive())
                        static_cast<MWinColour*>(b)->RepaintStrips();
}

void MWin::ColourDestroyGraphics()
{
    if (!textures)
        return;
    for (int i = 0; i < 3; i++)
        if (EngTexture* t = textures->GetColourStripTexture(i))
            t->Destroy();
}
