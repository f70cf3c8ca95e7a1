// Adapter over the library's board class.
#include "VizavuBoard.h"

#include <new>
#include <qqwing.hpp>

struct VizavuBoard::Impl
{
    qqwing::SudokuBoard b;
};

VizavuBoard::VizavuBoard() : impl(nullptr) {}

VizavuBoard* VizavuBoard::Create()
{
    VizavuBoard* v = new (std::nothrow) VizavuBoard;
    if (!v)
        return nullptr;
    try
    {
        v->impl = new Impl;
    }
    catch (...)
    {
        delete v;
        return nullptr;
    }
    return v;
}

VizavuBoard::~VizavuBoard()
{
    delete impl;
}

void VizavuBoard::setRecordHistory(bool on)
{
    impl->b.setRecordHistory(on);
}

void VizavuBoard::setLogHistory(bool on)
{
    impl->b.setLogHistory(on);
}

void VizavuBoard::setPrintStyle(PrintStyle style)
{
    impl->b.setPrintStyle(static_cast<qqwing::SudokuBoard::PrintStyle>(style));
}

bool VizavuBoard::setPuzzle(const int* puzzle)
{
    int copy[qqwing::BOARD_SIZE];
    for (int i = 0; i < qqwing::BOARD_SIZE; i++)
        copy[i] = puzzle[i];
    return impl->b.setPuzzle(copy);
}

bool VizavuBoard::isSolved()
{
    return impl->b.isSolved();
}

bool VizavuBoard::generatePuzzle()
{
    return impl->b.generatePuzzle();
}

bool VizavuBoard::solve()
{
    return impl->b.solve();
}

bool VizavuBoard::hasUniqueSolution()
{
    return impl->b.hasUniqueSolution();
}

VizavuBoard::Difficulty VizavuBoard::getDifficulty()
{
    return static_cast<Difficulty>(impl->b.getDifficulty());
}

int VizavuBoard::getHiddenSingleCount()
{
    return impl->b.getHiddenSingleCount();
}

int VizavuBoard::getGivenCount()
{
    return impl->b.getGivenCount();
}

const int* VizavuBoard::getPuzzle()
{
    return impl->b.getPuzzle();
}
