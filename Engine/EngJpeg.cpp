// JPEG reading and writing over libjpeg. Every libjpeg error longjmps back
// to the caller, which cleans up and fails; nothing ever exits the process.
#include "EngJpeg.h"

#include <algorithm>
#include <csetjmp>
#include <cstdarg>
#include <cstdio>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <jpeglib.h>
#include <jerror.h>
#include <strings.h>
#include <sys/stat.h>

#include "EngDebug.h"
#include "EngFile.h"
#include "EngTexture.h"
#include "EngTga.h"

namespace
{

struct JpegError
{
    jpeg_error_mgr pub;
    jmp_buf jump;
    const char* func;
    const char* file;
    // errno when the library gave up (a failed write's reason).
    volatile int saved_errno;
};

// Why the last read or write failed, without the file's name.
char jpeg_failure[200];

void JpegErrorExit(j_common_ptr cinfo)
{
    JpegError* err = reinterpret_cast<JpegError*>(cinfo->err);
    err->saved_errno = errno;
    char text[JMSG_LENGTH_MAX];
    (*cinfo->err->format_message)(cinfo, text);
    snprintf(jpeg_failure, sizeof(jpeg_failure), "%s", text);
    DebugErrorAlt(err->func, "JPEG error in <%s>: %s", err->file ? err->file : "", text);
    longjmp(err->jump, 1);
}

// The library passes on only the first warning of a file (a damaged or
// oddly made stream); it goes to the log with the file's name.
void JpegOutputMessage(j_common_ptr cinfo)
{
    JpegError* err = reinterpret_cast<JpegError*>(cinfo->err);
    char text[JMSG_LENGTH_MAX];
    (*cinfo->err->format_message)(cinfo, text);
    DebugWarning(err->func, "JPEG warning in <%s>: %s", err->file ? err->file : "", text);
}

void SetupError(JpegError* err, const char* func, const char* file)
{
    jpeg_std_error(&err->pub);
    err->pub.error_exit = JpegErrorExit;
    err->pub.output_message = JpegOutputMessage;
    err->func = func;
    err->file = file;
    err->saved_errno = 0;
}

// The decoding work of a file, counted as the library starts each scan: for
// each block the scan visits, the coefficients of its band (a DC scan one, a
// sequential scan all 64 whatever its header claims) and
// ENG_JPEG_BLOCK_WORK for the visit itself. Refinement scans cost as first
// ones do: they visit every coefficient of their band.
struct JpegWork
{
    jpeg_progress_mgr pub;
    int scan; // the last scan counted
    long long done;
};

// Blocks of a component as the decoder holds them: whole MCUs of the image,
// each of the component's own sampling.
long long ComponentBlocks(const jpeg_decompress_struct* c, const jpeg_component_info* comp)
{
    const long long mcu_w = std::max(1, c->max_h_samp_factor) * DCTSIZE;
    const long long mcu_h = std::max(1, c->max_v_samp_factor) * DCTSIZE;
    return ((c->image_width + mcu_w - 1) / mcu_w) * comp->h_samp_factor *
           ((c->image_height + mcu_h - 1) / mcu_h) * comp->v_samp_factor;
}

// The image's coefficients: all its blocks x 64.
long long ImageCoefficients(const jpeg_decompress_struct* c)
{
    long long blocks = 0;
    for (int i = 0; i < c->num_components; i++)
        blocks += ComponentBlocks(c, &c->comp_info[i]);
    return blocks * DCTSIZE2;
}

// The library's progress monitor, called before each step of the input; a
// scan that would take the work past ENG_JPEG_MAX_DECODE_WORK times the
// image's coefficients stops the decode before it is decoded.
void CountScanWork(j_common_ptr common)
{
    j_decompress_ptr c = reinterpret_cast<j_decompress_ptr>(common);
    JpegWork* work = reinterpret_cast<JpegWork*>(c->progress);
    if (c->input_scan_number == work->scan)
        return;
    work->scan = c->input_scan_number;
    long long blocks = 0;
    if (c->comps_in_scan == 1)
        blocks = (long long)c->cur_comp_info[0]->width_in_blocks * c->cur_comp_info[0]->height_in_blocks;
    else
        for (int i = 0; i < c->comps_in_scan; i++)
            blocks += ComponentBlocks(c, c->cur_comp_info[i]);
    const int band = c->progressive_mode ? std::max(1, c->Se - c->Ss + 1) : DCTSIZE2;
    work->done += blocks * (band + ENG_JPEG_BLOCK_WORK);
    const long long coefficients = ImageCoefficients(c);
    if (work->done <= coefficients * ENG_JPEG_MAX_DECODE_WORK)
        return;
    JpegError* err = reinterpret_cast<JpegError*>(c->err);
    snprintf(jpeg_failure, sizeof(jpeg_failure),
             "Too much decoding work: scan %d would take it past %d times the image's %lld coefficients",
             work->scan, ENG_JPEG_MAX_DECODE_WORK, coefficients);
    DebugErrorAlt(err->func, "%s <%s>", jpeg_failure, err->file ? err->file : "");
    longjmp(err->jump, 1);
}

} // namespace

