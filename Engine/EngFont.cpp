// Bitmap fonts: creation from font files (FreeType), packing, blur, measuring
// and the device-independent half of drawing.
#include "EngFont.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_GLYPH_H
#include FT_BITMAP_H
#include FT_MODULE_H

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <sys/stat.h>
#include <vector>

#include "EngDebug.h"
#include "EngDevice.h"
#include "EngFile.h"
#include "EngMain.h"
#include "EngMatrix.h"
#include "EngProgram.h"
#include "EngTexture.h"
#include "EngWhichDevice.h"
#include "EngWindow.h"
#include "GL/EngDeviceGL.h"

char eng_font_ready_for_drawing = 0;
char eng_font_using_ratio = 0;
char eng_font_prepared_2d = 0;

static char ef_show_char_warnings = 1;

void EngFontShowCharWarnings(char on)
{
    ef_show_char_warnings = on;
}

char* EngFontLatin1Letters()
{
    static char wanted[ENG_FONT_LATIN1_WANTED_COUNT];
    for (int c = 0; c < ENG_FONT_LATIN1_WANTED_COUNT; c++)
        wanted[c] = (c >= 32 && c < 127) || c >= 160;
    return wanted;
}

// Fonts touch OpenGL only on the GL device with a live context.
static char EngFontHasGL()
{
    return eng_main_device_type == 1 && eng_gl_3d_setup;
}

namespace
{
// Largest font file read.
const size_t FONT_MAX_FILE_SIZE = 64u << 20;
// Most memory FreeType may take for one face and its glyphs: a damaged file
// that asks for more gets an out-of-memory error, not the memory.
const size_t FONT_MAX_FREETYPE_MEMORY = 128u << 20;
// Glyph bitmaps larger than this a side are empty boxes; an outline that big
// is not even rendered.
const int FONT_MAX_GLYPH_SIDE = 5000;

// FreeType's text for an error code, from its own list.
// clang-format off
const char* FtErrorText(FT_Error error)
{
#undef FTERRORS_H_
#define FT_ERRORDEF(e, v, s) {e, s},
#define FT_ERROR_START_LIST {
#define FT_ERROR_END_LIST {0, nullptr}};
    static const struct
    {
        int code;
        const char* text;
    } texts[] =
#include FT_ERRORS_H
    for (const auto& t : texts)
        if (t.text && t.code == FT_ERROR_BASE(error))
            return t.text;
    return "unknown error";
}
// clang-format on

// FreeType's allocations, counted against FONT_MAX_FREETYPE_MEMORY.
EngMemoryBudget* BudgetOf(FT_Memory memory)
{
    return static_cast<EngMemoryBudget*>(memory->user);
}

void* FtAlloc(FT_Memory memory, long size)
{
    return size > 0 ? BudgetOf(memory)->Alloc(size_t(size)) : nullptr;
}

void FtFree(FT_Memory memory, void* block)
{
    BudgetOf(memory)->Free(block);
}

void* FtRealloc(FT_Memory memory, long, long new_size, void* block)
{
    return new_size > 0 ? BudgetOf(memory)->Realloc(block, size_t(new_size)) : nullptr;
}

// FreeType library and face for the length of one call.
struct FtSession
{
    EngMemoryBudget budget{0, FONT_MAX_FREETYPE_MEMORY, false};
    FT_MemoryRec_ memory = {&budget, FtAlloc, FtFree, FtRealloc};
    FT_Library lib = nullptr;
    FT_Face face = nullptr;
    unsigned char* data = nullptr;
    ~FtSession()
    {
        if (face)
            FT_Done_Face(face);
        if (lib)
            FT_Done_Library(lib);
        free(data);
    }
    bool Init()
    {
        if (FT_New_Library(&memory, &lib))
        {
            lib = nullptr;
            return false;
        }
        FT_Add_Default_Modules(lib);
        FT_Set_Default_Properties(lib);
        return true;
    }
    // The face of the whole file read into memory, so FreeType never opens
    // the path (a FIFO or device) itself. Returns 0, or FreeType's error;
    // -1 when the file could not be read (errno says why; the reader logs it
    // too unless quiet).
    FT_Error OpenFace(const char* file, char quiet)
    {
        size_t n = 0;
        data = EngFileReadWholeFile(file, FONT_MAX_FILE_SIZE, &n, quiet);
        if (!data)
            return -1;
        FT_Error e = FT_New_Memory_Face(lib, data, FT_Long(n), 0, &face);
        if (e)
            face = nullptr;
        return e;
    }
};

// A glyph converted to a bitmap; owns the FreeType glyph and any 8-bit copy.
struct BitmapGlyph
{
    FT_Library lib = nullptr;
    FT_Glyph glyph = nullptr;
    FT_Bitmap gray;
    bool converted = false;
    BitmapGlyph() { FT_Bitmap_Init(&gray); }
    ~BitmapGlyph()
    {
        if (converted)
            FT_Bitmap_Done(lib, &gray);
        if (glyph)
            FT_Done_Glyph(glyph);
    }
};

// Loads the glyph of a code and converts it to a bitmap. Returns 1, 0 on a
// failure that ends creation (load/get), -1 on a failed conversion. An
// outline too large to be drawn is left as it is: an empty glyph.
int LoadBitmapGlyph(FT_Face face, FT_UInt index, int code, BitmapGlyph* out, const char* func)
{
    if (FT_Load_Glyph(face, index, FT_LOAD_DEFAULT))
    {
        DebugErrorAlt(func, "FT_Load_Glyph failed");
        return 0;
    }
    if (FT_Get_Glyph(face->glyph, &out->glyph))
    {
        out->glyph = nullptr;
        DebugErrorAlt(func, "FT_Get_Glyph failed");
        return 0;
    }
    if (out->glyph->format == FT_GLYPH_FORMAT_BITMAP)
        return 1;
    FT_BBox box;
    FT_Glyph_Get_CBox(out->glyph, FT_GLYPH_BBOX_PIXELS, &box);
    if (box.xMax - box.xMin > FONT_MAX_GLYPH_SIDE || box.yMax - box.yMin > FONT_MAX_GLYPH_SIDE)
        return 1;
    if (FT_Glyph_To_Bitmap(&out->glyph, FT_RENDER_MODE_NORMAL, nullptr, 1))
    {
        if (code != 32 && code != 160)
            DebugErrorAlt(func, "FT_Glyph_To_Bitmap failed");
        return -1;
    }
    return 1;
}

// The glyph's pixels as 8-bit coverage, rows top to bottom; false for a
// glyph without pixels (none at all, no buffer, too large, or rows shorter
// than its width needs).
struct Coverage8
{
    const unsigned char* top = nullptr; // first byte of the top row
    long step = 0;                      // from one row to the next
    int width = 0, rows = 0;
    int grays = 256;
    unsigned char At(int j, int i) const
    {
        unsigned char v = top[i * step + j];
        return grays == 256 ? v : (unsigned char)(std::min<int>(v, grays - 1) * 255 / (grays - 1));
    }
};

bool ReadCoverage(FT_Library lib, const FT_Glyph glyph, BitmapGlyph* keep, Coverage8* out)
{
    if (glyph->format != FT_GLYPH_FORMAT_BITMAP)
        return false;
    const FT_Bitmap* bm = &reinterpret_cast<FT_BitmapGlyph>(glyph)->bitmap;
    if (!bm->buffer || bm->width < 1 || bm->rows < 1 || bm->width > unsigned(FONT_MAX_GLYPH_SIDE) ||
        bm->rows > unsigned(FONT_MAX_GLYPH_SIDE))
        return false;
    long need; // bytes a row holds at least
    switch (bm->pixel_mode)
    {
    case FT_PIXEL_MODE_MONO:
        need = (long(bm->width) + 7) / 8;
        break;
    case FT_PIXEL_MODE_GRAY2:
        need = (long(bm->width) + 3) / 4;
        break;
    case FT_PIXEL_MODE_GRAY4:
        need = (long(bm->width) + 1) / 2;
        break;
    case FT_PIXEL_MODE_GRAY:
    case FT_PIXEL_MODE_LCD:
    case FT_PIXEL_MODE_LCD_V:
        need = long(bm->width);
        break;
    case FT_PIXEL_MODE_BGRA:
        need = long(bm->width) * 4;
        break;
    default:
        return false;
    }
    if (std::labs(long(bm->pitch)) < need)
        return false;
    if (bm->pixel_mode != FT_PIXEL_MODE_GRAY)
    {
        keep->lib = lib;
        keep->converted = true;
        if (FT_Bitmap_Convert(lib, bm, &keep->gray, 1) || !keep->gray.buffer)
            return false;
        bm = &keep->gray;
    }
    // Rows go up in memory when the pitch is negative.
    long pitch = bm->pitch;
    out->top = pitch < 0 ? bm->buffer + (long(bm->rows) - 1) * -pitch : bm->buffer;
    out->step = pitch;
    out->width = int(bm->width);
    out->rows = int(bm->rows);
    out->grays = bm->num_grays >= 2 && bm->num_grays <= 256 ? bm->num_grays : 256;
    return true;
}

inline unsigned char TruncByte(float v)
{
    if (!(v > 0))
        return 0;
    return v >= 255.0f ? 255 : (unsigned char)v;
}
} // namespace

