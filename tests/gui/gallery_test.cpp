// The gallery's headless runs: each ends by itself, successfully, and saves the picture kept in
// tests/gui/gallery for its mode.
#include "tests/support/kept_picture.h"

#include <gtest/gtest.h>
#include <string>

TEST(Gallery, HeadlessRunsSaveTheirKeptPictures) {
    for (std::string mode : {"plain", "msg", "colour", "keyboard", "second", "keys", "lists"})
        ExpectKeptPicture({GALLERY_PATH, mode}, GALLERY_PICTURES "/kygui_gallery-" + mode + ".png");
}
