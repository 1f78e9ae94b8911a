// gltables: box faces and texture keys.
#include "render/gltables.h"

#include <cstring>

int TextureNameHash(const void* key) {
    uint32_t h = 0;
    for (const char* c = static_cast<const TextureKey*>(key)->name; *c != '\0'; c++)
        h = h * 0x9CCF9319u + static_cast<uint32_t>(static_cast<int32_t>(static_cast<int8_t>(*c)));
    return static_cast<int>(h % TEXTURE_CACHE_BUCKETS);
}

bool TextureNameFits(const char* name) {
    return std::strlen(name) < TEXTURE_NAME_SIZE;
}

bool MakeTextureKey(const char* name, TextureKey* key) {
    std::memset(key, 0, sizeof *key);
    if (!TextureNameFits(name))
        return false;
    std::memcpy(key->name, name, std::strlen(name));
    return true;
}

void BoxFaces(double width, double height, double depth, BoxFace faces[BOX_FACES]) {
    // Corner i has its x sign from i / 4, its y sign from whether i & 3 is 2 or 3 and its z sign
    // from whether i & 3 is 1 or 2: 0 (-,-,-), 1 (-,-,+), 2 (-,+,+), 3 (-,+,-), 4 (+,-,-) ...
    float corner[8][3];
    for (int i = 0; i < 8; i++) {
        int low = i & 3;
        corner[i][0] = static_cast<float>((i < 4 ? -width : width) / 2);
        corner[i][1] = static_cast<float>((low >= 2 ? height : -height) / 2);
        corner[i][2] = static_cast<float>((low == 1 || low == 2 ? depth : -depth) / 2);
    }
    struct FaceSpec {
        float normal[3];
        int corners[4];
        double s, t;
    };
    const FaceSpec spec[BOX_FACES] = {
        {{-1, 0, 0}, {0, 1, 2, 3}, depth, height}, {{0, 1, 0}, {3, 2, 6, 7}, depth, width},
        {{1, 0, 0}, {7, 6, 5, 4}, depth, height},  {{0, -1, 0}, {4, 5, 1, 0}, depth, width},
        {{0, 0, 1}, {5, 6, 2, 1}, height, width},  {{0, 0, -1}, {7, 4, 0, 3}, height, width},
    };
    for (int f = 0; f < BOX_FACES; f++) {
        const FaceSpec& in = spec[f];
        BoxFace& out = faces[f];
        std::memcpy(out.normal, in.normal, sizeof out.normal);
        float s = static_cast<float>(in.s), t = static_cast<float>(in.t);
        const float tex[4][2] = {{0, 0}, {s, 0}, {s, t}, {0, t}};
        for (int k = 0; k < 4; k++) {
            std::memcpy(out.corners[k], corner[in.corners[k]], sizeof out.corners[k]);
            std::memcpy(out.texCoords[k], tex[k], sizeof out.texCoords[k]);
        }
    }
}
