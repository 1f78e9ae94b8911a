// image: BMP and SGI readers over bytes, and the loaders that feed them files.
#include "render/image.h"

#include "foundation/datapath.h"

#include <cerrno>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

constexpr size_t BMP_HEADER_SIZE = 54;
constexpr size_t SGI_HEADER_SIZE = 512;
constexpr unsigned SGI_MAGIC = 474;
// No image the game can use is larger than this: four channels of the largest image and the
// header, or its run-length form.
constexpr long MAX_IMAGE_FILE = 80L * 1024 * 1024;

void Say(std::string* messages, const char* format, ...) {
    if (messages == nullptr)
        return;
    char line[512];
    va_list args;
    va_start(args, format);
    std::vsnprintf(line, sizeof line, format, args);
    va_end(args);
    *messages += line;
}

uint32_t Little(const uint8_t* p, int count) {
    uint32_t value = 0;
    for (int i = count - 1; i >= 0; i--)
        value = value << 8 | p[i];
    return value;
}

uint32_t Big(const uint8_t* p, int count) {
    uint32_t value = 0;
    for (int i = 0; i < count; i++)
        value = value << 8 | p[i];
    return value;
}

bool SizeUsable(uint32_t width, uint32_t height) {
    return width > 0 && height > 0 && width <= MAX_IMAGE_SIDE && height <= MAX_IMAGE_SIDE;
}

// An SGI file being decoded: its bytes, header and (run-length) row tables.
struct SGIReader {
    const char* name;
    const uint8_t* bytes;
    size_t size;
    bool big;
    bool runLength;
    uint32_t xsize, ysize, zsize;
    std::string* messages;

    uint32_t Word(size_t offset, int count) const {
        return big ? Big(bytes + offset, count) : Little(bytes + offset, count);
    }
    // Row starts, then row lengths, each ysize x zsize entries indexed row + channel x ysize.
    uint32_t RowStart(size_t index) const { return Word(SGI_HEADER_SIZE + 4 * index, 4); }
    uint32_t RowLength(size_t index) const {
        return Word(SGI_HEADER_SIZE + 4 * (index + size_t{ysize} * zsize), 4);
    }

    bool ReadRow(uint32_t channel, uint32_t row, uint8_t* out) const;
    bool DecodeRun(const uint8_t* in, const uint8_t* end, uint8_t* out) const;
};

bool SGIReader::ReadRow(uint32_t channel, uint32_t row, uint8_t* out) const {
    if (!runLength) {
        size_t offset = SGI_HEADER_SIZE + (size_t{channel} * ysize + row) * xsize;
        if (offset + xsize > size) {
            Say(messages, "%s: the image data end early\n", name);
            return false;
        }
        std::memcpy(out, bytes + offset, xsize);
        return true;
    }
    size_t index = row + size_t{channel} * ysize;
    uint64_t start = RowStart(index), length = RowLength(index);
    if (start + length > size) {
        Say(messages, "%s: row %u of channel %u lies past the end of the file\n", name, row,
            channel);
        return false;
    }
    if (!DecodeRun(bytes + start, bytes + start + length, out)) {
        Say(messages, "%s: row %u of channel %u does not fill the image's width\n", name, row,
            channel);
        return false;
    }
    return true;
}

// Packets until a count of 0 or the row's data end: a byte b with count b & 0x7F, then count
// bytes to copy when b & 0x80 is set, else one byte to repeat count times. A row comes out
// exactly xsize bytes wide or not at all.
bool SGIReader::DecodeRun(const uint8_t* in, const uint8_t* end, uint8_t* out) const {
    uint32_t filled = 0;
    while (in < end) {
        uint8_t b = *in++;
        uint32_t count = b & 0x7F;
        if (count == 0)
            break;
        if (count > xsize - filled)
            return false;
        if (b & 0x80) {
            if (static_cast<size_t>(end - in) < count)
                return false;
            std::memcpy(out + filled, in, count);
            in += count;
        } else {
            if (in == end)
                return false;
            std::memset(out + filled, *in++, count);
        }
        filled += count;
    }
    return filled == xsize;
}

// The whole file of that name, or false with errno set (EFBIG for a file too large to be an
// image).
bool ReadWholeFile(const char* name, std::vector<uint8_t>* bytes) {
    std::string path = DataPath(name);
    FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr)
        return false;
    bool ok = std::fseek(file, 0, SEEK_END) == 0;
    long length = ok ? std::ftell(file) : -1;
    if (length < 0 || length > MAX_IMAGE_FILE) {
        std::fclose(file);
        errno = length < 0 ? EIO : EFBIG;
        return false;
    }
    std::rewind(file);
    bytes->resize(static_cast<size_t>(length));
    size_t got = std::fread(bytes->data(), 1, bytes->size(), file);
    std::fclose(file);
    bytes->resize(got);
    return true;
}

