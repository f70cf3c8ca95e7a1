// TEMPORARY (removed at merge): stand-ins for window, device and texture
// names that the fonts use and that other modules will define. Each has the
// name and signature of the real one; replace the include with theirs.
#pragma once

extern char eng_gl_3d_setup;
extern int eng_main_window_width;
extern int eng_main_window_height;
extern float eng_main_window_x_widescreen_ratio;

// The subset of the texture handle that the fonts and their tests use.
class EngTexture
{
public:
    EngTexture();
    ~EngTexture();
    EngTexture(const EngTexture&) = delete;
    EngTexture& operator=(const EngTexture&) = delete;

    char CreateEmptyTexture(int width, int height, char alpha);
    void Destroy();
    char IsOk();
    int GetWidth();
    int GetHeight();
    int GetNumChannels();
    unsigned char* AllocAndGetTextureImageData();
    char UpdateTextureFromAllocatedImageData();
    void FreeAllocatedTextureImageData();

private:
    unsigned int gl_name = 0;
    int width = 0, height = 0, channels = 0;
    unsigned char* data = nullptr;
};
