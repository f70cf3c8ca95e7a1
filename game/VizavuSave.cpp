// Saved games.
#include "VizavuSave.h"

#include <cstdio>
#include <cstring>
#include <map>
#include <memory>
#include <new>
#include <string>
#include <sys/stat.h>

#include "EngDebug.h"
#include "GameHooks.h"
#include "EngFile.h"
#include "EngResModes.h"
#include "EngWindow.h"
#include "Game.h"
#include "RecordFile.h"
#include "Options.h"
#include "PrefFolder.h"

VizavuSaveRecord saved_puzzle;
char save_game_filename[1024];

namespace
{
// Saved games kept in memory until the program ends, one per puzzle: all of
// them without a data folder, else those whose file could not be written,
// until a write succeeds. Keyed by level and puzzle.
std::map<int, std::unique_ptr<VizavuSaveRecord>> session_games;

bool KeptInMemory()
{
    return !PrefFolderIsMainFolderMade();
}

int CurrentKey()
{
    VizavuMakeLevelAndPuzzleValid();
    return int(options.cur_level) * VIZAVU_NUM_PUZZLES + int(options.levels[options.cur_level].cur_puzzle);
}

// The slot of the current puzzle, or null.
VizavuSaveRecord* SessionGame(bool make)
{
    int key = CurrentKey();
    auto it = session_games.find(key);
    if (it != session_games.end())
        return it->second.get();
    if (!make)
        return nullptr;
    VizavuSaveRecord* r = new (std::nothrow) VizavuSaveRecord();
    if (r)
        session_games[key].reset(r);
    return r;
}

// The file last refused, as it was then: the same file is told of once,
// however often a start or a save looks at it.
struct Refused
{
    std::string path;
    struct stat st;
    bool Is(const char* p, const struct stat& s) const
    {
        return path == p && st.st_dev == s.st_dev && st.st_ino == s.st_ino && st.st_mode == s.st_mode &&
               st.st_size == s.st_size && st.st_mtim.tv_sec == s.st_mtim.tv_sec &&
               st.st_mtim.tv_nsec == s.st_mtim.tv_nsec;
    }
} refused;

// Reads the whole file into the record; 0 when it is missing, not a regular
// file of the exact size, or cannot be read (logged under func with why).
char ReadRecord(const char* path, const char* func)
{
    struct stat st;
    if (lstat(path, &st) != 0)
        return 0;
    const bool told = refused.Is(path, st);
    std::string why;
    if (RecordFileRead(path, &saved_puzzle, sizeof(saved_puzzle), told ? nullptr : func, &why))
        return 1;
    if (!told)
    {
        if (!why.empty())
            DebugErrorAlt(func, "Could not load saved game <%s>: %s", path, why.c_str());
        refused.path = path;
        refused.st = st;
    }
    return 0;
}
} // namespace

void VizavuMakeLevelAndPuzzleValid()
{
    if (options.cur_level < 0 || options.cur_level >= VIZAVU_NUM_LEVELS)
        options.cur_level = 0;
    EngInt32& p = options.levels[options.cur_level].cur_puzzle;
    if (p < 0 || p >= VIZAVU_NUM_PUZZLES)
        p = 0;
}

namespace
{
// "<data folder>/SavedGamesFull<level><puzzle>.dat" into out, as RecordFilePath.
char SaveGamePath(int level, int puzzle, char* out, size_t size, const char* func)
{
    char name[32];
    snprintf(name, sizeof(name), "SavedGamesFull%d%d.dat", level, puzzle);
    return RecordFilePath(out, size, name, func);
}
} // namespace

char VizavuGetSaveGameFilename()
{
    VizavuMakeLevelAndPuzzleValid();
    return SaveGamePath(int(options.cur_level), int(options.levels[options.cur_level].cur_puzzle),
                        save_game_filename, sizeof(save_game_filename), __PRETTY_FUNCTION__);
}

char VizavuSaveGame(char reset)
{
    VizavuSaveRecord* kept = SessionGame(KeptInMemory());
    if (KeptInMemory() && !kept)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "No memory");
        return 0;
    }
    const bool named = !KeptInMemory() && VizavuGetSaveGameFilename();
    // A game kept in memory is newer than its file.
    if (kept)
        saved_puzzle = *kept;
    else if (!named || !ReadRecord(save_game_filename, __PRETTY_FUNCTION__))
        memset(&saved_puzzle, 0, sizeof(saved_puzzle));

    if (reset)
    {
        saved_puzzle.started = 0;
        memset(&saved_puzzle.board, 0, sizeof(saved_puzzle.board));
        saved_puzzle.num_undos = 0;
    }
    else
    {
        int undos = num_undos < 0 ? 0 : (num_undos > VIZAVU_MAX_UNDOS ? VIZAVU_MAX_UNDOS : num_undos);
        bool as_table = undos == 0;
        const char* p = VizavuGetLayout(options.cur_level, options.levels[options.cur_level].cur_puzzle);
        for (int c = 0; c < 9 && as_table; c++)
            for (int r = 0; r < 9 && as_table; r++)
                if (board[c][r].number != VizavuLayoutDigit(p, c, r))
                    as_table = false;
        saved_puzzle.started = as_table ? 0 : 1;
        memcpy(&saved_puzzle.board, &board, sizeof(board));
        saved_puzzle.num_undos = undos;
        memcpy(&saved_puzzle.undo_boards, &undo_boards, sizeof(VizavuBoardCells) * size_t(undos));
    }

    if (KeptInMemory())
    {
        *kept = saved_puzzle;
        return 1;
    }
    if (named && EngFileSaveAtomically(save_game_filename, &saved_puzzle, sizeof(saved_puzzle)))
    {
        session_games.erase(CurrentKey());
        return 1;
    }
    if (named)
        DebugErrorAlt(__PRETTY_FUNCTION__, "Problem writing saved game <%s>", save_game_filename);
    // Not written: kept in memory, so that leaving the puzzle loses nothing until the game ends.
    if (!kept)
        kept = SessionGame(true);
    if (kept)
        *kept = saved_puzzle;
    else
        DebugErrorAlt(__PRETTY_FUNCTION__, "No memory");
    return 0;
}

