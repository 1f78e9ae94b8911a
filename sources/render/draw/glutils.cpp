// glutils: the GL lock, display-list sets, cylinders, boxes and the texture cache.
#include "render/draw/glutils.h"

#include "foundation/assertion.h"
#include "foundation/hash.h"
#include "foundation/utilities.h"
#include "render/gltables.h"
#include "render/image.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <mutex>

namespace {

std::recursive_mutex gGLLock;
HashTable* gTextureCache = nullptr;

// One loaded texture; the name is the first field so that a record reads as its own key.
struct TextureRecord {
    char name[TEXTURE_NAME_SIZE];
    GLuint texture;
    // The decoded pixels stay only while the upload lives in display lists alone.
    TextureImage image;
};

int CompareTextureName(const void* key, const void* elem) {
    return std::strcmp(static_cast<const TextureKey*>(key)->name,
                       static_cast<const TextureRecord*>(elem)->name);
}

void FreeTextureRecord(void* elem) {
    auto* record = static_cast<TextureRecord*>(elem);
    std::free(record->image.pixels);
    std::free(record);
}

// Whether GL commands are being compiled into a list without being executed.
bool Compiling() {
    GLint list = 0, mode = 0;
    glGetIntegerv(GL_LIST_INDEX, &list);
    if (list == 0)
        return false;
    glGetIntegerv(GL_LIST_MODE, &mode);
    return mode == GL_COMPILE;
}

// Gives the texture object its pixels: BMPs one linear level, luminance-alpha images one level
// of their own channel count, SGI images a mipmap chain. While a list is being compiled the
// upload goes into the list and the pixels stay for the next use; otherwise they are freed.
bool Upload(TextureRecord* r) {
    if (r->texture == 0)
        glGenTextures(1, &r->texture);
    glBindTexture(GL_TEXTURE_2D, r->texture);
    GLint alignment = 4;
    glGetIntegerv(GL_UNPACK_ALIGNMENT, &alignment);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1); // rows are packed
    bool ok = true;
    const TextureImage& im = r->image;
    switch (im.kind) {
    case EBMPTexture:
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
        glTexImage2D(GL_TEXTURE_2D, 0, 3, im.width, im.height, 0, GL_RGB, GL_UNSIGNED_BYTE,
                     im.pixels);
        break;
    case ELATexture:
        glTexImage2D(GL_TEXTURE_2D, 0, im.components, im.width, im.height, 0, GL_RGBA,
                     GL_UNSIGNED_BYTE, im.pixels);
        break;
    case ESGITexture:
        ok = gluBuild2DMipmaps(GL_TEXTURE_2D, 3, im.width, im.height, GL_RGB, GL_UNSIGNED_BYTE,
                               im.pixels) == 0;
        break;
    }
    glPixelStorei(GL_UNPACK_ALIGNMENT, alignment);
    if (ok && !Compiling()) {
        std::free(r->image.pixels);
        r->image.pixels = nullptr;
    }
    return ok;
}

// The record of the texture the key names, loaded and uploaded; null when it cannot be.
TextureRecord* LoadTexture(const TextureKey& key) {
    static_assert(sizeof(TextureRecord::name) == sizeof(TextureKey::name));
    auto* r = static_cast<TextureRecord*>(SafeMalloc(sizeof(TextureRecord)));
    std::memset(r, 0, sizeof *r);
    std::memcpy(r->name, key.name, sizeof r->name);
    if (LoadTextureImage(key.name, &r->image) && Upload(r))
        return r;
    if (r->texture != 0)
        glDeleteTextures(1, &r->texture);
    FreeTextureRecord(r);
    return nullptr;
}

// The cached texture of that name, loaded now if it is not there yet.
TextureRecord* FindOrLoad(const char* name) {
    TextureKey key;
    if (!MakeTextureKey(name, &key)) {
        std::printf("Unable to load texture %s: the name is longer than %d characters\n", name,
                    TEXTURE_NAME_SIZE - 1);
        return nullptr;
    }
    InitGLUtils();
    auto* r = static_cast<TextureRecord*>(HashTableLookup(gTextureCache, &key));
    if (r == nullptr) {
        r = LoadTexture(key);
        if (r == nullptr) {
            std::printf("Unable to load texture %s\n", name);
            return nullptr;
        }
        HashTableInsert(gTextureCache, r);
    } else if (r->image.pixels != nullptr) {
        Upload(r);
    }
    return r;
}

void DrawFaces(double width, double height, double depth, bool textured) {
    BoxFace faces[BOX_FACES];
    BoxFaces(width, height, depth, faces);
    for (const BoxFace& face : faces) {
        glBegin(GL_QUADS);
        glNormal3fv(face.normal);
        for (int k = 0; k < 4; k++) {
            if (textured)
                glTexCoord2fv(face.texCoords[k]);
            glVertex3fv(face.corners[k]);
        }
        glEnd();
    }
}

} // namespace

void InitGLUtils() {
    if (gTextureCache == nullptr)
        gTextureCache = HashTableNew(TextureNameHash, CompareTextureName, FreeTextureRecord,
                                     TEXTURE_CACHE_BUCKETS);
}

void LockGL() {
    gGLLock.lock();
}

void UnlockGL() {
    gGLLock.unlock();
}

