// .x model loading without a display: the parser's state machine, its limits
// on counts and names, conversions, frame matrices, materials, and the model
// object's part bookkeeping, colours and refusals.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <string>
#include <vector>

#include "EngDebug.h"
#include "EngFile.h"
#include "EngMain.h"
#include "EngProgram.h"
#include "EngXfile.h"
#include "support/TestSupport.h"

using vztest::TempDir;

namespace
{

std::vector<std::string>& Lines()
{
    static std::vector<std::string> lines;
    return lines;
}

void Record(char* text)
{
    Lines().push_back(text ? text : "");
}

// One triangle mesh with a normal list and an inline material; the pieces can
// be replaced to make faulty variants.
struct MeshText
{
    std::string name = "Tri";
    std::string vertices = "3;\n0.0;0.0;0.0;,\n1.0;0.0;0.0;,\n0.0;1.0;0.0;;\n";
    std::string faces = "1;\n3;0,1,2;;\n";
    std::string normals = "MeshNormals {\n1;\n0.0;0.0;2.0;;\n1;\n3;0,0,0;;\n}\n";
    std::string materials = "MeshMaterialList {\n1;\n1;\n0;;\nMaterial {\n0.5;0.25;1.0;0.75;;\n8.0;\n"
                            "0.1;0.2;0.3;;\n0.4;0.5;0.6;;\n}\n}\n";
    std::string extra;

    std::string Text() const
    {
        return "Mesh " + name + " {\n" + vertices + faces + normals + materials + extra + "}\n";
    }
};

const char* kHeader = "xof 0303txt 0032\n";

class XfileTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        DebugResetForTests();
        ASSERT_TRUE(DebugSetLogFilename(dir.File("log.txt").c_str(), 1));
        Lines().clear();
        DebugSetExtraMessageLogCallback(Record);
        eng_main_device_type = 1;
        glxf_use_advanced_materials = 0;
    }
    void TearDown() override
    {
        DebugSetExtraMessageLogCallback(nullptr);
        DebugResetForTests();
        eng_main_device_type = 1;
    }

    static bool Logged(const std::string& text)
    {
        for (const auto& l : Lines())
            if (l.find(text) != std::string::npos)
                return true;
        return false;
    }
    static int CountLogged(const std::string& text)
    {
        int n = 0;
        for (const auto& l : Lines())
            if (l.find(text) != std::string::npos)
                n++;
        return n;
    }

    char Load(EngXfile& model, const std::string& text, _XfileConvert* convert = nullptr, float sx = 1,
              float sy = 1, float sz = 1, XfileTextureNameCallback cb = nullptr, void* d1 = nullptr)
    {
        vztest::WriteFile(dir.File("model.x"), kHeader + text);
        return model.LoadFromFile(const_cast<char*>(dir.Path().c_str()), const_cast<char*>("model.x"), sx, sy,
                                  sz, convert, 0, 0, cb, d1, nullptr);
    }

    static void ExpectVec(const _Vector3d& v, float x, float y, float z)
    {
        EXPECT_NEAR(v.x, x, 1e-5f);
        EXPECT_NEAR(v.y, y, 1e-5f);
        EXPECT_NEAR(v.z, z, 1e-5f);
    }

    TempDir dir;
};

TEST_F(XfileTest, LoadsTriangleMeshWithInlineMaterial)
{
    EngXfile model;
    ASSERT_TRUE(Load(model, MeshText().Text()));
    EXPECT_TRUE(model.IsOk());
    ASSERT_EQ(model.GetNumMaterials(), 1);
    const _XfilePart& p = model.parts[0];
    ASSERT_EQ(p.point_count, 3);
    ExpectVec(p.vertices[0], 0, 0, 0);
    ExpectVec(p.vertices[1], 1, 0, 0);
    ExpectVec(p.vertices[2], 0, 1, 0);
    for (int i = 0; i < 3; i++)
        ExpectVec(p.normals[i], 0, 0, 1); // normalised on reading
    EXPECT_EQ(p.texture_index, -1);
    EXPECT_EQ(p.texture, nullptr);
    EXPECT_FLOAT_EQ(p.diffuse.r, 0.5f);
    EXPECT_FLOAT_EQ(p.diffuse.a, 0.75f);
    EXPECT_FLOAT_EQ(p.ambient.g, 0.25f);
    EXPECT_FLOAT_EQ(p.specular.b, 0.3f);
    EXPECT_FLOAT_EQ(p.specular.a, 1.0f);
    EXPECT_FLOAT_EQ(p.shininess, 8.0f);
    EXPECT_FLOAT_EQ(p.emissive.g, 0.5f);
    EXPECT_FLOAT_EQ(p.emissive.a, 1.0f);

    model.Destroy();
    EXPECT_FALSE(model.IsOk());
    EXPECT_EQ(model.parts, nullptr);
}