struct EngFont::LetterBox
{
    int w = 2, h = 2;
    int left = 0, top = 0, rows = 0;
    std::vector<unsigned char> pixels; // w x h x channels, when rendered
};

EngFont::EngFont()
{
    sheet_map = nullptr;
    sheet_textures = nullptr;
    letters = nullptr;
    sheet_pixels = nullptr;
    kept_sheets = nullptr;
    sheet_count = 0;
    ResetVars();
}

EngFont::~EngFont()
{
    Destroy();
    FreeTables();
}

void EngFont::ResetVars()
{
    created = 0;
    height = 0;
    memset(&effects, 0, sizeof(effects));
    sheet_map = nullptr;
    code_count = 0;
    sheet_size = ENG_FONT_DEFAULT_SHEET_SIZE;
    sheet_count = 0;
    scale_x = scale_y = 1.0f;
    scale_on = 0;
    colour_r = colour_g = colour_b = colour_a = 1.0f;
    colour_set = 0;
    line_gap = 0;
    for (float& a : advance_table)
        a = 0;
    cursor_index = -1;
    cursor_x = 0;
    left_limit_on = 0;
    left_limit_x = 0;
    sheet_textures = nullptr;
    sheet_generation = 0;
    letters = nullptr;
    two_channels = 0;
    sheet_pixels = nullptr;
    create_x_scale = create_y_scale = 1.0f;
    create_y_offset_add = 0;
    kept_sheets = nullptr;
}

// Frees every owned table (also after a failed creation).
void EngFont::FreeTables()
{
    EngFree(sheet_map, 0, "EngFont");
    sheet_map = nullptr;
    if (sheet_textures)
    {
        if (EngFontHasGL() && !SheetsOfFormerContext())
            DeleteSheetTextures_GL();
        EngFree(sheet_textures, 0, "EngFont");
        sheet_textures = nullptr;
    }
    EngFree(letters, 0, "EngFont");
    letters = nullptr;
    EngFree(sheet_pixels, 0, "EngFont");
    sheet_pixels = nullptr;
    if (kept_sheets)
    {
        for (int i = 0; i < sheet_count; i++)
            EngFree(kept_sheets[i], 0, "EngFont");
        EngFree(kept_sheets, 0, "EngFont");
        kept_sheets = nullptr;
    }
}

bool EngFont::SheetsOfFormerContext() const
{
    return sheet_textures && sheet_generation != eng_gl_context_generation;
}

char EngFont::Live(char keep_settings)
{
    if (SheetsOfFormerContext())
    {
        DebugErrorAlt(__PRETTY_FUNCTION__,
                      "Font of a former GL context: %d sheet names forgotten, not deleted", sheet_count);
        EngFree(sheet_textures, 0, "EngFont");
        sheet_textures = nullptr;
        FreeTables();
        _EngFontCreationEffects kept_effects = effects;
        int kept_size = sheet_size;
        ResetVars();
        if (keep_settings)
            effects = kept_effects, sheet_size = kept_size;
    }
    return created == 1;
}

void EngFont::Destroy()
{
    if (!Live(0))
        return;
    FreeTables();
    ResetVars();
}

void EngFont::SetSheetSize(int size)
{
    sheet_size = size;
}

void EngFont::SetCreationEffects(_EngFontCreationEffects* e)
{
    if (e)
        effects = *e;
    else
        memset(&effects, 0, sizeof(effects));
}

int EngFont::GetSheetOfChar(int code) const
{
    if (!sheet_map || code < 0 || code >= code_count)
        return -1;
    return sheet_map[code];
}

const _EngFontLetter* EngFont::GetLetter(int code) const
{
    if (!letters || code < 0 || code >= code_count || !letters[code].present)
        return nullptr;
    return &letters[code];
}

unsigned char EngFont::ShownCode(unsigned char code) const
{
    if (code <= ' ' || GetLetter(code))
        return code;
    if (code == 0xA0)
        return ' ';
    return GetLetter('?') ? '?' : code;
}

float EngFont::GetAdvance(int code) const
{
    if (code < 0 || code >= ENG_FONT_ADVANCE_TABLE_SIZE)
        return 0;
    return advance_table[code];
}

