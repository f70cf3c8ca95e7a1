// The tab panel: a table whose cell texts come from a callback, with an
// optional heading line, row selection, its own vertical scrollbar and a
// sort column picked by heading clicks.
#pragma once

#include "MWinButton.h"

class MWinTabPanel;
class MWinVertScrollbar;

struct MWinTabPanelColumn
{
    unsigned char width_percentage; // 0 = share what is left
    float width;
    float x_offset;
    int align; // -1 the button's alignment
};

struct MWinTabPanelSortInfo
{
    int sort_column;
    char sort_direction;
    int previous_sort_column;
    char previous_sort_direction;
};

struct _MWinTabPanelPreferences
{
    char heading_on, alternate_row_backs, fill_page, selection_allowed, multiple_selection, sortable_headings;
    float heading_height;
};

struct _MWinTabPanelRenderPreferences
{
    char draw_normal_back;
    float margin_x, margin_y, heading_top;
    char separators_on;
    float separator_top, separator_bottom;
    char row_backs_on;
    float row_back_alpha;
    char heading_back_on;
    float heading_back_alpha;
};

typedef const char* (*MWinTabPanelEntryCB)(int row, int column, MWinTabPanel* panel);
typedef const _ColourRGBA* (*MWinTabPanelBgColourCB)(int row, int column, char* texbut_slot,
                                                     MWinTabPanel* panel);
typedef const _ColourRGBA* (*MWinTabPanelTextColourCB)(int row, int column, MWinTabPanel* panel);
typedef const _Vector2d* (*MWinTabPanelTextScaleCB)(int row, int column, MWinTabPanel* panel);

#define MWIN_TABPANEL_TYPE 14

class MWinTabPanel : public MWinButton
{
public:
    MWinTabPanel(MWin* mw, const char* id, MWinWindow* parent, const char* texbut, float x, float y, float w,
                 float h);
    ~MWinTabPanel() override;

    void Reset();

    // Filling.
    char SetEntryCallback(int num_rows, int num_columns, int num_per_page, MWinTabPanelEntryCB cb);
    void RemoveAllRows();
    void Free();
    void RemoveEntryCallbacks();
    int GetNumRows() const { return num_rows; }
    int GetNumColumns() const { return num_columns; }
    const char* GetEntryString(int row, int column);
    void SetEntryBgColourCallback(MWinTabPanelBgColourCB cb) { entry_bg_colour_cb = cb; }
    void SetEntryTextColourCallback(MWinTabPanelTextColourCB cb) { entry_text_colour_cb = cb; }
    void SetEntryTextScaleCallback(MWinTabPanelTextScaleCB cb) { entry_text_scale_cb = cb; }

    // Columns.
    char SetColumnWidthPercentage(int column, int percentage);
    void AutoCalcColumnWidths(char on) { auto_column_widths = on; }
    char SetColumnTextAlign(int column, _MWinTextAlign align);
    const MWinTabPanelColumn* GetColumn(int c) const
    {
        return (columns && c >= 0 && c < num_columns) ? &columns[c] : nullptr;
    }

    // Preferences.
    void SetPreferences(char heading_on, char alternate_row_backs, char fill_page, char selection_allowed,
                        char multiple_selection, char sortable_headings, float heading_height);
    char SetPreferences(const _MWinTabPanelPreferences* p);
    void SetRenderPreferences(char draw_normal_back, float margin_x, float margin_y, float heading_top,
                              char separators_on, float separator_top, float separator_bottom,
                              char row_backs_on, float row_back_alpha, char heading_back_on,
                              float heading_back_alpha);
    char SetRenderPreferences(const _MWinTabPanelRenderPreferences* p);
    void AllowSelection(char on) { selection_allowed = on; }
    void AllowMultipleRowsSelection(char mode);
    void ShowSel(char on) { show_selection = on; }

    // Text styles.
    void SetTitleTextStyle(const _Vector2d* scale, const _ColourRGBA* colour);
    void SetTitleTextStyle(float sx, float sy, float r, float g, float b, float a);
    void SetRowTextStyle(char which, const _Vector2d* scale, const _ColourRGBA* colour);
    void SetRowTextStyle(char which, float sx, float sy, float r, float g, float b, float a);

