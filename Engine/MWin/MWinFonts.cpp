#include "MWinFonts.h"

#include <cstdlib>
#include <cstring>
#include <new>

#include "EngDebug.h"
#include "EngFile.h"
#include "EngFont.h"

static _MWinFontParams MakeDefaultFontParams()
{
    _MWinFontParams p;
    memset(&p, 0, sizeof p);
    p.two_channels = 0;
    p.reserved = 144;
    p.size = 32;
    p.min_char = 32;
    p.max_char = 255; // the Latin-1 letters, as text is held
    p.wanted = EngFontLatin1Letters();
    p.wanted_count = ENG_FONT_LATIN1_WANTED_COUNT;
    p.x_scale = 0.11f;
    p.y_scale = 0.15f;
    p.y_offset_add = -2.0f;
    p.height_add = 0;
    p.reserved_flag = 1;
    p.effects.padding = 2;
    p.effects.shadow_x = 0;
    p.effects.shadow_y = 0;
    p.effects.shadow_lum_factor = 0.5f;
    p.effects.shadow_alpha_factor = 0.5f;
    p.effects.blur_passes_first = 2;
    p.effects.blur_passes_second = 0;
    const float rest[9] = {0, 1, 1, 1, 1, 1, 0, 0.1f, 0.5f};
    memcpy(p.effects.unused, rest, sizeof rest);
    return p;
}

_MWinFontParams m_default_font_params = MakeDefaultFontParams();

MWinFonts::MWinFonts(MWin* mw) : mwin(mw)
{
    if (!mwin)
        DebugExitPopup("MWinFonts::MWinFonts", "Internal Error (MWinFonts)");
    memset(user, 0, sizeof user);
    memset(&standard, 0, sizeof standard);
}

MWinFonts::~MWinFonts()
{
    DestroyFonts();
}

EngFont* MWinFonts::FontByKind(const _MWinFont* f)
{
    if (f->kind == MWIN_FONT_KIND_FILE)
        return f->font;
    if (f->kind == MWIN_FONT_KIND_POINTER)
        return f->pointer_font;
    return nullptr;
}

int MWinFonts::AddUserFont(const char* id, const char* file, const _MWinFontParams* params)
{
    if (MWinIsIDEmpty(id))
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "No id specified");
        return MWIN_FONT_NUM_NONE;
    }
    return AddFont(id, file, params);
}

int MWinFonts::AddStandardFont(const char* file, const _MWinFontParams* params)
{
    return AddFont(nullptr, file, params) == 1 ? 1 : 0;
}

int MWinFonts::AddUserFontPointer(const char* id, EngFont* font)
{
    if (MWinIsIDEmpty(id))
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "No id specified");
        return MWIN_FONT_NUM_NONE;
    }
    return AddFontPointer(id, font);
}

// The record an added font goes into; number is the user number (or 1 for the standard record).
_MWinFont* MWinFonts::ChooseRecord(const char* id, int* number)
{
    _MWinFont* rec = nullptr;
    if (!id)
    {
        rec = &standard;
        *number = 1;
    }
    else
    {
        if (!id[0])
        {
            DebugErrorAlt(__PRETTY_FUNCTION__, "Empty id");
            return nullptr;
        }
        for (int i = 0; i < num_user; i++)
        {
            if (MWinAreIDsTheSame(user[i].id, id))
            {
                DebugErrorAlt(__PRETTY_FUNCTION__, "Font <%s> already created", id);
                return nullptr;
            }
        }
        for (int i = 0; i < num_user && !rec; i++)
        {
            if (!user[i].id[0])
            {
                rec = &user[i];
                *number = i;
            }
        }
        if (!rec)
        {
            if (num_user > MWIN_MAX_USER_FONTS - 1)
            {
                DebugErrorAlt(__PRETTY_FUNCTION__, "No more user fonts can be created");
                return nullptr;
            }
            rec = &user[num_user];
            *number = num_user;
        }
    }
    if (rec->kind != MWIN_FONT_KIND_NONE)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Font is already loaded");
        return nullptr;
    }
    return rec;
}