char EngJpegDoesFileHaveJpegExtension(const char* file)
{
    if (!file)
        return 0;
    size_t n = std::strlen(file);
    if (n <= 4)
        return 0;
    if (!strcasecmp(file + n - 4, ".jpg"))
        return 1;
    return n > 5 && !strcasecmp(file + n - 5, ".jpeg");
}

char EngJpegGetFileInfo(const char* file, unsigned int* width, unsigned int* height, unsigned int* components)
{
    if (!file)
        return 0;
    FILE* f = EngFileOpenRegularStream(file, "rb", 0, __PRETTY_FUNCTION__);
    if (!f)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Cannot open file %s", file);
        return 0;
    }
    jpeg_decompress_struct cinfo;
    JpegError err;
    SetupError(&err, __PRETTY_FUNCTION__, file);
    cinfo.err = &err.pub;
    if (setjmp(err.jump))
    {
        jpeg_destroy_decompress(&cinfo);
        std::fclose(f);
        return 0;
    }
    jpeg_create_decompress(&cinfo);
    jpeg_stdio_src(&cinfo, f);
    jpeg_read_header(&cinfo, TRUE);
    if (width)
        *width = cinfo.image_width;
    if (height)
        *height = cinfo.image_height;
    if (components)
        *components = unsigned(cinfo.num_components);
    jpeg_destroy_decompress(&cinfo);
    std::fclose(f);
    return 1;
}

// Huffman-coded data spends at least one bit on each 8 x 8 block, and each
// block of the most finely sampled component covers at most 256 pixels.
static const long long JPEG_MAX_PIXELS_PER_BYTE = 256 * 8;
// The arithmetic coder can spend far less than a bit on a flat block; such
// files are rare, and this still keeps a few hundred bytes from asking for
// the largest image.
static const long long JPEG_ARITH_MAX_PIXELS_PER_BYTE = 1 << 14;

// Bytes of the pixels a decode into out_channels (0: the file's own) hands
// back, from the header.
static long long OutputBytes(const jpeg_decompress_struct* cinfo, int out_channels)
{
    long long comps = out_channels == 4 || out_channels == 3 ? out_channels
                      : cinfo->num_components == 4           ? 3
                                                             : cinfo->num_components;
    return (long long)cinfo->image_width * cinfo->image_height * comps;
}

// The most memory a decode takes, from the header (the library allocates
// without asking): the pixels, the library's row buffers (a few dozen rows
// at most), and for a file of several scans (progressive ones) its
// whole-image store of coefficients, two bytes for each of 64 in every 8 x 8
// block of every component.
static long long DecodeBytes(const jpeg_decompress_struct* cinfo, int out_channels)
{
    long long bytes = OutputBytes(cinfo, out_channels) + (1 << 20) +
                      (long long)cinfo->image_width * cinfo->num_components * 64;
    if (!jpeg_has_multiple_scans(const_cast<jpeg_decompress_struct*>(cinfo)))
        return bytes;
    const long long max_h = std::max(1, cinfo->max_h_samp_factor), max_v = std::max(1, cinfo->max_v_samp_factor);
    for (int i = 0; i < cinfo->num_components; i++)
    {
        const jpeg_component_info& c = cinfo->comp_info[i];
        long long bw = ((long long)cinfo->image_width * c.h_samp_factor + max_h * 8 - 1) / (max_h * 8);
        long long bh = ((long long)cinfo->image_height * c.v_samp_factor + max_v * 8 - 1) / (max_v * 8);
        // Rounded up to whole groups of the component's own sampling.
        bw += c.h_samp_factor, bh += c.v_samp_factor;
        bytes += bw * bh * 64 * 2;
    }
    return bytes;
}

