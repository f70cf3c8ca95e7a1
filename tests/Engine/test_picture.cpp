// Layered pictures: the picture file, editing the tables, and the per-frame
// animation of the layers.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <string>
#include <unistd.h>

#include "EngDebug.h"
#include "EngMain.h"
#include "EngMatrix.h"
#include "EngPicture.h"
#include "EngProgram.h"
#include "support/TestSupport.h"

using vztest::Logged;
using vztest::TempDir;

namespace
{

// A layer object with every required member; `extra` is added inside it and
// `drop` names a member to leave out.
std::string LayerJson(const std::string& extra = "", const std::string& drop = "")
{
    const char* members[][2] = {
        {"Name", "\"L\""},
        {"TexNum", "-1"},
        {"Alpha Level", "0.5"},
        {"Alpha Throb On", "0"},
        {"Alpha Throb Min Level", "0"},
        {"Alpha Throb Speed", "1"},
        {"Alpha Throb Mult", "1"},
    };
    std::string s = "{";
    bool first = true;
    for (auto& m : members)
    {
        if (drop == m[0] || extra.find(std::string("\"") + m[0] + "\"") != std::string::npos)
            continue;
        s += std::string(first ? "" : ", ") + "\"" + m[0] + "\": " + m[1];
        first = false;
    }
    if (!extra.empty())
        s += std::string(first ? "" : ", ") + extra;
    return s + "}";
}

class PictureTest : public vztest::LogTest
{
protected:
    void SetUp() override
    {
        LogTest::SetUp();
        eng_main_frames_per_second = 1.0f / 60.0f;
    }

    // Writes the text as pic.ttx in the temporary folder and loads it.
    char Load(const std::string& text)
    {
        vztest::WriteFile(dir.File("pic.ttx"), text);
        return pic.LoadFromFile(dir.Path().c_str(), "pic", 1);
    }
    std::string ThreeTextures()
    {
        return "\"Textures\": [{\"Path\": \"\", \"Filename\": \"a.png\"}, {\"Path\": \"\", \"Filename\": "
               "\"b.png\"}, {\"Path\": \"x\", \"Filename\": \"c.jpg\"}]";
    }

    vztest::TempDir dir;
    EngPicture pic;
};

TEST_F(PictureTest, EmptyObjectLoadsAsEmptyPictureWithDefaults)
{
    ASSERT_EQ(1, Load("{}"));
    EXPECT_EQ(0, pic.GetNumTextures());
    EXPECT_EQ(0, pic.GetNumLayers());
    EXPECT_EQ(640, pic.GetDrawArea().w);
    EXPECT_STREQ(dir.Path().c_str(), pic.GetPath());
}

TEST_F(PictureTest, RequiredMembersEndTheLoadAndLeaveThePictureEmpty)
{
    for (const char* member : {"Name", "TexNum", "Alpha Level", "Alpha Throb On", "Alpha Throb Mult"})
    {
        SCOPED_TRACE(member);
        DebugClearLog();
        EXPECT_EQ(0, Load("{" + ThreeTextures() + ", \"Layers\": [" + LayerJson() + ", " +
                          LayerJson("", member) + "]}"));
        EXPECT_TRUE(Logged("json::Exception <"));
        EXPECT_EQ(0, pic.GetNumLayers());
        EXPECT_EQ(0, pic.GetNumTextures());
    }
    // A texture without its file name, and a layer list that is not an array.
    EXPECT_EQ(0, Load("{\"Textures\": [{\"Path\": \"\"}]}"));
    EXPECT_EQ(0, Load("{\"Layers\": 3}"));
    EXPECT_EQ(0, Load("{\"Layers\": [3]}"));
}

TEST_F(PictureTest, OptionalMembersMissingAreLoggedAndLeftAtZero)
{
    ASSERT_EQ(1, Load("{\"Layers\": [" + LayerJson() + "]}"));
    EXPECT_TRUE(Logged("json::Exception <"));
    EngPictureLayer* l = pic.GetLayer(0);
    ASSERT_NE(nullptr, l);
    EXPECT_EQ(0, l->show);
    EXPECT_EQ(0, l->tc_default);
    EXPECT_EQ(0, l->tc_tile.x);
    EXPECT_EQ(1, l->main_area.w);
    EXPECT_EQ(1, l->reserved_area.h);
    EXPECT_FLOAT_EQ(0.5f, l->alpha_level);
}

TEST_F(PictureTest, TexNumIsRoundedAndOutOfRangeBecomesNone)
{
    const struct
    {
        const char* value;
        int expected;
    } cases[] = {{"3", -1}, {"1.5", 1}, {"1.6", 2}, {"-1", -1}, {"-2", -1}, {"2.4", 2}, {"1e12", -1}};
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.value);
        ASSERT_EQ(1, Load("{" + ThreeTextures() + ", \"Layers\": [" +
                          LayerJson(std::string("\"TexNum\": ") + c.value) + "]}"));
        EXPECT_EQ(c.expected, pic.GetLayer(0)->tex_num);
    }
}