int MWinFonts::AddFont(const char* id, const char* file, const _MWinFontParams* params)
{
    int number = 0;
    _MWinFont* rec = ChooseRecord(id, &number);
    if (!rec)
        return MWIN_FONT_NUM_NONE;
    if (!file || !file[0])
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "No filename passed in");
        return MWIN_FONT_NUM_NONE;
    }
    if (strlen(file) >= 256)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Filename too long");
        return MWIN_FONT_NUM_NONE;
    }
    if (!params)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Invalid Params");
        return MWIN_FONT_NUM_NONE;
    }
    if (EngFileIsThereButNotRegular(file, __PRETTY_FUNCTION__))
        return MWIN_FONT_NUM_NONE;
    if (!EngFileExists(file))
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "File does not exist <%s>", file);
        return MWIN_FONT_NUM_NONE;
    }
    free(rec->file);
    rec->file = static_cast<char*>(calloc(256, 1));
    if (!rec->file)
        return 0;
    strcpy(rec->file, file);
    rec->params = *params;
    MWinCopyID(rec->id, id ? id : MWIN_STANDARD_FONT_ID);
    if (id && number == num_user)
        num_user = number + 1;
    return number;
}

int MWinFonts::AddFontPointer(const char* id, EngFont* font)
{
    int number = 0;
    _MWinFont* rec = ChooseRecord(id, &number);
    if (!rec)
        return MWIN_FONT_NUM_NONE;
    if (!font)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "No font passed in");
        return MWIN_FONT_NUM_NONE;
    }
    rec->kind = MWIN_FONT_KIND_POINTER;
    rec->pointer_font = font;
    MWinCopyID(rec->id, id ? id : MWIN_STANDARD_FONT_ID);
    if (id && number == num_user)
        num_user = number + 1;
    return number;
}

char MWinFonts::RemoveUserFont(const char* id)
{
    if (MWinIsIDEmpty(id))
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "No id specified");
        return 0;
    }
    return RemoveFont(id);
}

char MWinFonts::RemoveStandardFont()
{
    return RemoveFont(nullptr);
}

void MWinFonts::RemoveAllUserFonts()
{
    for (int i = num_user - 1; i >= 0; i--)
        if (user[i].id[0])
        {
            char id[MWIN_ID_SIZE];
            memcpy(id, user[i].id, sizeof id);
            RemoveFont(id);
        }
}

void MWinFonts::RemoveAllFonts()
{
    if (standard.id[0])
        RemoveStandardFont();
    RemoveAllUserFonts();
}

char MWinFonts::RemoveFont(const char* id)
{
    _MWinFont* rec = nullptr;
    if (id)
    {
        for (int i = 0; i < num_user && !rec; i++)
            if (MWinAreIDsTheSame(user[i].id, id))
                rec = &user[i];
        if (!rec)
        {
            DebugErrorAlt(__PRETTY_FUNCTION__, "Font <%s> does not exist", id);
            return 0;
        }
    }
    else
        rec = &standard;
    if (!rec->id[0])
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Font does not exist");
        return 0;
    }
    delete rec->font;
    free(rec->file);
    memset(rec, 0, sizeof *rec);
    if (rec != &standard)
        while (num_user > 0 && !user[num_user - 1].id[0])
            num_user--;
    return 1;
}

char MWinFonts::LoadFont(_MWinFont* f)
{
    if (!f || !f->id[0])
        return 0;
    if (f->kind != MWIN_FONT_KIND_NONE)
        return 1;
    if (!f->file)
        return 0;
    delete f->font;
    f->font = new (std::nothrow) EngFont();
    if (!f->font)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "No memory.");
        return 0;
    }
    _MWinFontParams* p = &f->params;
    f->font->SetCreationEffects(&p->effects);
    if (!f->font->CreateFromFontFile(f->file, p->two_channels, p->reserved, p->size, p->min_char, p->max_char,
                                     p->wanted, p->wanted_count, p->x_scale, p->y_scale, p->y_offset_add,
                                     p->height_add, p->f5, p->f6, p->f7, p->f8, p->reserved_flag))
    {
        delete f->font;
        f->font = nullptr;
        DebugErrorAlt(__PRETTY_FUNCTION__, "Could not create font <%s>", f->id);
        return 0;
    }
    f->kind = MWIN_FONT_KIND_FILE;
    return 1;
}

