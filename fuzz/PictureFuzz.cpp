// libFuzzer target: the native dialog kit's pictures, from the choice of loader to the decoders behind it.
#include <fcntl.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "EngDebug.h"
#include "Linux/EngGui_LNX.h"

namespace
{
std::string folder;

void RemoveFolder()
{
    if (!folder.empty())
        rmdir(folder.c_str());
}
} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    // The log's lines would go to standard output and a log file.
    DebugTurnOffLogFile();
    const int null = open("/dev/null", O_WRONLY);
    if (null >= 0)
    {
        dup2(null, STDOUT_FILENO);
        close(null);
    }
    const char* tmp = getenv("TMPDIR");
    std::string pattern = std::string(tmp && *tmp ? tmp : "/tmp") + "/vz-picture-fuzz-XXXXXX";
    if (!mkdtemp(&pattern[0]))
    {
        perror("mkdtemp");
        abort();
    }
    folder = pattern;
    atexit(RemoveFolder);
    return 0;
}

// The first byte picks the file's name (a TGA is known by it) and the size
// the picture is asked for; the rest is the file.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 1)
        return 0;
    static const char* const names[] = {"picture", "picture.tga", "picture.TGA", "picture.png", "picture.jpg"};
    static const int sizes[][2] = {{-1, -1}, {16, 16}, {200, 50}};
    const std::string path = folder + "/" + names[data[0] % 5];
    FILE* f = fopen(path.c_str(), "wb");
    if (!f)
        abort();
    if (size > 1 && fwrite(data + 1, 1, size - 1, f) != size - 1)
        abort();
    fclose(f);
    const int* want = sizes[data[0] / 5 % 3];
    DebugClearLog();
    if (GdkPixbuf* p = EngGuiCreateCGImageFromBundleResource(path.c_str(), want[0], want[1]))
        g_object_unref(p);
    unlink(path.c_str());
    return 0;
}
