// The image decoders on any bytes: the BMP reader and the SGI reader with either byte-order rule.
// Every image they accept must be as large as they say.
#include "render/image.h"

#include <cstdint>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    RGBImage bmp;
    if (DecodeBMP("fuzz", data, size, &bmp, nullptr)) {
        // Touch the last byte, so a short buffer shows up under the address sanitizer.
        volatile unsigned char last = bmp.data[size_t{bmp.sizeX} * bmp.sizeY * 3 - 1];
        (void)last;
        std::free(bmp.data);
    }
    for (SGIByteOrder order : {ESGIBigEndian, ESGIFromMagic}) {
        int width = 0, height = 0, components = 0;
        unsigned char* pixels =
            DecodeSGI("fuzz", data, size, order, &width, &height, &components, nullptr);
        if (pixels != nullptr) {
            if (components < 1 || components > 4)
                std::abort();
            volatile unsigned char last = pixels[size_t(width) * height * 4 - 1];
            (void)last;
            std::free(pixels);
        }
    }
    return 0;
}
