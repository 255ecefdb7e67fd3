// kyd_make on models from Debian's assimp-testmodels: what converts loads back in both forms, what
// cannot be read fails with a message, and no model crashes or hangs the converter.
#include "platform/paths.h"
#include "runtime/engine3d/engine3d.h"

#include <cstdio>
#include <gtest/gtest.h>
#include <string>
#include <sys/wait.h>

namespace {

const std::string kModels = "/usr/share/assimp/models/";

struct ConverterRun {
    int status = -1; // the exit status; -1 when killed or not run
    std::string output;
};

// The converter as a child process, ended after 20 s.
ConverterRun Convert(const std::string& model, const std::string& output, const char* option) {
    std::string command =
        "timeout -s KILL 20 \"" KYD_MAKE_PATH "\" \"" + kModels + model + "\" \"" + output + "\" " + option + " 2>&1";
    ConverterRun run;
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) return run;
    char chunk[256];
    while (std::fgets(chunk, sizeof chunk, pipe)) run.output += chunk;
    int status = pclose(pipe);
    if (WIFEXITED(status)) run.status = WEXITSTATUS(status);
    return run;
}

} // namespace

TEST(KydMake, ConvertsObjAndGltfModelsThatLoadBack) {
    struct Case {
        const char* model;
        bool converts;
        const char* texture; // printed when the model names an image file
        size_t frames;
    };
    const Case cases[] = {
        {"OBJ/spider.obj", true, "SpiderTex.jpg", 1},
        {"OBJ/cube_with_vertexcolors.obj", true, "", 1},
        {"OBJ/concave_polygon.obj", true, "", 1},
        {"glTF2/BoxTextured-glTF/BoxTextured.gltf", true, "CesiumLogoFlat.png", 1},
        {"glTF2/BoxTextured-glTF-Binary/BoxTextured.glb", true, "", 1},
        {"glTF2/glTF-Sample-Models/AnimatedMorphCube-glTF/AnimatedMorphCube.gltf", true, "", 3}, // two targets
        {"OBJ/testline.obj", false, "", 0},
        {"invalid/malformed.obj", false, "", 0},
        {"glTF2/RecursiveNodes/RecursiveNodes.gltf", false, "", 0},
        {"glTF2/MissingBin/BoxTextured.gltf", false, "", 0},
    };
    std::string output = platform::TempDir() + "converted.kyd";
    for (const Case& c : cases) {
        // What cannot be read fails before the form matters.
        for (const char* option : {"", "--text"}) {
            if (!c.converts && *option) continue;
            std::remove(output.c_str());
            ConverterRun run = Convert(c.model, output, option);
            ASSERT_NE(run.status, -1) << c.model << " crashed or hung";
            EXPECT_EQ(run.status == 0, c.converts) << c.model << option << ": " << run.output;
            KydModel model;
            EXPECT_EQ(ModelLoad(model, output.c_str(), true), c.converts) << c.model << option;
            if (!c.converts) {
                EXPECT_NE(run.output.find("kyd_make: "), std::string::npos) << c.model;
                continue;
            }
            ASSERT_EQ(model.frames.size(), c.frames) << c.model;
            EXPECT_GT(model.frames[0].decoded.size(), 3u) << c.model;
            EXPECT_NE(run.output.find(c.texture), std::string::npos) << run.output;
        }
    }
}