// One pixel of inverted (Adobe) or plain CMYK as RGB.
static inline void CmykToRgb(const unsigned char* cmyk, char inverted, unsigned char* rgb)
{
    int k = inverted ? cmyk[3] : 255 - cmyk[3];
    for (int i = 0; i < 3; i++)
    {
        int c = inverted ? cmyk[i] : 255 - cmyk[i];
        rgb[i] = (unsigned char)((c * k + 127) / 255);
    }
}

// Bytes the caller holds beside a decode of an image of width x height.
typedef long long (*JpegBeside)(unsigned int width, unsigned int height, void* user);

// Decodes a file: out_channels 0 keeps the file's components (CMYK and YCCK
// become RGB), 3 gives RGB whatever they are, 4 adds alpha by alpha_type to
// a colour image. The work is bounded by CountScanWork, the memory with what
// beside (when given) tells the caller holds.
static unsigned char* ReadJpeg(const char* func, const char* file, int out_channels, char alpha_type,
                               JpegBeside beside, void* user, unsigned int* width, unsigned int* height)
{
    if (!file || !width || !height)
        return nullptr;
    jpeg_failure[0] = 0;
    FILE* f = EngFileOpenRegularStream(file, "rb", 0, func);
    struct stat st;
    if (!f || fstat(fileno(f), &st) != 0)
    {
        DebugErrorAlt(func, "Cannot open file %s", file);
        if (f)
            std::fclose(f);
        return nullptr;
    }
    long long size = (long long)st.st_size;
    jpeg_decompress_struct cinfo;
    JpegError err;
    SetupError(&err, func, file);
    cinfo.err = &err.pub;
    JpegWork work = {};
    work.pub.progress_monitor = CountScanWork;
    unsigned char* volatile buffer = nullptr;
    if (setjmp(err.jump))
    {
        std::free(buffer);
        jpeg_destroy_decompress(&cinfo);
        std::fclose(f);
        return nullptr;
    }
    jpeg_create_decompress(&cinfo);
    cinfo.progress = &work.pub;
    jpeg_stdio_src(&cinfo, f);
    jpeg_read_header(&cinfo, TRUE);
    *width = cinfo.image_width;
    *height = cinfo.image_height;
    long long pixels = (long long)cinfo.image_width * cinfo.image_height;
    char cmyk = cinfo.num_components == 4 &&
                (cinfo.jpeg_color_space == JCS_CMYK || cinfo.jpeg_color_space == JCS_YCCK);
    const long long need = DecodeBytes(&cinfo, out_channels) +
                           (beside ? beside(cinfo.image_width, cinfo.image_height, user) : 0);
    char* why = jpeg_failure;
    const size_t room = sizeof(jpeg_failure);
    if (pixels > ENG_JPEG_MAX_PIXELS)
        snprintf(why, room, "Image too large [%u x %u]", cinfo.image_width, cinfo.image_height);
    else if (pixels > (cinfo.arith_code ? JPEG_ARITH_MAX_PIXELS_PER_BYTE : JPEG_MAX_PIXELS_PER_BYTE) * size)
        snprintf(why, room, "Image size [%u x %u] cannot come from a file of %lld bytes", cinfo.image_width,
                 cinfo.image_height, size);
    else if (out_channels == 4 && cinfo.num_components != 3 && !cmyk)
        snprintf(why, room, "Not supported (yet) for jpegs with %d components", cinfo.num_components);
    else if (need > ENG_IMAGE_MAX_DECODE_BYTES)
        snprintf(why, room, "Image [%u x %u] needs %lld MB to decode, more than %lld MB", cinfo.image_width,
                 cinfo.image_height, EngMegabytesRoundedUp(need), ENG_IMAGE_MAX_DECODE_BYTES >> 20);
    if (why[0])
    {
        DebugErrorAlt(func, "%s <%s>", why, file);
        jpeg_destroy_decompress(&cinfo);
        std::fclose(f);
        return nullptr;
    }
    // Inks come out as stored; files marked by Adobe store them inverted.
    char inverted = cinfo.saw_Adobe_marker;
    if (cmyk)
        cinfo.out_color_space = JCS_CMYK;
    jpeg_start_decompress(&cinfo);
    size_t comps = size_t(cinfo.output_components);
    size_t row_size = size_t(cinfo.output_width) * comps;
    size_t colour_comps = cmyk ? 3 : comps;
    size_t out_comps = out_channels == 4 || out_channels == 3 ? size_t(out_channels) : colour_comps;
    size_t out_row = size_t(cinfo.output_width) * out_comps;
    JSAMPARRAY row = (*cinfo.mem->alloc_sarray)(reinterpret_cast<j_common_ptr>(&cinfo), JPOOL_IMAGE,
                                                JDIMENSION(row_size), 1);
    buffer = static_cast<unsigned char*>(std::malloc(out_row * cinfo.output_height));
    if (!buffer)
    {
        DebugErrorAlt(func, "No memory.");
        snprintf(why, room, "No memory");
        jpeg_abort_decompress(&cinfo);
        jpeg_destroy_decompress(&cinfo);
        std::fclose(f);
        return nullptr;
    }
    unsigned lines = 0;
    while (cinfo.output_scanline < cinfo.output_height)
    {
        if (jpeg_read_scanlines(&cinfo, row, 1) != 1)
            break;
        unsigned char* dst = buffer + out_row * lines;
        const unsigned char* src = row[0];
        if (!cmyk && out_comps == comps)
            std::memcpy(dst, src, row_size);
        else
            for (size_t x = 0; x < cinfo.output_width; x++, src += comps, dst += out_comps)
            {
                if (cmyk)
                    CmykToRgb(src, inverted, dst);
                else if (comps == 1)
                    dst[0] = dst[1] = dst[2] = src[0];
                else
                    dst[0] = src[0], dst[1] = src[1], dst[2] = src[2];
                if (out_comps == 4)
                    dst[3] = alpha_type == 1 ? 0
                             : (alpha_type == 0 || alpha_type == 2 || alpha_type == 9)
                                 ? 255
                                 : EngTexture_GetPixelAlphaFromBrightness(alpha_type, dst[0], dst[1], dst[2]);
            }
        lines++;
    }
    if (lines != cinfo.output_height)
    {
        // A short stream would hand back rows that were never written.
        DebugErrorAlt(func, "Warning: Read %d lines not %d.", int(lines), int(cinfo.output_height));
        std::memset(buffer + out_row * lines, 0, out_row * (cinfo.output_height - lines));
    }
    jpeg_finish_decompress(&cinfo);
    jpeg_destroy_decompress(&cinfo);
    std::fclose(f);
    return buffer;
}

