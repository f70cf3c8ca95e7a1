// The desktop menu entry as `cmake --install` lays it out: an entry the menu
// accepts, naming the installed program, its resources in the data folder of
// the program's name, and an icon that is there.
#include <gtest/gtest.h>

#include <map>
#include <sstream>
#include <string>
#include <vector>

#include <stb/stb_image.h>

#include "support/TestSupport.h"

namespace
{

std::map<std::string, std::string> Keys(const std::string& text)
{
    std::map<std::string, std::string> keys;
    std::istringstream in(text);
    std::string line;
    while (std::getline(in, line))
    {
        size_t eq = line.find('=');
        if (eq != std::string::npos && line[0] != '#' && line[0] != '[')
            keys[line.substr(0, eq)] = line.substr(eq + 1);
    }
    return keys;
}

TEST(DesktopEntry, InstallPutsAValidEntryAndTheGameIconUnderShare)
{
    vztest::TempDir dir;
    const std::string out = dir.File("out.txt");
    ASSERT_EQ(vztest::RunCommand({VZ_CMAKE_COMMAND, "--install", VZ_BUILD_DIR, "--prefix", dir.File("prefix"),
                                  "--component", "desktop"},
                                 out),
              0)
        << vztest::ReadFile(out);

    const std::string entry = dir.File("prefix/share/applications/vizavu.desktop");
    ASSERT_TRUE(vztest::FileExists(entry));
    EXPECT_EQ(vztest::RunCommand({"desktop-file-validate", entry}, out), 0) << vztest::ReadFile(out);
    EXPECT_EQ(vztest::ReadFile(out), "") << "hints or warnings";

    std::map<std::string, std::string> keys = Keys(vztest::ReadFile(entry));
    EXPECT_EQ(keys["Type"], "Application");
    EXPECT_EQ(keys["Terminal"], "false");
    // The program the build installs into bin, by the name it is installed as.
    EXPECT_EQ(keys["Exec"], "vizavu");
    EXPECT_TRUE(vztest::FileExists(std::string(VZ_BUILD_DIR) + "/" + keys["Exec"]));
    // Its windows carry the same class, so that the menu can match them.
    EXPECT_EQ(keys["StartupWMClass"], keys["Exec"]);

    // The program and its resources, where the installed program looks:
    // the data folder of its own name.
    ASSERT_EQ(vztest::RunCommand({VZ_CMAKE_COMMAND, "--install", VZ_BUILD_DIR, "--prefix", dir.File("prefix"),
                                  "--component", "Unspecified"},
                                 out),
              0)
        << vztest::ReadFile(out);
    EXPECT_TRUE(vztest::FileExists(dir.File("prefix/bin/" + keys["Exec"])));
    for (const char* file : {"engeexbo.ttf", "MWinDefaultFont.ttf"})
        EXPECT_TRUE(vztest::FileExists(dir.File("prefix/share/" + keys["Exec"] + "/Resources/" + file)))
            << file;

    const std::string icon = dir.File("prefix/share/icons/hicolor/256x256/apps/" + keys["Icon"] + ".png");
    int w = 0, h = 0, n = 0;
    unsigned char* px = stbi_load(icon.c_str(), &w, &h, &n, 4);
    ASSERT_NE(px, nullptr) << icon;
    EXPECT_EQ(w, 256);
    EXPECT_EQ(h, 256);
    // The emblem: opaque in the middle, the corners see through.
    EXPECT_EQ(px[(size_t(128) * w + 128) * 4 + 3], 255);
    EXPECT_EQ(px[3], 0);
    EXPECT_EQ(px[(size_t(h - 1) * w + (w - 1)) * 4 + 3], 0);
    stbi_image_free(px);
}

} // namespace