TEST_F(XfileTest, NormalsBeforeOrAfterMaterialListBothComplete)
{
    MeshText m;
    std::string normals = m.normals;
    m.normals = "";
    m.extra = normals;
    MeshText second;
    second.name = "Second";
    EngXfile model;
    ASSERT_TRUE(Load(model, m.Text() + second.Text()));
    ASSERT_EQ(model.GetNumMaterials(), 2);
    EXPECT_EQ(model.parts[0].point_count, 3);
    EXPECT_EQ(model.parts[1].point_count, 3);
    ExpectVec(model.parts[0].normals[2], 0, 0, 1);
}

TEST_F(XfileTest, ConversionsApplyToVerticesNormalsAndWinding)
{
    struct Case
    {
        const char* what;
        _XfileConvert convert;
        float scale;
        _Vector3d v1;     // second point of the triangle, (1, 2, 3) in the file
        _Vector3d normal; // its normal
    };
    _XfileConvert none = {};
    auto with = [&](void (*set)(_XfileConvert&))
    {
        _XfileConvert c = none;
        set(c);
        return c;
    };
    const Case cases[] = {
        {"none", none, 1, {1, 2, 3}, {0, 0, 1}},
        {"flip vertex x", with([](_XfileConvert& c) { c.flip_vertex_x = 1; }), 1, {-1, 2, 3}, {0, 0, 1}},
        {"flip normal z", with([](_XfileConvert& c) { c.flip_normal_z = 1; }), 1, {1, 2, 3}, {0, 0, -1}},
        {"swap vertex yz", with([](_XfileConvert& c) { c.swap_vertex_yz = 1; }), 1, {1, 3, 2}, {0, 0, 1}},
        {"swap normal yz", with([](_XfileConvert& c) { c.swap_normal_yz = 1; }), 1, {1, 2, 3}, {0, 1, 0}},
        {"reverse winding", with([](_XfileConvert& c) { c.reverse_winding = 1; }), 1, {0, 1, 0}, {0, 0, 1}},
        {"scale", none, 2, {2, 4, 6}, {0, 0, 1}},
        {"rotate z", with([](_XfileConvert& c) { c.rotate_z = 1.5707964f; }), 1, {-2, 1, 3}, {0, 0, 1}},
        {"rotate x", with([](_XfileConvert& c) { c.rotate_x = 1.5707964f; }), 1, {1, -3, 2}, {0, -1, 0}},
    };
    // Every coordinate of the checked point differs, so a swap or a rotation
    // that is skipped shows.
    MeshText mesh;
    mesh.vertices = "3;\n0.0;0.0;0.0;,\n1.0;2.0;3.0;,\n0.0;1.0;0.0;;\n";
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.what);
        EngXfile model;
        _XfileConvert conv = c.convert;
        ASSERT_TRUE(Load(model, mesh.Text(), &conv, c.scale, c.scale, c.scale));
        ExpectVec(model.parts[0].vertices[1], c.v1.x, c.v1.y, c.v1.z);
        ExpectVec(model.parts[0].normals[1], c.normal.x, c.normal.y, c.normal.z);
    }
}

