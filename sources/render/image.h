// image: the readers of the game's image files, 24-bit BMP and SGI image files.
//
// The decoders work on bytes in memory and never call GL, so the server, the tests and the fuzz
// targets use them without a display; the loaders read a file named the game's way
// ("images\metalfloor.rgb", found through DataPath) and print what the decoder reported.
//
// Image files come from outside. A file whose header claims a zero or huge size, whose data end
// early, whose run-length packets overrun a row or whose row tables point past the end of the
// file is refused with a one-line message; nothing is read or written out of bounds.
//
// BMP: an uncompressed 24-bit bitmap whose pixels follow the 54-byte header, rows packed (a
// width whose three bytes a pixel make a multiple of four, as every texture of the game has).
// SGI: a 512-byte header of big-endian words (magic 474, storage byte 1 for run-length, one byte
// per channel, width, height, channel count), then either the channel planes one after another
// or, run-length encoded, a table of row starts and one of row lengths and the packed rows. The
// RGBA reader takes the header as big-endian; the RGB reader also reads files whose words were
// written little-endian, telling them apart by the magic.
// Every result holds its rows bottom row first, as both formats store them and GL expects.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// Neither side of an image may exceed this many pixels.
constexpr uint32_t MAX_IMAGE_SIDE = 4096;

// Three bytes R, G, B a pixel, rows packed; data comes from malloc.
struct RGBImage {
    uint32_t sizeX;
    uint32_t sizeY;
    unsigned char* data;
};

// How the RGBA reader decides the byte order of an SGI header.
enum SGIByteOrder {
    ESGIBigEndian, // always big-endian; the magic number is not checked
    ESGIFromMagic, // big- or little-endian by the first two bytes; anything else is refused
};

// The lines a reader prints go into *messages, one line each; name only labels them.
// A BMP's pixels into *image (its data owned by the caller). The width and height lines come
// first whenever the header holds them.
bool DecodeBMP(const char* name, const uint8_t* bytes, size_t size, RGBImage* image,
               std::string* messages);
// An SGI image's pixels as R, G, B, A bytes (malloc'd, owned by the caller), or null. Four or
// more channels give (c0, c1, c2, c3), three (c0, c1, c2, 255), two grey with alpha
// (c0, c0, c0, c1), one opaque grey. *components is the channel count, 1 to 4.
unsigned char* DecodeSGI(const char* name, const uint8_t* bytes, size_t size, SGIByteOrder order,
                         int* width, int* height, int* components, std::string* messages);

// The BMP file of that name into *image; 1 on success, 0 with a message on the console.
int LoadBMP(const char* name, RGBImage* image);
// The SGI file of that name as RGBA pixels, or null with a message on the error stream.
unsigned char* ReadSGIImageRGBA(const char* name, int* width, int* height, int* components);
// The SGI file of that name as RGB (a grey image comes out grey), or null with a message on the
// error stream. Release it with FreeRGBImage.
RGBImage* LoadSGIImageRGB(const char* name);
void FreeRGBImage(RGBImage* image);

// The reader a texture's name picks: ".bmp" anywhere in the name, else ".la" anywhere (an SGI
// image read as RGBA, usually luminance and alpha), else an SGI image read as RGB, whatever the
// extension.
enum TextureKind {
    EBMPTexture,
    ELATexture,
    ESGITexture,
};
TextureKind TextureKindOfName(const char* name);

// A texture's pixels: three bytes a pixel for BMP and SGI textures, four for ".la" ones, whose
// channel count is components.
struct TextureImage {
    TextureKind kind;
    int width;
    int height;
    int components;
    unsigned char* pixels;
};
// The named file read by the reader its name picks; false, with the reader's message, when it
// cannot be read. The pixels are the caller's to free.
bool LoadTextureImage(const char* name, TextureImage* image);
