// Picture files the 2D tests make for themselves, and the start-up and read-back they share.
#include "tests/gfx2d/test_images.h"

#include "runtime/attach_subsystems.h"
#include "runtime/core/core.h"
#include "runtime/gfx2d/gfx2d.h"
#include "tests/support/headless.h"

#include <GL/gl.h>
#include <utility>

namespace {

void Put(std::vector<uint8_t>& out, uint32_t value, int bytes, bool bigEndian = false) {
    for (int i = 0; i < bytes; ++i) out.push_back(static_cast<uint8_t>(value >> (8 * (bigEndian ? bytes - 1 - i : i))));
}

} // namespace

TestPicture Picture(int32_t width, int32_t height, const std::function<uint32_t(int32_t x, int32_t y)>& colourAt) {
    TestPicture p{width, height, std::vector<uint32_t>(static_cast<size_t>(width) * height)};
    for (int32_t y = 0; y < height; ++y)
        for (int32_t x = 0; x < width; ++x) p.At(x, y) = colourAt(x, y);
    return p;
}

TestPicture SolidPicture(int32_t width, int32_t height, uint32_t colour) {
    return Picture(width, height, [=](int32_t, int32_t) { return colour; });
}

TestPicture Quadrants(int32_t w, int32_t h) {
    return Picture(w, h, [=](int32_t x, int32_t y) {
        return y < h / 2 ? (x < w / 2 ? kRed : kGreen) : (x < w / 2 ? kBlue : kWhite);
    });
}

std::vector<uint8_t> BmpRaw(int32_t width, int32_t height, int bits, uint32_t compression,
                            const std::vector<uint32_t>& palette, const std::vector<uint8_t>& data) {
    uint32_t offset = static_cast<uint32_t>(54 + palette.size() * 4);
    std::vector<uint8_t> out;
    // The file header, then the info header up to its compression, as values and their sizes in bytes.
    const std::pair<uint32_t, int> fields[] = {
        {0x4D42, 2}, {offset + data.size(), 4}, {0, 4}, {offset, 4}, {40, 4}, {width, 4}, {height, 4}, {1, 2},
        {bits, 2},   {compression, 4}};
    for (auto [value, bytes] : fields) Put(out, value, bytes);
    out.resize(54);
    for (uint32_t c : palette) Put(out, (c & 0xFF) << 16 | (c & 0xFF00) | (c >> 16 & 0xFF), 4);
    out.insert(out.end(), data.begin(), data.end());
    return out;
}

std::vector<uint8_t> Bmp24(const TestPicture& p) {
    size_t stride = (static_cast<size_t>(p.width) * 3 + 3) / 4 * 4;
    std::vector<uint8_t> data;
    for (int32_t y = p.height - 1; y >= 0; --y) { // bottom row first
        for (int32_t x = 0; x < p.width; ++x) Put(data, p.At(x, y), 3, true);
        data.resize(data.size() + (stride - data.size() % stride) % stride);
    }
    return BmpRaw(p.width, p.height, 24, 0, {}, data);
}

std::string WriteTestFile(const std::string& name, const std::vector<uint8_t>& bytes) {
    return WriteTempFile(name, {reinterpret_cast<const char*>(bytes.data()), bytes.size()});
}

bool LoadPicture(int32_t id, const TestPicture& picture) {
    return SpriteLoad(WriteTestFile("picture.bmp", Bmp24(picture)).c_str(), id);
}

void StartDrawing() {
    AttachSubsystems();
    StartRuntime();
    SetColourKey(kKey);
    SetBlendMode(0);
    SetViewport(0, 0, 0, 0);
    glClear(GL_COLOR_BUFFER_BIT);
}