TEST_F(XfileTest, RotationOrderFollowsZyxFlag)
{
    // X then Z sends (1,0,0) to (0,1,0); Z then X sends it to (0,0,1).
    const struct
    {
        char zyx;
        _Vector3d expected;
    } cases[] = {{0, {0, 1, 0}}, {1, {0, 0, 1}}};
    for (const auto& c : cases)
    {
        SCOPED_TRACE(int(c.zyx));
        _XfileConvert conv = {};
        conv.rotate_zyx = c.zyx;
        conv.rotate_x = 1.5707964f;
        conv.rotate_z = 1.5707964f;
        EngXfile model;
        ASSERT_TRUE(Load(model, MeshText().Text(), &conv));
        ExpectVec(model.parts[0].vertices[1], c.expected.x, c.expected.y, c.expected.z);
    }
}

TEST_F(XfileTest, MeshCountLimits)
{
    EngXfile model;
    EXPECT_FALSE(Load(model, "Frame Root {\n}\n"));
    EXPECT_TRUE(Logged("Could not find any meshes in model"));
    EXPECT_TRUE(Logged("Failed to parse the xfile"));
    EXPECT_FALSE(model.IsOk());

    std::string many;
    for (int i = 0; i < 149; i++)
        many += MeshText().Text();
    ASSERT_TRUE(Load(model, many));
    EXPECT_EQ(model.GetNumMaterials(), 149);
    EXPECT_EQ(model.parts[148].point_count, 3);

    Lines().clear();
    EXPECT_FALSE(Load(model, many + MeshText().Text()));
    EXPECT_TRUE(Logged("Too many parts in model"));
    EXPECT_EQ(model.GetNumMaterials(), 0); // never more parts than the table holds
    EXPECT_FALSE(model.SetMaterialColour(149, 1, 1, 1));
}

// A refused line ends the parse; the parts completed before it stay and the
// load succeeds. Counts are never trusted to size or index the buffers.
TEST_F(XfileTest, RefusedCountsEndTheParseSafely)
{
    auto vertices = [](int n)
    {
        std::string s = std::to_string(n) + ";\n";
        for (int i = 0; i < n; i++)
            s += "0.0;0.0;0.0;,\n";
        return s;
    };
    struct Case
    {
        const char* what;
        void (*change)(MeshText&, const std::string&);
        std::string arg;
        const char* message;
    };
    const Case cases[] = {
        {"vertex count 10000", [](MeshText& m, const std::string& a) { m.vertices = a; }, vertices(10000),
         "Too many m_vertices"},
        {"negative vertex count",
         [](MeshText& m, const std::string&) { m.vertices = "-5;\n1.0;2.0;3.0;;\n"; }, "",
         "Invalid m_vertices count"},
        {"face count 4000", [](MeshText& m, const std::string&) { m.faces = "4000;\n3;0,1,2;;\n"; }, "",
         "Too many m_faces (4000)"},
        {"negative face count", [](MeshText& m, const std::string&) { m.faces = "-1;\n3;0,1,2;;\n"; }, "",
         "Invalid m_faces count"},
        {"huge face count", [](MeshText& m, const std::string&) { m.faces = "99999999999;\n3;0,1,2;;\n"; },
         "", "Too many m_faces"},
        {"face index above 9999", [](MeshText& m, const std::string&) { m.faces = "1;\n3;0,1,10000;;\n"; },
         "", "Bad Vertices <0,1,10000>"},
        {"negative face index", [](MeshText& m, const std::string&) { m.faces = "1;\n3;0,-1,2;;\n"; }, "",
         "Bad Vertices <0,-1,2>"},
        {"five-point face", [](MeshText& m, const std::string&) { m.faces = "1;\n5;0,1,2,0,1;;\n"; }, "",
         "<5> point m_faces not supported"},
        {"normal count 10000", [](MeshText& m, const std::string&) { m.normals = "MeshNormals {\n10000;\n"; },
         "", "Too many m_normals"},
        {"face normals unequal",
         [](MeshText& m, const std::string&) { m.normals = "MeshNormals {\n1;\n0.0;0.0;1.0;;\n2;\n"; }, "",
         "Num normal m_faces (2) is not equal num m_faces(1)"},
        {"bad normal face",
         [](MeshText& m, const std::string&)
         { m.normals = "MeshNormals {\n1;\n0.0;0.0;1.0;;\n1;\n3;0,0,20000;;\n"; },
         "", "Bad Normals <0,0,20000>"},
        {"21 mesh materials",
         [](MeshText& m, const std::string&) { m.materials = "MeshMaterialList {\n21;\n"; }, "",
         "Invalid num. mesh materials (21)"},
        {"vertex index past the list", [](MeshText& m, const std::string&) { m.faces = "1;\n3;0,1,3;;\n"; },
         "", "Bad Vertices (0 1 3)"},
        {"normal index past the list",
         [](MeshText& m, const std::string&)
         { m.normals = "MeshNormals {\n1;\n0.0;0.0;1.0;;\n1;\n3;0,1,0;;\n}\n"; },
         "", "Bad Normals (0 1 0)"},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.what);
        Lines().clear();
        MeshText bad;
        c.change(bad, c.arg);
        EngXfile model;
        ASSERT_TRUE(Load(model, MeshText().Text() + bad.Text() + MeshText().Text()));
        EXPECT_TRUE(Logged(c.message));
        ASSERT_EQ(model.GetNumMaterials(), 3);
        EXPECT_EQ(model.parts[0].point_count, 3);
        EXPECT_EQ(model.parts[1].point_count, 0);
        EXPECT_EQ(model.parts[1].vertices, nullptr);
        EXPECT_EQ(model.parts[2].point_count, 0); // the parse ended at the refused line
    }
}

