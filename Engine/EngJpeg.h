// JPEG files: header info, decoding to RGB(A) buffers, encoding RGB buffers,
// textures and TGA images. Decoded buffers come from malloc; callers free them.
// CMYK and YCCK files decode to RGB.
#pragma once

#include <cstddef>
#include <cstdio>

class EngTexture;

// Largest image decoded (pixels): bigger headers are refused, not allocated.
#define ENG_JPEG_MAX_PIXELS (8192LL * 8192LL)
// Most main memory reading one image file may take: the file's bytes where
// they are held, every buffer of the decoder and the pixels it hands back.
// An image that needs more is refused before it is decoded.
#define ENG_IMAGE_MAX_DECODE_BYTES (256LL << 20)
// Whole megabytes of a byte count, rounded up, for messages: a need just over
// a bound never reads as the bound itself.
inline long long EngMegabytesRoundedUp(long long bytes)
{
    return (bytes + (1LL << 20) - 1) >> 20;
}
// Most scans a JPEG file may hold. Encoders write about ten; each scan of a
// progressive file is decoded over the whole image, so a file that repeats
// one thousands of times would take minutes. More are refused.
#define ENG_JPEG_MAX_SCANS 300
class EngTga;

char EngJpegDoesFileHaveJpegExtension(const char* file);
char EngJpegGetFileInfo(const char* file, unsigned int* width, unsigned int* height,
                        unsigned int* components);
unsigned char* EngJpegReadFileToBuffer(const char* file, unsigned int* width, unsigned int* height);
unsigned char* EngJpegReadFileToBufferWithAlpha(const char* file, char alpha_type, unsigned int* width,
                                                unsigned int* height);
// Why the last decode of a file failed ("" when it did not, or when the file
// could not be opened).
const char* EngJpegGetFailureReason();
// The scans of JPEG data, counted as the decoder meets them, up to one more
// than ENG_JPEG_MAX_SCANS; 0 for data that is not JPEG.
int EngJpegCountScans(const unsigned char* data, size_t size);
// The guard of every JPEG decoder: 0, with "Too many scans: more than %d
// <file>" logged for func, when the data holds more than ENG_JPEG_MAX_SCANS
// scans; the engine's reader applies it to the files it opens.
char EngJpegCheckScans(const char* func, const unsigned char* data, size_t size, const char* file);
// True when the bytes begin as a JPEG file does.
char EngJpegIsJpegData(const unsigned char* data, size_t size);
char EngJpegWriteFileFromBuffer(const char* file, int quality, int dpi, unsigned int width,
                                unsigned int height, const unsigned char* pixels);
char EngJpegSaveToFileFromTexture(const char* file, EngTexture* texture, int quality, int dpi);
// The same into a stream the caller opened and closes (name is only for
// messages); 0 with errno set to the reason of a failed write.
char EngJpegWriteStreamFromBuffer(FILE* f, const char* name, int quality, int dpi, unsigned int width,
                                  unsigned int height, const unsigned char* pixels);
char EngJpegSaveToStreamFromTexture(FILE* f, const char* name, EngTexture* texture, int quality, int dpi);
char EngJpegSaveToFileFromTga(const char* file, EngTga* tga, int quality, int dpi);
char EngJpegIsFilled();
