// KYD files: the normal table, the compact form's decoding and its hostile variants, the text form's
// conversion and packing, round trips through ModelSave, and the log lines of a failed load.
#include "platform/paths.h"
#include "runtime/engine3d/engine3d.h"
#include "tests/support/headless.h"

#include <algorithm>
#include <cstring>
#include <gtest/gtest.h>
#include <sstream>

namespace {

// A compact file whose stated counts may disagree with the data that follows them.
struct CompactFile {
    double version = 1.02;
    int32_t frameCount = 1, paletteCount = 2, texCoordCount = 3, vertexCount = 3;
    std::vector<uint32_t> palette{0xFFFFFFFF, 0x00FF0000};
    std::vector<float> pairs{0, 0.25f, 1, 0.5f, 0.5f, 1};
    float origin[3] = {128, 128, 128}, scale[3] = {0.5f, 0.5f, 0.5f};
    // x y z normal colour: entry 5 and white; entry 161 and blue; normal 200 and the first colour past the
    // palette
    std::vector<uint8_t> vertices{0, 0, 0, 5, 0, 255, 255, 255, 161, 1, 128, 128, 128, 200, 2};

    std::string Bytes() const {
        std::string b;
        // clang-format off
        for (auto [p, n] : {std::pair<const void*, size_t>{&kKydMagic, 4}, {&version, 8}, {&frameCount, 4},
                            {&paletteCount, 4}, {&texCoordCount, 4}, {palette.data(), 4 * palette.size()},
                            {pairs.data(), 4 * pairs.size()}, {&vertexCount, 4}, {origin, 12}, {scale, 12},
                            {vertices.data(), vertices.size()}})
            b.append(static_cast<const char*>(p), n);
        // clang-format on
        return b;
    }
};

KydError Read(KydModel& model, const std::string& bytes, size_t length = SIZE_MAX) {
    return KydRead(model, reinterpret_cast<const uint8_t*>(bytes.data()), std::min(length, bytes.size()), true);
}

void ExpectCleared(const KydModel& model) {
    EXPECT_FALSE(model.loaded);
    EXPECT_TRUE(model.frames.empty() && model.palette.empty() && model.texU.empty() && model.texV.empty());
}

// A cube of 8 corners and 6 coloured sides, with texture coordinates and (1.1) normals; blanks of every kind.
std::string TextCube() {
    return "KYDA 1.1\t# a cube\n4 0 0  1 0  1 1  0 0.25\r\n6\n255 0 0 4  0 0 1 1 2 2 3 3\n0 255 0 4  4 0 5 1 6 2 7 3\n"
           "0 0 255 4  0 0 4 1 7 2 3 3\n255 255 0 4  1 0 2 1 6 2 5 3\n255 255 255 4  3 0 2 1 6 2 7 3\n"
           "9 9 9 4  0 0 1 1 5 2 4 3\n1 8\n-1 -1 1 0 0 1\n1 -1 1 0 0 1\n1 1 1 0 0 1\n-1 1 1 0 0 1\n-1 -1 -1 0 0 -1\n"
           "1 -1 -1 1 0 0\n1 1 -1 0 1 0\n-1 1 -1 0 0 -3\n";
}

} // namespace

// The nearest entry of the normal table to given normals, unnormalised ones too; a zero normal is as
// near to every entry: the exact 0 of entry 0 ends the search. A tiny one is left unnormalised, as near
// to each entry across it: the last of them wins.
TEST(KydFormat, NormalTableAndNearestNormal) {
    const float given[7][3] = {{0, 0, 1}, {0, 0, -1}, {1, 0, 0}, {0, 1, 0}, {0, 0, -3}, {0, 0, 0}, {0, 0, 1e-4f}};
    const int index[7] = {5, 84, 52, 32, 84, 0, 145};
    for (int i = 0; i < 7; ++i) EXPECT_EQ(KydNormalIndex(given[i]), index[i]) << i;
}

