// The tab panel.
#include "MWinTabPanel.h"

#include <cmath>
#include <cstring>
#include <new>

#include "EngDebug.h"
#include "EngDevice.h"
#include "EngFont.h"
#include "EngMenu.h"
#include "EngWindow.h"
#include "MWin.h"
#include "MWinButtonCore.h"
#include "MWinVertScrollbar.h"
#include "MWinWindow.h"

namespace
{
const char* kScrollbarID = "TabPanel_VS";
const int kShiftKey = 228;
const int kCommandKey = 231;
} // namespace

MWinTabPanel::MWinTabPanel(MWin* mw, const char* bid, MWinWindow* par, const char* texbut, float x, float y,
                           float w, float h)
    : MWinButton(mw, bid, par, MWIN_TABPANEL_TYPE, texbut, "", x, y, w, h), columns(nullptr),
      row_selected(nullptr), num_columns(0), num_rows(0), entry_cb(nullptr), scrollbar(nullptr)
{
    Reset();
    // Windows draw live widgets only; without columns the panel takes no input.
    live = 1;
    if (mwin && mwb::HasTextures(mwin))
    {
        MakeScrollbar();
        if (scrollbar)
            scrollbar->Hide();
    }
}

MWinTabPanel::~MWinTabPanel()
{
    DeleteScrollbar();
    Free();
}

void MWinTabPanel::Reset()
{
    Free();
    num_per_page = 1;
    num_per_page_mode = 1;
    heading_on = 0;
    title_text_scale = {1, 1};
    title_text_colour = {1, 1, 1, 1};
    for (int i = 0; i < 2; i++)
    {
        row_text_scale[i] = {1, 1};
        row_text_colour[i] = {1, 1, 1, 1};
    }
    _MWinSettings* s = mwin ? mwin->GetSettings() : nullptr;
    selection_allowed = s ? s->tab_panel_defaults[0] : 1;
    auto_column_widths = s ? s->tab_panel_defaults[1] : 1;
    whole_row_backs = s ? s->tab_panel_defaults[2] : 1;
    alternate_row_backs = s ? s->tab_panel_defaults[3] : 1;
    multiple_selection = 0;
    sortable_headings = 1;
    fill_page = 1;
    draw_normal_back = 1;
    margin_x = margin_y = 2;
    heading_top = 0;
    heading_back_on = 1;
    heading_back_alpha = 1;
    row_backs_on = 1;
    separators_on = 1;
    separator_top = LS(44);
    separator_bottom = LS(45);
    row_back_alpha = 0.75f;
    show_selection = 1;
    sort = {-1, 0, -1, 0};
    entry_cb = nullptr;
    entry_bg_colour_cb = nullptr;
    entry_text_colour_cb = nullptr;
    entry_text_scale_cb = nullptr;
    first_displayed_row = 0;
    row_height = 0;
    heading_height = LS(42);
    rows_area = {0, 0, 0, 0};
    scrollbar_on = 0;
    SetType(MWIN_TABPANEL_TYPE);
    UpdateNumPerPage();
    UpdateColumnWidths();
}

// ---------------------------------------------------------------------------
// Filling.

void MWinTabPanel::RemoveAllRows()
{
    delete[] row_selected;
    row_selected = nullptr;
    num_rows = 0;
}

void MWinTabPanel::Free()
{
    RemoveAllRows();
    delete[] columns;
    columns = nullptr;
    num_columns = 0;
}

void MWinTabPanel::RemoveEntryCallbacks()
{
    entry_cb = nullptr;
    entry_bg_colour_cb = nullptr;
    entry_text_colour_cb = nullptr;
    entry_text_scale_cb = nullptr;
    Free();
    GetSidebarDimensions();
}

char MWinTabPanel::SetEntryCallback(int rows, int cols, int per_page, MWinTabPanelEntryCB cb)
{
    RemoveAllRows();
    if (cols < 1)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "invalid num cols %d (ID: %s)", cols, id);
        return 0;
    }
    if (rows < 0)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "invalid num rows %d (ID: %s)", rows, id);
        return 0;
    }
    if (!cb && !entry_cb)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Null callback entry (ID: %s)", id);
        return 0;
    }
    if (cb)
        entry_cb = cb;
    Free();
    columns = new (std::nothrow) MWinTabPanelColumn[cols]();
    if (!columns)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "No memory for %d columns (ID: %s)", cols, id);
        return 0;
    }
    for (int c = 0; c < cols; c++)
        columns[c].align = -1;
    num_columns = cols;
    if (rows > 0)
    {
        row_selected = new (std::nothrow) unsigned char[rows]();
        if (!row_selected)
        {
            DebugErrorAlt(__PRETTY_FUNCTION__, "No memory for %d rows (ID: %s)", rows, id);
            return 0;
        }
    }
    num_rows = rows;
    if (per_page == -2)
        num_per_page_mode = 2;
    else if (per_page == -3)
        num_per_page_mode = 3;
    else if (per_page < 1)
        num_per_page_mode = 1;
    else
    {
        num_per_page_mode = 0;
        num_per_page = per_page;
    }
    UpdateNumPerPage();
    SetTextLanguageToken(nullptr);
    first_displayed_row = 0;
    GetSidebarDimensions();
    live = 1;
    return 1;
}