const unsigned char* EngFont::GetSheetPixels(int sheet) const
{
    if (!kept_sheets || sheet < 0 || sheet >= sheet_count)
        return nullptr;
    return kept_sheets[sheet];
}

unsigned int EngFont::GetSheetTexture(int sheet) const
{
    if (!sheet_textures || SheetsOfFormerContext() || sheet < 0 || sheet >= sheet_count)
        return 0;
    return sheet_textures[sheet];
}

// A box must fit in a sheet with its gap on both sides.
char EngFont::CheckBoxFits(int w, int h) const
{
    int gap = effects.padding + 2;
    int room = sheet_size - 2 * gap;
    if (w <= 0 || h <= 0 || w > room || h > room)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Letter box %d x %d does not fit a %d sheet", w, h, sheet_size);
        return 0;
    }
    return 1;
}

char EngFont::AllocSheetPart(int* counter, int* cx, int* cy, int* row_h, int w, int h, int* out_x, int* out_y,
                             char counting)
{
    if (!CheckBoxFits(w, h))
        return 0;
    const int gap = effects.padding + 2;
    const int S = sheet_size;
    if (*counter > 0 && *cx + w <= S && *cy + h <= S)
    {
        *out_x = *cx;
        *out_y = *cy;
        *cx += w + gap;
        *row_h = std::max(*row_h, h);
        return 1;
    }
    if (*counter > 0 && *cx + w > S && *cy + *row_h + gap + h <= S)
    {
        *cy += *row_h + gap;
        *row_h = h;
        *out_x = gap;
        *out_y = *cy;
        *cx = gap + w + gap;
        return 1;
    }
    // A new sheet. Letter records name their sheet in one byte.
    if (*counter >= ENG_FONT_MAX_SHEETS)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Too many sheets (%d)", *counter);
        return 0;
    }
    if (!counting)
    {
        if (!sheet_pixels)
        {
            DebugErrorAlt(__PRETTY_FUNCTION__, "Sheet data not created (%d)", *counter);
            return 0;
        }
        if (*counter >= sheet_count)
        {
            DebugErrorAlt(__PRETTY_FUNCTION__, "Invalid sheet num %d (%d)", *counter, sheet_count);
            return 0;
        }
        if (*counter > 0)
            CopySheetDataToTexture(*counter - 1);
        memset(sheet_pixels, 0, size_t(S) * S * (two_channels ? 2 : 1));
    }
    *cx = w + 2 * gap;
    *cy = gap;
    *row_h = h;
    (*counter)++;
    *out_x = gap;
    *out_y = gap;
    return 1;
}

// Loads one glyph and computes its box; with render set also composes the
// box pixels. Returns 1; 0 when loading failed; -1 when the face has no such
// glyph; -2 when it could not be made a bitmap or its box is refused.
int EngFont::ParseLetter(void* face_ptr, int code, char render, LetterBox* out)
{
    FT_Face face = static_cast<FT_Face>(face_ptr);
    FT_UInt index = FT_Get_Char_Index(face, FT_ULong(code));
    if (!index)
    {
        if (render && ef_show_char_warnings)
            DebugInfo("EngFont::ParseLetter - No char at %d", code);
        return -1;
    }
    BitmapGlyph g;
    int r = LoadBitmapGlyph(face, index, code, &g, __PRETTY_FUNCTION__);
    if (r <= 0)
        return r == 0 ? 0 : -2;
    Coverage8 cov;
    const bool inked = ReadCoverage(face->glyph->library, g.glyph, &g, &cov);
    const int p = effects.padding, sx = effects.shadow_x, sy = effects.shadow_y;
    const char two = two_channels;
    const int ch = two ? 2 : 1;
    if (g.glyph->format == FT_GLYPH_FORMAT_BITMAP)
    {
        const FT_BitmapGlyph bg = reinterpret_cast<FT_BitmapGlyph>(g.glyph);
        out->left = bg->left;
        out->top = bg->top;
    }
    out->rows = inked ? cov.rows : 0;
    if (inked)
    {
        out->w = cov.width + 2 * p + sx;
        out->h = cov.rows + 2 * p + sy;
    }
    else
    {
        out->w = out->h = 2;
    }
    if (code >= 0 && code < ENG_FONT_ADVANCE_TABLE_SIZE)
        advance_table[code] = float(face->glyph->advance.x >> 6) * create_x_scale;
    if (!render)
        return 1;
    // Refuse oversized boxes before touching any pixels.
    if (!CheckBoxFits(out->w, out->h))
        return -2;
    out->pixels.assign(size_t(out->w) * out->h * ch, 0);
    if (!inked)
        return 1;
    unsigned char* box = out->pixels.data();
    const int W = out->w;
    auto px = [&](int x, int y) { return box + (size_t(y) * W + x) * ch; };
    const bool shadow = sx != 0 || sy != 0;
    if (shadow)
    {
        for (int i = 0; i < cov.rows; i++)
            for (int j = 0; j < cov.width; j++)
            {
                unsigned char c = cov.At(j, i);
                unsigned char* d = px(p + sx + j, p + sy + i);
                if (two)
                {
                    d[0] = TruncByte(c * effects.shadow_lum_factor);
                    d[1] = TruncByte(c * effects.shadow_alpha_factor);
                }
                else
                {
                    d[0] = TruncByte(c * effects.shadow_lum_factor);
                }
            }
    }
    for (int i = 0; i < cov.rows; i++)
        for (int j = 0; j < cov.width; j++)
        {
            unsigned char c = cov.At(j, i);
            if (shadow && c < 128)
                continue;
            unsigned char* d = px(p + j, p + i);
            d[0] = c;
            if (two)
                d[1] = c;
        }
    return 1;
}

char EngFont::CreateTextureFromData_GL(int code, const LetterBox* box, int* counter, int* cx, int* cy,
                                       int* row_h)
{
    if (!sheet_pixels)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Sheet data not created");
        return 0;
    }
    if (!letters)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "letter draw list not setup");
        return 0;
    }
    int x = 0, y = 0;
    if (!AllocSheetPart(counter, cx, cy, row_h, box->w, box->h, &x, &y, 0))
        return 0;
    const int ch = two_channels ? 2 : 1;
    const int S = sheet_size;
    const size_t row_bytes = size_t(box->w) * ch;
    for (int i = 0; i < box->h; i++)
        memcpy(sheet_pixels + (size_t(y + i) * S + x) * ch, box->pixels.data() + i * row_bytes, row_bytes);
    const int sheet = *counter - 1;
    sheet_map[code] = sheet;
    _EngFontLetter& L = letters[code];
    const float p = float(effects.padding);
    const float fs = float(S);
    L.sheet = EngUInt8(sheet);
    L.x_offset = float(box->left - effects.shadow_x) * create_x_scale;
    L.y_offset = float(box->top - box->rows - effects.shadow_y) * create_y_scale + create_y_offset_add;
    L.advance = advance_table[code];
    L.left_u = x / fs - p / (2 * fs);
    L.top_v = y / fs - p / (2 * fs);
    L.right_u = (x + box->w) / fs + p / (2 * fs);
    L.bottom_v = (y + box->h) / fs + p / (2 * fs);
    L.width = box->w * create_x_scale;
    L.height = box->h * create_y_scale;
    L.present = 1;
    return 1;
}

