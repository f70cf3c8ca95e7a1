// The graph widget (kind 12): a series of values over evenly spaced marks,
// drawn as a thick line, a filled area or blocks, with axis bands, ticks,
// four axis labels and optional guide lines at round values.
#pragma once

#include "EngTriangleList.h"
#include "MWinButton.h"

typedef int _MWinGraphStyle;
#define MWIN_GRAPH_LINE 0
#define MWIN_GRAPH_FILLED 1
#define MWIN_GRAPH_BLOCKS 2

typedef int _MWinGraphDrawMarksType;
#define MWIN_GRAPH_MARKS_NONE 0
#define MWIN_GRAPH_MARKS_ENDS 1
#define MWIN_GRAPH_MARKS_ALL 2

#define MWIN_GRAPH_MAX_GUIDE_LINES 20

struct _MWinGraphVerticalLinesInfo
{
    char on;
    float thickness;
    _ColourRGBA colour;
    char labels_on;
    int label_format; // 2: two decimals, else none
    float label_scale_x, label_scale_y;
    _ColourRGBA label_colour;
};

struct _MWinGraphGuideLine
{
    float offset; // device units
    float y;      // 640 x 480 space
    char label[16];
};

struct _MWinGraphMark
{
    double value;
    double x_offset; // device units
    float y_offset;  // device units
};

class MWinGraph : public MWinButton
{
public:
    MWinGraph(MWin* mw, const char* id, MWinWindow* parent, const char* texbut, float x, float y, float w,
              float h);
    ~MWinGraph() override;

    void Reset();
    void Free();
    void SetStyle(int style, int axis_bands, int marks, float margin, float line_width, float band_width,
                  float tick_thickness, float tick_length, float block_gap);
    void SetColours(float br, float bg, float bb, float tr, float tg, float tb, float gr, float gg, float gb);
    void SetTexts(const char* top, const char* bottom, const char* left, const char* right);
    void SetVerticalLinesSettings(const _MWinGraphVerticalLinesInfo* info);
    void SetBlocksOffset(float start, float width);
    char SetMarks(double h_start, double h_end, int count, double v_min, double v_max, int v_count);
    void CalcMarks();
    char SetMarkValue(int index, double value);
    double GetVertMarkValue(int index);

    int GetHorzMarkCount() const { return h_count; }
    int GetNumGuideLines() const { return num_lines; }
    const _MWinGraphGuideLine* GetGuideLine(int i) const
    {
        return (i >= 0 && i < num_lines) ? &lines[i] : nullptr;
    }
    const _MWinGraphMark* GetMark(int i) const
    {
        return (marks && i >= 0 && i < mark_entries) ? &marks[i] : nullptr;
    }
    const _Vector2d* GetLabelPos(int i) const { return (i >= 0 && i < 4) ? &label_pos[i] : nullptr; }
    const char* GetLabel(int i) const { return (labels && i >= 0 && i < 4) ? labels[i] : nullptr; }

    // Guide-line step and values for a vertical range; the count, or 0.
    static int CalcGuideLines(double min, double max, double* step, double* values, int max_values);

    // Virtual slots.
    void DestroyGraphicsObjects() override;
    void PositionUpdated() override;
    void Render() override;

private:
    void Layout();
    void DestroyLists();
    int Segments() const;

    double h_start, h_end;
    int h_count;
    double v_min, v_max;
    int v_count;
    _Vector2d label_pos[4];
    _MWinGraphVerticalLinesInfo vlines;
    int num_lines;
    _MWinGraphGuideLine* lines;
    char blocks_offset_on;
    float blocks_start, blocks_width;
    _MWinGraphMark* marks;
    int mark_entries;
    char (*labels)[32];
    _MWinGraphStyle style;
    char axis_bands;
    _MWinGraphDrawMarksType mark_drawing;
    float margin, line_width, band_width, tick_thickness, tick_length, block_gap;
    float band_colour[3], tick_colour[3], graph_colour[3];
    EngTriangleList band_list, line_list, tick_list, graph_list;
};

// Adds a graph to a window (the window's factory for this kind).
MWinGraph* MWinWindowAddGraph(MWinWindow* window, const char* id, const char* texbut, float x, float y,
                              float w, float h);