const char* MWinTabPanel::GetEntryString(int row, int column)
{
    if (!entry_cb || row < -1 || row >= num_rows || column < 0 || column >= num_columns)
        return "";
    const char* s = entry_cb(row, column, this);
    return s ? s : "";
}

// ---------------------------------------------------------------------------
// Columns and preferences.

char MWinTabPanel::SetColumnWidthPercentage(int column, int percentage)
{
    if (column < 0 || column >= num_columns)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Column does not exist [%d]", column);
        return 0;
    }
    if (percentage < 1 || percentage > 100)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Invalid percentage: [%d]", percentage);
        return 0;
    }
    columns[column].width_percentage = (unsigned char)percentage;
    auto_column_widths = 0;
    UpdateColumnWidths();
    return 1;
}

char MWinTabPanel::SetColumnTextAlign(int column, _MWinTextAlign a)
{
    if (column < 0 || column >= num_columns)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Column does not exist [%d]", column);
        return 0;
    }
    columns[column].align = a;
    return 1;
}

void MWinTabPanel::SetPreferences(char h_on, char alt, char fill, char sel, char multi, char sortable,
                                  float hh)
{
    heading_on = h_on;
    alternate_row_backs = alt;
    fill_page = fill;
    selection_allowed = sel;
    multiple_selection = multi;
    sortable_headings = sortable;
    if (hh > 0)
        heading_height = hh;
    if (!heading_on)
        heading_height = 0;
    GetSidebarDimensions();
}

char MWinTabPanel::SetPreferences(const _MWinTabPanelPreferences* p)
{
    if (!p)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Bad parameters.");
        return 0;
    }
    SetPreferences(p->heading_on, p->alternate_row_backs, p->fill_page, p->selection_allowed,
                   p->multiple_selection, p->sortable_headings, p->heading_height);
    return 1;
}

void MWinTabPanel::SetRenderPreferences(char dnb, float mx, float my, float ht, char sep, float st, float sb,
                                        char rbo, float rba, char hbo, float hba)
{
    if (dnb >= 0)
        draw_normal_back = dnb;
    if (mx >= 0)
        margin_x = mx;
    if (my >= 0)
        margin_y = my;
    if (ht >= 0)
        heading_top = ht;
    if (sep >= 0)
        separators_on = sep;
    if (st >= 0)
        separator_top = st;
    if (sb >= 0)
        separator_bottom = sb;
    if (rbo >= 0)
        row_backs_on = rbo;
    if (rba >= 0)
        row_back_alpha = rba;
    if (hbo >= 0)
        heading_back_on = hbo;
    if (hba >= 0)
        heading_back_alpha = hba;
    GetSidebarDimensions();
}

char MWinTabPanel::SetRenderPreferences(const _MWinTabPanelRenderPreferences* p)
{
    if (!p)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Bad parameters.");
        return 0;
    }
    SetRenderPreferences(p->draw_normal_back, p->margin_x, p->margin_y, p->heading_top, p->separators_on,
                         p->separator_top, p->separator_bottom, p->row_backs_on, p->row_back_alpha,
                         p->heading_back_on, p->heading_back_alpha);
    return 1;
}

void MWinTabPanel::AllowMultipleRowsSelection(char mode)
{
    multiple_selection = mode;
    ClearSel();
}

void MWinTabPanel::SetTitleTextStyle(const _Vector2d* scale, const _ColourRGBA* colour)
{
    title_text_scale = scale ? *scale : _Vector2d{1, 1};
    title_text_colour = colour ? *colour : _ColourRGBA{1, 1, 1, 1};
}

void MWinTabPanel::SetTitleTextStyle(float sx, float sy, float r, float g, float b, float a)
{
    if (sx >= 0)
        title_text_scale.x = sx;
    if (sy >= 0)
        title_text_scale.y = sy;
    if (r >= 0 && g >= 0 && b >= 0)
        title_text_colour.r = r, title_text_colour.g = g, title_text_colour.b = b;
    if (a >= 0)
        title_text_colour.a = a;
}

