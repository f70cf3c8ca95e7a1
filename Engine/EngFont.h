// Bitmap fonts made from font files: glyphs rendered by FreeType, packed into
// square glyph sheets (one GL texture each), drawn as textured quads.
#pragma once

#include "EngTypes.h"

class EngMatrix;
class EngTexture;

// Glyph effects applied at creation. 16 32-bit values; the font reads 0..6.
struct _EngFontCreationEffects
{
    EngInt32 padding;            // empty border around each glyph in its box
    EngInt32 shadow_x;           // shadow offset to the right, pixels
    EngInt32 shadow_y;           // shadow offset downwards, pixels
    float shadow_lum_factor;     // shadow luminance = coverage x factor
    float shadow_alpha_factor;   // shadow alpha = coverage x factor
    EngInt32 blur_passes_first;  // passes over the first channel
    EngInt32 blur_passes_second; // passes over the second channel
    float unused[9];
};
static_assert(sizeof(_EngFontCreationEffects) == 64, "16 32-bit values");

// Where one character's glyph lies in its sheet and how it is placed.
struct _EngFontLetter
{
    EngUInt8 present;
    EngUInt8 sheet;
    float x_offset; // pen to the left edge of the box
    float y_offset; // baseline up to the bottom edge of the box
    float advance;
    float left_u, top_v, right_u, bottom_v;
    float width, height;
};

#define ENG_FONT_DEFAULT_SHEET_SIZE 512
#define ENG_FONT_MIN_SHEET_SIZE 16
#define ENG_FONT_MAX_SHEET_SIZE 4096
#define ENG_FONT_MAX_SHEETS 256
#define ENG_FONT_ADVANCE_TABLE_SIZE 256

class EngFont
{
public:
    EngFont();
    ~EngFont();
    EngFont(const EngFont&) = delete;
    EngFont& operator=(const EngFont&) = delete;

    void SetSheetSize(int size);
    void SetCreationEffects(_EngFontCreationEffects* effects);
    char CreateFromFontFile(const char* file, char two_channels, int reserved, int size, int min_char,
                            int max_char, char* wanted, int wanted_count, float x_scale, float y_scale,
                            float y_offset_add, float height_add, float f5, float f6, float f7, float f8,
                            char reserved_flag);
    void Destroy();
    void UseTransparentFonts(char) {}

    // Drawing (inside a text block, see EngFontPrepareForDrawing).
    float DrawStringPart(float x, float y, const char* str, int count, float max_x);
    float DrawString(float x, float y, const char* str) { return DrawStringPart(x, y, str, 0, 0); }
    void DrawStringPartAlign(float x, float y, char h_align, char v_align, const char* str, int count,
                             float max_x, char own_block);
    void DrawStringAlign(float x, float y, char h_align, char v_align, const char* str, char own_block);
    void DrawStringAlignInt(int x, int y, char h_align, char v_align, const char* str, char own_block);
    float DrawStringPartAlignGetYPos(float y, char v_align);
    void DrawMultilineText(float x, float y, float max_w, float max_h, char h_align, char v_align,
                           const char* str, char draw, int first_line, float* widest, float* height,
                           int* lines, char* all_shown);
    float DrawLetter_GL(unsigned char code);
    char DrawToTexture(EngTexture* target, char* str, float x, float y, float sx, float sy, char reserved);
    // The pixel work of DrawToTexture: composes the string into an image of
    // rows top to bottom with 3 or 4 channels, reading glyphs from sheets.
    char ComposeStringIntoImage(unsigned char* image, int width, int height, int channels, const char* str,
                                float x, float y, float sx, float sy,
                                unsigned char* const* sheets) const;

    // Measuring.
    float GetStringWidth(const char* str);
    float GetFontHeight(char scaled);
    float GetCharWidth(char code);
    float GetScaledCharWidth(char code);
    static char IsCharWhitespace(char c) { return c == ' ' || c == '\t'; }
    char GetCharDrawingDimensions(int, float*, float*, float*);

    // Scale and colour.
    void SetScale(float x, float y);
    void SetScale(const _Vector2d* s);
    void SetScaleIncWidescreen(float x, float y);
    void SetScaleIncWidescreen(const _Vector2d* s);
    void GetScale(_Vector2d* s);
    void GetScale(float* x, float* y);
    void SetColour(const _ColourRGBA* c);
    void SetColour(float r, float g, float b, float a);
    void GetColour(_ColourRGBA* c);
    void GetColour(float* r, float* g, float* b, float* a);
    void SetMultilineYgap(float gap) { line_gap = gap; }

    // Text-field support.
    float RecordNextTextXPos(int index);
    void DrawStringPartSetXStartPos(char on, float x);

    // Creation steps (public so that packing and glyph boxes can be checked).
    char AllocSheetPart(int* sheet_counter, int* cursor_x, int* cursor_y, int* row_height, int w, int h,
                        int* out_x, int* out_y, char counting);
    void CopySheetDataToTexture(int sheet);