TEST_F(PictureTest, BadTransTypeIsLoggedAndCleared)
{
    for (const char* value : {"7", "-1", "260"})
    {
        SCOPED_TRACE(value);
        DebugClearLog();
        ASSERT_EQ(1, Load("{\"Layers\": [" + LayerJson(std::string("\"Trans Type\": ") + value) + "]}"));
        EXPECT_TRUE(Logged(std::string("Invalid trans type ") + value + "."));
        EXPECT_EQ(0, pic.GetLayer(0)->trans_type);
    }
    ASSERT_EQ(1, Load("{\"Layers\": [" + LayerJson("\"Trans Type\": 4") + "]}"));
    EXPECT_EQ(4, pic.GetLayer(0)->trans_type);
}

TEST_F(PictureTest, EmptyNameIsNumberedAndLongNamesAreCut)
{
    // A UTF-8 letter across the cut is left out whole, here and in the
    // texture's file name.
    const std::string across = std::string(30, 'n') + "\xC3\xA9";
    std::string layers = LayerJson() + ", " + LayerJson("\"Name\": \"" + std::string(40, 'n') + "\"") + ", " +
                         LayerJson("\"Name\": \"\"") + ", " + LayerJson("\"Name\": \"" + across + "\"");
    ASSERT_EQ(1, Load("{\"Textures\": [{\"Path\": \"\", \"Filename\": \"" + across + across +
                      "\"}], \"Layers\": [" + layers + "]}"));
    EXPECT_STREQ("Layer 2", pic.GetLayer(2)->name);
    EXPECT_EQ(31u, strlen(pic.GetLayer(1)->name));
    EXPECT_EQ(std::string(30, 'n'), pic.GetLayer(3)->name);
    EXPECT_EQ(across + std::string(30, 'n'), pic.GetTexture(0)->filename);
}

TEST_F(PictureTest, FileNameFromFolderAndExtension)
{
    vztest::WriteFile(dir.File("pic.ttx"), "{}");
    char old[1024];
    ASSERT_NE(nullptr, getcwd(old, sizeof(old)));
    ASSERT_EQ(0, chdir(dir.Path().c_str()));
    ASSERT_EQ(1, pic.SetPath("Kept"));
    EXPECT_EQ(1, pic.LoadFromFile(nullptr, "pic", 1));
    EXPECT_STREQ("Kept", pic.GetPath());
    EXPECT_EQ(0, pic.LoadFromFile("", "pic", 0));
    EXPECT_TRUE(Logged("File does not exist <pic>"));
    ASSERT_EQ(0, chdir(old));

    EXPECT_EQ(1, pic.LoadFromFile(dir.Path().c_str(), "pic.ttx", 0));
    EXPECT_STREQ(dir.Path().c_str(), pic.GetPath());
    EXPECT_EQ(0, pic.LoadFromFile(dir.Path().c_str(), "", 1));
    EXPECT_TRUE(Logged("No filename"));
    EXPECT_EQ(0, pic.LoadFromFile(dir.Path().c_str(), std::string(1100, 'a').c_str(), 1));
}

