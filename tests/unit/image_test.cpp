// The image readers on files ImageMagick wrote (tools/make-image-fixtures) and on broken copies
// of them; bigworld's test reads every texture the game ships.
#include "render/image.h"
#include "support/test_support.h"

#include <fstream>
#include <iterator>

namespace {

using Bytes = std::vector<uint8_t>;
constexpr int W = 8, H = 4;

// The picture every fixture was made from (row 0 at the top), as a reader gives it: bottom row
// first, grey from a file of fewer than three channels, opaque from one without alpha; nothing
// for a refused file (no channels).
Bytes Expected(int channels, int bytesPerPixel) {
    Bytes out;
    for (int y = H - 1; y >= 0 && channels > 0; y--) {
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

// Through the reader a texture's name picks and through the RGBA reader, which takes every
// header as big-endian and so refuses the "-le" files (and the BMP).
TEST(ImageFiles, EveryFixtureReadsAsThePictureItWasMadeFromAndAMissingOneIsRefused) {
    ScopedEnv data("VANTRELL_DATA", VANTRELL_FIXTURES);
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
        int big = name.find("-le") == std::string::npos && !name.ends_with("bmp") ? channels : 0;
        EXPECT_EQ(std::tuple(read, Read(texture.pixels, texture.width * texture.height * bytes),
                             components, Read(rgba, w * h * 4)),
                  std::tuple(channels > 0, Expected(channels, bytes), big, Expected(big, 4)))
            << file;
        std::free(rgba);
        std::free(texture.pixels);
    }
    FreeRGBImage(nullptr); // what a failed load gave is released like any other image
}

// Broken files are refused with one line, and nothing is read or written outside the buffers
// (the sanitizer builds check that). A copy of the fixture is cut to `at` bytes when count is
// 0, else count bytes from `at` are set to value.
TEST(ImageFiles, BrokenFilesAreRefusedWithOneLine) {
    // clang-format off
    const struct { const char* fixture; int at, count, value; const char* message; } cases[] = {
        {"rgb.rgb", 512, 0, 0, "the image data end early"},
        {"rgb.rgb", 300, 0, 0, "shorter than an image header"},
        {"rgb.rgb", 6, 2, 0, "an image of 0 x 4 pixels is not usable"},
        {"rgb.rgb", 8, 2, 0xFF, "8 x 65535 pixels is not usable"},
        {"rgb.rgb", 3, 1, 2, "2 bytes a channel are not supported"},
        {"rgb.rgb", 0, 1, 2, "Invalid rgb file"},
        {"rgb-rle.rgb", 560, 0, 0, "the row tables run past the end"},
        // Row tables from 512: 12 starts (row + 4 x channel), 12 lengths, then the first row.
        {"rgb-rle.rgb", 532, 2, 0xFF, "row 1 of channel 1 lies past"},
        {"rgb-rle.rgb", 563, 1, 200, "row 0 of channel 0 lies past"},
        // A repeat of 127 in a row of 8, and a row whose data end inside a copy packet.
        {"rgb-rle.rgb", 608, 1, 0x7F, "row 0 of channel 0 does not"},
        {"rgb-rle.rgb", 563, 1, 3, "row 0 of channel 0 does not"},
        {"rgb.bmp", 28, 1, 8, "Bpp from x is not 24: 8"},
        {"rgb.bmp", 26, 1, 2, "Planes from x is not 1: 2"},
        {"rgb.bmp", 149, 0, 0, "Error reading image data from x."},
        {"rgb.bmp", 25, 1, 0xFF, "an image of 8 x 4278190084 pixels"},
        {"rgb.bmp", 40, 0, 0, "Error reading image data from x."},
        // clang-format on
    };
    for (const auto& c : cases) {
        std::ifstream in(std::string(VANTRELL_FIXTURES) + "/images/" + c.fixture, std::ios::binary);
        Bytes bytes(std::istreambuf_iterator<char>(in), {});
        if (c.count == 0)
            bytes.resize(c.at);
        std::fill_n(bytes.begin() + c.at, c.count, c.value);
        std::string messages;
        RGBImage image;
        int w, h, components;
        bool read = std::string(c.fixture).ends_with(".bmp")
                        ? DecodeBMP("x", bytes.data(), bytes.size(), &image, &messages)
                        : DecodeSGI("x", bytes.data(), bytes.size(), ESGIFromMagic, &w, &h,
                                    &components, &messages) != nullptr;
        // One line, after the BMP's width and height lines.
        EXPECT_EQ(std::tuple(read, Occurrences(messages, "\n") - Occurrences(messages, " of x: "),
                             messages.find(c.message) != std::string::npos),
                  std::tuple(false, 1, true))
            << messages;
    }
}

} // namespace
