// The gallery's headless runs: each ends by itself, successfully, and saves the picture kept in
// tests/gui/gallery, pixel for pixel: the shipped fonts drawn by Mesa, the same on every run.
// After a deliberate change of the look, copy the pictures a failure names into that folder.
#include "runtime/gfx2d/image_file.h"

#include <cstdlib>
#include <cstdio>
#include <gtest/gtest.h>
#include <string>

TEST(Gallery, HeadlessRunsSaveTheirKeptPictureToThePixel) {
    for (const char* mode : {"plain", "msg", "colour", "keyboard", "second", "keys", "lists"}) {
        FILE* child = popen((std::string(GALLERY_PATH) + " " + mode).c_str(), "r");
        std::string out;
        char buffer[512];
        while (fgets(buffer, sizeof buffer, child)) out += buffer;
        EXPECT_EQ(pclose(child), 0) << mode; // exited, with status 0
        ASSERT_TRUE(out.ends_with("kygui_gallery.png\n")) << mode << ": " << out;
        std::string saved = out.substr(0, out.size() - 1), kept = std::string(GALLERY_PICTURES) + "/" + mode + ".png";
        std::string shot = saved.substr(0, saved.size() - 4) + "-" + mode + ".png";
        ASSERT_EQ(std::rename(saved.c_str(), shot.c_str()), 0) << saved;
        ImageRGBA made, want;
        ASSERT_TRUE(DecodeImageFile(made, shot, -1) && DecodeImageFile(want, kept, -1)) << kept;
        // Within a few levels a channel: another processor may lead Mesa to round a gradient otherwise.
        bool same = made.width == want.width && made.height == want.height;
        for (size_t i = 0; same && i < static_cast<size_t>(want.width) * want.height * 4; ++i)
            same = std::abs(made.pixels[i] - want.pixels[i]) <= 8;
        EXPECT_TRUE(same) << shot << " differs from " << kept;
    }
}