    // Selection.
    char SelectRow(int row, char mode, char call, char source);
    void SelectAll();
    void ClearSel();
    char IsRowSelected(int row) const
    {
        return row_selected && row >= 0 && row < num_rows && row_selected[row];
    }
    int GetNumSelectedRows();
    int GetFirstSelectedRow();
    int GetNthSelectedRowNumber(int n);
    char SetFirstSelectedRowNumberToColumnString(int column, const char* text);
    char RegisterCharVariable(char* p, char mode);
    char RegisterIntVariable(int* p, char mode);
    char UpdateFromRegisteredVariable(char call);

    // Scrolling and display.
    int GetNumPerPage() const { return num_per_page; }
    int GetFirstDisplayedRow();
    int GetLastDisplayedRow();
    int GetNumDisplayedRows();
    int GetNthDisplayedRowNumber(int n) { return n + GetFirstDisplayedRow(); }
    float GetFirstDisplayedRowF() const { return first_displayed_row; }
    void SetFirstRowDisplayed(int row);
    void EnsureLastRowDisplayed();
    void CenterToRowIfPossible(int row);
    void CenterToFirstSelectedRowIfPossible();
    void ShowFirstSelectedRow();
    char GetEntryDisplayedArea(int row, int column, _Dimension* out);
    char GetNthDisplayedRowDimensionForColumn(int n, int column, _Dimension* out);
    const _Dimension* GetRowsArea() const { return &rows_area; }
    float GetRowHeight() const { return row_height; }
    char IsScrollbarOn() const { return scrollbar_on; }
    MWinVertScrollbar* GetScrollbar() { return scrollbar; }

    // Sorting.
    void SetMainSortColumn(int column, char direction, char remember);
    const MWinTabPanelSortInfo* GetSortInfo() const { return &sort; }

    // Crop drawing to the rows area (or back to the panel) while the toolkit crops.
    char CropToTableRowsArea();
    void RestoreAfterCrop();

    void GetSidebarDimensions();
    void UpdateColumnWidths();
    void UpdateNumPerPage();

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
    void CropTo(const _Dimension* area);
    void DeleteScrollbar();
    void MakeScrollbar();
    void SyncScrollbar();
    void WriteBoundRow(int row);
    int ReadBoundRow(char* ok);
    char MoveSelection(int delta);
    void RenderTexts();
    void RenderCellText(int row, int column, float x, float y, float w, float h, const _Vector2d* base_scale,
                        const _Vector2d* style_scale, const _ColourRGBA* style_colour,
                        const _ColourRGBA* base_colour);

    MWinTabPanelColumn* columns;
    unsigned char* row_selected;
    int num_columns;
    int num_rows;
    int num_per_page;
    char num_per_page_mode;
    char heading_on;
    _Vector2d title_text_scale;
    _ColourRGBA title_text_colour;
    _Vector2d row_text_scale[2];
    _ColourRGBA row_text_colour[2];
    char selection_allowed;
    char multiple_selection;
    char sortable_headings;
    char auto_column_widths;
    char whole_row_backs;
    char alternate_row_backs;
    char fill_page;
    char draw_normal_back;
    float margin_x, margin_y;
    float heading_top;
    char heading_back_on;
    float heading_back_alpha;
    char row_backs_on;
    char separators_on;
    float separator_top, separator_bottom;
    float row_back_alpha;
    char show_selection;
    MWinTabPanelSortInfo sort;
    MWinTabPanelEntryCB entry_cb;
    MWinTabPanelBgColourCB entry_bg_colour_cb;
    MWinTabPanelTextColourCB entry_text_colour_cb;
    MWinTabPanelTextScaleCB entry_text_scale_cb;
    float first_displayed_row;
    float row_height;
    float heading_height;
    _Dimension rows_area;
    char scrollbar_on;
    MWinVertScrollbar* scrollbar;
};

// Adds a tab panel to a window (the window's factory for this kind).
MWinTabPanel* MWinWindowAddTabPanel(MWinWindow* window, const char* id, const char* texbut, float x, float y,
                                    float w, float h);