TEST(KydFormat, CompactFilesDecodeOrFailCleared) {
    KydModel model;
    ASSERT_EQ(Read(model, CompactFile{}.Bytes()), KydError::None);
    ASSERT_TRUE(model.frames.size() == 1 && model.frames[0].decoded.size() == 3);
    const std::vector<KydVertex>& v = model.frames[0].decoded;
    // position, normal (the table's published entries 5, 161 and 0), red and blue (an index past the
    // palette reads white), u, v
    const float expected[3][10] = {{-64, -64, -64, 0, 0, 1, 1, 1, 0, -0.25f},
                                   {63.5f, 63.5f, 63.5f, -0.688191f, -0.587785f, -0.425325f, 0, 1, 1, -0.5f},
                                   {0, 0, 0, -0.525731f, 0, 0.850651f, 1, 1, 0.5f, -1}};
    for (int i = 0; i < 3; ++i) {
        const float got[10] = {v[i].position[0], v[i].position[1], v[i].position[2], v[i].normal[0], v[i].normal[1],
                               v[i].normal[2],   v[i].colour[0],   v[i].colour[2],   v[i].u,         v[i].v};
        for (int k = 0; k < 10; ++k) EXPECT_EQ(got[k], expected[i][k]) << i << " " << k;
    }

    // Negative or huge counts, data one vertex short, more vertices than coordinates, and an old version
    // fail before anything is allocated, and leave the object cleared.
    using Change = void (*)(CompactFile&);
    const Change changes[] = {
        [](CompactFile& f) { f.frameCount = -1; },
        [](CompactFile& f) { f.paletteCount = -1; },
        [](CompactFile& f) { f.texCoordCount = -1; },
        [](CompactFile& f) { f.paletteCount = INT32_MAX; },
        [](CompactFile& f) { f.frameCount = INT32_MAX; },
        [](CompactFile& f) { f.texCoordCount = 4, f.pairs.resize(8), f.vertexCount = 4; },
        [](CompactFile& f) { f.vertexCount = 4, f.vertices.resize(20); },
        [](CompactFile& f) { f.version = 1.0; },
    };
    for (size_t i = 0; i < std::size(changes); ++i) {
        CompactFile file;
        changes[i](file);
        EXPECT_EQ(Read(model, file.Bytes()), i + 1 < std::size(changes) ? KydError::ReadError : KydError::WrongVersion)
            << i;
        ExpectCleared(model);
    }
    // Every cut of a valid file is a short read.
    std::string whole = CompactFile{}.Bytes();
    for (size_t length = 0; length < whole.size(); ++length) {
        EXPECT_EQ(Read(model, whole, length), KydError::ReadError) << length;
        ExpectCleared(model);
    }
}

TEST(KydFormat, TextFormsConvertFacesIntoMarkersAndPackOrFail) {
    KydModel model;
    ASSERT_EQ(Read(model, TextCube()), KydError::None);
    ASSERT_EQ(model.frames.size(), 1u);
    const KydFrame& frame = model.frames[0];
    ASSERT_EQ(frame.decoded.size(), 30u); // 6 markers and 24 corners
    // In the order the vertices first show them: a marker leads, then the first face's colour.
    EXPECT_EQ(model.palette,
              (std::vector<uint32_t>{kKydMarker, 0x0000FF, 0x00FF00, 0xFF0000, 0x00FFFF, 0xFFFFFF, 0x090909}));
    // The first marker is zero (the others take the previous vertex's bytes: the round trip below finds
    // them there).
    EXPECT_EQ(std::memcmp(&frame.packed[0], "\0\0\0\0", 4), 0);

    // A frame without vertices packs at scale 1 from the origin.
    ASSERT_EQ(Read(model, "KYDA 1.0 0 0 1 0"), KydError::None);
    const KydFrame& e = model.frames[0];
    EXPECT_EQ((std::array{e.scale[0], e.scale[1], e.scale[2], e.origin[0], e.origin[1], e.origin[2]}),
              (std::array<float, 6>{1, 1, 1, 0, 0, 0}));

    // Version 1.0, whose normals sum the faces' (a face and its reverse leave none), comments after every
    // field, the largest float.
    EXPECT_EQ(Read(model, "KYDA 1.0 0 2 10 20 30 3 0 0 1 0 2 0 1 1 1 3 0 0 2 0 1 0 1 3 0 0 0 1 0 0 0 1 0"),
              KydError::None);
    EXPECT_EQ(model.frames[0].decoded[1].normal[2], 0.0f);
    EXPECT_EQ(Read(model, "KYDA#c\n1.1#c\n0#c\n1 1 2 3 3#c\n0 0 1 0#c\n2 0 1\n3 0 0 0 0 0 1 1 0 0 0 0 1 0 1 0 0 0 1"),
              KydError::None);
    EXPECT_EQ(model.frames[0].packed[3].normal, 5);
    EXPECT_EQ(Read(model, "KYDA 1.0 0 1 1 1 1 3 0 0 1 0 2 0 1 3 3.4028234663852886e38 0 0 1 0 0 0 1 0"), KydError::None)
        << "the largest float";

    std::ostringstream big; // 1001 vertices a frame over 4001 frames: past 4 million
    big << "KYDA 1.0 0 1 0 0 0 1000";
    for (int i = 0; i < 1000; ++i) big << " 0 0";
    big << " 4001";
    for (int i = 0; i < 4001; ++i) big << " 1 0 0 0";
    // Versions, counts past the text or negative, vertex and texture indexes past their tables or no
    // number, and coordinates that are no finite float.
    std::vector<std::string> hostile = {"KYDB 1.0 0 0 0", "KYDA 1.2 0 0 0", "KYDA 1.0 0 -1", "KYDA 1.0 2 0 0 0",
                                        "KYDA 1.0 0 2147483647 1 1 1", big.str(),
                                        "KYDA 1.0 0 1 1 1 1 3 0 0 1 0 3 0 1 3 0 0 0 1 0 0 0 1 0",
                                        "KYDA 1.0 0 1 1 1 1 3 0 0 1 0 x 0 1 3 0 0 0 1 0 0 0 1 0",
                                        "KYDA 1.0 1 0 0 1 1 1 1 3 0 0 1 1 2 0 1 3 0 0 0 1 0 0 0 1 0"};
    for (const char* bad : {"4 0", "3 nan", "3 inf", "3 1e39", "3 x"})
        hostile.push_back("KYDA 1.0 0 1 1 1 1 3 0 0 1 0 2 0 1 " + std::string(bad) + " 0 0 1 0 0 0 1 0");
    for (const std::string& text : hostile) {
        EXPECT_EQ(Read(model, text), KydError::ReadError) << text.substr(0, 60);
        ExpectCleared(model);
    }
    const std::string cube = TextCube();
    for (size_t length = 0; length < cube.size(); ++length) { // every cut fails, but of the last line's end
        EXPECT_EQ(Read(model, cube, length), length + 1 < cube.size() ? KydError::ReadError : KydError::None) << length;
        EXPECT_EQ(model.loaded, length + 1 == cube.size());
    }
}

