// Pictures kept in the sources that programs' headless runs must save again.
#include "tests/support/kept_picture.h"

#include "platform/process.h"
#include "runtime/gfx2d/image_file.h"

#include <cstdio>
#include <cstdlib>
#include <gtest/gtest.h>

void ExpectKeptPicture(const std::vector<std::string>& command, const std::string& kept) {
    std::string out;
    int status = -1;
    ASSERT_TRUE(platform::RunForOutput(command[0], command, out, status) && status == 0) << "status " << status;
    ASSERT_TRUE(out.ends_with(".png\n")) << command.back() << ": " << out;
    std::string saved = out.substr(0, out.size() - 1);
    std::string made = saved.substr(0, saved.rfind('/')) + kept.substr(kept.rfind('/'));
    ASSERT_EQ(std::rename(saved.c_str(), made.c_str()), 0) << saved;
    ImageRGBA got, want;
    ASSERT_TRUE(DecodeImageFile(got, made, -1) && DecodeImageFile(want, kept, -1)) << kept;
    bool same = got.width == want.width && got.height == want.height;
    for (size_t i = 0; same && i < static_cast<size_t>(want.width) * want.height * 4; ++i)
        same = std::abs(got.pixels[i] - want.pixels[i]) <= 8;
    EXPECT_TRUE(same) << made << " differs from " << kept;
}