void MWinTabPanel::SetRowTextStyle(char which, const _Vector2d* scale, const _ColourRGBA* colour)
{
    for (int i = 0; i < 2; i++)
        if (which == -1 || which == i)
        {
            row_text_scale[i] = scale ? *scale : _Vector2d{1, 1};
            row_text_colour[i] = colour ? *colour : _ColourRGBA{1, 1, 1, 1};
        }
}

void MWinTabPanel::SetRowTextStyle(char which, float sx, float sy, float r, float g, float b, float a)
{
    for (int i = 0; i < 2; i++)
        if (which == -1 || which == i)
        {
            if (sx >= 0)
                row_text_scale[i].x = sx;
            if (sy >= 0)
                row_text_scale[i].y = sy;
            if (r >= 0 && g >= 0 && b >= 0)
                row_text_colour[i].r = r, row_text_colour[i].g = g, row_text_colour[i].b = b;
            if (a >= 0)
                row_text_colour[i].a = a;
        }
}

// ---------------------------------------------------------------------------
// Selection.

void MWinTabPanel::WriteBoundRow(int row)
{
    if (var.kind == MWIN_VAR_CHAR && var.p_char)
        *var.p_char = (char)row;
    else if (var.kind == MWIN_VAR_INT && var.p_int)
        *var.p_int = row;
}

int MWinTabPanel::ReadBoundRow(char* ok)
{
    *ok = 1;
    if (var.kind == MWIN_VAR_CHAR && var.p_char)
        return *var.p_char;
    if (var.kind == MWIN_VAR_INT && var.p_int)
        return *var.p_int;
    *ok = 0;
    return -1;
}

char MWinTabPanel::SelectRow(int row, char mode, char call, char source)
{
    if (type != MWIN_TABPANEL_TYPE)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Button is not a panel");
        return 0;
    }
    if (num_rows <= 0 || !row_selected)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "No rows");
        return 0;
    }
    if (row < 0 || row >= num_rows)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Bad row number [%d]", row);
        return 0;
    }
    if (mode > 0)
        row_selected[row] = 1;
    else if (mode < 0)
        row_selected[row] = !row_selected[row];
    else
        row_selected[row] = 0;
    if (row < GetFirstDisplayedRow())
        first_displayed_row = (float)row;
    else if (num_per_page > 0 && row > GetFirstDisplayedRow() + num_per_page - 1)
        first_displayed_row = (float)(row - num_per_page + 1);
    GetSidebarDimensions();
    WriteBoundRow(row);
    MWin* mw = mwin;
    if (call && HasCallback())
    {
        _MWinButtonCallbackInfo info;
        FillCallbackInfo(&info);
        info.tab_row = row;
        info.tab_select = (char)row_selected[row];
        info.tab_select2 = source;
        CallCallback(&info); // may remove this panel
    }
    if (mw)
        mwb::RenderNeeded(mw);
    return 1;
}

void MWinTabPanel::SelectAll()
{
    for (int r = 0; r < num_rows && row_selected; r++)
        row_selected[r] = 1;
}

void MWinTabPanel::ClearSel()
{
    for (int r = 0; r < num_rows && row_selected; r++)
        row_selected[r] = 0;
}

int MWinTabPanel::GetNumSelectedRows()
{
    int n = 0;
    for (int r = 0; r < num_rows && row_selected; r++)
        n += row_selected[r] ? 1 : 0;
    return n;
}

int MWinTabPanel::GetFirstSelectedRow()
{
    return GetNthSelectedRowNumber(0);
}

int MWinTabPanel::GetNthSelectedRowNumber(int n)
{
    for (int r = 0; r < num_rows && row_selected; r++)
        if (row_selected[r] && n-- == 0)
            return r;
    return -1;
}

char MWinTabPanel::SetFirstSelectedRowNumberToColumnString(int column, const char* text)
{
    if (!text || column < 0 || column >= num_columns)
        return 0;
    for (int r = 0; r < num_rows; r++)
        if (strcmp(GetEntryString(r, column), text) == 0)
            return SelectRow(r, 1, 0, 0);
    return 0;
}

char MWinTabPanel::RegisterCharVariable(char* p, char mode)
{
    if (type != MWIN_TABPANEL_TYPE)
        return 0;
    if (!selection_allowed)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Selection not active");
        return 0;
    }
    if (!MWinButton::RegisterCharVariable(p) || !p)
        return 0;
    if (*p >= 0 && *p < num_rows)
        SelectRow(*p, mode, 0, 0);
    return 1;
}

