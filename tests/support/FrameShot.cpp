// Saving the frame just drawn in the engine window, for looking at by eye.
#include "support/FrameShot.h"

#include <GL/glew.h>

#include <algorithm>
#include <cstdlib>
#include <vector>

#include "EngJpeg.h"
#include "EngWindow.h"

namespace vztest
{

void SaveFrameIfAsked(const char* env, const std::string& tag)
{
    const char* base = getenv(env);
    if (!base)
        return;
    int w = eng_main_window_width, h = eng_main_window_height;
    std::vector<unsigned char> px(size_t(w) * h * 3), flipped(px.size());
    glReadBuffer(GL_BACK);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, w, h, GL_RGB, GL_UNSIGNED_BYTE, px.data());
    for (int y = 0; y < h; y++)
        std::copy_n(&px[size_t(h - 1 - y) * w * 3], size_t(w) * 3, &flipped[size_t(y) * w * 3]);
    EngJpegWriteFileFromBuffer((std::string(base) + tag + ".jpg").c_str(), 90, 72, w, h, flipped.data());
}

} // namespace vztest
