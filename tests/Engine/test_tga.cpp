// TGA images in memory and on disk: loading, refusing bad headers, saving.
#include <gtest/gtest.h>

#include <string>
#include <sys/stat.h>
#include <unistd.h>

#include "EngDebug.h"
#include "EngMain.h"
#include "EngTga.h"
#include "support/TestSupport.h"
#include "support/Unprivileged.h"

using vztest::TempDir;

namespace
{

// Saves over read-only files run as an unprivileged user, who must reach
// this program's files.
const bool runs_shared = vztest::RunFromSharedCopy();

std::string Header(int type, int w, int h, int depth, char id_length = 0)
{
    std::string hdr(18, '\0');
    hdr[0] = id_length;
    hdr[2] = char(type);
    hdr[12] = char(w & 255), hdr[13] = char(w >> 8);
    hdr[14] = char(h & 255), hdr[15] = char(h >> 8);
    hdr[16] = char(depth);
    return hdr;
}

bool LastLogHas(const std::string& part)
{
    return vztest::LastLogLine().find(part) != std::string::npos;
}

class Tga : public ::testing::Test
{
protected:
    void SetUp() override { DebugResetForTests(); }
    TempDir dir;
};

TEST_F(Tga, TwentyFourBitRowsLoadBottomFirstAsOpaque32Bit)
{
    // Bottom row blue, top row red (bytes blue, green, red).
    std::string data =
        Header(2, 2, 2, 24) + std::string("\xff\0\0\xff\0\0", 6) + std::string("\0\0\xff\0\0\xff", 6);
    std::string file = dir.File("a.tga");
    vztest::WriteFile(file, data);
    EngTga tga;
    ASSERT_TRUE(tga.LoadFromFile(file.c_str(), 1));
    EXPECT_EQ(tga.m_bpp, 32);
    EXPECT_EQ(tga.m_size, 16);
    EXPECT_EQ(tga.m_data[0], 0xFFFF0000u); // top row red
    EXPECT_EQ(tga.m_data[1], 0xFFFF0000u);
    EXPECT_EQ(tga.m_data[2], 0xFF0000FFu); // bottom row blue
    int w, h, bpp;
    EXPECT_FALSE(tga.GetSizeFromFile(file.c_str(), &w, &h, &bpp)); // only 32-bit files count
    EXPECT_EQ(bpp, 24);
}

TEST_F(Tga, BadHeadersAreRefused)
{
    struct
    {
        const char* name;
        std::string data;
        const char* message;
    } const cases[] = {
        {"identification field", Header(2, 2, 2, 32, 3) + std::string(64, '\0'), "Problems [0] loading file"},
        {"run-length", Header(10, 2, 2, 32) + std::string(64, '\0'), "Problems [0] loading file"},
        {"short header", std::string(10, '\0'), "Problems [0] loading file"},
        {"16-bit", Header(2, 2, 2, 16) + std::string(8, '\0'), "Could not create m_data"},
        {"8-bit", Header(2, 2, 2, 8) + std::string(4, '\0'), "Bad Format in file"},
        {"zero width", Header(2, 0, 2, 32), "Bad Format in file"},
        {"huge", Header(2, 65535, 65535, 32) + std::string(64, '\0'), "Bad Format in file"},
        {"huge 24-bit", Header(2, 65535, 40000, 24) + std::string(64, '\0'), "Bad Format in file"},
        {"short pixels", Header(2, 4, 4, 32) + std::string(20, '\0'), "Problems reading data [2]"},
        {"short 24-bit pixels", Header(2, 4, 4, 24) + std::string(20, '\0'), "Problems reading data [3]"},
        {"16384 x 16384 in a header alone", Header(2, 16384, 16384, 32), "Problems reading data [2]"},
        {"16385 x 16384, one column over the bound", Header(2, 16385, 16384, 32), "Bad Format in file"},
    };
    for (const auto& c : cases)
    {
        std::string file = dir.File("bad.tga");
        vztest::WriteFile(file, c.data);
        EngTga tga;
        // None of these may allocate pixels before it is refused.
        EngMainFailAllocationForTests(0);
        EXPECT_FALSE(tga.LoadFromFile(file.c_str(), 1)) << c.name;
        EngMainFailAllocationForTests(-1);
        EXPECT_EQ(tga.m_data, nullptr) << c.name;
        EXPECT_TRUE(LastLogHas(c.message)) << c.name;
    }
}

TEST_F(Tga, SaveAndLoadRoundTrip)
{
    EngTga src(3, 2, 32, 0.0f, 0.0f, 0.0f, 0.0f);
    for (int i = 0; i < 6; i++)
        src.m_data[i] = 0x11223344u * uint32_t(i + 1);
    std::string file = dir.File("rt.tga");
    ASSERT_TRUE(src.SaveToFile(file.c_str()));
    EXPECT_EQ(vztest::ReadFile(file).size(), size_t(18 + 3 * 2 * 4));
    EngTga back(file.c_str());
    ASSERT_NE(back.m_data, nullptr);
    for (int i = 0; i < 6; i++)
        EXPECT_EQ(back.m_data[i], src.m_data[i]) << i;
    // Loading into an image of the same size refills it.
    ASSERT_TRUE(back.LoadFromFile(file.c_str(), 0));
    EXPECT_FALSE(back.LoadFromFile(file.c_str(), 1));
    EXPECT_TRUE(LastLogHas("Invalid Data [1]"));

    EngTga empty;
    EXPECT_FALSE(empty.SaveToFile(file.c_str()));
    EXPECT_FALSE(src.SaveToFile(""));
    EXPECT_FALSE(src.SaveToFile(dir.File("missing/dir.tga").c_str()));
}

// A saved picture replaces its file whole: never one made read-only, and
// names near the folder's limit still get their temporary.
TEST_F(Tga, SavesRefuseReadOnlyFilesAndTakeTheLongestNames)
{
    const struct
    {
        const char* name;
        std::string file;
        mode_t old_mode; // 0: no old file
        const char* want;
    } cases[] = {
        {"read-only file", "shot.tga", 0444, "refused, keeps the old file, 0 left over"},
        {"writable file", "shot.tga", 0644, "saved, 0 left over"},
        {"250-byte name", std::string(246, 't') + ".tga", 0, "saved, 0 left over"},
    };
    // Root writes into a read-only file: those saves run as an unprivileged user.
    ASSERT_EQ(chmod(dir.Path().c_str(), 0755), 0);
    int row = 0;
    vztest::NotRunRows not_run;
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.name);
        std::string folder = dir.File(std::to_string(row++));
        ASSERT_EQ(mkdir(folder.c_str(), 0777), 0);
        ASSERT_EQ(chmod(folder.c_str(), 0777), 0);
        std::string path = folder + "/" + c.file;
        std::string got = vztest::RunInChild(
            [&]
            {
                const bool read_only = c.old_mode && !(c.old_mode & 0222);
                if (std::string why = read_only ? vztest::DropRoot() : ""; !why.empty())
                    return why;
                if (c.old_mode)
                {
                    vztest::WriteFile(path, "old file");
                    chmod(path.c_str(), c.old_mode);
                }
                EngTga src(2, 2, 32, 1.0f, 0.5f, 0.0f, 1.0f);
                std::string out = src.SaveToFile(path.c_str()) ? "saved" : "refused";
                if (vztest::ReadFile(path) == "old file")
                    out += ", keeps the old file";
                else if (EngTga(path.c_str()).m_data == nullptr)
                    out += ", holds no picture";
                return out + ", " + std::to_string(int(vztest::Listing(folder).size()) - 1) + " left over";
            });
        if (!not_run.Noted(got, c.name))
        {
            EXPECT_EQ(got, c.want);
        }
    }
    if (!not_run.Empty())
        GTEST_SKIP() << not_run.Why();
}