void EngFont::CopySheetDataToTexture(int sheet)
{
    if (sheet < 0 || sheet >= sheet_count)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Invalid sheet num %d (%d)", sheet, sheet_count);
        return;
    }
    if (!sheet_pixels)
        return;
    const int ch = two_channels ? 2 : 1;
    const int length = sheet_size * sheet_size * ch;
    BinomColor(ch, effects.blur_passes_second, effects.blur_passes_first, sheet_size, sheet_size, sheet_pixels,
               length);
    if (sheet_textures && EngFontHasGL())
    {
        UploadSheet_GL(sheet);
    }
    else if (kept_sheets)
    {
        if (!kept_sheets[sheet])
            kept_sheets[sheet] = static_cast<unsigned char*>(EngMalloc(size_t(length), "EngFont", 0));
        if (kept_sheets[sheet])
            memcpy(kept_sheets[sheet], sheet_pixels, size_t(length));
    }
}

char EngFont::CreateFromFontFile(const char* file, char two, int, int size, int min_char, int max_char,
                                 char* wanted, int wanted_count, float x_scale, float y_scale, float y_offset_add,
                                 float height_add, float, float, float, float, char)
{
    const char* F = __PRETTY_FUNCTION__;
    if (EngFontHasGL())
        EngUtilsGL_ErrorCheck(F, "Pre Create Start");
    if (!file || !file[0])
    {
        DebugErrorAlt(F, "No font file name specified");
        return 0;
    }
    if (Live())
    {
        DebugErrorAlt(F, "FD already setup");
        return 0;
    }
    if (min_char < 0 || min_char > max_char)
    {
        DebugErrorAlt(F, "Bad min_char_needed [%d]", min_char);
        return 0;
    }
    if (max_char < 32 || max_char > 255)
    {
        DebugErrorAlt(F, "Bad max_char_needed [%d]", max_char);
        return 0;
    }
    if (sheet_size < ENG_FONT_MIN_SHEET_SIZE || sheet_size > ENG_FONT_MAX_SHEET_SIZE)
    {
        DebugErrorAlt(F, "Bad sheet size [%d]", sheet_size);
        return 0;
    }
    if (size < 8 || size > sheet_size)
    {
        DebugErrorAlt(F, "Bad max bitmap size [%d]", size);
        return 0;
    }
    if (two < 0 || two > 1)
    {
        DebugErrorAlt(F, "Bad has_two_channels [%d]", two);
        return 0;
    }
    if (effects.padding < 0 || effects.padding > sheet_size)
    {
        DebugErrorAlt(F, "Bad padding [%d]", effects.padding);
        return 0;
    }
    if (effects.shadow_x < 0 || effects.shadow_y < 0 || effects.shadow_x > sheet_size ||
        effects.shadow_y > sheet_size)
    {
        DebugErrorAlt(F, "Bad shadow offsets [%d, %d]", effects.shadow_x, effects.shadow_y);
        return 0;
    }
    FreeTables(); // leftovers of a failed creation
    FtSession ft;
    if (!ft.Init())
    {
        DebugErrorAlt(F, "FT_Init_FreeType Failed");
        return 0;
    }
    struct stat st;
    if (EngFileIsThereButNotRegular(file, F))
        return 0;
    if (stat(file, &st) != 0)
    {
        DebugErrorAlt(F, "Could not find file <%s>", file);
        return 0;
    }
    FT_Error e = 0;
    if ((unsigned long long)st.st_size > FONT_MAX_FILE_SIZE)
        DebugErrorAlt(F, "Font file too large [%lld bytes] <%s>", (long long)st.st_size, file);
    else if ((e = ft.OpenFace(file, 1)) == -1)
        DebugErrorAlt(F, "Could not read the font file: %s <%s>", strerror(errno), file);
    else if (e)
        DebugErrorAlt(F, "FreeType cannot read the font: %s <%s>", FtErrorText(e), file);
    if (!ft.face)
    {
        DebugErrorAlt(F, "Problem loading font <%s>", file);
        return 0;
    }
    two_channels = two;
    height = size * y_scale + height_add;
    create_x_scale = x_scale;
    create_y_scale = y_scale;
    create_y_offset_add = y_offset_add;
    for (float& a : advance_table)
        a = 0;
    FT_Set_Char_Size(ft.face, FT_F26Dot6(size) * 64, FT_F26Dot6(size) * 64, 150, 150);

    code_count = max_char + 1;
    sheet_map = static_cast<int*>(EngMalloc(sizeof(int) * size_t(code_count), "EngFont", 0));
    if (!sheet_map)
    {
        DebugErrorAlt(F, "No memory for sheet number list");
        return 0;
    }
    for (int i = 0; i < code_count; i++)
        sheet_map[i] = -1;
    auto is_wanted = [&](int code) { return !(wanted && code < wanted_count && !wanted[code]); };

    // Measuring pass: how many sheets the boxes need.
    int counter = 0, cx = 0, cy = 0, row_h = 0, ox = 0, oy = 0;
    for (int code = min_char; code <= max_char; code++)
    {
        if (!is_wanted(code))
            continue;
        LetterBox box;
        int r = ParseLetter(ft.face, code, 0, &box);
        if (r == 0)
        {
            FreeTables();
            return 0;
        }
        if (r < 0)
            continue;
        if (!AllocSheetPart(&counter, &cx, &cy, &row_h, box.w, box.h, &ox, &oy, 1))
            advance_table[code] = 0;
    }
    sheet_count = counter;
    if (sheet_count == 0)
    {
        DebugErrorAlt(F, "No sheets");
        FreeTables();
        return 0;
    }
    letters = static_cast<_EngFontLetter*>(EngMalloc(sizeof(_EngFontLetter) * size_t(code_count), "EngFont", 1));
    if (!letters)
    {
        DebugErrorAlt(F, "No memory for letter info list");
        FreeTables();
        return 0;
    }
    if (EngFontHasGL())
    {
        sheet_textures =
            static_cast<unsigned int*>(EngMalloc(sizeof(unsigned int) * size_t(sheet_count), "EngFont", 1));
        if (!sheet_textures)
        {
            DebugErrorAlt(F, "No memory for sheet texture ids list");
            FreeTables();
            return 0;
        }
        CreateSheetTextures_GL();
    }
    else
    {
        kept_sheets = static_cast<unsigned char**>(
            EngMalloc(sizeof(unsigned char*) * size_t(sheet_count), "EngFont", 1));
    }
    const size_t sheet_bytes = size_t(sheet_size) * sheet_size * (two_channels ? 2 : 1);
    sheet_pixels = static_cast<unsigned char*>(EngMalloc(sheet_bytes, "EngFont", 1));
    if (!sheet_pixels)
    {
        DebugErrorAlt(F, "Could not create sheet data");
        FreeTables();
        return 0;
    }

    // Rendering pass: compose the boxes into the sheets.
    counter = cx = cy = row_h = 0;
    for (int code = min_char; code <= max_char; code++)
    {
        if (!is_wanted(code))
        {
            sheet_map[code] = -1;
            continue;
        }
        LetterBox box;
        int r = ParseLetter(ft.face, code, 1, &box);
        if (r == -1)
            continue;
        if (r != 1 || !CreateTextureFromData_GL(code, &box, &counter, &cx, &cy, &row_h))
        {
            DebugErrorAlt(F, "EngFont::ParseLetter Failed <%d - %c>", code,
                          (code >= 32 && code < 127) ? code : '?');
            sheet_map[code] = -1;
            advance_table[code] = 0;
        }
    }
    if (counter > 0)
        CopySheetDataToTexture(counter - 1);
    EngFree(sheet_pixels, 0, "EngFont");
    sheet_pixels = nullptr;

    scale_x = scale_y = 1.0f;
    scale_on = 0;
    colour_r = colour_g = colour_b = colour_a = 1.0f;
    colour_set = 0;
    created = 1;
    return 1;
}