char MWinFonts::CreateGraphicsObjects()
{
    char ok = 1;
    LoadFont(&standard);
    for (int i = 0; i < num_user; i++)
        if (!LoadFont(&user[i]))
            ok = 0;
    loaded = ok;
    return ok;
}

void MWinFonts::DestroyGraphicsObjects()
{
    auto drop = [](_MWinFont* f)
    {
        if (f->kind != MWIN_FONT_KIND_NONE && !f->pointer_font)
        {
            delete f->font;
            f->font = nullptr;
            f->kind = MWIN_FONT_KIND_NONE;
        }
    };
    drop(&standard);
    for (int i = 0; i < num_user; i++)
        drop(&user[i]);
    loaded = 0;
}

void MWinFonts::DestroyFonts()
{
    DestroyGraphicsObjects();
    auto forget = [](_MWinFont* f)
    {
        free(f->file);
        f->file = nullptr;
        f->pointer_font = nullptr;
        if (f->kind == MWIN_FONT_KIND_POINTER)
            f->kind = MWIN_FONT_KIND_NONE;
    };
    forget(&standard);
    for (int i = 0; i < MWIN_MAX_USER_FONTS; i++)
        forget(&user[i]);
}

char MWinFonts::ReloadFont(const char* id)
{
    int n = GetFontNumFromID(id);
    if (n < -1)
        return 1;
    _MWinFont* f = n == -1 ? &standard : &user[n];
    // A pointer font has no file to reload from: it stays as it is.
    if (f->kind == MWIN_FONT_KIND_POINTER)
        return 1;
    if (f->kind == MWIN_FONT_KIND_FILE)
    {
        delete f->font;
        f->font = nullptr;
        f->kind = MWIN_FONT_KIND_NONE;
    }
    return LoadFont(f);
}

EngFont* MWinFonts::GetFont(int number)
{
    if (number == MWIN_FONT_NUM_DEFAULT)
        return FontByKind(&standard);
    if (number >= 0 && number < num_user)
        return FontByKind(&user[number]);
    return nullptr;
}

EngFont* MWinFonts::GetStandardFont()
{
    return FontByKind(&standard);
}

EngFont* MWinFonts::GetUserFont(int n)
{
    if (n < 0 || n >= num_user)
        return nullptr;
    return FontByKind(&user[n]);
}

EngFont* MWinFonts::GetUserFont(const char* id, char report)
{
    if (MWinIsIDEmpty(id))
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "No id specified");
        return nullptr;
    }
    for (int i = 0; i < num_user; i++)
        if (MWinAreIDsTheSame(user[i].id, id))
            return FontByKind(&user[i]);
    if (report)
        DebugErrorAlt(__PRETTY_FUNCTION__, "Font <%s> does not exist", id);
    return nullptr;
}

int MWinFonts::GetFontNumFromID(const char* id)
{
    if (MWinIsIDEmpty(id))
        return MWIN_FONT_NUM_NONE;
    if (strcmp(id, MWIN_FONT_DEFAULT) == 0)
        return MWIN_FONT_NUM_DEFAULT;
    if (strcmp(id, MWIN_FONT_NONE) == 0)
        return MWIN_FONT_NUM_NONE;
    for (int i = 0; i < num_user; i++)
        if (MWinAreIDsTheSame(user[i].id, id))
            return i;
    DebugErrorAlt(__PRETTY_FUNCTION__, "Font <%s> does not exist", id);
    return MWIN_FONT_NUM_NONE;
}
