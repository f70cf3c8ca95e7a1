// No engine or game source starts a shell or a helper program: files are
// moved with rename(2), programs started with posix_spawnp, and SDL is never
// asked for its message box or its URL opener, which start programs of their
// own (found along $PATH).
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace
{

// Expects none of calls in any file of the engine and the game.
void ExpectNoSourceCalls(const std::vector<const char*>& calls)
{
    const char* root = getenv("VZ_SOURCE_DIR");
    ASSERT_NE(root, nullptr);
    int scanned = 0;
    for (const char* folder : {"Engine", "game"})
    {
        std::filesystem::path dir = std::filesystem::path(root) / folder;
        if (!std::filesystem::exists(dir))
            continue;
        for (const auto& entry : std::filesystem::recursive_directory_iterator(dir))
        {
            if (!entry.is_regular_file())
                continue;
            std::ifstream in(entry.path(), std::ios::binary);
            std::stringstream ss;
            ss << in.rdbuf();
            const std::string text = ss.str();
            scanned++;
            for (const char* call : calls)
                EXPECT_EQ(text.find(call), std::string::npos) << entry.path() << " calls " << call;
        }
    }
    EXPECT_GT(scanned, 10);
}

} // namespace

TEST(NoShell, SourcesCallNeitherSystemNorPopen)
{
    ExpectNoSourceCalls({"system(", "popen("});
}

TEST(NoShell, SourcesUseNoSdlCallThatStartsAProgram)
{
    ExpectNoSourceCalls({"SDL_ShowMessageBox(", "SDL_ShowSimpleMessageBox(", "SDL_OpenURL("});
}