char EngFontGetFontFileDetails(const char* file, char* family, int family_size, char* style, int style_size,
                               int* cases)
{
    if (!file || !file[0])
        return 0;
    FtSession ft;
    if (!ft.Init() || ft.OpenFace(file, 1))
        return 0;
    if (family && family_size > 0)
        EngSafeStrcpy(family, ft.face->family_name ? ft.face->family_name : "", size_t(family_size));
    if (style && style_size > 0)
        EngSafeStrcpy(style, ft.face->style_name ? ft.face->style_name : "", size_t(style_size));
    if (cases)
    {
        auto has = [&](char c) { return FT_Get_Char_Index(ft.face, FT_ULong(c)) != 0; };
        bool upper = has('A') && has('Z');
        bool lower = has('a') && has('z');
        *cases = upper && lower ? 3 : upper ? 2 : lower ? 1 : 0;
    }
    return 1;
}

// One blur pass of one channel from src into dst (both width x height x channels).
static void BinomPass(const unsigned char* src, unsigned char* dst, int width, int height, int ch, int c)
{
    auto at = [&](const unsigned char* b, int x, int y) -> int { return b[(size_t(y) * width + x) * ch + c]; };
    auto out = [&](int x, int y) -> unsigned char& { return dst[(size_t(y) * width + x) * ch + c]; };
    for (int y = 1; y <= height - 2; y++)
        for (int x = 1; x <= width - 2; x++)
        {
            int s = at(src, x - 1, y - 1) + at(src, x + 1, y - 1) + at(src, x - 1, y + 1) + at(src, x + 1, y + 1) +
                    2 * (at(src, x, y - 1) + at(src, x, y + 1) + at(src, x - 1, y) + at(src, x + 1, y)) +
                    4 * at(src, x, y);
            out(x, y) = (unsigned char)std::min(s >> 4, 255);
        }
    for (int y = 0; y < height; y++)
    {
        out(0, y) = (unsigned char)at(src, 1, y);
        out(width - 1, y) = (unsigned char)at(src, width - 2, y);
    }
    for (int x = 0; x < width; x++)
    {
        out(x, 0) = (unsigned char)at(src, x, 1);
        out(x, height - 1) = (unsigned char)at(src, x, height - 2);
    }
}

void BinomColor(int channels, int second_passes, int first_passes, int width, int height, unsigned char* pixels,
                int length)
{
    if (channels != 1 && channels != 2)
        return;
    if (channels == 1 ? first_passes <= 0 : (first_passes <= 0 && second_passes <= 0))
        return;
    if (!pixels || width < 3 || height < 3 || length < width * height * channels)
        return;
    unsigned char* a = static_cast<unsigned char*>(EngMalloc(size_t(length), "BinomColor", 0));
    if (!a)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "No memory (1)");
        return;
    }
    unsigned char* b = static_cast<unsigned char*>(EngMalloc(size_t(length), "BinomColor", 0));
    if (!b)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "No memory (2)");
        EngFree(a, 0, "BinomColor");
        return;
    }
    for (int c = 0; c < channels; c++)
    {
        int passes = c == 0 ? first_passes : second_passes;
        if (passes <= 0)
            continue;
        memcpy(a, pixels, size_t(length));
        memcpy(b, pixels, size_t(length));
        unsigned char* src = a;
        unsigned char* dst = b;
        for (int n = 0; n < passes; n++)
        {
            BinomPass(src, dst, width, height, channels, c);
            std::swap(src, dst);
        }
        for (size_t i = size_t(c); i < size_t(width) * height * channels; i += size_t(channels))
            pixels[i] = src[i];
    }
    EngFree(a, 0, "BinomColor");
    EngFree(b, 0, "BinomColor");
}

// ---- Measuring, scale and colour ----

float EngFont::GetStringWidth(const char* str)
{
    if (!Live() || !str)
        return 0;
    float w = 0;
    for (const unsigned char* s = reinterpret_cast<const unsigned char*>(str); *s; s++)
        w += advance_table[ShownCode(*s)];
    return w * ScaleX();
}

float EngFont::GetFontHeight(char scaled)
{
    if (!Live())
        return 0;
    return scaled ? height * ScaleY() : height;
}

float EngFont::GetCharWidth(char code)
{
    if (!Live())
        return 0;
    return advance_table[ShownCode((unsigned char)code)];
}

float EngFont::GetScaledCharWidth(char code)
{
    return GetCharWidth(code) * ScaleX();
}

char EngFont::GetCharDrawingDimensions(int, float*, float*, float*)
{
    DebugErrorAlt(__PRETTY_FUNCTION__, "Not implemented yet (GL)");
    return 0;
}

void EngFont::UpdateScaleOn()
{
    scale_on = (scale_x != 1.0f || scale_y != 1.0f) && scale_x != 0 && scale_y != 0;
}

void EngFont::SetScale(float x, float y)
{
    if (!Live())
        return;
    scale_x = x;
    scale_y = y;
    UpdateScaleOn();
}