TEST_F(XfileTest, LargestCountsAreAccepted)
{
    MeshText m;
    m.vertices = "9999;\n";
    for (int i = 0; i < 9999; i++)
        m.vertices += std::to_string(i) + ".0;0.0;0.0;,\n";
    m.faces = "3999;\n";
    for (int i = 0; i < 3999; i++)
        m.faces += "3;" + std::to_string(i) + ",9998,0;,\n";
    m.normals = "MeshNormals {\n1;\n0.0;1.0;0.0;;\n3999;\n";
    for (int i = 0; i < 3999; i++)
        m.normals += "3;0,0,0;,\n";
    m.normals += "}\n";
    EngXfile model;
    ASSERT_TRUE(Load(model, m.Text()));
    ASSERT_EQ(model.parts[0].point_count, 3999 * 3);
    ExpectVec(model.parts[0].vertices[3998 * 3 + 1], 9998, 0, 0);
}

TEST_F(XfileTest, QuadsKeepTheirSlotsEmpty)
{
    MeshText m;
    m.vertices = "4;\n0.0;0.0;0.0;,\n1.0;0.0;0.0;,\n1.0;1.0;0.0;,\n0.0;1.0;0.0;;\n";
    m.faces = "2;\n4;0,1,2,3;,\n3;0,1,2;;\n";
    m.normals = "MeshNormals {\n1;\n0.0;0.0;1.0;;\n2;\n4;0,0,0,0;,\n3;0,0,0;;\n}\n";
    EngXfile model;
    ASSERT_TRUE(Load(model, m.Text()));
    const _XfilePart& p = model.parts[0];
    ASSERT_EQ(p.point_count, 6);
    for (int i = 0; i < 3; i++)
        ExpectVec(p.vertices[i], 0, 0, 0);
    ExpectVec(p.vertices[4], 1, 0, 0);
    EXPECT_EQ(CountLogged("Not updated"), 1);
}

TEST_F(XfileTest, FrameMatrixMovesVerticesButNotNormals)
{
    const std::string frame = "Frame Root {\nFrameTransformMatrix {\n"
                              "1.0,0.0,0.0,0.0,0.0,1.0,0.0,0.0,0.0,0.0,1.0,0.0,5.0,6.0,7.0,1.0;;\n}\n";
    EngXfile model;
    ASSERT_TRUE(Load(model, frame + MeshText().Text() + "}\n"));
    ExpectVec(model.parts[0].vertices[1], 6, 6, 7);
    ExpectVec(model.parts[0].normals[1], 0, 0, 1);

    // Split over lines: the matrix is not applied from a partial line.
    const std::string split = "Frame Root {\nFrameTransformMatrix {\n1.0,0.0,0.0,0.0,\n0.0,1.0,0.0,0.0,\n"
                              "0.0,0.0,1.0,0.0,\n5.0,6.0,7.0,1.0;;\n}\n";
    ASSERT_TRUE(Load(model, split + MeshText().Text() + "}\n"));
    ExpectVec(model.parts[0].vertices[1], 1, 0, 0);
}