void Print(FILE* stream, const std::string& messages) {
    std::fputs(messages.c_str(), stream);
    std::fflush(stream);
}

} // namespace

bool DecodeBMP(const char* name, const uint8_t* bytes, size_t size, RGBImage* image,
               std::string* messages) {
    image->data = nullptr;
    if (size < BMP_HEADER_SIZE) {
        Say(messages, "Error reading image data from %s.\n", name);
        return false;
    }
    image->sizeX = Little(bytes + 18, 4);
    image->sizeY = Little(bytes + 22, 4);
    Say(messages, "Width of %s: %lu\n", name, static_cast<unsigned long>(image->sizeX));
    Say(messages, "Height of %s: %lu\n", name, static_cast<unsigned long>(image->sizeY));
    unsigned planes = Little(bytes + 26, 2), bpp = Little(bytes + 28, 2);
    if (planes != 1) {
        Say(messages, "Planes from %s is not 1: %u\n", name, planes);
        return false;
    }
    if (bpp != 24) {
        Say(messages, "Bpp from %s is not 24: %u\n", name, bpp);
        return false;
    }
    if (!SizeUsable(image->sizeX, image->sizeY)) {
        Say(messages, "%s: an image of %lu x %lu pixels is not usable\n", name,
            static_cast<unsigned long>(image->sizeX), static_cast<unsigned long>(image->sizeY));
        return false;
    }
    size_t count = size_t{image->sizeX} * image->sizeY * 3;
    if (size - BMP_HEADER_SIZE < count) {
        Say(messages, "Error reading image data from %s.\n", name);
        return false;
    }
    image->data = static_cast<unsigned char*>(std::malloc(count));
    if (image->data == nullptr) {
        Say(messages, "Error allocating memory for color-corrected image data\n");
        return false;
    }
    // The file holds B, G, R.
    const uint8_t* in = bytes + BMP_HEADER_SIZE;
    for (size_t i = 0; i < count; i += 3) {
        image->data[i] = in[i + 2];
        image->data[i + 1] = in[i + 1];
        image->data[i + 2] = in[i];
    }
    return true;
}

unsigned char* DecodeSGI(const char* name, const uint8_t* bytes, size_t size, SGIByteOrder order,
                         int* width, int* height, int* components, std::string* messages) {
    if (size < SGI_HEADER_SIZE) {
        Say(messages, "%s: the file is shorter than an image header\n", name);
        return nullptr;
    }
    SGIReader r = {name, bytes, size, true, false, 0, 0, 0, messages};
    if (order == ESGIFromMagic) {
        if (Big(bytes, 2) != SGI_MAGIC && Little(bytes, 2) != SGI_MAGIC) {
            Say(messages, "Invalid rgb file: %s\n", name);
            return nullptr;
        }
        r.big = Big(bytes, 2) == SGI_MAGIC;
    }
    uint32_t type = r.Word(2, 2);
    r.runLength = (type >> 8) == 1;
    r.xsize = r.Word(6, 2);
    r.ysize = r.Word(8, 2);
    r.zsize = r.Word(10, 2);
    if ((type & 0xFF) > 1) {
        Say(messages, "%s: %u bytes a channel are not supported\n", name, type & 0xFF);
        return nullptr;
    }
    if (!SizeUsable(r.xsize, r.ysize)) {
        Say(messages, "%s: an image of %u x %u pixels is not usable\n", name, r.xsize, r.ysize);
        return nullptr;
    }
    // A header of no channels reads as one.
    r.zsize = r.zsize == 0 ? 1 : r.zsize;
    uint32_t used = r.zsize < 4 ? r.zsize : 4;
    if (r.runLength && (size - SGI_HEADER_SIZE) / 8 < size_t{r.ysize} * r.zsize) {
        Say(messages, "%s: the row tables run past the end of the file\n", name);
        return nullptr;
    }
    size_t pixels = size_t{r.xsize} * r.ysize;
    auto* rgba = static_cast<unsigned char*>(std::malloc(pixels * 4));
    if (rgba == nullptr) {
        Say(messages, "%s: out of memory\n", name);
        return nullptr;
    }
    std::vector<uint8_t> rows(size_t{r.xsize} * 4);
    uint8_t* c[4] = {&rows[0], &rows[r.xsize], &rows[2 * size_t{r.xsize}],
                     &rows[3 * size_t{r.xsize}]};
    // Which channel each of R, G, B, A comes from; alpha from none is opaque.
    static const int kSource[4][4] = {{0, 0, 0, -1}, {0, 0, 0, 1}, {0, 1, 2, -1}, {0, 1, 2, 3}};
    const int* source = kSource[used - 1];
    for (uint32_t y = 0; y < r.ysize; y++) {
        for (uint32_t ch = 0; ch < used; ch++) {
            if (!r.ReadRow(ch, y, c[ch])) {
                std::free(rgba);
                return nullptr;
            }
        }
        unsigned char* out = rgba + size_t{y} * r.xsize * 4;
        for (uint32_t x = 0; x < r.xsize; x++) {
            for (int k = 0; k < 4; k++)
                *out++ = source[k] < 0 ? 255 : c[source[k]][x];
        }
    }
    *width = static_cast<int>(r.xsize);
    *height = static_cast<int>(r.ysize);
    *components = static_cast<int>(used);
    return rgba;
}

