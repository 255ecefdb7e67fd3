// The gallery's headless runs: each ends by itself, successfully, and names the screenshot it saved.
#include <cstdio>
#include <gtest/gtest.h>
#include <string>
#include <unistd.h>

TEST(Gallery, HeadlessRunsSaveAScreenshotAndPrintItsPath) {
    for (const char* mode : {"", "msg", "colour", "keyboard", "keys"}) {
        FILE* child = popen((std::string(GALLERY_PATH) + " " + mode).c_str(), "r");
        std::string out;
        char buffer[512];
        while (fgets(buffer, sizeof buffer, child)) out += buffer;
        EXPECT_EQ(pclose(child), 0) << mode; // exited, with status 0
        ASSERT_TRUE(out.ends_with("kygui_gallery.png\n")) << mode << ": " << out;
        EXPECT_EQ(access(out.substr(0, out.size() - 1).c_str(), R_OK), 0) << out;
    }
}