char MWinTabPanel::RegisterIntVariable(int* p, char mode)
{
    if (type != MWIN_TABPANEL_TYPE)
        return 0;
    if (!selection_allowed)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Selection not active");
        return 0;
    }
    if (!MWinButton::RegisterIntVariable(p, 1) || !p)
        return 0;
    if (*p >= 0 && *p < num_rows)
        SelectRow(*p, mode, 0, 0);
    return 1;
}

char MWinTabPanel::UpdateFromRegisteredVariable(char call)
{
    if (type != MWIN_TABPANEL_TYPE)
        return 0;
    if (!selection_allowed)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Selection not active");
        return 0;
    }
    char ok = 0;
    int row = ReadBoundRow(&ok);
    if (!ok)
        return 0;
    return SelectRow(row, 1, call, 0);
}

// ---------------------------------------------------------------------------
// Scrolling and display.

int MWinTabPanel::GetFirstDisplayedRow()
{
    int f = (int)first_displayed_row;
    return f < 0 ? 0 : f;
}

int MWinTabPanel::GetLastDisplayedRow()
{
    int l = GetFirstDisplayedRow() + num_per_page - 1;
    return l > num_rows - 1 ? num_rows - 1 : l;
}

int MWinTabPanel::GetNumDisplayedRows()
{
    int n = GetLastDisplayedRow() - GetFirstDisplayedRow() + 1;
    return n < 0 ? 0 : n;
}

void MWinTabPanel::SyncScrollbar()
{
    if (scrollbar && scrollbar_on)
        scrollbar->UpdateFromRegisteredVariable(0);
}

void MWinTabPanel::SetFirstRowDisplayed(int row)
{
    if (row < 0 || row >= num_rows)
        return;
    first_displayed_row = (float)row;
    GetSidebarDimensions();
}

void MWinTabPanel::EnsureLastRowDisplayed()
{
    if (num_per_page > 0 && num_rows >= num_per_page)
    {
        first_displayed_row = (float)(num_rows - num_per_page);
        GetSidebarDimensions();
    }
}

void MWinTabPanel::CenterToRowIfPossible(int row)
{
    int f = row - num_per_page / 2;
    int top = num_rows - num_per_page;
    if (f > top)
        f = top;
    if (f < 0)
        f = 0;
    first_displayed_row = (float)f;
    GetSidebarDimensions();
}

void MWinTabPanel::CenterToFirstSelectedRowIfPossible()
{
    int r = GetFirstSelectedRow();
    if (r >= 0)
        CenterToRowIfPossible(r);
}

void MWinTabPanel::ShowFirstSelectedRow()
{
    int r = GetFirstSelectedRow();
    if (r < 0)
        return;
    if (r < num_per_page)
    {
        first_displayed_row = 0;
        GetSidebarDimensions();
    }
    else
        CenterToRowIfPossible(r);
}

char MWinTabPanel::GetEntryDisplayedArea(int row, int column, _Dimension* out)
{
    if (!out || column < 0 || column >= num_columns || num_per_page <= 0)
        return 0;
    int first = (int)first_displayed_row;
    if (row < first - 1 || row >= first + 1 + num_per_page)
        return 0;
    float h = rows_area.h / num_per_page;
    out->x = actual_area.x + margin_x + columns[column].x_offset;
    out->w = columns[column].width;
    out->h = h;
    out->y = (row - first_displayed_row) * h + rows_area.y;
    return 1;
}

char MWinTabPanel::GetNthDisplayedRowDimensionForColumn(int n, int column, _Dimension* out)
{
    if (column < 0 || column >= num_columns)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Column does not exist");
        return 0;
    }
    if (num_per_page <= 0)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "%s: NUM PER PAGE <= 0", id);
        return 0;
    }
    if (!out)
        return 0;
    float frac = first_displayed_row - std::floor(first_displayed_row);
    out->x = actual_area.x + margin_x + columns[column].x_offset;
    out->w = columns[column].width;
    out->h = row_height;
    out->y = (n - frac) * row_height + rows_area.y;
    return 1;
}

// ---------------------------------------------------------------------------
// Sorting.

void MWinTabPanel::SetMainSortColumn(int column, char direction, char remember)
{
    if (column < 0)
    {
        sort = {-1, 0, -1, 0};
        return;
    }
    if (remember && column != sort.sort_column)
    {
        sort.previous_sort_column = sort.sort_column;
        sort.previous_sort_direction = sort.sort_direction;
    }
    sort.sort_column = column;
    if (direction >= 0)
        sort.sort_direction = direction;
}