void EngFont::SetScale(const _Vector2d* s)
{
    if (!s)
    {
        scale_x = scale_y = 1.0f;
        scale_on = 0;
        return;
    }
    SetScale(s->x, s->y);
}

void EngFont::SetScaleIncWidescreen(float x, float y)
{
    SetScale(x * eng_main_window_x_widescreen_ratio, y);
}

void EngFont::SetScaleIncWidescreen(const _Vector2d* s)
{
    if (!s)
    {
        SetScale(nullptr);
        return;
    }
    SetScaleIncWidescreen(s->x, s->y);
}

void EngFont::GetScale(_Vector2d* s)
{
    if (s)
    {
        s->x = scale_x;
        s->y = scale_y;
    }
}

void EngFont::GetScale(float* x, float* y)
{
    if (x)
        *x = scale_x;
    if (y)
        *y = scale_y;
}

void EngFont::SetColour(const _ColourRGBA* c)
{
    if (!c || !Live())
        return;
    colour_r = c->r;
    colour_g = c->g;
    colour_b = c->b;
    colour_a = c->a;
    colour_set = 1;
}

void EngFont::SetColour(float r, float g, float b, float a)
{
    if (!Live())
        return;
    if (r >= 0)
        colour_r = r;
    if (g >= 0)
        colour_g = g;
    if (b >= 0)
        colour_b = b;
    if (a >= 0)
        colour_a = a;
    colour_set = 1;
}

void EngFont::GetColour(_ColourRGBA* c)
{
    if (c)
        GetColour(&c->r, &c->g, &c->b, &c->a);
}

void EngFont::GetColour(float* r, float* g, float* b, float* a)
{
    bool set = colour_set != 0;
    if (r)
        *r = set ? colour_r : 1.0f;
    if (g)
        *g = set ? colour_g : 1.0f;
    if (b)
        *b = set ? colour_b : 1.0f;
    if (a)
        *a = set ? colour_a : 1.0f;
}

float EngFont::RecordNextTextXPos(int index)
{
    cursor_index = index;
    return cursor_x;
}

void EngFont::DrawStringPartSetXStartPos(char on, float x)
{
    left_limit_on = on;
    left_limit_x = x;
}

// ---- Text blocks ----

EngMatrix ef_save_proj_mat = eng_matrix_identity_matrix;

static char ef_saved_valid = 0;
static char ef_saved_ready = 0;
static char ef_saved_mode = 0;

// Text blocks work through the device; without one (or its GL context) they do nothing.
static char EngFontHasDevice()
{
    return eng_main_device != nullptr && EngFontHasGL();
}

void EngFontPrepareForDrawingWithOrientation(int, char mode)
{
    if (!EngFontHasDevice())
        return;
    if (mode == 2)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Call EngFontPrepareForDrawingPure2() instead");
        EngFontPrepareForDrawingPure2();
        return;
    }
    // A second open would save the blending and push the model-view twice,
    // which a single close cannot undo: close the open block first.
    if (eng_font_ready_for_drawing)
        EngFontRestoreAfterDrawing();
    EngDevice* dev = eng_main_device;
    eng_font_prepared_2d = dev->PrepareFor2DIfNeeded(1);
    dev->SaveOrRestoreBlendingState(1);
    dev->EnableBlendingType(0);
    dev->GetProjectionMatrix(&ef_save_proj_mat);
    const float w = mode == 1 ? 640.0f : float(eng_main_window_width);
    const float h = mode == 1 ? 480.0f : float(eng_main_window_height);
    EngMatrix ortho;
    ortho.SetOrthoMatrix(0, w, 0, h, -1, 1);
    EngMatrix* proj = dev->GetProjectionMatrix();
    if (proj)
    {
        proj->SetOrientationMatrix(EngMainGetOrientation());
        proj->PreMultiplyByMatrix(&ortho);
        dev->SetProjectionMatrixToCurrent();
    }
    dev->PushTransformMatrix();
    dev->SetTransformMatrixIdentity();
    eng_font_ready_for_drawing = 1;
    eng_font_using_ratio = mode;
}

void EngFontPrepareForDrawingWithOrientation(char mode)
{
    EngFontPrepareForDrawingWithOrientation(eng_main_orientation_alt, mode);
}

void EngFontPrepareForDrawing(char mode)
{
    EngFontPrepareForDrawingWithOrientation(0, mode);
}

void EngFontPrepareForDrawingPure2()
{
    if (!EngFontHasDevice())
        return;
    if (eng_font_ready_for_drawing)
        EngFontRestoreAfterDrawing();
    eng_main_device->SaveOrRestoreBlendingState(1);
    eng_main_device->EnableBlendingType(0);
    eng_font_prepared_2d = 0;
    eng_font_ready_for_drawing = 1;
    eng_font_using_ratio = 2;
}

void EngFontRestoreAfterDrawing()
{
    if (!EngFontHasDevice())
        return;
    if (!eng_font_ready_for_drawing)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Not setup");
        return;
    }
    EngDevice* dev = eng_main_device;
    if (eng_font_using_ratio != 2)
    {
        dev->SetProjectionMatrixToMatrix(&ef_save_proj_mat);
        dev->PopTransformMatrix();
    }
    dev->SetCurrentColourWhite_GL(0);
    dev->SaveOrRestoreBlendingState(0);
    if (eng_font_prepared_2d)
        dev->RestoreAfter2D();
    eng_font_prepared_2d = 0;
    eng_font_ready_for_drawing = 0;
}

char EngFontRestoreAfterDrawingIfNeeded()
{
    if (!eng_font_ready_for_drawing)
        return 0;
    EngFontRestoreAfterDrawing();
    return 1;
}

char EngFontIsReadyForDrawing()
{
    return eng_font_ready_for_drawing;
}

char EngFontPrepareForDrawingWithOrientationIfNeeded(char mode, char* opened)
{
    if (eng_font_ready_for_drawing && (mode == 0) != (eng_font_using_ratio == 0))
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Ratio mix problem");
        EngFontRestoreAfterDrawing();
    }
    if (!eng_font_ready_for_drawing)
    {
        EngFontPrepareForDrawingWithOrientation(mode);
        if (opened)
            *opened = 1;
        return 0;
    }
    if (opened)
        *opened = 0;
    return 1;
}

char EngFontPrepareForDrawingIfNeeded(char mode, char* opened)
{
    return EngFontPrepareForDrawingWithOrientationIfNeeded(mode, opened);
}

