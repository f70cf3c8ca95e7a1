// The styled-text box: a longer text cut into pieces at newlines and at
// three-character markers (<d<, <d>, >d>, >d< with a style digit 0 to 5) that
// choose the style and alignment of what follows; wrapped to the box and
// scrolled line by line with its own vertical scrollbar.
#pragma once

#include "MWinButton.h"

class MWinVertScrollbar;

struct MWinScriptParagraph
{
    signed char style; // -1 no marker, else the marker's digit
    int align;         // 0 left, 1 centre, 2 right, -1 the button's
    int start;         // first character in the text
    int end;           // just past the last character
    int text_length;   // length of the text when parsed
    char ends_line;    // 1 at a newline or the end of the text, 0 before a marker
    char num_lines;
    int first_line;
};

#define MWIN_SCRIPT_TYPE 13
#define MWIN_SCRIPT_CREATE_TYPE 14

class MWinScriptButton : public MWinButton
{
public:
    MWinScriptButton(MWin* mw, const char* id, MWinWindow* parent, const char* texbut, float x, float y,
                     float w, float h);
    ~MWinScriptButton() override;

    void Reset();
    char SetStyle(int style, float r, float g, float b, float a, float scale);
    void SetTextColours(float r, float g, float b, float a) { SetTextColour(r, g, b, a); }
    char SetTextPointerToButtonText();
    char SetTextPointer(char* text);
    void Reload();
    void ClearText() { Free(); }
    void Free();

    char ParseText();
    void CalcLinesInPars();
    void GetSideBarDimensions();
    void RenderBack(_MWinTextureState state);
    void RenderTexts();

    int GetNumParagraphs() const { return num_paragraphs; }
    const MWinScriptParagraph* GetParagraph(int i) const
    {
        return (i >= 0 && i < num_paragraphs) ? &paragraphs[i] : nullptr;
    }
    int GetLinesPerPage() const { return lines_per_page; }
    int GetTotalLines() const { return total_lines; }
    char IsSidebarOn() const { return sidebar_on; }
    float GetTextWidthInBox() const { return text_width; }
    float GetScrollPos() const { return scroll_pos; }
    MWinVertScrollbar* GetScrollbar() { return scrollbar; }
    // Sets the line counts of the pieces (as measured) and derives the first
    // lines and the total; used by CalcLinesInPars.
    void AssignLines(const int* counts, float font_height);

    // Virtual slots.
    void PositionUpdated() override;
    void Render() override;
    char HandleMouseButtonPressed(char button, char down, char third) override;
    char HandleMouseButtonDoubleClicked(char button) override;
    void HandleMouseButtonPressCanceled() override;
    char HandleMouseMove() override;
    char HandleMouseWheel(int delta) override;
    char HandleKeyDown(int key) override;
    char KeepFocusOnMouseMove() override;
    void Activate() override;
    void Deactivate() override;

private:
    static int MarkerAt(const char* t, int len, int i, int* align);
    float BaseScaleX(EngFont* font, float* sy);

    char* text_p;
    MWinScriptParagraph* paragraphs;
    int num_paragraphs;
    float scroll_pos;
    float styles[4][5];
    int lines_per_page;
    int total_lines;
    char overflow;
    float text_width;
    float sidebar_width;
    char sidebar_on;
    char font_warned; // the standard-font notice was logged
    MWinVertScrollbar* scrollbar;
};

// Adds a styled-text box to a window (the window's factory for this kind).
MWinScriptButton* MWinWindowAddScriptButton(MWinWindow* window, const char* id, const char* texbut, float x,
                                            float y, float w, float h);
