// Prints how fast .x models are loaded: one large mesh at the vertex and face
// limits, and many small meshes in one file.
#include <chrono>
#include <cstdio>
#include <string>
#include <unistd.h>

#include "EngXfile.h"

namespace
{

std::string Mesh(int vertices, int faces)
{
    std::string s = "Mesh M {\n" + std::to_string(vertices) + ";\n";
    for (int i = 0; i < vertices; i++)
        s += std::to_string(i * 0.01) + ";" + std::to_string(i % 97) + ".5;-1.25;,\n";
    s += std::to_string(faces) + ";\n";
    for (int i = 0; i < faces; i++)
        s += "3;" + std::to_string(i % vertices) + "," + std::to_string((i + 1) % vertices) + "," +
             std::to_string((i + 2) % vertices) + ";,\n";
    s += "MeshNormals {\n1;\n0.0;1.0;0.0;;\n" + std::to_string(faces) + ";\n";
    for (int i = 0; i < faces; i++)
        s += "3;0,0,0;,\n";
    s += "}\nMeshMaterialList {\n1;\n1;\n0;;\nMaterial {\n1.0;1.0;1.0;1.0;;\n1.0;\n0.0;0.0;0.0;;\n"
         "0.0;0.0;0.0;;\n}\n}\n}\n";
    return s;
}

std::string results;

void Run(const char* label, const std::string& text, int rounds)
{
    char dir[] = "/tmp/vzbench-XXXXXX";
    if (!mkdtemp(dir))
        return;
    std::string path = std::string(dir) + "/model.x";
    FILE* f = fopen(path.c_str(), "w");
    if (!f)
        return;
    fputs(text.c_str(), f);
    fclose(f);

    EngXfile model;
    auto start = std::chrono::steady_clock::now();
    int ok = 0;
    for (int i = 0; i < rounds; i++)
        ok += model.LoadFromFile(dir, const_cast<char*>("model.x"), 1, 1, 1, nullptr, 0, 0, nullptr, nullptr,
                                 nullptr);
    double ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    char line[256];
    snprintf(line, sizeof(line), "%-28s %8.1f KB  %8.3f ms per load  (%d/%d loaded, %d parts)\n", label,
             text.size() / 1024.0, ms / rounds, ok, rounds, model.GetNumMaterials());
    results += line;
    model.Destroy();
    unlink(path.c_str());
    rmdir(dir);
}

} // namespace

int main()
{
    Run("one mesh, 9999 v / 3999 f", Mesh(9999, 3999), 20);
    std::string many;
    for (int i = 0; i < 149; i++)
        many += Mesh(24, 12);
    Run("149 meshes, 24 v / 12 f", many, 20);
    // After the load log lines.
    printf("\n%s", results.c_str());
    return 0;
}
