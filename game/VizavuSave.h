// One saved game per puzzle: "SavedGamesFull<level><puzzle>.dat", the board
// with its notes and the whole undo list.
#pragma once

#include <cstddef>

#include "Vizavu.h"

#define VIZAVU_SAVE_FILE_SIZE 195380

struct VizavuSaveRecord
{
    EngUInt8 started;
    VizavuBoardCells board;
    EngUInt8 padding[3];
    EngInt32 num_undos;
    VizavuBoardCells undo_boards[VIZAVU_MAX_UNDOS];
};
static_assert(sizeof(VizavuSaveRecord) == VIZAVU_SAVE_FILE_SIZE, "saved game size");
static_assert(offsetof(VizavuSaveRecord, started) == 0, "layout");
static_assert(offsetof(VizavuSaveRecord, board) == 1, "layout");
static_assert(offsetof(VizavuSaveRecord, padding) == 973, "layout");
static_assert(offsetof(VizavuSaveRecord, num_undos) == 976, "layout");
static_assert(offsetof(VizavuSaveRecord, undo_boards) == 980, "layout");

extern VizavuSaveRecord saved_puzzle;
extern char save_game_filename[1024];

// The level 0-4 and that level's puzzle 0-99 in the options record; others become 0.
void VizavuMakeLevelAndPuzzleValid();
// Builds save_game_filename; 0 (logged) when the path does not fit.
char VizavuGetSaveGameFilename();
// 1 when the file was written (or, without a data folder, the game kept in
// memory). A game that could not be written is kept in memory all the same:
// loading it gives it back until a later write succeeds or the program ends.
char VizavuSaveGame(char reset);
// Writes every game kept in memory after a failed write; 1 when none is left.
char VizavuSaveKeptGames();
// Drops every game kept in memory: a run of the program starts without any.
void VizavuForgetKeptGames();
char VizavuLoadGame();
char VizavuIsPuzzleValid();
char SudukoHasPuzzleBeenStarted();
char VizavuResetCurrentGame();