int LoadBMP(const char* name, RGBImage* image) {
    std::vector<uint8_t> bytes;
    image->data = nullptr;
    if (!ReadWholeFile(name, &bytes)) {
        std::printf("File Not Found : %s\n", name);
        return 0;
    }
    std::string messages;
    bool ok = DecodeBMP(name, bytes.data(), bytes.size(), image, &messages);
    Print(stdout, messages);
    return ok ? 1 : 0;
}

unsigned char* ReadSGIImageRGBA(const char* name, int* width, int* height, int* components) {
    std::vector<uint8_t> bytes;
    if (!ReadWholeFile(name, &bytes)) {
        std::fprintf(stderr, "%s: %s\n", name, std::strerror(errno));
        return nullptr;
    }
    std::string messages;
    unsigned char* pixels = DecodeSGI(name, bytes.data(), bytes.size(), ESGIBigEndian, width,
                                      height, components, &messages);
    Print(stderr, messages);
    return pixels;
}

RGBImage* LoadSGIImageRGB(const char* name) {
    std::vector<uint8_t> bytes;
    if (!ReadWholeFile(name, &bytes)) {
        std::fprintf(stderr, "Failed to open image file %s.\n", name);
        return nullptr;
    }
    std::string messages;
    int width = 0, height = 0, components = 0;
    unsigned char* rgba = DecodeSGI(name, bytes.data(), bytes.size(), ESGIFromMagic, &width,
                                    &height, &components, &messages);
    Print(stderr, messages);
    if (rgba == nullptr)
        return nullptr;
    size_t pixels = size_t(width) * height;
    auto* image = static_cast<RGBImage*>(std::malloc(sizeof(RGBImage)));
    unsigned char* data = static_cast<unsigned char*>(std::malloc(pixels * 3));
    if (image == nullptr || data == nullptr) {
        std::fprintf(stderr, "Out of memory.\n");
        std::free(image);
        std::free(data);
        std::free(rgba);
        return nullptr;
    }
    for (size_t i = 0; i < pixels; i++)
        std::memcpy(data + 3 * i, rgba + 4 * i, 3);
    std::free(rgba);
    *image = {static_cast<uint32_t>(width), static_cast<uint32_t>(height), data};
    return image;
}

void FreeRGBImage(RGBImage* image) {
    if (image == nullptr)
        return;
    std::free(image->data);
    std::free(image);
}

TextureKind TextureKindOfName(const char* name) {
    if (std::strstr(name, ".bmp") != nullptr)
        return EBMPTexture;
    if (std::strstr(name, ".la") != nullptr)
        return ELATexture;
    return ESGITexture;
}

bool LoadTextureImage(const char* name, TextureImage* image) {
    *image = {TextureKindOfName(name), 0, 0, 3, nullptr};
    switch (image->kind) {
    case EBMPTexture: {
        RGBImage bmp;
        if (!LoadBMP(name, &bmp))
            return false;
        *image = {EBMPTexture, int(bmp.sizeX), int(bmp.sizeY), 3, bmp.data};
        return true;
    }
    case ELATexture:
        image->pixels = ReadSGIImageRGBA(name, &image->width, &image->height, &image->components);
        if (image->pixels == nullptr)
            std::fprintf(stderr, "Error: Can't load image file \"%s\".\n", name);
        return image->pixels != nullptr;
    case ESGITexture: {
        RGBImage* sgi = LoadSGIImageRGB(name);
        if (sgi == nullptr)
            return false;
        *image = {ESGITexture, int(sgi->sizeX), int(sgi->sizeY), 3, sgi->data};
        std::free(sgi);
        return true;
    }
    }
    return false;
}