// Saved, reloaded and saved again: the same bytes, the text's v; an empty frame saves too. Over 256
// colours, fewer texture coordinates than vertices, or a v without its u cannot be saved: false, and
// the old file stays.
TEST(KydFormat, SavedObjectsReloadByteIdenticalAndFailedLoadsLog) {
    // Saved under the longest name that is written and read, 1023 bytes, padded with slashes.
    std::string saved = platform::TempDir(), again = saved + "again.kyd";
    saved += std::string(1014 - saved.size(), '/') + "saved.kyd";
    KydModel fromText, reloaded;
    for (const char* text : {"KYDA 1.0 0 0 1 0", ""}) {
        std::string source = WriteTempFile("source.kyd", *text ? text : TextCube());
        ASSERT_TRUE(ModelLoad(fromText, source.c_str(), true));
        ASSERT_TRUE(ModelSave(fromText, saved.c_str()));
        ASSERT_TRUE(ModelLoad(reloaded, saved.c_str(), true));
        ASSERT_TRUE(ModelSave(reloaded, again.c_str()));
        EXPECT_EQ(ReadFile(saved), ReadFile(again)); // the palette included
    }
    // The cube's corners come back where the text put them; each marker where the corner before it is.
    const std::vector<KydVertex>&text = fromText.frames[0].decoded, &back = reloaded.frames[0].decoded;
    for (size_t i = 1; i < back.size(); ++i)
        for (int k = 0; k < 3; ++k) EXPECT_NEAR(back[i].position[k], text[i % 5 ? i : i - 1].position[k], 1e-6) << i;
    EXPECT_FALSE(ModelSave(reloaded, (platform::TempDir() + "no/such/folder.kyd").c_str()));
    KydModel uneven = reloaded;
    uneven.texV.push_back(0); // a v without its u
    reloaded.texU.pop_back(); // fewer coordinates than vertices
    reloaded.texV.pop_back();
    for (uint32_t c = 0; c < 300; ++c) fromText.palette.push_back(0x100 + c);
    for (const KydModel* model : {&fromText, &reloaded, &uneven}) EXPECT_FALSE(ModelSave(*model, saved.c_str()));
    EXPECT_EQ(ReadFile(saved), ReadFile(again));

    // A failed load logs its lines and the name; a name one slash over the longest is not looked for.
    CompactFile old;
    old.version = 1.0;
    std::string path = WriteTempFile("old.kyd", old.Bytes()), missing = "/" + saved, before = ReadLog();
    EXPECT_FALSE(ModelLoad(reloaded, path.c_str(), true) || ModelLoad(reloaded, missing.c_str(), true));
    EXPECT_EQ(ReadLog().substr(before.size()),
              "Wrong .kyd version.\r\n# read error\r\n" + path + "\r\n# read error\r\n" + missing + "\r\n");
}
