// The library's Vizavu board behind a small adapter: judging a full board and
// generating puzzles.
#pragma once

class VizavuBoard
{
public:
    enum PrintStyle
    {
        ONE_LINE,
        COMPACT,
        READABLE,
        CSV
    };
    enum Difficulty
    {
        UNKNOWN,
        SIMPLE,
        EASY,
        INTERMEDIATE,
        EXPERT
    };

    // Null when the board cannot be made.
    static VizavuBoard* Create();
    ~VizavuBoard();
    VizavuBoard(const VizavuBoard&) = delete;
    VizavuBoard& operator=(const VizavuBoard&) = delete;

    void setRecordHistory(bool on);
    void setLogHistory(bool on);
    void setPrintStyle(PrintStyle style);
    // 81 values in row order, 0 for empty; false when the givens conflict.
    bool setPuzzle(const int* puzzle);
    bool isSolved();
    bool generatePuzzle();
    bool solve();
    bool hasUniqueSolution();
    Difficulty getDifficulty();
    int getHiddenSingleCount();
    int getGivenCount();
    // 81 values in row order.
    const int* getPuzzle();

private:
    VizavuBoard();
    struct Impl;
    Impl* impl;
};