TEST_F(XfileTest, MeshesThatDoNotCompleteOrStartOnTheirOwnLine)
{
    // Without a material list the first mesh never completes: the second
    // mesh's lines are read in its place.
    MeshText no_list;
    no_list.materials = "";
    EngXfile model;
    ASSERT_TRUE(Load(model, no_list.Text() + MeshText().Text()));
    ASSERT_EQ(model.GetNumMaterials(), 2);
    EXPECT_EQ(model.parts[1].point_count, 0);

    // A tab-indented mesh is counted but never parsed.
    MeshText indented;
    ASSERT_TRUE(Load(model, "Frame Root {\n\t" + indented.Text() + "}\n"));
    ASSERT_EQ(model.GetNumMaterials(), 1);
    EXPECT_EQ(model.parts[0].point_count, 0);
}

TEST_F(XfileTest, MaterialIndexOutsideTheListUsesTheFirst)
{
    MeshText m;
    m.materials = "MeshMaterialList {\n1;\n1;\n7;;\nMaterial {\n0.5;0.25;1.0;0.75;;\n8.0;\n0.1;0.2;0.3;;\n"
                  "0.4;0.5;0.6;;\n}\n}\n";
    EngXfile model;
    ASSERT_TRUE(Load(model, m.Text()));
    EXPECT_TRUE(Logged("m_mesh_materials_index = 7 (1)"));
    EXPECT_FLOAT_EQ(model.parts[0].diffuse.r, 0.5f);
}

// Textured meshes: a named material referenced from the mesh, texture
// coordinates after the material list, and the texture-name callback.
struct CallbackLog
{
    std::vector<std::string> names;
    std::vector<int> parts;
    const char* answer = nullptr;
};

char* TextureName(EngXfile*, int part, char*, char* name, void* data1, void*)
{
    auto* log = static_cast<CallbackLog*>(data1);
    log->names.push_back(name);
    log->parts.push_back(part);
    return const_cast<char*>(log->answer);
}

std::string TexturedText(const std::string& texture_line = "TextureFilename {\n\"wood grain.png\";\n}\n")
{
    MeshText m;
    m.materials = "MeshMaterialList {\n1;\n1;\n0;;\n{ Wood }\n}\n";
    m.extra = "MeshTextureCoords {\n3;\n0.0;0.25;,\n1.0;0.5;,\n0.0;1.0;;\n}\n";
    return "Material Wood {\n1.0;1.0;1.0;1.0;;\n0.0;\n0.0;0.0;0.0;;\n0.0;0.0;0.0;;\n" + texture_line + "}\n" +
           m.Text();
}

TEST_F(XfileTest, TexturedMeshReadsCoordinatesAndAsksTheCallback)
{
    CallbackLog log;
    log.answer = ""; // keep the model untextured: no texture loading here
    _XfileConvert conv = {};
    conv.flip_v = 1;
    EngXfile model;
    ASSERT_TRUE(Load(model, TexturedText(), &conv, 1, 1, 1, TextureName, &log));
    ASSERT_EQ(log.names.size(), 1u);
    EXPECT_EQ(log.names[0], "wood grain.png");
    EXPECT_EQ(log.parts[0], 0);
    const _XfilePart& p = model.parts[0];
    ASSERT_EQ(p.point_count, 3);
    EXPECT_FLOAT_EQ(p.tex_coords[0], 0.0f);
    EXPECT_FLOAT_EQ(p.tex_coords[1], 0.75f);
    EXPECT_FLOAT_EQ(p.tex_coords[3], 0.5f);
    EXPECT_EQ(p.texture_index, -1); // removed by the empty answer
    EXPECT_EQ(p.texture, nullptr);
    EXPECT_FLOAT_EQ(p.shininess, 127.0f); // a textured part's material
}

