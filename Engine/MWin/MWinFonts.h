// The toolkit's font table: one standard font and up to eight user fonts,
// loaded from files with the graphics objects or added as outside pointers.
#pragma once

#include "EngFont.h"
#include "EngTypes.h"
#include "MWinUtil.h"

class MWin;

#define MWIN_MAX_USER_FONTS 8

// The arguments of EngFont::CreateFromFontFile after the file name, then the
// creation effects applied before it.
struct _MWinFontParams
{
    char two_channels;
    EngInt32 reserved;
    EngInt32 size;
    EngInt32 min_char;
    EngInt32 max_char;
    char* wanted;
    EngInt32 wanted_count;
    float x_scale, y_scale, y_offset_add, height_add;
    EngUInt32 unused_word;
    float f5, f6, f7, f8;
    char reserved_flag;
    _EngFontCreationEffects effects;
};

#define MWIN_FONT_KIND_NONE 0
#define MWIN_FONT_KIND_FILE 1
#define MWIN_FONT_KIND_POINTER 2

struct _MWinFont
{
    char id[MWIN_ID_SIZE];
    char* file; // 256-byte buffer, owned
    _MWinFontParams params;
    EngFont* font;         // owned, made from the file
    EngFont* pointer_font; // the caller's
    char kind;
};

// The parameters used for the toolkit's default font file.
extern _MWinFontParams m_default_font_params;

class MWinFonts
{
public:
    explicit MWinFonts(MWin* mwin);
    ~MWinFonts();
    MWinFonts(const MWinFonts&) = delete;
    MWinFonts& operator=(const MWinFonts&) = delete;

    int AddUserFont(const char* id, const char* file, const _MWinFontParams* params);
    int AddStandardFont(const char* file, const _MWinFontParams* params);
    int AddUserFontPointer(const char* id, EngFont* font);
    int AddFont(const char* id, const char* file, const _MWinFontParams* params);
    int AddFontPointer(const char* id, EngFont* font);

    char RemoveUserFont(const char* id);
    char RemoveStandardFont();
    void RemoveAllUserFonts();
    void RemoveAllFonts();
    char RemoveFont(const char* id);

    char CreateGraphicsObjects();
    char CreateFonts() { return CreateGraphicsObjects(); }
    char LoadFont(_MWinFont* f);
    void DestroyGraphicsObjects();
    void DestroyFonts();
    char ReloadFont(const char* id);
    char AreFontsLoaded() const { return loaded; }

    EngFont* GetFont(int number);
    EngFont* GetStandardFont();
    EngFont* GetUserFont(int n);
    EngFont* GetUserFont(const char* id, char report);
    int GetFontNumFromID(const char* id);
    int GetNumUserFonts() const { return num_user; }

private:
    _MWinFont* ChooseRecord(const char* id, int* number);
    static EngFont* FontByKind(const _MWinFont* f);

    MWin* mwin;
    char loaded = 0;
    EngInt32 num_user = 0;
    _MWinFont user[MWIN_MAX_USER_FONTS];
    _MWinFont standard;
};