TEST_F(PictureTest, UnreadableJsonFails)
{
    EXPECT_EQ(0, Load("{\"Layers\": ["));
    EXPECT_EQ(0, pic.GetNumLayers());
}

TEST_F(PictureTest, SaveAndReloadKeepsEveryLayerField)
{
    vztest::WriteFile(dir.File("t.png"), "x");
    ASSERT_EQ(1, pic.SetPath(dir.Path().c_str()));
    ASSERT_EQ(1, pic.AddTexture(nullptr, "t.png"));
    ASSERT_EQ(1, pic.AddLayer("Back"));
    ASSERT_EQ(1, pic.AddLayer(nullptr));
    pic.SetDrawArea(10, 20, 300, 200);
    EngPictureLayer* l = pic.GetLayer(1);
    l->tex_num = 0;
    l->main_area = {0.1f, 0.2f, 0.3f, 0.4f};
    l->trans_type = 3;
    l->trans_speeds[0] = 0.5f;
    l->trans_speeds[1] = 2;
    l->trans_end_area = {0.5f, 0.6f, 0.7f, 0.8f};
    l->trans_random_area = {-1, -2, 3, 4};
    l->rot_flags[0] = 1;
    l->rot_flags[1] = 4;
    l->rot_values[0] = 10;
    l->rot_values[1] = 20;
    l->rot_values[2] = 30;
    l->rot_values[3] = 2;
    l->show = 0;
    l->alpha_level = 0.25f;
    l->alpha_blend_type = 13;
    l->alpha_throb_on = 1;
    l->alpha_throb_min_level = 0.125f;
    l->alpha_throb_speed = 3;
    l->alpha_throb_mult = 4;
    l->tc_default = 0;
    l->tc_tc[0] = 0.1f;
    l->tc_tc[1] = 0.2f;
    l->tc_tc[2] = 0.9f;
    l->tc_tc[3] = 0.8f;
    l->tc_tile = {2, 3};
    l->tc_move = 1;
    l->tc_speed = {0.5f, -0.5f};
    l->reserved_area = {5, 5, 5, 5};
    EngPictureLayer saved = *l;
    ASSERT_EQ(1, pic.SaveToFile(dir.Path().c_str(), "out", 1));
    std::string text = vztest::ReadFile(dir.File("out.ttx"));
    EXPECT_EQ(std::string::npos, text.find("true"));
    EXPECT_LT(text.find("\"Draw Area\""), text.find("\"Textures\""));
    EXPECT_LT(text.find("\"Textures\""), text.find("\"Layers\""));
    // Float fields read as they were set, not as the doubles nearest to them.
    EXPECT_NE(std::string::npos, text.find("\"Alpha Level\" : 0.25,"));
    EXPECT_NE(std::string::npos, text.find("\t\t\t\t0.1,\n\t\t\t\t0.2,\n\t\t\t\t0.9,\n\t\t\t\t0.8\n"));
    EXPECT_EQ(std::string::npos, text.find("00000"));

    EngPicture back;
    ASSERT_EQ(1, back.LoadFromFile(dir.Path().c_str(), "out", 1));
    EXPECT_FALSE(Logged("json::Exception"));
    ASSERT_EQ(2, back.GetNumLayers());
    ASSERT_EQ(1, back.GetNumTextures());
    EXPECT_STREQ("t.png", back.GetTexture(0)->filename);
    EXPECT_EQ(300, back.GetDrawArea().w);
    EXPECT_STREQ("Back", back.GetLayer(0)->name);
    EXPECT_EQ(1, back.GetLayer(0)->show);
    EXPECT_EQ(1, back.GetLayer(0)->tc_default);

    EngPictureLayer* r = back.GetLayer(1);
    saved.reserved_area = {0, 0, 1, 1};
    EXPECT_STREQ("Layer 1", r->name);
    EXPECT_EQ(0, memcmp(&saved, r, sizeof(saved))) << "a saved field changed on the way back";
    EngPictureLayerVars* v = back.GetLayerVars(1);
    EXPECT_EQ(1, v->trans_dir);
    EXPECT_EQ(1, v->rot_dir);
}

