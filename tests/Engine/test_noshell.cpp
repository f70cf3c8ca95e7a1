// No engine or game source starts a shell: files are moved with rename(2) and
// programs started with posix_spawnp.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

TEST(NoShell, SourcesCallNeitherSystemNorPopen)
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
            for (const char* call : {"system(", "popen("})
                EXPECT_EQ(text.find(call), std::string::npos) << entry.path() << " calls " << call;
        }
    }
    EXPECT_GT(scanned, 10);
}