// ---------------------------------------------------------------------------
// Geometry.

void MWinTabPanel::UpdateNumPerPage()
{
    if (num_per_page_mode == 0)
        return;
    float h = LS(MWIN_LS_DEFAULT_BUTTON_H);
    if (h <= 0)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "No default button height");
        return;
    }
    if (num_per_page_mode == 1)
        num_per_page = (int)(actual_area.h / h);
    else
        num_per_page = (int)(actual_area.h / (0.666f * h));
}

void MWinTabPanel::DeleteScrollbar()
{
    if (!scrollbar)
        return;
    scrollbar->RemoveAllCallbacks();
    delete scrollbar;
    scrollbar = nullptr;
}

void MWinTabPanel::MakeScrollbar()
{
    if (scrollbar || !parent)
        return;
    float w = LS(26);
    scrollbar = new (std::nothrow)
        MWinVertScrollbar(mwin, kScrollbarID, parent, MWIN_TEXBUT_DEFAULT, "", orig_area.x + orig_area.w - w,
                          orig_area.y + heading_height, w, orig_area.h - heading_height);
    if (!scrollbar)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "No memory.");
        return;
    }
    scrollbar->SetValuesDouble(0, 1, 0.1, 0.01);
}

void MWinTabPanel::GetSidebarDimensions()
{
    if (!GetLayoutSettings())
        return;
    const _Dimension& a = actual_area;
    rows_area.x = a.x + margin_x;
    rows_area.w = a.w - 2 * margin_x;
    if (heading_on)
    {
        rows_area.y = a.y + heading_top + heading_height;
        rows_area.h = a.h - heading_top - heading_height - margin_y;
    }
    else
    {
        rows_area.y = a.y + margin_y + heading_height;
        rows_area.h = a.h - 2 * margin_y - heading_height;
    }
    row_height = num_per_page > 0 ? rows_area.h / num_per_page : rows_area.h;
    if (num_per_page >= num_rows)
    {
        scrollbar_on = 0;
        DeleteScrollbar();
    }
    else
    {
        MakeScrollbar();
        if (scrollbar)
        {
            float w = LS(26);
            float top = heading_on ? heading_top : margin_y;
            scrollbar->SetOrigPos(orig_area.x + orig_area.w - margin_x - w,
                                  orig_area.y + top + heading_height, w,
                                  orig_area.h - top - margin_y - heading_height);
            scrollbar->Show(1);
            scrollbar->SetValuesDouble(0, num_rows - num_per_page, num_per_page, 1);
            scrollbar->RegisterFloatVariable(&first_displayed_row, 1, 0);
            rows_area.w -= w;
            if (focused)
                scrollbar->Activate();
            scrollbar_on = 1;
        }
    }
    UpdateColumnWidths();
}

void MWinTabPanel::UpdateColumnWidths()
{
    if (!columns || num_columns <= 0)
        return;
    const float W = rows_area.w - 2 * margin_x;
    if (!auto_column_widths)
    {
        int sum = 0, without = 0;
        for (int c = 0; c < num_columns; c++)
        {
            sum += columns[c].width_percentage;
            without += columns[c].width_percentage == 0 ? 1 : 0;
        }
        if (sum == 0)
            auto_column_widths = 1;
        else if (sum >= 100 || without == 0)
            for (int c = 0; c < num_columns; c++)
                columns[c].width = columns[c].width_percentage * (100.0f / sum) * W / 100;
        else
        {
            float share = (100.0f - sum) / without;
            for (int c = 0; c < num_columns; c++)
                columns[c].width =
                    (columns[c].width_percentage ? columns[c].width_percentage : share) * W / 100;
        }
    }
    if (auto_column_widths)
        for (int c = 0; c < num_columns; c++)
            columns[c].width = W / num_columns;
    float x = 0;
    for (int c = 0; c < num_columns; c++)
    {
        columns[c].x_offset = x;
        x += columns[c].width;
    }
}

void MWinTabPanel::PositionUpdated()
{
    UpdateNumPerPage();
    GetSidebarDimensions();
    if (mwin)
        mwb::RenderNeeded(mwin);
}

// ---------------------------------------------------------------------------
// Drawing.

void MWinTabPanel::CropTo(const _Dimension* area)
{
    if (!eng_main_device || !mwb::CropButtons(mwin))
        return;
    _Dimension a = *area;
    if (eng_main_device->IsViewportFullScreen())
        EngMenuCropToAreaRatioed(&a);
    else
        eng_main_device->CropToAreaInViewportRatioed(&a);
}

