// glutils: the thin layer between the drawing code and GL, GLU and GLUT.
//
// The GL lock, named display-list sets, closed cylinders, boxes and the texture cache. The cache
// loads a texture the first time a name is used (".bmp" names as 24-bit BMP, ".la" names as a
// luminance-alpha SGI image, every other name as an SGI image read as RGB) and only binds it
// afterwards. A texture that cannot be read, or whose name is longer than 31 characters, is
// reported with "Unable to load texture" and the caller draws untextured; the next use tries
// again.
//
// A texture first used while a display list is being compiled has its upload compiled into that
// list, so the list draws the same picture; its pixels are kept until a use outside any list
// uploads it once for good, and are freed then. Recorders that call PreloadTexture before
// BeginDisplayList keep uploads out of their lists. Decoded pixels are always freed once a
// texture is uploaded.
#pragma once

#include <GL/gl.h>
#include <GL/glu.h>

// Creates the texture cache (the lock needs nothing); calling it again does nothing.
void InitGLUtils();

// The process-wide recursive GL lock: held while list numbers are allocated, while a list is
// recorded and by the battle display for a whole frame.
void LockGL();
void UnlockGL();

// count consecutive display lists; the first number. Failing to get them is fatal, and the
// message names the set.
GLuint NewDisplayListSet(const char* name, int count);
// glNewList under the GL lock, and glEndList releasing it; always paired.
void BeginDisplayList(GLuint list, GLenum mode);
void EndDisplayList();

// The GLU_ERROR callback for quadrics: reports the error and stops (a programming error).
void GLAPIENTRY QuadricError(GLenum code);
// Installs QuadricError as the quadric's error callback.
void SetQuadricErrorCallback(GLUquadric* quadric);

// Cylinders along the quadric's +z from 0 to height, closed by discs. Each leaves the modelview
// matrix and the quadric's orientation (outside) as it found them.
// Both discs face outwards.
void DrawClosedCylinder(GLUquadric* quadric, double baseRadius, double topRadius, double height,
                        int slices, int stacks);
// The wall faces inwards; both discs face +z.
void DrawClosedCylinderInside(GLUquadric* quadric, double baseRadius, double topRadius,
                              double height, int slices, int stacks);
// The cross-section scaled by (scaleX, scaleY); discs face outwards.
void DrawScaledClosedCylinder(GLUquadric* quadric, double baseRadius, double topRadius,
                              double height, double scaleX, double scaleY, int slices, int stacks);
// A new quadric with that draw style and normals, having drawn the cylinder with both discs
// facing -z. The caller owns the quadric.
GLUquadric* NewQuadricClosedCylinder(GLenum drawStyle, GLenum normals, double baseRadius,
                                     double topRadius, double height, int slices, int stacks);

// A box centred on the origin, one quad a face with its normal; the textured one repeats the
// texture once per unit of length.
void DrawBox(double width, double height, double depth);
void DrawTexturedBox(double width, double height, double depth);

// Binds the named texture (loading it on first use), enables texturing with GL_MODULATE and
// repeating wraps; 1 when a texture is bound. "none" returns 0 and changes nothing.
int UseTexture(const char* name);
// Loads the named texture into the cache without enabling texturing or changing the binding;
// 1 when it is there. Called outside any display list, it keeps the upload out of the lists
// that use the texture later.
int PreloadTexture(const char* name);
// glDisable(GL_TEXTURE_2D); pairs with a UseTexture that returned 1.
void DisableTexture();