TEST_F(XfileTest, TextureThatCannotBeLoadedFailsTheLoad)
{
    EngXfile model;
    EXPECT_FALSE(Load(model, TexturedText("TextureFilename { \"missing.png\"; }\n")));
    EXPECT_TRUE(Logged("Could not load texture <" + dir.Path() + "/missing.png> for part 0 of model"));
    EXPECT_TRUE(Logged("Failed to parse the xfile"));
    ASSERT_NE(model.parts, nullptr);
    EXPECT_EQ(model.parts[0].texture, nullptr);
    EXPECT_EQ(model.parts[0].point_count, 3); // the parts stay until destroyed
    model.Destroy();
}

TEST_F(XfileTest, TextureNamesAreBounded)
{
    EngXfile model;
    // A name longer than its slot is refused: the named material stays unknown.
    EXPECT_TRUE(Load(model, TexturedText("TextureFilename {\n\"" + std::string(300, 'a') + ".png\";\n}\n")));
    EXPECT_TRUE(Logged("Material name to long"));
    EXPECT_EQ(model.parts[0].point_count, 0);

    // Twenty named materials with textures fit; the 21st is refused.
    std::string named;
    for (int i = 0; i < 21; i++)
        named += "Material M" + std::to_string(i) +
                 " {\n1.0;1.0;1.0;1.0;;\n0.0;\n0.0;0.0;0.0;;\n0.0;0.0;0.0;;\n"
                 "TextureFilename {\n\"t" +
                 std::to_string(i) + ".png\";\n}\n}\n";
    Lines().clear();
    EXPECT_TRUE(Load(model, named + MeshText().Text()));
    EXPECT_TRUE(Logged("Too many materials"));
    EXPECT_EQ(model.parts[0].point_count, 0);
}

TEST_F(XfileTest, ModelRefusesBadArguments)
{
    EngXfile model;
    EXPECT_FALSE(model.LoadFromFile(nullptr, nullptr, 1, 1, 1, nullptr, 0, 0, nullptr, nullptr, nullptr));
    EXPECT_TRUE(Logged("No file name"));

    // Folder, "/" and file must fit in 511 characters; nothing is cut.
    std::string folder(300, 'f'), file(211, 'x');
    EXPECT_FALSE(model.LoadFromFile(&folder[0], &file[0], 1, 1, 1, nullptr, 0, 0, nullptr, nullptr, nullptr));
    EXPECT_TRUE(Logged("Invalid file name <fff"));
    Lines().clear();
    file.pop_back(); // 511 characters joined: tried as it is
    EXPECT_FALSE(model.LoadFromFile(&folder[0], &file[0], 1, 1, 1, nullptr, 0, 0, nullptr, nullptr, nullptr));
    EXPECT_FALSE(Logged("Invalid file name"));
    EXPECT_TRUE(Logged("Could not open file <fff"));

    EXPECT_FALSE(model.LoadFromFile(const_cast<char*>(dir.Path().c_str()), const_cast<char*>("none.x"), 1, 1,
                                    1, nullptr, 0, 0, nullptr, nullptr, nullptr));
    EXPECT_TRUE(Logged("Could not open file <" + dir.Path() + "/none.x>"));
    EXPECT_FALSE(model.IsOk());
}

TEST_F(XfileTest, OtherDevicesDoNothing)
{
    eng_main_device_type = 2;
    EngXfile model;
    EXPECT_FALSE(Load(model, MeshText().Text()));
    EXPECT_FALSE(model.IsOk());
    EXPECT_EQ(model.GetNumMaterials(), 0);
    EXPECT_FALSE(model.SetColour(1, 0, 0));
    EXPECT_EQ(model.parts, nullptr);
}