char MWinTabPanel::CropToTableRowsArea()
{
    if (!mwin)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "No mwin.");
        return 0;
    }
    CropTo(&rows_area);
    return 1;
}

void MWinTabPanel::RestoreAfterCrop()
{
    if (!mwin)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "No mwin.");
        return;
    }
    CropRenderAreaToButtonNew2();
}

void MWinTabPanel::Render()
{
    if (!PrepareForRender())
        return;
    _MWinTextureState st = GetRenderState();
    const _Dimension& a = actual_area;
    if (draw_normal_back)
        RenderNormalBack(st);
    if (heading_on && heading_back_on)
    {
        _ColourRGBA c = {1, 1, 1, heading_back_alpha};
        mwb::DrawStdTexBut(mwin, 19, enabled ? MWIN_TEXSTATE_NORMAL : MWIN_TEXSTATE_DISABLED, a.x + margin_x,
                           a.y + heading_top, a.w - 2 * margin_x, heading_height, &c);
    }
    if (heading_on && sort.sort_column >= 0 && sort.sort_column < num_columns)
    {
        float d = heading_height / 3;
        float right = a.x + margin_x + columns[sort.sort_column].x_offset + columns[sort.sort_column].width;
        mwb::DrawStdTexBut(mwin, sort.sort_direction == 0 ? 8 : 7, MWIN_TEXSTATE_NORMAL, right - d,
                           a.y + heading_top + heading_height / 2 - d / 2, d, d, nullptr);
    }
    if (num_per_page <= 0)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "%s: NUM PER PAGE <= 0", id);
        RestoreAfterRender();
        return;
    }
    if (row_height > 0)
    {
        CropToTableRowsArea();
        _ColourRGBA back = {1, 1, 1, row_back_alpha};
        const _ColourRGBA* bc = (row_back_alpha >= 0 && row_back_alpha < 1) ? &back : nullptr;
        int first = GetFirstDisplayedRow();
        int last = GetLastDisplayedRow() + 1;
        if (last < first + num_per_page + 1)
            last = first + num_per_page + 1;
        int passes = (whole_row_backs || num_columns <= 0) ? 1 : num_columns;
        for (int r = first; r < last; r++)
        {
            float y = (r - first_displayed_row) * row_height + rows_area.y;
            int slot = 21;
            char draw = row_backs_on;
            if (r < 0 || r >= num_rows)
            {
                if (!fill_page)
                    continue;
                slot = 24;
            }
            else if (row_selected && row_selected[r])
            {
                slot = 23;
                draw = 1;
            }
            else if (alternate_row_backs && (r & 1))
                slot = 22;
            if (!draw)
                continue;
            for (int p = 0; p < passes; p++)
            {
                float x = rows_area.x, w = rows_area.w;
                if (passes > 1)
                {
                    x = a.x + margin_x + columns[p].x_offset;
                    w = columns[p].width;
                }
                mwb::DrawStdTexBut(mwin, slot, MWIN_TEXSTATE_NORMAL, x, y, w, row_height, bc);
            }
        }
        if (entry_bg_colour_cb)
            for (int r = first; r <= GetLastDisplayedRow(); r++)
                for (int c = 0; c < num_columns; c++)
                {
                    char slot = -1;
                    const _ColourRGBA* col = entry_bg_colour_cb(r, c, &slot, this);
                    _Dimension cell;
                    if (col && slot >= 0 && slot <= 32 && GetEntryDisplayedArea(r, c, &cell))
                        mwb::DrawStdTexBut(mwin, slot, MWIN_TEXSTATE_NORMAL, cell.x, cell.y, cell.w, cell.h,
                                           col);
                }
        RestoreAfterCrop();
    }
    float sep_w = LS(43);
    if (separators_on && whole_row_backs && num_columns > 1 && sep_w > 0)
    {
        float y = a.y + separator_top + (heading_on ? heading_top : margin_y);
        float h = orig_area.h - (heading_on ? heading_top + margin_y : 2 * margin_y) - separator_top -
                  separator_bottom;
        if (!fill_page)
        {
            y = a.y + separator_top;
            h = (heading_height - separator_top + separator_bottom) + GetNumDisplayedRows() * row_height;
        }
        for (int c = 0; c < num_columns - 1; c++)
        {
            float x = a.x + margin_x + columns[c].x_offset + columns[c].width;
            mwb::DrawStdTexBut(mwin, 20, MWIN_TEXSTATE_NORMAL, x - sep_w / 2, y, sep_w, h, nullptr);
        }
    }
    RenderTexts();
    if (extra_render_cb)
        extra_render_cb(this, &actual_area, st, extra_render_int, extra_render_data);
    if (scrollbar && scrollbar_on)
        scrollbar->RenderNoPrepare();
    RestoreAfterRender();
}

