// kyd_make on models from Debian's assimp-testmodels: what converts loads back in both forms, what
// cannot be read fails with a message, and no model crashes or hangs the converter.
#include "platform/paths.h"
#include "runtime/engine3d/engine3d.h"

#include <cstdio>
#include <gtest/gtest.h>
#include <string>
#include <sys/wait.h>

TEST(KydMake, ConvertsObjAndGltfModelsThatLoadBack) {
    struct Case {
        const char* model;
        const char* texture; // printed when the model names an image file; nullptr: fails
        size_t frames;
    };
    std::string output = platform::TempDir() + "converted.kyd";
    for (const Case& c : {Case{"OBJ/spider.obj", "SpiderTex.jpg", 1}, Case{"OBJ/concave_polygon.obj", "", 1},
                          Case{"glTF2/BoxTextured-glTF/BoxTextured.gltf", "CesiumLogoFlat.png", 1},
                          Case{"glTF2/glTF-Sample-Models/AnimatedMorphCube-glTF/AnimatedMorphCube.gltf", "", 3},
                          Case{"OBJ/testline.obj", nullptr, 0}, Case{"invalid/malformed.obj", nullptr, 0},
                          Case{"glTF2/RecursiveNodes/RecursiveNodes.gltf", nullptr, 0}}) {
        for (const char* option : {"", " --text"}) {
            std::remove(output.c_str());
            std::string command = "timeout -s KILL 20 \"" KYD_MAKE_PATH "\" /usr/share/assimp/models/" +
                                  std::string(c.model) + " \"" + output + "\"" + option + " 2>&1";
            std::string printed;
            FILE* pipe = popen(command.c_str(), "r");
            ASSERT_NE(pipe, nullptr);
            for (char chunk[256]; std::fgets(chunk, sizeof chunk, pipe);) printed += chunk;
            int status = pclose(pipe);
            ASSERT_TRUE(WIFEXITED(status)) << c.model << " crashed or hung";
            EXPECT_EQ(WEXITSTATUS(status) == 0, c.texture != nullptr) << c.model << option << ": " << printed;
            KydModel model;
            EXPECT_EQ(ModelLoad(model, output.c_str(), true), c.texture != nullptr) << c.model << option;
            EXPECT_NE(printed.find(c.texture ? c.texture : "kyd_make: "), std::string::npos) << printed;
            if (!c.texture) continue;
            ASSERT_EQ(model.frames.size(), c.frames) << c.model;
            EXPECT_GT(model.frames[0].decoded.size(), 3u) << c.model;
        }
    }
}