GLuint NewDisplayListSet(const char* name, int count) {
    LockGL();
    GLuint first = glGenLists(count);
    if (first == 0) {
        (void)glGetError();
        std::fprintf(stderr, "NewDisplayListSet: Couldn't allocate list for: %s", name);
        VASSERT(first != 0);
    }
    UnlockGL();
    return first;
}

void BeginDisplayList(GLuint list, GLenum mode) {
    LockGL();
    glNewList(list, mode);
}

void EndDisplayList() {
    glEndList();
    UnlockGL();
}

void GLAPIENTRY QuadricError(GLenum code) {
    std::fprintf(stderr, "Quadric Error: %s\n", gluErrorString(code));
    AssertionFailed("QuadricError", __FILE__, __LINE__);
}

void SetQuadricErrorCallback(GLUquadric* quadric) {
    gluQuadricCallback(quadric, GLU_ERROR, reinterpret_cast<_GLUfuncptr>(QuadricError));
}

void DrawClosedCylinder(GLUquadric* quadric, double baseRadius, double topRadius, double height,
                        int slices, int stacks) {
    float h = static_cast<float>(height);
    glTranslatef(0, 0, h);
    gluDisk(quadric, 0, topRadius, slices, stacks);
    glTranslatef(0, 0, -h);
    gluCylinder(quadric, baseRadius, topRadius, height, slices, stacks);
    gluQuadricOrientation(quadric, GLU_INSIDE);
    gluDisk(quadric, 0, baseRadius, slices, stacks);
    gluQuadricOrientation(quadric, GLU_OUTSIDE);
}

void DrawClosedCylinderInside(GLUquadric* quadric, double baseRadius, double topRadius,
                              double height, int slices, int stacks) {
    float h = static_cast<float>(height);
    gluQuadricOrientation(quadric, GLU_OUTSIDE);
    glTranslatef(0, 0, h);
    gluDisk(quadric, 0, topRadius, slices, stacks);
    glTranslatef(0, 0, -h);
    gluQuadricOrientation(quadric, GLU_INSIDE);
    gluCylinder(quadric, baseRadius, topRadius, height, slices, stacks);
    gluQuadricOrientation(quadric, GLU_OUTSIDE);
    gluDisk(quadric, 0, baseRadius, slices, stacks);
}

void DrawScaledClosedCylinder(GLUquadric* quadric, double baseRadius, double topRadius,
                              double height, double scaleX, double scaleY, int slices, int stacks) {
    float h = static_cast<float>(height);
    float sx = static_cast<float>(scaleX), sy = static_cast<float>(scaleY);
    glTranslatef(0, 0, h);
    glPushMatrix();
    glScalef(sx, sy, 1);
    gluDisk(quadric, 0, topRadius, slices, stacks);
    glPopMatrix();
    glTranslatef(0, 0, -h);
    glPushMatrix();
    glScalef(sx, sy, 1);
    gluCylinder(quadric, baseRadius, topRadius, height, slices, stacks);
    glPopMatrix();
    glPushMatrix();
    glScalef(sx, sy, 1);
    gluQuadricOrientation(quadric, GLU_INSIDE);
    gluDisk(quadric, 0, baseRadius, slices, stacks);
    glPopMatrix();
    gluQuadricOrientation(quadric, GLU_OUTSIDE);
}

GLUquadric* NewQuadricClosedCylinder(GLenum drawStyle, GLenum normals, double baseRadius,
                                     double topRadius, double height, int slices, int stacks) {
    GLUquadric* quadric = gluNewQuadric();
    gluQuadricDrawStyle(quadric, drawStyle);
    gluQuadricNormals(quadric, normals);
    float h = static_cast<float>(height);
    glTranslatef(0, 0, h);
    gluQuadricOrientation(quadric, GLU_INSIDE);
    gluDisk(quadric, 0, topRadius, slices, stacks);
    gluQuadricOrientation(quadric, GLU_OUTSIDE);
    glTranslatef(0, 0, -h);
    gluCylinder(quadric, baseRadius, topRadius, height, slices, stacks);
    gluQuadricOrientation(quadric, GLU_INSIDE);
    gluDisk(quadric, 0, baseRadius, slices, stacks);
    gluQuadricOrientation(quadric, GLU_OUTSIDE);
    return quadric;
}

void DrawBox(double width, double height, double depth) {
    DrawFaces(width, height, depth, false);
}

void DrawTexturedBox(double width, double height, double depth) {
    DrawFaces(width, height, depth, true);
}

int UseTexture(const char* name) {
    if (std::strcmp(name, "none") == 0)
        return 0;
    TextureRecord* r = FindOrLoad(name);
    if (r == nullptr)
        return 0;
    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, r->texture);
    glTexEnvf(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_REPEAT);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_REPEAT);
    return 1;
}

int PreloadTexture(const char* name) {
    if (std::strcmp(name, "none") == 0)
        return 0;
    GLint bound = 0;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
    TextureRecord* r = FindOrLoad(name);
    glBindTexture(GL_TEXTURE_2D, static_cast<GLuint>(bound));
    return r != nullptr ? 1 : 0;
}

void DisableTexture() {
    glDisable(GL_TEXTURE_2D);
}