TEST_F(PictureTest, SaveRefusesBadNamesAndUnwritableFolders)
{
    EXPECT_EQ(0, pic.SaveToFile(dir.Path().c_str(), nullptr, 1));
    EXPECT_TRUE(Logged("No filename"));
    EXPECT_EQ(0, pic.SaveToFile(dir.File("missing/deeper").c_str(), "p", 1));
}

TEST_F(PictureTest, AddTextureChecksNamesAndExistence)
{
    vztest::WriteFile(dir.File("ok.tga"), "x");
    EXPECT_EQ(0, pic.AddTexture(dir.Path().c_str(), ""));
    EXPECT_TRUE(Logged("No filename"));
    EXPECT_EQ(0, pic.AddTexture(dir.Path().c_str(), (std::string(64, 'f')).c_str()));
    EXPECT_TRUE(Logged("Filename too long"));
    EXPECT_EQ(0, pic.AddTexture(std::string(512, 'p').c_str(), "ok.tga"));
    EXPECT_TRUE(Logged("Path too long"));
    EXPECT_EQ(0, pic.AddTexture(dir.Path().c_str(), "none.tga"));
    EXPECT_TRUE(Logged("File does not exist: <" + dir.File("none.tga") + ">"));
    EXPECT_EQ(0, pic.GetNumTextures());
    EXPECT_EQ(1, pic.AddTexture(dir.Path().c_str(), "ok.tga"));
    EXPECT_EQ(1, pic.GetNumTextures());
}

TEST_F(PictureTest, RemovingATextureRenumbersTheLayers)
{
    vztest::WriteFile(dir.File("t.png"), "x");
    for (int i = 0; i < 3; i++)
        ASSERT_EQ(1, pic.AddTexture(dir.Path().c_str(), "t.png"));
    ASSERT_EQ(1, pic.AddLayer("a"));
    ASSERT_EQ(1, pic.AddLayer("b"));
    ASSERT_EQ(1, pic.AddLayer("c"));
    pic.GetLayer(0)->tex_num = 0;
    pic.GetLayer(1)->tex_num = 2;
    pic.GetLayer(2)->tex_num = 1;
    ASSERT_EQ(1, pic.RemoveTexture(1));
    EXPECT_EQ(0, pic.GetLayer(0)->tex_num);
    EXPECT_EQ(1, pic.GetLayer(1)->tex_num);
    EXPECT_EQ(-1, pic.GetLayer(2)->tex_num);
    ASSERT_EQ(1, pic.RemoveTexture(0));
    EXPECT_EQ(-1, pic.GetLayer(0)->tex_num);
    EXPECT_EQ(0, pic.GetLayer(1)->tex_num);
    ASSERT_EQ(1, pic.RemoveTexture(0));
    EXPECT_EQ(0, pic.GetNumTextures());
    EXPECT_EQ(0, pic.RemoveTexture(0));
    EXPECT_TRUE(Logged("No textures"));
}

