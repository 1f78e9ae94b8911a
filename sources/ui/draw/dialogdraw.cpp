// dialogdraw: dialogs on the screen. The text in the 9 x 15 bitmap font, then the box picture
// blended over it in one glDrawPixels, both in a 2-D projection over the whole window.
#include "ui/dialog.h"

#include <GL/freeglut.h>
#include <GL/gl.h>

// A 2-D projection over the window with both matrices saved; EndWindowPixels puts them back.
static GLint BeginWindowPixels() {
    GLint mode = GL_MODELVIEW;
    glGetIntegerv(GL_MATRIX_MODE, &mode);
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    glOrtho(0.0, DialogViewportWidth(), 0.0, DialogViewportHeight(), -1.0, 1.0);
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
    glPushAttrib(GL_ENABLE_BIT | GL_CURRENT_BIT | GL_COLOR_BUFFER_BIT);
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_LIGHTING);
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_FOG);
    return mode;
}

static void EndWindowPixels(GLint mode) {
    glPopAttrib();
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    glPopMatrix();
    glMatrixMode(static_cast<GLenum>(mode));
    glFlush();
}

void DrawString(const char* text, const float color[4], int x, int y) {
    GLint mode = BeginWindowPixels();
    glDisable(GL_BLEND);
    glColor4fv(color);
    glRasterPos2i(x, y);
    for (const char* c = text; *c != '\0'; c++)
        glutBitmapCharacter(GLUT_BITMAP_9_BY_15, static_cast<unsigned char>(*c));
    EndWindowPixels(mode);
}

void DrawDialog(const Dialog* dialog) {
    if (dialog == nullptr || DialogTooNarrow(dialog))
        return;
    for (const DialogTextLine& line : DialogTextLines(dialog))
        DrawString(line.text.c_str(), line.color, line.x, line.y);
    int width = dialog->x2 - dialog->x1, height = dialog->y2 - dialog->y1;
    if (width <= 0 || height <= 0)
        return;
    GLint mode = BeginWindowPixels();
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glRasterPos2i(dialog->x1, dialog->y1);
    glDrawPixels(width, height, GL_RGBA, GL_FLOAT, dialog->image);
    EndWindowPixels(mode);
}