void EngFontSaveAndUnPrepareStateOrRestoreAndPrepareState(char save)
{
    if (save)
    {
        if (ef_saved_valid)
        {
            DebugErrorAlt(__PRETTY_FUNCTION__, "Already saved");
            return;
        }
        ef_saved_valid = 1;
        ef_saved_ready = eng_font_ready_for_drawing;
        ef_saved_mode = eng_font_using_ratio;
        EngFontRestoreAfterDrawingIfNeeded();
        return;
    }
    if (!ef_saved_valid)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Not saved");
        return;
    }
    ef_saved_valid = 0;
    if (!ef_saved_ready)
        return;
    if (ef_saved_mode == 2)
        EngFontPrepareForDrawingPure2();
    else
        EngFontPrepareForDrawing(ef_saved_mode);
}

void DisplayProjMatrix(char* label)
{
    EngMatrix m = eng_matrix_identity_matrix;
    if (eng_main_device)
        eng_main_device->GetProjectionMatrix(&m);
    DebugInfo("---- %s ----", label ? label : "");
    // Room for the widest float ("-3.4e38" written out) sixteen times.
    char line[16 * 48 + 1];
    size_t n = 0;
    line[0] = 0;
    for (float v : m.m)
    {
        int wrote = snprintf(line + n, sizeof(line) - n, "%.2f, ", v);
        if (wrote < 0 || size_t(wrote) >= sizeof(line) - n)
            break;
        n += size_t(wrote);
    }
    DebugInfo("%s", line);
}

// ---- Drawing ----

float EngFont::DrawStringPart(float x, float y, const char* str, int count, float max_x)
{
    if (!EngFontHasDevice() || !Live() || !str)
        return 0;
    if (eng_font_using_ratio != 2 && !eng_main_device->Is2dPrepared())
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "2D Not setup");
        return 0;
    }
    if (!eng_font_ready_for_drawing)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Not ready for drawings");
        return 0;
    }
    const int len = int(strlen(str));
    const int n = (count <= 0 || count >= len) ? len : count;
    float Y;
    if (eng_font_using_ratio == 1)
        Y = 480.0f - y;
    else if (eng_font_using_ratio == 0)
        Y = float(eng_main_window_height) - y;
    else
        Y = -y;
    DrawStringBegin_GL(x, Y);
    const float sx = ScaleX();
    float pen = x;
    for (int i = 0; i < n; i++)
    {
        const unsigned char c = ShownCode((unsigned char)str[i]);
        const _EngFontLetter* L = GetLetter(c);
        const float adv = L ? L->advance : 0.0f;
        const float next = pen + adv * sx;
        if (max_x > 0 && next >= max_x)
            continue;
        if (left_limit_on && pen < left_limit_x)
            MoveBy_GL(adv);
        else
            DrawLetter_GL(c);
        if (i == cursor_index)
            cursor_x = pen;
        pen = next;
    }
    if (n == cursor_index)
        cursor_x = pen;
    DrawStringEnd_GL();
    return pen;
}

float EngFont::DrawStringPartAlignGetYPos(float y, char v_align)
{
    if (!Live())
        return 0;
    const float h = height * ScaleY();
    if (v_align == 0)
        return y + h;
    if (v_align == 1)
        return y + h / 2;
    return y;
}

void EngFont::DrawStringPartAlign(float x, float y, char h_align, char v_align, const char* str, int count,
                                  float max_x, char own_block)
{
    if (!Live() || !str)
        return;
    char opened = 0;
    if (own_block)
        EngFontPrepareForDrawingIfNeeded(1, &opened);
    const float Y = DrawStringPartAlignGetYPos(y, v_align);
    const float w = GetStringWidth(str);
    float X = x;
    if (h_align == 1)
        X = x - w / 2;
    else if (h_align == 2)
        X = x - w;
    DrawStringPart(X, Y, str, count, max_x);
    if (opened)
        EngFontRestoreAfterDrawing();
}

void EngFont::DrawStringAlign(float x, float y, char h_align, char v_align, const char* str, char own_block)
{
    DrawStringPartAlign(x, y, h_align, v_align, str, 0, 0, own_block);
}

void EngFont::DrawStringAlignInt(int x, int y, char h_align, char v_align, const char* str, char own_block)
{
    DrawStringPartAlign(float(x), float(y), h_align, v_align, str, 0, 0, own_block);
}

void EngFont::DrawMultilineText(float x, float y, float max_w, float max_h, char h_align, char v_align,
                                const char* str, char draw, int first_line, float* widest_out, float* height_out,
                                int* lines_out, char* all_shown_out)
{
    auto report = [&](int lines, float widest, float h, char all) {
        if (lines_out)
            *lines_out = lines;
        if (widest_out)
            *widest_out = widest;
        if (height_out)
            *height_out = h;
        if (all_shown_out)
            *all_shown_out = all;
    };
    if (!Live() || !str)
    {
        report(0, 0, 0, 1);
        return;
    }
    const float L = height * ScaleY();
    const float sx = ScaleX();
    const int len = int(strlen(str));
    if (len == 0 || (len == 1 && IsCharWhitespace(str[0])))
    {
        report(1, 0, L, 1);
        return;
    }
    auto is_break = [](char c) { return c == ' ' || c == '\t' || c == '\n'; };
    auto width_at = [&](int i) -> float {
        if (i >= len || is_break(str[i]))
            return 0;
        return advance_table[ShownCode((unsigned char)str[i])] * sx;
    };
    int lines = 0;
    float w = 0, widest = 0, pen_y = y;
    int line_no = 0, line_start = 0, last_break = -1;
    int i = 0;
    for (;;)
    {
        if (i > len)
        {
            DebugErrorAlt(__PRETTY_FUNCTION__, "Internal Error - should not get here");
            report(lines, widest, pen_y - y, 0);
            return;
        }
        int end;
        bool last = false;
        if (i == len)
        {
            end = len;
            last = true;
        }
        else if (str[i] == '\n')
        {
            end = i;
        }
        else
        {
            const float a = width_at(i), b = width_at(i + 1);
            if (w + a + b < max_w)
            {
                w += advance_table[ShownCode((unsigned char)str[i])] * sx;
                widest = std::max(widest, w);
                i++;
                continue;
            }
            end = i;
            if (!(i > 0 && str[i - 1] == '\n'))
            {
                int k = -1;
                for (int j = i; j >= 1; j--)
                    if (IsCharWhitespace(str[j]))
                    {
                        k = j;
                        break;
                    }
                if (k >= 1 && k < i && k > last_break)
                {
                    end = k;
                    if (k == len - 1)
                        last = true;
                }
            }
        }
        last_break = end;
        if (line_no >= first_line)
        {
            if (end > line_start)
            {
                int start = line_start;
                if (str[start] == '\n')
                    start++;
                int n = end - start;
                if (n > 255)
                {
                    DebugErrorAlt(__PRETTY_FUNCTION__, "Line part too long");
                    n = 255;
                }
                if (draw && n > 0)
                {
                    char text[256];
                    memcpy(text, str + start, size_t(n));
                    text[n] = 0;
                    const char* t = text;
                    if (h_align == 0 && t[0] == ' ')
                        t++;
                    if (t[0])
                        DrawStringPartAlign(x, pen_y, h_align, v_align, t, 0, 0, 0);
                }
                lines++;
                pen_y += line_gap != 0 ? line_gap : L;
            }
            else if (end == 0)
            {
                lines++;
                pen_y += line_gap != 0 ? line_gap : L;
            }
        }
        if (pen_y > y + max_h - L || last)
        {
            report(lines, widest, pen_y - y, last ? 1 : 0);
            return;
        }
        line_no++;
        w = 0;
        line_start = end;
        i = end + 1;
    }
}