TEST_F(PictureTest, LayersMoveAndRemoveWithTheirVars)
{
    ASSERT_EQ(1, pic.AddLayer("a"));
    ASSERT_EQ(1, pic.AddLayer("b"));
    ASSERT_EQ(1, pic.AddLayer("c"));
    pic.GetLayerVars(2)->angle = 33;
    EXPECT_EQ(0, pic.MoveLayerUp(0));
    EXPECT_EQ(0, pic.MoveLayerDown(2));
    EXPECT_EQ(0, pic.MoveLayerUp(3));
    EXPECT_TRUE(Logged("Invalid layer num 3 (3)"));
    ASSERT_EQ(1, pic.MoveLayerUp(2));
    EXPECT_STREQ("c", pic.GetLayer(1)->name);
    EXPECT_EQ(33, pic.GetLayerVars(1)->angle);
    ASSERT_EQ(1, pic.MoveLayerDown(0));
    EXPECT_STREQ("c", pic.GetLayer(0)->name);
    ASSERT_EQ(1, pic.RemoveLayer(0));
    EXPECT_STREQ("a", pic.GetLayer(0)->name);
    EXPECT_EQ(0, pic.GetLayerVars(0)->angle);
    ASSERT_EQ(1, pic.RemoveLayer(1));
    ASSERT_EQ(1, pic.RemoveLayer(0));
    EXPECT_EQ(0, pic.GetNumLayers());
    EXPECT_EQ(nullptr, pic.GetLayer(0));
    EXPECT_TRUE(Logged("No layers"));
}

TEST_F(PictureTest, FailedGrowthKeepsTheTables)
{
    // Four layers fill the first allocation; the fifth needs a larger one.
    for (const char* name : {"a", "b", "c", "d"})
        ASSERT_EQ(1, pic.AddLayer(name));
    pic.GetLayer(3)->alpha_level = 0.75f;
    for (int after : {0, 1})
    {
        EngMainFailAllocationForTests(after);
        EXPECT_EQ(0, pic.AddLayer("e"));
        EngMainFailAllocationForTests(-1);
        ASSERT_EQ(4, pic.GetNumLayers());
        EXPECT_STREQ("d", pic.GetLayer(3)->name);
        EXPECT_EQ(0.75f, pic.GetLayer(3)->alpha_level);
    }
    EXPECT_TRUE(Logged("No memory (realloc)"));
    ASSERT_EQ(1, pic.AddLayer("e"));
    EXPECT_EQ(5, pic.GetNumLayers());
    EXPECT_EQ(0.75f, pic.GetLayer(3)->alpha_level);
}

TEST_F(PictureTest, TablesAreLimited)
{
    for (int i = 0; i < ENG_PICTURE_MAX_LAYERS; i++)
        ASSERT_EQ(1, pic.AddLayer(nullptr));
    EXPECT_EQ(0, pic.AddLayer(nullptr));
    EXPECT_TRUE(Logged("Too many layers (4096)"));
    EXPECT_STREQ("Layer 4095", pic.GetLayer(4095)->name);

    std::string texture = "{\"Path\": \"\", \"Filename\": \"t.png\"}";
    std::string list = texture;
    for (int i = 0; i < ENG_PICTURE_MAX_TEXTURES; i++)
        list += ", " + texture;
    EXPECT_EQ(0, Load("{\"Textures\": [" + list + "]}"));
    EXPECT_TRUE(Logged("Too many textures (1024)"));
    EXPECT_EQ(0, pic.GetNumTextures());
}

TEST_F(PictureTest, SetPathLimits)
{
    EXPECT_EQ(0, pic.SetPath(std::string(513, 'p').c_str()));
    EXPECT_TRUE(Logged("Path too long"));
    EXPECT_EQ(1, pic.SetPath("a"));
    EXPECT_EQ(1, pic.SetPath(""));
    EXPECT_EQ(nullptr, pic.GetPath());
}

// Animation ----------------------------------------------------------------