TEST_F(Tga, PixelEditsAndAlpha)
{
    EngTga tga(2, 2, 32, 0.0f, 0.0f, 0.0f, 1.0f);
    tga.FadeAlpha(0.5f);
    EXPECT_EQ(tga.m_data[0] >> 24, 127u);
    tga.FadeAlpha(1.5f);
    EXPECT_EQ(tga.m_data[0] >> 24, 127u);
    tga.InvertAlpha();
    EXPECT_EQ(tga.m_data[0] >> 24, 128u);
    // y counts from the bottom row.
    tga.SetDataEntryToColour(1, 0, 1, 0, 0);
    EXPECT_EQ(tga.m_data[3], 0x00FF0000u);
    tga.SetDataEntryToColour(5, 0, 1, 0, 0);
    EXPECT_TRUE(LastLogHas("Invalid pos [5,0]"));
    EXPECT_EQ(EngTga::AverageTwoPixels(0xFF000000u, 0x02040608u), 0x80020304u);
}

TEST_F(Tga, HalvingAndRegionCopies)
{
    EngTga big(4, 2, 32, 1.0f, 1.0f, 1.0f, 1.0f);
    EngTga half;
    ASSERT_TRUE(half.CreateFromTwiceSizeData(&big, 1));
    EXPECT_EQ(half.m_width, 2);
    EXPECT_EQ(half.m_height, 1);
    EXPECT_EQ(half.m_data[0], 0xFFFFFFFFu);

    // A 2x1 source stretched over a 4x1 destination, then mirrored.
    EngTga src(2, 1, 32, 0, 0, 0, 1), dst(4, 1, 32, 0, 0, 0, 0);
    src.m_data[0] = 0xFF0000FFu, src.m_data[1] = 0xFFFF0000u;
    ASSERT_TRUE(dst.FillFromOtherTga(0, 0, -1, -1, &src, 0, 0, -1, -1, 0, 0, 0, 0, 1.0f, 0));
    EXPECT_EQ(dst.m_data[1], 0xFF0000FFu);
    EXPECT_EQ(dst.m_data[2], 0xFFFF0000u);
    ASSERT_TRUE(dst.FillFromOtherTga(0, 0, -1, -1, &src, 0, 0, -1, -1, 1, 0, 0, 0, 1.0f, 0));
    EXPECT_EQ(dst.m_data[0], 0xFFFF0000u);
    EXPECT_FALSE(dst.FillFromOtherTga(1, 0, 2, 1, &src, 0, 0, -1, -1, 0, 0, 0, 0, 1.0f, 0));
    EXPECT_TRUE(LastLogHas("Invalid from sizes"));
}