const char* EngJpegGetFailureReason()
{
    return jpeg_failure;
}

char EngJpegIsJpegData(const unsigned char* data, size_t size)
{
    return data && size >= 3 && data[0] == 0xFF && data[1] == 0xD8 && data[2] == 0xFF;
}

unsigned char* EngJpegReadFileToBuffer(const char* file, unsigned int* width, unsigned int* height)
{
    return ReadJpeg(__PRETTY_FUNCTION__, file, 0, 0, nullptr, nullptr, width, height);
}

unsigned char* EngJpegReadFileToBufferWithAlpha(const char* file, char alpha_type, unsigned int* width,
                                                unsigned int* height)
{
    return ReadJpeg(__PRETTY_FUNCTION__, file, 4, alpha_type, nullptr, nullptr, width, height);
}

unsigned char* EngJpegReadFileToRgb(const char* func, const char* file,
                                    long long (*beside)(unsigned int width, unsigned int height, void* user),
                                    void* user, unsigned int* width, unsigned int* height)
{
    return ReadJpeg(func ? func : __PRETTY_FUNCTION__, file, 3, 0, beside, user, width, height);
}

namespace
{
// Logs why an encode cannot go on under func and keeps it as the reason.
__attribute__((format(printf, 2, 3))) void EncodeRefused(const char* func, const char* format, ...)
{
    va_list args;
    va_start(args, format);
    vsnprintf(jpeg_failure, sizeof(jpeg_failure), format, args);
    va_end(args);
    DebugErrorAlt(func, "%s", jpeg_failure);
}

// Encodes RGB pixels into f (left open); file names it in messages. 0 when
// it could not: with errno telling why a write failed, or errno 0 and the
// library's own reason in jpeg_failure.
char WriteJpeg(const char* func, FILE* f, const char* file, int quality, int dpi, unsigned int width,
               unsigned int height, const unsigned char* pixels)
{
    jpeg_compress_struct cinfo;
    JpegError err;
    SetupError(&err, func, file);
    cinfo.err = &err.pub;
    if (setjmp(err.jump))
    {
        jpeg_destroy_compress(&cinfo);
        // errno means something only when the library could not write.
        errno = err.pub.msg_code != JERR_FILE_WRITE ? 0 : err.saved_errno ? err.saved_errno : EIO;
        return 0;
    }
    jpeg_create_compress(&cinfo);
    jpeg_stdio_dest(&cinfo, f);
    cinfo.image_width = width;
    cinfo.image_height = height;
    cinfo.input_components = 3;
    cinfo.in_color_space = JCS_RGB;
    jpeg_set_defaults(&cinfo);
    if (dpi > 65535)
    {
        // The density fields hold 16 bits.
        DebugErrorAlt(func, "Resolution %d dpi too large, written as 65535", dpi);
    }
    if (dpi > 0)
    {
        cinfo.density_unit = 1;
        cinfo.X_density = UINT16(std::min(dpi, 65535));
        cinfo.Y_density = cinfo.X_density;
    }
    jpeg_set_quality(&cinfo, quality, TRUE);
    jpeg_start_compress(&cinfo, TRUE);
    while (cinfo.next_scanline < cinfo.image_height)
    {
        JSAMPROW row = const_cast<JSAMPROW>(pixels + size_t(width) * cinfo.next_scanline * 3);
        jpeg_write_scanlines(&cinfo, &row, 1);
    }
    jpeg_finish_compress(&cinfo);
    jpeg_destroy_compress(&cinfo);
    return 1;
}

// The texture's RGB pixels, rows as read back, in a malloc'ed buffer; null
// after logging under func and keeping the reason.
unsigned char* TexturePixels(const char* func, EngTexture* texture)
{
    if (!texture || !texture->IsOk())
    {
        EncodeRefused(func, "Invalid Parameters");
        return nullptr;
    }
    if (texture->GetNumChannels() != 3)
    {
        EncodeRefused(func, "Invalid Texture (channels: %d)", texture->GetNumChannels());
        return nullptr;
    }
    int w = texture->GetWidth(), h = texture->GetHeight();
    size_t row = size_t(w) * 3;
    unsigned char* buffer = static_cast<unsigned char*>(std::malloc(row * size_t(h)));
    if (!buffer)
    {
        EncodeRefused(func, "No memory");
        return nullptr;
    }
    _EngTextureGetPixelDataInfo info;
    std::memset(&info, 0, sizeof(info));
    texture->PrepareToGetPixelData(&info, 1, 0);
    unsigned char* data = texture->GetPixelDataBuffer(&info);
    if (!data)
    {
        EncodeRefused(func, "Could not get texture data");
        texture->RestoreAfterGettingPixelData(&info);
        std::free(buffer);
        return nullptr;
    }
    std::memcpy(buffer, data, row * size_t(h));
    texture->RestoreAfterGettingPixelData(&info);
    return buffer;
}

struct TextureSave
{
    const char* func;
    const char* file;
    EngTexture* texture;
    int quality, dpi;
};

// The save's writer: the texture as a JPEG into the temporary; a reason
// that is not a failed write goes to why.
char WriteTextureJpeg(FILE* f, void* user, char* why, size_t why_size)
{
    const TextureSave* s = static_cast<const TextureSave*>(user);
    unsigned char* buffer = TexturePixels(s->func, s->texture);
    char ok = buffer && WriteJpeg(s->func, f, s->file, s->quality, s->dpi, unsigned(s->texture->GetWidth()),
                                  unsigned(s->texture->GetHeight()), buffer);
    const int err = buffer ? errno : 0;
    std::free(buffer);
    if (!ok && !err)
        snprintf(why, why_size, "%s", jpeg_failure);
    errno = err;
    return ok;
}
} // namespace