// Truncates toward zero, saturating far outside any image.
static int ToInt(float v)
{
    if (!(v > -1e8f))
        return -100000000;
    if (v > 1e8f)
        return 100000000;
    return int(v);
}

// Glyph pixels as an RGBA source value: white ink on black, opaque.
static void GlyphSourcePixel(const unsigned char* sp, int ch, unsigned char out[4])
{
    unsigned char v = ch == 2 ? (unsigned char)(sp[0] * sp[1] / 255) : sp[0];
    out[0] = out[1] = out[2] = v;
    out[3] = 255;
}

char EngFont::ComposeStringIntoImage(unsigned char* image, int width, int height_px, int channels, const char* str,
                                     float x, float y, float sx, float sy, unsigned char* const* sheets) const
{
    if (!image || !str || !sheets || width <= 0 || height_px <= 0 || (channels != 3 && channels != 4))
        return 0;
    const int S = sheet_size;
    const int ch = two_channels ? 2 : 1;
    float total = 0, hmax = 0;
    for (const unsigned char* s = reinterpret_cast<const unsigned char*>(str); *s; s++)
    {
        total += advance_table[ShownCode(*s)];
        if (const _EngFontLetter* L = GetLetter(ShownCode(*s)))
            hmax = std::max(hmax, L->height);
    }
    const float mul[4] = {colour_set ? colour_r : 1.0f, colour_set ? colour_g : 1.0f,
                          colour_set ? colour_b : 1.0f, colour_set ? colour_a : 1.0f};
    float pen = x - 0.5f * total * sx;
    const float base = float(height_px) - y - 0.5f * sy * hmax;
    for (const unsigned char* s = reinterpret_cast<const unsigned char*>(str); *s; s++)
    {
        const unsigned char c = ShownCode(*s);
        const _EngFontLetter* L = GetLetter(c);
        if (!L)
            continue;
        const unsigned char* sheet = L->sheet < sheet_count ? sheets[L->sheet] : nullptr;
        if (c != ' ' && sheet)
        {
            const int fx = ToInt(L->left_u * S), fy = ToInt(L->top_v * S);
            const int fw = ToInt((L->right_u - L->left_u) * S), fh = ToInt((L->bottom_v - L->top_v) * S);
            const int tx = ToInt(sx * L->x_offset + pen);
            const int th = ToInt(sy * L->height);
            const int ty = height_px - ToInt(sy * L->y_offset + base) - th;
            const int tw = ToInt(sx * L->width);
            if (fw > 0 && fh > 0 && tw > 0 && th > 0)
                for (int i = std::max(ty, 0); i < std::min(int64_t(ty) + th, int64_t(height_px)); i++)
                {
                    int r = int(double(i - ty) * fh / th + fy);
                    r = std::min(std::max(r, fy), fy + fh - 1);
                    if (r < 0 || r >= S)
                        continue;
                    for (int j = std::max(tx, 0); j < std::min(int64_t(tx) + tw, int64_t(width)); j++)
                    {
                        int c = int(double(j - tx) * fw / tw + fx);
                        c = std::min(std::max(c, fx), fx + fw - 1);
                        if (c < 0 || c >= S)
                            continue;
                        unsigned char src[4];
                        GlyphSourcePixel(sheet + (size_t(r) * S + c) * ch, ch, src);
                        unsigned char* d = image + (size_t(i) * width + j) * channels;
                        for (int k = 0; k < channels; k++)
                            d[k] = TruncByte(src[k] * mul[k] + 0.5f);
                    }
                }
        }
        pen += sx * L->advance;
    }
    return 1;
}

char EngFont::DrawToTexture(EngTexture* target, char* str, float x, float y, float sx, float sy, char)
{
    const char* F = __PRETTY_FUNCTION__;
    if (!str || !str[0])
    {
        DebugErrorAlt(F, "No string");
        return 0;
    }
    if (!target)
    {
        DebugErrorAlt(F, "No texture");
        return 0;
    }
    if (!sheet_map)
    {
        DebugErrorAlt(F, "No sheets.");
        return 0;
    }
    if (!Live() || (!sheet_textures && !kept_sheets))
        return 0;
    float total = 0, hmax = 0;
    int sheets_used = 0;
    for (const unsigned char* s = reinterpret_cast<const unsigned char*>(str); *s; s++)
    {
        total += advance_table[ShownCode(*s)];
        if (const _EngFontLetter* L = GetLetter(ShownCode(*s)))
        {
            sheets_used = std::max(sheets_used, int(L->sheet) + 1);
            hmax = std::max(hmax, L->height);
        }
    }
    if (total <= 0)
        return 1;
    if (sheets_used == 0 || hmax <= 0)
        return 0;
    const int ch = two_channels ? 2 : 1;
    const size_t sheet_bytes = size_t(sheet_size) * sheet_size * ch;
    std::vector<std::vector<unsigned char>> readback(static_cast<size_t>(sheet_count));
    std::vector<unsigned char*> sheets(size_t(sheet_count), nullptr);
    for (const unsigned char* s = reinterpret_cast<const unsigned char*>(str); *s; s++)
    {
        const _EngFontLetter* L = GetLetter(ShownCode(*s));
        if (!L || L->sheet >= sheet_count || sheets[L->sheet])
            continue;
        if (kept_sheets)
        {
            sheets[L->sheet] = kept_sheets[L->sheet];
            continue;
        }
        readback[L->sheet].assign(sheet_bytes, 0);
        if (ReadSheet_GL(L->sheet, readback[L->sheet].data()))
            sheets[L->sheet] = readback[L->sheet].data();
    }
    const int channels = target->GetNumChannels();
    if (channels != 3 && channels != 4)
    {
        DebugErrorAlt(F, "BPP %d (to) not supported", channels * 8);
        return 0;
    }
    unsigned char* image = target->AllocAndGetTextureImageData();
    if (!image)
        return 0;
    ComposeStringIntoImage(image, target->GetWidth(), target->GetHeight(), channels, str, x, y, sx, sy,
                           sheets.data());
    char ok = target->UpdateTextureFromAllocatedImageData();
    target->FreeAllocatedTextureImageData();
    return ok;
}
