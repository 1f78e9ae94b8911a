// The texture cache's keys and buckets and the faces of a box, without a display.
#include "render/gltables.h"
#include "support/test_support.h"

#include <array>
#include <cmath>

namespace {

TEST(TextureKeys, HashBucketsAndTheLengthLimit) {
    // Reference buckets worked out separately; "x\xe9" needs the byte taken as signed (-23).
    const std::pair<const char*, int> buckets[] = {
        {"", 0}, {"a", 1}, {"ab", 19}, {"images\\metalfloor.rgb", 16}, {"x\xe9", 9}};
    TextureKey key;
    for (const auto& [name, bucket] : buckets)
        EXPECT_TRUE(MakeTextureKey(name, &key) && TextureNameHash(&key) == bucket) << name;
    EXPECT_TRUE(MakeTextureKey(std::string(31, 'a').c_str(), &key) && std::strlen(key.name) == 31);
    EXPECT_FALSE(MakeTextureKey(std::string(32, 'a').c_str(), &key) || key.name[0] != '\0');
}

// Every face of a 1 x 2 x 3 box lies on its side of the box, winds counter-clockwise seen from
// outside, and its texture coordinates grow by one per unit of edge length.
TEST(BoxFacesTest, FacesPointOutwardsAndRepeatTheTextureOncePerUnit) {
    using V = std::array<float, 3>;
    const auto between = [](const float* a, const float* b) {
        return V{b[0] - a[0], b[1] - a[1], b[2] - a[2]};
    };
    const auto dot = [](const V& a, const float* b) {
        return a[0] * b[0] + a[1] * b[1] + a[2] * b[2];
    };
    BoxFace faces[BOX_FACES];
    BoxFaces(1, 2, 3, faces);
    const V normals[BOX_FACES] = {{-1, 0, 0}, {0, 1, 0}, {1, 0, 0},
                                  {0, -1, 0}, {0, 0, 1}, {0, 0, -1}};
    for (int f = 0; f < BOX_FACES; f++) {
        const BoxFace& face = faces[f];
        EXPECT_EQ(
            std::tuple(V(std::to_array(face.normal)), face.texCoords[0][0] + face.texCoords[0][1]),
            std::tuple(normals[f], 0.0f))
            << f;
        for (int k = 0; k < 4; k++) {
            const float *c = face.corners[k], *t = face.texCoords[k],
                        *u = face.texCoords[(k + 1) % 4];
            V edge = between(c, face.corners[(k + 1) % 4]);
            V turn = between(face.corners[(k + 1) % 4], face.corners[(k + 2) % 4]);
            V cross = {edge[1] * turn[2] - edge[2] * turn[1], edge[2] * turn[0] - edge[0] * turn[2],
                       edge[0] * turn[1] - edge[1] * turn[0]};
            EXPECT_EQ(dot(normals[f], c), std::fabs(dot(V{0.5f, 1.0f, 1.5f}, face.normal))) << f;
            EXPECT_GT(dot(cross, face.normal), 0.0f) << f;
            EXPECT_FLOAT_EQ(std::hypot(u[0] - t[0], u[1] - t[1]),
                            std::hypot(edge[0], edge[1], edge[2]))
                << f;
        }
    }
    EXPECT_EQ(V({faces[4].texCoords[2][0], faces[4].texCoords[2][1], 0}), V({2, 1, 0})); // the top
}

} // namespace
