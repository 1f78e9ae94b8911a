// gltables: what glutils draws and keys, decided without GL.
//
// The six faces of a box (normals, corners, texture coordinates) and the texture cache's keys and
// buckets. glutils draws and caches by these; tests read them without a display.
#pragma once

#include <cstdint>

// A texture's name and the cache's key: 31 characters and the NUL. Longer names are refused.
constexpr int TEXTURE_NAME_SIZE = 32;
constexpr int TEXTURE_CACHE_BUCKETS = 24;

struct TextureKey {
    char name[TEXTURE_NAME_SIZE];
};

// The cache's hash over a key (or a record, whose first field is laid out like the key):
// h = h x 0x9CCF9319 + c over the characters taken as signed bytes, modulo 2^32, then h mod 24.
int TextureNameHash(const void* key);
bool TextureNameFits(const char* name);
// Fills *key with the name and zeros; false, leaving the key empty, for a name that is too long.
bool MakeTextureKey(const char* name, TextureKey* key);

// One face of a box: its outward normal and four corners in drawing order, with the texture
// coordinates (0, 0), (s, 0), (s, t), (0, t) that repeat the texture once per unit of length.
struct BoxFace {
    float normal[3];
    float corners[4][3];
    float texCoords[4][2];
};
constexpr int BOX_FACES = 6;

// The faces of a width x height x depth box centred on the origin, in drawing order: -x, +y, +x,
// -y, +z, -z.
void BoxFaces(double width, double height, double depth, BoxFace faces[BOX_FACES]);