TEST_F(Tga, CopiesFromAnotherImageCheckBothSizes)
{
    EngTga big(4, 2, 32, 0, 0, 0, 1);
    big.m_data[5] = 0x11223344u;
    EngTga same;
    ASSERT_TRUE(same.CreateFromOtherTga(&big, 1));
    ASSERT_EQ(same.m_width, 4);
    ASSERT_EQ(same.m_height, 2);
    EXPECT_EQ(same.m_data[5], 0x11223344u);
    big.m_data[5] = 0x55667788u;
    ASSERT_TRUE(same.CreateFromOtherTga(&big, 0)); // into the existing image
    EXPECT_EQ(same.m_data[5], 0x55667788u);
    EngTga half(2, 1, 32, 0, 0, 0, 0);
    ASSERT_TRUE(half.CreateFromTwiceSizeData(&big, 0));
    EXPECT_EQ(half.m_data[1], 0xFF000000u);

    EngTga empty, small(2, 2, 32), tiny(1, 1, 32), rgb(4, 2, 32);
    rgb.m_bpp = 24; // as a 24-bit file loads
    struct
    {
        const char* name;
        EngTga* to;
        EngTga* from;
        char twice;
        char create;
        const char* message;
    } const cases[] = {
        {"create over an image", &same, &big, 0, 1, "Invalid parameters [1]"},
        {"create from nothing", &empty, nullptr, 0, 1, "Invalid parameters [1]"},
        {"create from 1x1", &empty, &tiny, 1, 1, "Invalid parameters [1]"},
        {"create from 24-bit", &empty, &rgb, 0, 1, "Invalid parameters [1]"},
        {"copy of another size", &small, &big, 0, 0, "Invalid parameters [2]"},
        {"copy into nothing", &empty, &big, 0, 0, "Invalid parameters [2]"},
        {"halving into the same size", &same, &big, 1, 0, "Invalid parameters [2]"},
        {"halving into a wrong size", &small, &big, 1, 0, "Invalid parameters [2]"},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.name);
        EXPECT_FALSE(c.twice ? c.to->CreateFromTwiceSizeData(c.from, c.create)
                             : c.to->CreateFromOtherTga(c.from, c.create));
        EXPECT_TRUE(LastLogHas(c.message));
    }
    EXPECT_EQ(nullptr, empty.m_data);
}

TEST_F(Tga, CompositingModes)
{
    const uint32_t src_px = 0x80C86400u; // a 128, r 200, g 100, b 0
    const uint32_t dst_px = 0x32000064u; // a 50, r 0, g 0, b 100
    struct
    {
        const char* name;
        int mode;
        char alpha_only;
        float fade;
        uint32_t expected;
    } const cases[] = {
        {"copy", 0, 0, 1.0f, 0x80C86400u},
        {"colour only", 1, 0, 1.0f, 0x32C86400u},
        {"mix by alpha", 4, 0, 1.0f, 0x32643231u},
        {"mix, faded", 4, 0, 0.5f, 0x3232194Au},
        {"mix unless clear or opaque", 9, 0, 1.0f, 0x32643231u},
        {"darkest channel multiplies", 12, 0, 1.0f, 0x80000000u},
        {"darkest channel mixes", 7, 0, 1.0f, 0x32000064u},
        {"alpha only", 0, 1, 1.0f, 0x80000064u},
    };
    for (const auto& c : cases)
    {
        EngTga src(1, 1, 32), dst(1, 1, 32);
        src.m_data[0] = src_px;
        dst.m_data[0] = dst_px;
        ASSERT_TRUE(
            dst.FillFromOtherTga(0, 0, -1, -1, &src, 0, 0, -1, -1, 0, 0, c.mode, c.alpha_only, c.fade, 0))
            << c.name;
        EXPECT_EQ(dst.m_data[0], c.expected) << c.name << std::hex << " got " << dst.m_data[0];
    }
}

} // namespace