void MWinTabPanel::RenderCellText(int row, int column, float x, float y, float w, float h,
                                  const _Vector2d* base_scale, const _Vector2d* style_scale,
                                  const _ColourRGBA* style_colour, const _ColourRGBA* base_colour)
{
    EngFont* font = GetTextFont();
    if (!font)
        return;
    _Vector2d sc = {base_scale->x * style_scale->x, base_scale->y * style_scale->y};
    if (entry_text_scale_cb)
        if (const _Vector2d* s = entry_text_scale_cb(row, column, this))
            sc = {base_scale->x * s->x * style_scale->x, base_scale->y * s->y * style_scale->y};
    font->SetScale(sc.x, sc.y);
    const _ColourRGBA* cc = entry_text_colour_cb ? entry_text_colour_cb(row, column, this) : nullptr;
    if (cc)
        font->SetColour(cc);
    else
        font->SetColour(base_colour->r * style_colour->r, base_colour->g * style_colour->g,
                        base_colour->b * style_colour->b, base_colour->a * style_colour->a);
    int al = columns[column].align >= 0 ? columns[column].align : align;
    mwin->RenderTextPart(font_num, al, LS(MWIN_LS_TEXT_MARGIN), x, y, w, h, nullptr,
                         GetEntryString(row, column), 0, 0, 1, 0);
}

void MWinTabPanel::RenderTexts()
{
    if (num_columns <= 0 || (num_rows <= 0 && !heading_on) || num_per_page <= 0)
        return;
    float th = rows_area.h / num_per_page;
    if (th <= 0)
        return;
    UpdateTextFontColourAndScale();
    EngFont* font = GetTextFont();
    if (!font)
        return;
    _Vector2d base_scale;
    font->GetScale(&base_scale);
    _ColourRGBA base_colour;
    GetTextColour(&base_colour);
    const _Dimension& a = actual_area;
    if (heading_on)
        for (int c = 0; c < num_columns; c++)
            RenderCellText(-1, c, a.x + margin_x + columns[c].x_offset, a.y + heading_top, columns[c].width,
                           heading_height, &base_scale, &title_text_scale, &title_text_colour, &base_colour);
    CropToTableRowsArea();
    for (int r = GetFirstDisplayedRow(); r <= GetLastDisplayedRow(); r++)
    {
        float y = (r - first_displayed_row) * th + rows_area.y;
        if (y < 0 || y >= 640 - th)
            continue;
        for (int c = 0; c < num_columns; c++)
            RenderCellText(r, c, a.x + margin_x + columns[c].x_offset, y, columns[c].width, th, &base_scale,
                           &row_text_scale[r & 1], &row_text_colour[r & 1], &base_colour);
    }
    RestoreAfterCrop();
    font->SetScale(base_scale.x, base_scale.y);
    font->SetColour(&base_colour);
}

// ---------------------------------------------------------------------------
// Input.

char MWinTabPanel::HandleMouseButtonPressed(char button, char down, char third)
{
    if (scrollbar && scrollbar_on)
    {
        if (scrollbar->IsBeingDragged() || mwb::MouseInArea(mwin, scrollbar->GetActualArea()))
        {
            char r = scrollbar->HandleMouseButtonPressed(button, down, third);
            GetSidebarDimensions();
            return r;
        }
    }
    if (!ShouldHandleMouseButtonPressed(button, down, third) || num_columns <= 0)
        return 0;
    const float mx = mwb::MouseX(mwin), my = mwb::MouseY(mwin);
    const char in_rows = mx >= rows_area.x && mx <= rows_area.x + rows_area.w && my >= rows_area.y &&
                         my <= rows_area.y + rows_area.h;
    if (!in_rows && !dragging && heading_on && my < rows_area.y && my >= actual_area.y + heading_top)
    {
        int col = -1;
        for (int c = 0; c < num_columns && col < 0; c++)
        {
            float x0 = actual_area.x + margin_x + columns[c].x_offset;
            if (mx >= x0 && mx < x0 + columns[c].width)
                col = c;
        }
        if (col >= 0)
        {
            if (!down && button == 0)
            {
                if (sortable_headings)
                {
                    if (col == sort.sort_column)
                        sort.sort_direction = sort.sort_direction ? 0 : 1;
                    else
                        SetMainSortColumn(col, 0, 1);
                }
                if (HasCallback())
                {
                    _MWinButtonCallbackInfo info;
                    FillCallbackInfo(&info);
                    info.tab_row = -1;
                    info.tab_heading_pressed = 1;
                    info.tab_select2 = 1;
                    CallCallback(&info); // may remove this panel
                }
            }
            return 1;
        }
    }
    if (!in_rows || num_per_page <= 0 || row_height <= 0)
        return (down && button == 0) ? 1 : 0;
    if (down)
        return 1;
    if (!selection_allowed || dragging)
        return 1;
    int row = (int)std::floor((my - rows_area.y) / (rows_area.h / num_per_page) + first_displayed_row);
    if (row < 0 || row >= num_rows)
        return 0;
    if (multiple_selection == 2)
        SelectRow(row, -1, 1, 1);
    else if (multiple_selection == 1 && (eng_key_down[kShiftKey] || eng_key_down[kCommandKey]))
        SelectRow(row, 1, 1, 1);
    else
    {
        ClearSel();
        SelectRow(row, 1, 1, 1);
    }
    return 0;
}