class PictureAnimTest : public PictureTest
{
protected:
    EngPictureLayer* NewLayer()
    {
        EXPECT_EQ(1, pic.AddLayer(nullptr));
        return pic.GetLayer(pic.GetNumLayers() - 1);
    }
    EngPictureLayerVars* Vars() { return pic.GetLayerVars(pic.GetNumLayers() - 1); }
    static void SetTransition(EngPictureLayer* l, signed char type, float speed0, float speed1)
    {
        l->trans_type = type;
        l->trans_speeds[0] = speed0;
        l->trans_speeds[1] = speed1;
    }
    // Turning on in mode with start, end (degrees), speed and multiplier.
    static void SetRotation(EngPictureLayer* l, char mode, float start, float end, float speed,
                            float multiplier)
    {
        l->rot_flags[0] = 1;
        l->rot_flags[1] = mode;
        l->rot_values[0] = start;
        l->rot_values[1] = end;
        l->rot_values[2] = speed;
        l->rot_values[3] = multiplier;
    }
};

TEST_F(PictureAnimTest, LoopCrossesInTwoSecondsAndStartsAgain)
{
    EngPictureLayer* l = NewLayer();
    SetTransition(l, 1, 0.5f, 1);
    l->main_area = {0, 0, 1, 1};
    l->trans_end_area = {1, 0, 1, 1};
    for (int i = 0; i < 60; i++)
        pic.Tick(1);
    EXPECT_NEAR(0.5f, Vars()->area.x, 1e-4);
    for (int i = 0; i < 59; i++)
        pic.Tick(1);
    EXPECT_GT(Vars()->area.x, 0.98f);
    pic.Tick(1);
    EXPECT_TRUE(Vars()->area.x < 1e-4f || Vars()->area.x > 0.999f) << Vars()->area.x;
    pic.Tick(1);
    EXPECT_LT(Vars()->area.x, 0.02f);
}

TEST_F(PictureAnimTest, FastAndBackwardLoopsStayInRange)
{
    NewLayer();
    NewLayer();
    EngPictureLayer* l = pic.GetLayer(0);
    SetTransition(l, 1, 500, 1);
    EngPictureLayer* back = pic.GetLayer(1);
    SetTransition(back, 1, -0.7f, 1);
    for (int i = 0; i < 100; i++)
    {
        pic.Tick(1);
        for (int n = 0; n < 2; n++)
        {
            float pos = pic.GetLayerVars(n)->trans_pos;
            ASSERT_TRUE(pos >= 0 && pos < 1) << "layer " << n << " at " << pos;
        }
    }
}

TEST_F(PictureAnimTest, PingPongStopsExactlyAtTheEnds)
{
    EngPictureLayer* l = NewLayer();
    SetTransition(l, 2, 0.7f, 1);
    float highest = 0;
    bool reached_one = false, back_to_zero = false;
    for (int i = 0; i < 200; i++)
    {
        pic.Tick(1);
        float p = Vars()->trans_pos;
        highest = std::max(highest, p);
        reached_one |= (p == 1.0f && Vars()->trans_dir == -1);
        back_to_zero |= (reached_one && p == 0.0f && Vars()->trans_dir == 1);
        ASSERT_GE(p, 0.0f);
    }
    EXPECT_EQ(1.0f, highest);
    EXPECT_TRUE(reached_one);
    EXPECT_TRUE(back_to_zero);
}

TEST_F(PictureAnimTest, EasedTransitionFollowsTheCurve)
{
    EXPECT_FLOAT_EQ(0, EngPictureEase(0));
    EXPECT_FLOAT_EQ(0.5f, EngPictureEase(0.5f));
    EXPECT_FLOAT_EQ(1, EngPictureEase(1));
    EXPECT_NEAR(0.5f - 0.5f * std::sin(0.5f * 1.5707964f), EngPictureEase(0.25f), 1e-6);

    EngPictureLayer* l = NewLayer();
    SetTransition(l, 3, 1, 1);
    l->trans_end_area = {0, 0, 3, 1};
    for (int i = 0; i < 15; i++)
        pic.Tick(1);
    EXPECT_NEAR(1 + 2 * EngPictureEase(0.25f), Vars()->area.w, 1e-4);
}