TEST_F(XfileTest, PartNumbersAreChecked)
{
    EngXfile model;
    EXPECT_FALSE(model.SetMaterialColour(0, 1, 1, 1));
    EXPECT_TRUE(Logged("Parts are not created."));
    ASSERT_TRUE(Load(model, MeshText().Text()));
    for (int part : {-1, 1, 150})
    {
        Lines().clear();
        EXPECT_FALSE(model.SetMaterialTransparency(part, 0.5f));
        EXPECT_TRUE(Logged("XFile only has 1 materials (num = " + std::to_string(part) + ")"));
        EXPECT_FALSE(model.FreePartMaterialLists(part));
        EXPECT_FALSE(model.GetPartMaterialTexture(part, nullptr));
    }
    EngTexture* texture = nullptr;
    EXPECT_FALSE(model.GetPartMaterialTexture(0, &texture));
    EXPECT_TRUE(model.FreePartMaterialLists(0));
    EXPECT_EQ(model.parts[0].point_count, 0);
    EXPECT_EQ(model.parts[0].vertices, nullptr);
}

TEST_F(XfileTest, ColourOperations)
{
    EngXfile model;
    ASSERT_TRUE(Load(model, MeshText().Text() + MeshText().Text()));
    ASSERT_TRUE(model.SetColourWithAlpha(0.1f, 0.2f, 0.3f, 0.4f));
    for (int i = 0; i < 2; i++)
    {
        EXPECT_FLOAT_EQ(model.parts[i].diffuse.b, 0.3f);
        EXPECT_FLOAT_EQ(model.parts[i].diffuse.a, 0.4f);
        EXPECT_FLOAT_EQ(model.parts[i].ambient.b, 1.0f); // ambient only with advanced materials
    }

    EXPECT_TRUE(model.SetMaterialSpecularColour(1, 0.7f, 0.8f, 0.9f, 30));
    EXPECT_TRUE(Logged("Advanced Materials not on"));
    EXPECT_FLOAT_EQ(model.parts[1].specular.g, 0.8f);
    EXPECT_FLOAT_EQ(model.parts[1].shininess, 30.0f);

    const struct
    {
        char mode;
        float alpha;
        char transparent;
    } cases[] = {{0, 0.5f, 0}, {1, 0.5f, 1}, {1, 1.0f, 0}, {1, 0.0f, 0}, {2, 1.0f, 1}};
    for (const auto& c : cases)
    {
        SCOPED_TRACE(int(c.mode));
        ASSERT_TRUE(model.SetMaterialColours(0, 0.1f, 0.2f, 0.3f, c.alpha, 0.4f, 0.5f, 0.6f, 9, 0.7f, 0.8f,
                                             0.9f, c.mode, 9));
        EXPECT_EQ(model.parts[0].transparent, c.transparent);
        EXPECT_EQ(model.parts[0].blend_type, 9);
        EXPECT_FLOAT_EQ(model.parts[0].ambient.a, c.alpha);
        EXPECT_FLOAT_EQ(model.parts[0].emissive.a, 1.0f);
    }
}

TEST_F(XfileTest, TextureReplacementAndSettings)
{
    EngXfile model;
    ASSERT_TRUE(Load(model, MeshText().Text()));
    // Only replacing: a part without a loaded texture is left alone.
    EXPECT_TRUE(model.SetMaterialTextureFromFile(0, const_cast<char*>("missing.png"), 0, 0, 1));
    EXPECT_TRUE(model.SetMaterialTextureFromFile(5, const_cast<char*>("missing.png"), 0, 0, 1));
    EXPECT_EQ(model.parts[0].texture, nullptr);
    EXPECT_FALSE(model.SetMaterialTextureFromFile(-1, const_cast<char*>("missing.png"), 0, 0, 1));

    EXPECT_FALSE(model.SetMaterialTextureFromFile(0, const_cast<char*>("missing.png"), 0, 0, 0));
    EXPECT_TRUE(Logged("Could not load texture <missing.png> for mat_num 0 of model"));
    EXPECT_EQ(model.parts[0].texture, nullptr);
    EXPECT_TRUE(model.SetMaterialTextureFromFile(0, nullptr, 0, 0, 0));

    xf_dat_ext_type = 0;
    EngXfileDatFilesHaveType(3);
    EXPECT_EQ(xf_dat_ext_type, 3);
    EngXfileDatFilesHaveType(5);
    EXPECT_TRUE(Logged("Invalid type"));
    EXPECT_EQ(xf_dat_ext_type, 3);
    xf_dat_ext_type = 0;

    EngXfileUseAdvancedMaterials(1);
    EXPECT_TRUE(Logged("Call EngMaterialsUseAdvancedMaterials(1) first"));
    EXPECT_EQ(glxf_use_advanced_materials, 0);
}