char MWinTabPanel::HandleMouseButtonDoubleClicked(char button)
{
    if (!ShouldHandleMouseButtonDoubleClicked(button))
        return 0;
    if (selection_allowed && multiple_selection == 0)
        return SelectRow(GetFirstSelectedRow(), 1, 1, 2);
    return 0;
}

void MWinTabPanel::HandleMouseButtonPressCanceled()
{
    if (scrollbar)
        scrollbar->HandleMouseButtonPressCanceled();
    MWinButton::HandleMouseButtonPressCanceled();
}

char MWinTabPanel::HandleMouseMove()
{
    if (scrollbar && scrollbar_on && scrollbar->IsBeingDragged())
    {
        char r = scrollbar->HandleMouseMove();
        GetSidebarDimensions();
        return r;
    }
    return MWinButton::HandleMouseMove();
}

char MWinTabPanel::MoveSelection(int delta)
{
    int first = GetFirstSelectedRow();
    if (first < 0)
        return 1;
    int to = first + delta;
    if (to < 0)
        to = 0;
    if (to > num_rows - 1)
        to = num_rows - 1;
    if (to == first)
        return 1;
    row_selected[first] = 0;
    SelectRow(to, 1, 1, 0);
    return 1;
}

char MWinTabPanel::HandleMouseWheel(int delta)
{
    if (!ShouldHandleMouseWheel())
        return 0;
    if (scrollbar && scrollbar_on)
    {
        if (scrollbar->HandleMouseWheel(delta))
            GetSidebarDimensions();
        return 1;
    }
    if (selection_allowed && multiple_selection == 0 && delta != 0)
        MoveSelection(delta > 0 ? -1 : 1);
    return 1;
}

char MWinTabPanel::HandleKeyDown(int key)
{
    if (!ShouldHandleKeyDown())
        return 0;
    int d = 0;
    switch (key)
    {
    case 246:
        d = -1;
        break;
    case 247:
        d = 1;
        break;
    case 248:
        d = -num_per_page;
        break;
    case 249:
        d = num_per_page;
        break;
    default:
        return MWinButton::HandleKeyDown(key);
    }
    if (scrollbar && scrollbar_on)
    {
        int top = num_rows - num_per_page;
        int f = GetFirstDisplayedRow() + d;
        if (f > top)
            f = top;
        if (f < 0)
            f = 0;
        if (f != GetFirstDisplayedRow() || first_displayed_row != (float)f)
        {
            first_displayed_row = (float)f;
            SyncScrollbar();
            GetSidebarDimensions();
            mwb::RenderNeeded(mwin);
        }
        MWinButton::HandleKeyDown(key);
        return 1;
    }
    if (selection_allowed && multiple_selection == 0)
        return MoveSelection(d);
    return MWinButton::HandleKeyDown(key);
}

char MWinTabPanel::KeepFocusOnMouseMove()
{
    return scrollbar && scrollbar_on && scrollbar->KeepFocusOnMouseMove();
}

void MWinTabPanel::Activate()
{
    MWinButton::Activate();
    if (scrollbar)
        scrollbar->Activate();
}

void MWinTabPanel::Deactivate()
{
    if (scrollbar)
        scrollbar->Deactivate();
    MWinButton::Deactivate();
}

MWinTabPanel* MWinWindowAddTabPanel(MWinWindow* window, const char* id, const char* texbut, float x, float y,
                                    float w, float h)
{
    if (!window)
        return nullptr;
    MWinTabPanel* b = new (std::nothrow) MWinTabPanel(window->GetMWin(), id, window, texbut, x, y, w, h);
    if (!b)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "No memory.");
        return nullptr;
    }
    window->CompleteAddButton(b);
    return b;
}
