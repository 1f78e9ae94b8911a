// The image readers on files ImageMagick wrote (tools/make-image-fixtures) and on broken copies
// of them; bigworld's test reads every texture the game ships.
#include "render/image.h"
#include "support/test_support.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <functional>
#include <iterator>
#include <tuple>
#include <vector>

namespace {

using Bytes = std::vector<uint8_t>;
constexpr int W = 8, H = 4;

Bytes Fixture(const std::string& name) {
    std::ifstream in(std::string(VANTRELL_FIXTURES) + "/images/" + name, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), {});
}

// The picture every fixture was made from (row 0 at the top), as a reader gives it: bottom row
// first, grey from a file of fewer than three channels, opaque from one without alpha.
Bytes Expected(int channels, int bytesPerPixel) {
    Bytes out;
    if (channels == 0) // no picture: the file was refused
        return out;
    for (int y = H - 1; y >= 0; y--) {
        for (int x = 0; x < W; x++) {
            int grey = x < 4 ? 90 + y * 20 : x * 25 + y * 5;
            int alpha = channels % 2 ? 255 : x < 4 ? 255 - 30 * y : 100 + x * 10;
            int v[4] = {x < 4 ? 200 : x * 30, x < 4 ? 10 * y : y * 60, x < 4 ? 60 : 255 - x * 20,
                        alpha};
            if (channels < 3)
                v[0] = v[1] = v[2] = grey;
            out.insert(out.end(), v, v + bytesPerPixel);
        }
    }
    return out;
}

// The bytes a reader gave, none when it gave none.
Bytes Read(const unsigned char* pixels, int count) {
    return pixels != nullptr ? Bytes(pixels, pixels + count) : Bytes();
}

class ImageFiles : public ::testing::Test {
  protected:
    ScopedEnv data_{"VANTRELL_DATA", VANTRELL_FIXTURES};
};

// Through the reader a texture's name picks and through the RGBA reader, which takes every
// header as big-endian and so refuses the "-le" files (and the BMP).
TEST_F(ImageFiles, EveryFixtureReadsAsThePictureItWasMadeFromAndAMissingOneIsRefused) {
    const std::pair<const char*, int> cases[] = {
        {"rgb.rgb", 3},        {"rgb-rle.rgb", 3},   {"rgba.rgba", 4},         {"rgba-rle.rgba", 4},
        {"grey.bw", 1},        {"grey-alpha.la", 2}, {"grey-alpha-rle.la", 2}, {"rgb-le.rgb", 3},
        {"rgb-rle-le.rgb", 3}, {"rgb.bmp", 3},       {"missing.bmp", 0},       {"missing.la", 0},
        {"missing.rgb", 0}};
    for (const auto& [file, channels] : cases) {
        std::string name = std::string("images\\") + file;
        TextureImage texture = {};
        int w = 0, h = 0, components = 0, bytes = name.ends_with(".la") ? 4 : 3;
        unsigned char* rgba = nullptr;
        bool read = false;
        Captured([&] {
            read = LoadTextureImage(name.c_str(), &texture);
            rgba = ReadSGIImageRGBA(name.c_str(), &w, &h, &components);
        });
        bool big = name.find("-le") == std::string::npos && !name.ends_with("bmp");
        EXPECT_EQ(Read(texture.pixels, texture.width * texture.height * bytes),
                  Expected(channels, bytes))
            << file;
        EXPECT_EQ(read, channels > 0) << file;
        EXPECT_EQ(Read(rgba, w * h * 4), Expected(big ? channels : 0, 4)) << file;
        EXPECT_EQ(components, big ? channels : 0) << file;
        std::free(rgba);
        std::free(texture.pixels);
    }
    FreeRGBImage(nullptr); // what a failed load gave is released like any other image
}

// Broken files are refused with one line, and nothing is read or written outside the buffers
// (the sanitizer builds check that).
TEST_F(ImageFiles, BrokenFilesAreRefusedWithOneLine) {
    struct Case {
        const char* fixture;
        std::function<void(Bytes&)> breakIt;
        const char* message;
    };
    const Case cases[] = {
        {"rgb.rgb", [](Bytes& b) { b.resize(512); }, "the image data end early"},
        {"rgb.rgb", [](Bytes& b) { b.resize(300); }, "shorter than an image header"},
        {"rgb.rgb", [](Bytes& b) { b[6] = b[7] = 0; }, "an image of 0 x 4 pixels is not usable"},
        {"rgb.rgb", [](Bytes& b) { b[8] = b[9] = 0xFF; }, "8 x 65535 pixels is not usable"},
        {"rgb.rgb", [](Bytes& b) { b[3] = 2; }, "2 bytes a channel are not supported"},
        {"rgb.rgb", [](Bytes& b) { b[0] = 0x02; }, "Invalid rgb file"},
        {"rgb-rle.rgb", [](Bytes& b) { b.resize(560); }, "the row tables run past the end"},
        // Row tables from 512: 12 starts (row + 4 x channel), 12 lengths, then the first row.
        {"rgb-rle.rgb", [](Bytes& b) { b[532] = b[533] = 0xFF; }, "row 1 of channel 1 lies past"},
        {"rgb-rle.rgb", [](Bytes& b) { b[563] = 200; }, "row 0 of channel 0 lies past"},
        // A repeat of 127 in a row of 8, and a row whose data end inside a copy packet.
        {"rgb-rle.rgb", [](Bytes& b) { b[608] = 0x7F; }, "row 0 of channel 0 does not"},
        {"rgb-rle.rgb", [](Bytes& b) { b[563] = 3; }, "row 0 of channel 0 does not"},
        {"rgb.bmp", [](Bytes& b) { b[28] = 8; }, "Bpp from x is not 24: 8"},
        {"rgb.bmp", [](Bytes& b) { b[26] = 2; }, "Planes from x is not 1: 2"},
        {"rgb.bmp", [](Bytes& b) { b.resize(149); }, "Error reading image data from x."},
        {"rgb.bmp", [](Bytes& b) { b[25] = 0xFF; }, "an image of 8 x 4278190084 pixels"},
        {"rgb.bmp", [](Bytes& b) { b.resize(40); }, "Error reading image data from x."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.message);
        Bytes bytes = Fixture(c.fixture);
        c.breakIt(bytes);
        std::string messages;
        RGBImage image;
        int w, h, components;
        bool read = std::string(c.fixture).ends_with(".bmp")
                        ? DecodeBMP("x", bytes.data(), bytes.size(), &image, &messages)
                        : DecodeSGI("x", bytes.data(), bytes.size(), ESGIFromMagic, &w, &h,
                                    &components, &messages) != nullptr;
        EXPECT_FALSE(read);
        // One line, after the BMP's width and height lines.
        EXPECT_EQ(Occurrences(messages, "\n") - Occurrences(messages, " of x: "), 1) << messages;
        EXPECT_NE(messages.find(c.message), std::string::npos) << messages;
    }
}

} // namespace
