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
// Most decoding work a JPEG file may make, in times the image's coefficients
// (all its blocks x 64). A scan costs, for each block it visits, the
// coefficients of its band and ENG_JPEG_BLOCK_WORK more for the visit
// itself, whatever its size in the file; encoders' scripts come to 3 to 5.
// A file that asks for more is refused when the library reaches the scan
// that passes it, before decoding that scan.
#define ENG_JPEG_MAX_DECODE_WORK 6
// What visiting a block costs beside its coefficients: the library spends
// about as long on a block of a scan of one coefficient as on eight
// coefficients of a refinement scan.
#define ENG_JPEG_BLOCK_WORK 8
class EngTga;

char EngJpegDoesFileHaveJpegExtension(const char* file);
char EngJpegGetFileInfo(const char* file, unsigned int* width, unsigned int* height,
                        unsigned int* components);
unsigned char* EngJpegReadFileToBuffer(const char* file, unsigned int* width, unsigned int* height);
unsigned char* EngJpegReadFileToBufferWithAlpha(const char* file, char alpha_type, unsigned int* width,
                                                unsigned int* height);
// A file decoded as EngJpegReadFileToBuffer does, logged under func, into
// RGB, three bytes a pixel whatever its components. beside, when given,
// tells the bytes the caller will hold beside the decode of an image of
// width x height: they count against ENG_IMAGE_MAX_DECODE_BYTES with the
// decode's own.
unsigned char* EngJpegReadFileToRgb(const char* func, const char* file,
                                    long long (*beside)(unsigned int width, unsigned int height, void* user),
                                    void* user, unsigned int* width, unsigned int* height);
// Why the last decode of a file or encode failed ("" when it did not, or
// when the file could not be opened or created).
const char* EngJpegGetFailureReason();
// True when the bytes begin as a JPEG file does.
char EngJpegIsJpegData(const unsigned char* data, size_t size);
char EngJpegWriteFileFromBuffer(const char* file, int quality, int dpi, unsigned int width,
                                unsigned int height, const unsigned char* pixels);
char EngJpegSaveToFileFromTexture(const char* file, EngTexture* texture, int quality, int dpi);
// The same written as EngFileSaveAtomically writes: into a fresh temporary
// beside the file, flushed and renamed over it; a failure leaves the old
// file and no temporary, and is logged with its reason; its code is
// EngFileGetLastSaveError's (EINVAL for a texture it cannot write).
char EngJpegSaveToFileFromTextureAtomically(const char* file, EngTexture* texture, int quality, int dpi);
char EngJpegSaveToFileFromTga(const char* file, EngTga* tga, int quality, int dpi);
char EngJpegIsFilled();