    // Read-only views of the tables.
    char IsCreated() const { return created == 1 && !SheetsOfFormerContext(); }
    int GetCodeCount() const { return code_count; }
    int GetSheetCount() const { return sheet_count; }
    int GetSheetSize() const { return sheet_size; }
    char HasTwoChannels() const { return two_channels; }
    int GetSheetOfChar(int code) const;
    const _EngFontLetter* GetLetter(int code) const;
    float GetAdvance(int code) const;
    // The code whose letter stands for a byte when drawn and measured: the
    // byte, or '?' for one the font holds no letter for. Tabs, line ends and
    // the other codes below the space, and the space are kept: they are
    // layout, not letters. The no-break space without a letter of its own is
    // the space.
    unsigned char ShownCode(unsigned char code) const;
    // The finished sheet pixels, kept only when no GL context took them.
    const unsigned char* GetSheetPixels(int sheet) const;
    unsigned int GetSheetTexture(int sheet) const;

private:
    void ResetVars();
    // Sheet textures made under an older GL context: their names may now name
    // other textures.
    bool SheetsOfFormerContext() const;
    // Such a font forgets its sheet names without deleting them and is no
    // longer created (the settings for the next creation stay when asked);
    // true while the font is created.
    char Live(char keep_settings = 1);
    struct LetterBox;
    int ParseLetter(void* face, int code, char render, LetterBox* out);
    char CreateTextureFromData_GL(int code, const LetterBox* box, int* sheet_counter, int* cx, int* cy,
                                  int* row_h);
    char CheckBoxFits(int w, int h) const;
    float ScaleX() const { return scale_on ? scale_x : 1.0f; }
    float ScaleY() const { return scale_on ? scale_y : 1.0f; }
    void UpdateScaleOn();
    void FreeTables();
    // GL halves (Engine/GL/EngFontGL.cpp).
    char CreateSheetTextures_GL();
    void UploadSheet_GL(int sheet);
    void DeleteSheetTextures_GL();
    char ReadSheet_GL(int sheet, unsigned char* out);
    void DrawStringBegin_GL(float x, float y);
    void DrawStringEnd_GL();
    void MoveBy_GL(float dx);

    char created;
    float height;
    _EngFontCreationEffects effects;
    int* sheet_map;
    int code_count;
    int sheet_size;
    int sheet_count;
    float scale_x, scale_y;
    char scale_on;
    float colour_r, colour_g, colour_b, colour_a;
    char colour_set;
    float line_gap;
    float advance_table[ENG_FONT_ADVANCE_TABLE_SIZE];
    int cursor_index;
    float cursor_x;
    char left_limit_on;
    float left_limit_x;
    unsigned int* sheet_textures;
    unsigned int sheet_generation; // eng_gl_context_generation of the sheet textures
    _EngFontLetter* letters;
    char two_channels;
    unsigned char* sheet_pixels;
    // Creation arguments that the letter records need.
    float create_x_scale, create_y_scale, create_y_offset_add;
    // Finished sheets kept in memory when there is no GL context.
    unsigned char** kept_sheets;
};

// Information lines about characters missing from a face (initially on).
void EngFontShowCharWarnings(char on);

// The wanted list of the printable Latin-1 letters (32 to 126 and 160 to
// 255), the text encoding of the one-byte fonts.
#define ENG_FONT_LATIN1_WANTED_COUNT 256
char* EngFontLatin1Letters();

// Opens the face and reports its family and style names (each optional,
// copied into buffers of the given sizes) and which letter cases it has:
// 3 both, 2 upper only, 1 lower only, 0 neither.
char EngFontGetFontFileDetails(const char* file, char* family, int family_size, char* style, int style_size,
                               int* cases);

// The 1-2-1 binomial blur of glyph sheets, in place.
void BinomColor(int channels, int second_passes, int first_passes, int width, int height, unsigned char* pixels,
                int length);

// Text blocks: mode 0 window pixels, 1 the 640 x 480 space, 2 the caller's
// own transform (Pure2). A block runs on the device: its 2D mode, blending
// and projection; without a device nothing opens.
extern char eng_font_ready_for_drawing;
extern char eng_font_using_ratio;
extern char eng_font_prepared_2d;
// The device's projection when the open block was opened.
extern EngMatrix ef_save_proj_mat;

void EngFontPrepareForDrawingWithOrientation(int orientation, char mode);
void EngFontPrepareForDrawingWithOrientation(char mode);
void EngFontPrepareForDrawing(char mode);
void EngFontPrepareForDrawingPure2();
void EngFontRestoreAfterDrawing();
char EngFontRestoreAfterDrawingIfNeeded();
char EngFontIsReadyForDrawing();
char EngFontPrepareForDrawingWithOrientationIfNeeded(char mode, char* opened);
char EngFontPrepareForDrawingIfNeeded(char mode, char* opened);
void EngFontSaveAndUnPrepareStateOrRestoreAndPrepareState(char save);
void DisplayProjMatrix(char* label);