char VizavuSaveKeptGames()
{
    if (KeptInMemory())
        return 1;
    char ok = 1;
    for (auto it = session_games.begin(); it != session_games.end();)
    {
        char path[sizeof(save_game_filename)];
        if (SaveGamePath(it->first / VIZAVU_NUM_PUZZLES, it->first % VIZAVU_NUM_PUZZLES, path, sizeof(path),
                         __PRETTY_FUNCTION__) &&
            EngFileSaveAtomically(path, it->second.get(), sizeof(VizavuSaveRecord)))
        {
            it = session_games.erase(it);
            continue;
        }
        DebugErrorAlt(__PRETTY_FUNCTION__, "Problem writing saved game <%s>", path);
        ok = 0;
        ++it;
    }
    return ok;
}

void VizavuForgetKeptGames()
{
    session_games.clear();
}

char VizavuLoadGame()
{
    // Nothing of a previous puzzle's record may stay when this one has none.
    VizavuSaveRecord* kept = SessionGame(false);
    if (kept)
        saved_puzzle = *kept;
    else if (KeptInMemory() || !VizavuGetSaveGameFilename() ||
             !ReadRecord(save_game_filename, __PRETTY_FUNCTION__))
    {
        memset(&saved_puzzle, 0, sizeof(saved_puzzle));
        return 0;
    }
    if (!VizavuIsPuzzleValid())
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Puzzle is not valid.");
        memset(&saved_puzzle, 0, sizeof(saved_puzzle));
        return 0;
    }
    if (!saved_puzzle.started)
        return 0;
    memcpy(&board, &saved_puzzle.board, sizeof(board));
    num_undos = saved_puzzle.num_undos;
    memcpy(&undo_boards, &saved_puzzle.undo_boards, sizeof(VizavuBoardCells) * size_t(num_undos));
    InGameControlActivateUndoButton();
    VizavuCheckState();
    return 1;
}

char VizavuIsPuzzleValid()
{
    if (saved_puzzle.started > 1)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Bad started value %d.", int(saved_puzzle.started));
        return 0;
    }
    if (saved_puzzle.num_undos < 0 || saved_puzzle.num_undos > VIZAVU_MAX_UNDOS)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Bad num_undos value %d.", int(saved_puzzle.num_undos));
        return 0;
    }
    // Every board must keep the puzzle's clues: a record cannot bring its own.
    VizavuMakeLevelAndPuzzleValid();
    const char* layout = VizavuGetLayout(options.cur_level, options.levels[options.cur_level].cur_puzzle);
    for (int b = 0; b <= saved_puzzle.num_undos; b++)
    {
        const VizavuBoardCells& cells = b == 0 ? saved_puzzle.board : saved_puzzle.undo_boards[b - 1];
        for (int c = 0; c < 9; c++)
            for (int r = 0; r < 9; r++)
            {
                const VizavuCell& cell = cells[c][r];
                if (cell.given > 1)
                {
                    DebugErrorAlt(__PRETTY_FUNCTION__, "Bad orig num %d at %d:%d,%d.", int(cell.given), b, c, r);
                    return 0;
                }
                if (EngUInt8(cell.number) > 9)
                {
                    DebugErrorAlt(__PRETTY_FUNCTION__, "Bad num %d at %d:%d,%d.", int(cell.number), b, c, r);
                    return 0;
                }
                for (int n = 0; n < 10; n++)
                    if (cell.notes_on[n] > 2)
                    {
                        DebugErrorAlt(__PRETTY_FUNCTION__, "Bad notes_on[%d] %d at %d:%d,%d.", n,
                                      int(cell.notes_on[n]), b, c, r);
                        return 0;
                    }
                int clue = VizavuLayoutDigit(layout, c, r);
                if (cell.given != (clue ? 1 : 0) || (clue && cell.number != clue))
                {
                    DebugErrorAlt(__PRETTY_FUNCTION__,
                                  "Cell %d:%d,%d does not match the puzzle (number %d, given %d, clue %d).", b, c, r,
                                  int(cell.number), int(cell.given), clue);
                    return 0;
                }
            }
    }
    return 1;
}

char SudukoHasPuzzleBeenStarted()
{
    return saved_puzzle.started;
}

char VizavuResetCurrentGame()
{
    VizavuSaveGame(1);
    return VizavuInitForNewGame();
}