char EngJpegWriteFileFromBuffer(const char* file, int quality, int dpi, unsigned int width,
                                unsigned int height, const unsigned char* pixels)
{
    jpeg_failure[0] = 0;
    if (!file || !pixels || width == 0 || height == 0)
    {
        EncodeRefused(__PRETTY_FUNCTION__, "Invalid Parameters");
        return 0;
    }
    FILE* f = EngFileOpenRegularStream(file, "wb", 0, __PRETTY_FUNCTION__);
    if (!f)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Cannot open file %s", file);
        return 0;
    }
    if (!WriteJpeg(__PRETTY_FUNCTION__, f, file, quality, dpi, width, height, pixels))
    {
        std::fclose(f);
        return 0;
    }
    // Buffered data may only fail to reach the disk now.
    bool write_error = std::ferror(f) != 0;
    if (std::fclose(f) != 0 || write_error)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Could not write file %s", file);
        return 0;
    }
    return 1;
}

char EngJpegSaveToFileFromTexture(const char* file, EngTexture* texture, int quality, int dpi)
{
    jpeg_failure[0] = 0;
    if (!file || !file[0])
    {
        EncodeRefused(__PRETTY_FUNCTION__, "Invalid Parameters");
        return 0;
    }
    unsigned char* buffer = TexturePixels(__PRETTY_FUNCTION__, texture);
    if (!buffer)
        return 0;
    char ok = EngJpegWriteFileFromBuffer(file, quality, dpi, unsigned(texture->GetWidth()),
                                         unsigned(texture->GetHeight()), buffer);
    std::free(buffer);
    return ok;
}