// The parser used on its own: the last mesh stays in its buffers.
TEST_F(XfileTest, ParserAccessorsReportTheLastMesh)
{
    EngXfileParse idle;
    EXPECT_EQ(idle.GetLastLoadedModelPartNumVertices(), 0u);
    EXPECT_TRUE(Logged("Not setup ok"));

    MeshText m;
    m.vertices = "4;\n0.0;0.0;0.0;,\n1.0;0.0;0.0;,\n1.0;1.0;0.0;,\n0.0;1.0;0.0;;\n";
    m.faces = "2;\n3;0,1,2;,\n4;0,1,2,3;;\n";
    m.normals = "MeshNormals {\n1;\n0.0;0.0;1.0;;\n2;\n3;0,0,0;,\n4;0,0,0,0;;\n}\n";
    vztest::WriteFile(dir.File("m.x"), kHeader + m.Text());

    EngXfile model;
    model.parts = static_cast<_XfilePart*>(EngMalloc(sizeof(_XfilePart) * XFILE_MAX_PARTS, "test", 1));
    EngFile file;
    ASSERT_TRUE(file.OpenForReading(dir.File("m.x").c_str(), 1));
    EngXfileParse parser;
    ASSERT_TRUE(parser.LoadFile(&model, &file, nullptr, 1, 1, 1, nullptr, 0, 0, nullptr, nullptr, nullptr));
    EXPECT_EQ(parser.GetLastLoadedModelPartNumVertices(), 4u);
    EXPECT_EQ(parser.GetLastLoadedModelPartNumNormals(), 1u);
    EXPECT_EQ(parser.GetLastLoadedModelPartNumFaces(), 2u);
    _Vector3d v;
    ASSERT_TRUE(parser.GetLastLoadedModelPartVertex(2, &v));
    ExpectVec(v, 1, 1, 0);
    EXPECT_FALSE(parser.GetLastLoadedModelPartVertex(4, &v));
    EXPECT_TRUE(Logged("Invalid num 4 (4)"));
    unsigned a = 9, b = 9, c = 9;
    ASSERT_TRUE(parser.GetLastLoadedModelPartFace(0, &a, &b, &c));
    EXPECT_EQ(c, 2u);
    EXPECT_FALSE(parser.GetLastLoadedModelPartFace(1, &a, &b, &c));
    EXPECT_TRUE(Logged("Face 1 does not have 3 points (4)"));
    EXPECT_FALSE(parser.GetLastLoadedModelPartFaceNormals(2, &a, &b, &c));
    float u = 0, tv = 0;
    EXPECT_FALSE(parser.GetLastLoadedModelPartVertexTexCoord(0, &u, &tv));
    EXPECT_FLOAT_EQ(u, 0.9999f);
    EXPECT_STREQ(parser.GetLastLoadedModelPartMaterialFilename(), "");
    EXPECT_TRUE(Logged("No part"));
}

TEST_F(XfileTest, FormatLine)
{
    const struct
    {
        const char* in;
        const char* out;
    } cases[] = {
        {"   Mesh {\r\n", "Mesh {"},
        {"\tMesh {\n", " Mesh {"},
        {"a\tb\n\n\n\n\n", "a b\n"},
        {"", ""},
    };
    for (const auto& c : cases)
    {
        char out[XFILE_LINE_SIZE];
        EngXfileParse::FormatLine(c.in, out);
        EXPECT_STREQ(out, c.out) << c.in;
    }
    // Over-long lines are cut to the buffer.
    std::string longline(2000, 'x');
    char out[XFILE_LINE_SIZE];
    EngXfileParse::FormatLine(longline.c_str(), out);
    EXPECT_EQ(strlen(out), size_t(XFILE_LINE_SIZE - 1));
}

} // namespace