TEST_F(PictureAnimTest, RotationModes)
{
    for (int i = 0; i < 4; i++)
        NewLayer(); // growing the table moves the records: fetch them afterwards
    // Endless turning: a quarter turn per second, always below 360.
    EngPictureLayer* turn = pic.GetLayer(0);
    SetRotation(turn, 2, 0, 0, 90, 1);
    // Ping-pong between the lower and the higher of start and end.
    EngPictureLayer* swing = pic.GetLayer(1);
    SetRotation(swing, 3, 90, 0, 200, 1);
    pic.ResetLayerVars(swing, pic.GetLayerVars(1));
    // Eased ping-pong.
    EngPictureLayer* eased = pic.GetLayer(2);
    SetRotation(eased, 4, 10, 50, 40, 1);
    // Fixed angle.
    EngPictureLayer* fixed = pic.GetLayer(3);
    SetRotation(fixed, 0, 45, 0, 100, 1);

    for (int i = 0; i < 60; i++)
        pic.Tick(1);
    EXPECT_NEAR(90, pic.GetLayerVars(0)->angle, 0.01);
    EXPECT_NEAR(50, pic.GetLayerVars(2)->angle, 0.01);
    EXPECT_EQ(45, pic.GetLayerVars(3)->angle);

    float low = 1000, high = -1000;
    for (int i = 0; i < 600; i++)
    {
        pic.Tick(1);
        ASSERT_LT(pic.GetLayerVars(0)->angle, 360);
        ASSERT_GE(pic.GetLayerVars(0)->angle, 0);
        low = std::min(low, pic.GetLayerVars(1)->angle);
        high = std::max(high, pic.GetLayerVars(1)->angle);
        ASSERT_GE(pic.GetLayerVars(2)->angle, 9.99f);
        ASSERT_LE(pic.GetLayerVars(2)->angle, 50.01f);
    }
    EXPECT_EQ(0, low);
    EXPECT_EQ(90, high);

    // A huge speed still keeps the endless turn in range.
    turn->rot_values[2] = 1e6f;
    for (int i = 0; i < 10; i++)
    {
        pic.Tick(1);
        ASSERT_LT(pic.GetLayerVars(0)->angle, 360);
    }
}

TEST_F(PictureAnimTest, ThrobRunsBetweenMinAndLevel)
{
    EngPictureLayer* l = NewLayer();
    l->alpha_throb_on = 1;
    l->alpha_throb_min_level = 0.2f;
    l->alpha_level = 1;
    l->alpha_throb_speed = 2;
    l->alpha_throb_mult = 1;
    float low = 2, high = -1;
    for (int i = 0; i < 400; i++)
    {
        pic.Tick(1);
        low = std::min(low, Vars()->alpha);
        high = std::max(high, Vars()->alpha);
    }
    EXPECT_NEAR(0.2f, low, 0.01);
    EXPECT_NEAR(1.0f, high, 0.01);
}

TEST_F(PictureAnimTest, RandomPlacementStaysInsideItsRegion)
{
    EngPictureLayer* l = NewLayer();
    l->trans_type = 4;
    l->main_area = {0, 0, 0.2f, 0.1f};
    l->trans_end_area = {0, 0, 0.4f, 0.3f};
    l->trans_random_area = {0.5f, 0.5f, 0.5f, 0.5f};
    l->alpha_throb_on = 1;
    l->alpha_throb_speed = 5;
    pic.ResetLayerVars(l, Vars());
    for (int i = 0; i < 300; i++)
    {
        pic.Tick(1);
        const _Dimension& a = Vars()->area;
        ASSERT_GE(a.x, 0.5f);
        ASSERT_LE(a.x, 0.8f + 1e-5f);
        ASSERT_GE(a.y, 0.5f);
        ASSERT_LE(a.y, 0.9f + 1e-5f);
        ASSERT_GE(a.w, 0.2f - 1e-5f);
        ASSERT_LE(a.w, 0.4f + 1e-5f);
    }
}