char EngJpegSaveToFileFromTextureAtomically(const char* file, EngTexture* texture, int quality, int dpi)
{
    jpeg_failure[0] = 0;
    // The save refuses a missing name itself, and keeps its code.
    TextureSave job = {__PRETTY_FUNCTION__, file, texture, quality, dpi};
    return EngFileSaveAtomicallyWith(file, WriteTextureJpeg, &job);
}

char EngJpegSaveToFileFromTga(const char* file, EngTga* tga, int quality, int dpi)
{
    jpeg_failure[0] = 0;
    if (!file || !file[0] || !tga || !tga->m_data)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Invalid Parameters");
        return 0;
    }
    if (tga->m_bpp != 32)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Invalid data Bpp (%d)", tga->m_bpp);
        return 0;
    }
    size_t n = size_t(tga->m_width) * size_t(tga->m_height);
    unsigned char* buffer = static_cast<unsigned char*>(std::malloc(n * 3));
    if (!buffer)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "No memory");
        return 0;
    }
    for (size_t i = 0; i < n; i++)
    {
        uint32_t p = tga->m_data[i];
        buffer[i * 3] = (unsigned char)((p >> 16) & 0xff);
        buffer[i * 3 + 1] = (unsigned char)((p >> 8) & 0xff);
        buffer[i * 3 + 2] = (unsigned char)(p & 0xff);
    }
    char ok = EngJpegWriteFileFromBuffer(file, quality, dpi, unsigned(tga->m_width), unsigned(tga->m_height),
                                         buffer);
    std::free(buffer);
    return ok;
}

char EngJpegIsFilled()
{
    return 0;
}
