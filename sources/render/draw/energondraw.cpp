// energondraw: the stage lists, the crystal lists and DrawAllEnergon.
#include "render/draw/energondraw.h"

#include "foundation/hash.h"
#include "foundation/utilities.h"
#include "render/draw/glutils.h"
#include "render/worldview.h"
#include "world/energon.h"
#include "world/world.h"

namespace {

GLuint gStageLists = 0;

constexpr GLfloat CRYSTAL_COLOR[4] = {0.451f, 0.804f, 0.922f, 1.0f};
constexpr GLfloat CRYSTAL_SHININESS = 20;
constexpr int CONE_SLICES = 8;
constexpr int CONE_STACKS = 4;

void ReleaseCrystalLists(Energon* energon) {
    glDeleteLists(static_cast<GLuint>(energon->crystalLists), energon->crystals);
}

// The crystal lists of a deposit: each its material and a random spot inside the cell.
void RecordCrystals(Energon* energon) {
    GLuint first = NewDisplayListSet("Energon crystals", energon->crystals);
    for (int i = 0; i < energon->crystals; i++) {
        double a = RandomRange(0.0, 1.0), b = RandomRange(0.0, 1.0);
        BeginDisplayList(first + i, GL_COMPILE);
        glMaterialfv(GL_FRONT, GL_AMBIENT_AND_DIFFUSE, CRYSTAL_COLOR);
        glMaterialfv(GL_FRONT, GL_SPECULAR, CRYSTAL_COLOR);
        glMaterialf(GL_FRONT, GL_SHININESS, CRYSTAL_SHININESS);
        glTranslated(energon->x + a, energon->y + b, energon->z);
        EndDisplayList();
    }
    energon->crystalLists = static_cast<int32_t>(first);
}

void DrawEnergon(void* element, void* aux) {
    auto* energon = static_cast<Energon*>(element);
    if (!EnergonDrawn(static_cast<const WorldView*>(aux), energon))
        return;
    if (energon->crystalLists == -1)
        RecordCrystals(energon);
    for (int i = 0; i < energon->crystals; i++) {
        glPushMatrix();
        glCallList(static_cast<GLuint>(energon->crystalLists) + i);
        glCallList(gStageLists + energon->stage);
        glPopMatrix();
    }
}

} // namespace

void InitEnergonStages() {
    gStageLists = NewDisplayListSet("Energon stages", ENERGON_STAGE_LISTS);
    GLUquadric* quadric = gluNewQuadric();
    SetQuadricErrorCallback(quadric);
    for (int s = 0; s < ENERGON_STAGE_LISTS; s++) {
        double height = ENERGON_STAGE_HEIGHT * s;
        BeginDisplayList(gStageLists + s, GL_COMPILE);
        if (s > 0)
            gluCylinder(quadric, height / 3, 0, height, CONE_SLICES, CONE_STACKS);
        EndDisplayList();
    }
    gluDeleteQuadric(quadric);
    SetEnergonListReleaser(ReleaseCrystalLists);
}

void DrawAllEnergon(World* world, const WorldView* view) {
    if (gStageLists == 0)
        return;
    HashTableMap(world->energonTable, DrawEnergon, const_cast<WorldView*>(view));
}