TEST_F(PictureAnimTest, TextureScrolling)
{
    NewLayer();
    NewLayer();
    EngPictureLayer* wrap = pic.GetLayer(0);
    wrap->tc_move = 1;
    wrap->tc_tile = {2, 1};
    wrap->tc_speed = {0.6f, -0.3f};
    pic.ResetLayerVars(wrap, pic.GetLayerVars(0));
    EngPictureLayer* expl = pic.GetLayer(1);
    expl->tc_move = 1;
    expl->tc_default = 0;
    expl->tc_tc[0] = 0.25f;
    expl->tc_tc[2] = 0.5f;
    expl->tc_tile = {1, 1};
    expl->tc_speed = {1, 0};
    pic.ResetLayerVars(expl, pic.GetLayerVars(1));
    for (int i = 0; i < 300; i++)
    {
        pic.Tick(1);
        const _TexCoords& t = pic.GetLayerVars(0)->tex_coords;
        ASSERT_GE(t.left, 0);
        ASSERT_LT(t.left, 1);
        ASSERT_FLOAT_EQ(t.left + 2, t.right);
        ASSERT_GE(t.top, 0);
        ASSERT_LT(t.top, 1);
        const _TexCoords& e = pic.GetLayerVars(1)->tex_coords;
        ASSERT_LE(e.left, 0.5f + 1.0f / 60);
        ASSERT_NEAR(e.left + 0.25f, e.right, 1e-5);
    }
    EXPECT_EQ(1, pic.ResetTextureCoordinates(1));
    EXPECT_EQ(0.25f, pic.GetLayerVars(1)->tex_coords.left);
    EXPECT_EQ(0, pic.ResetTextureCoordinates(5));
    EXPECT_TRUE(Logged("Invalid layer num 5 (2)"));
}

TEST(PictureDrawMaths, LayerMatrixPlacesTheAreaInViewportCoordinates)
{
    const struct
    {
        _Dimension area;
        float left, top, right, bottom;
    } cases[] = {
        {{0, 0, 1, 1}, -1, 1, 1, -1},
        {{0, 0, 0.5f, 0.5f}, -1, 1, 0, 0},
        {{0.5f, 0.5f, 0.5f, 0.5f}, 0, 0, 1, -1},
    };
    for (const auto& c : cases)
    {
        EngMatrix m;
        EngPictureBuildLayerMatrix(&c.area, 0, 0, &m);
        _Vector3d tl = {-0.5f, 0.5f, 0}, br = {0.5f, -0.5f, 0};
        m.TransformVectorByMatrix(&tl);
        m.TransformVectorByMatrix(&br);
        EXPECT_NEAR(c.left, tl.x, 1e-5);
        EXPECT_NEAR(c.top, tl.y, 1e-5);
        EXPECT_NEAR(c.right, br.x, 1e-5);
        EXPECT_NEAR(c.bottom, br.y, 1e-5);
    }
    // A positive angle turns clockwise on the screen (y up).
    _Dimension all = {0, 0, 1, 1};
    EngMatrix m;
    EngPictureBuildLayerMatrix(&all, 1, 90, &m);
    _Vector3d top = {0, 0.5f, 0};
    m.TransformVectorByMatrix(&top);
    EXPECT_NEAR(1, top.x, 1e-5);
    EXPECT_NEAR(0, top.y, 1e-5);
}

TEST(PictureDrawMaths, AlphaFromTheFileName)
{
    const struct
    {
        const char* name;
        char alpha;
    } cases[] = {{"a.png", 1}, {"A.TGA", 1}, {".png", 0}, {"a.jpg", 0}, {"apng", 0}, {"x.Png", 1}};
    for (const auto& c : cases)
        EXPECT_EQ(c.alpha, EngPictureTextureFileHasAlpha(c.name)) << c.name;
}

} // namespace
