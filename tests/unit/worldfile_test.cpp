// The world file: sections, scan formats, the line counter and what stays after a failure.
#include "support/world_support.h"

#include <cstring>

namespace {

using WorldFile = WorldTest;

const char* kSize = "size:\n10 10\n";

TEST_F(WorldFile, DataBeforeSizeFailsAtItsLineCountingCommentsButNotBlanks) {
    // Line 1 comment, 2 keyword, 3 cube; blank lines do not count.
    World* w = LoadFailing("// a world\n\n\ncubes:\n\n1 1 1\nsize:\n10 10\n", 3);
    EXPECT_EQ(w->grid, nullptr);
    EXPECT_EQ(BoxCount(w), 0); // no floor after a failure
    EXPECT_EQ(w->safeZoneMarkers, 0);
}

TEST_F(WorldFile, PropertiesMayComeBeforeSize) {
    bool ok = false;
    World* w = Load("properties:\n7 grv 9.5\n8 f -1\nsize:\n12 9\nproperties:\n9 abc 2\n", &ok);
    ASSERT_TRUE(ok);
    EXPECT_EQ(w->sizeX, 12);
    EXPECT_EQ(w->sizeY, 9);
    ASSERT_EQ(DArrayLength(w->properties), 3);
    auto* p = static_cast<WorldProperty*>(DArrayNth(w->properties, 0));
    EXPECT_EQ(p->id, 7);
    EXPECT_EQ(p->code, 'g');
    EXPECT_DOUBLE_EQ(p->value, 9.5);
    p = static_cast<WorldProperty*>(DArrayNth(w->properties, 1));
    EXPECT_EQ(p->code, 'f');
    EXPECT_DOUBLE_EQ(p->value, -1.0);
    // A word of four characters does not fit.
    LoadFailing("properties:\n1 grav 1.0\n", 2);
}

TEST_F(WorldFile, SizeLineOnceAndWithinBounds) {
    LoadFailing("size:\n10 10\n20 20\n", 3);
    LoadFailing("size:\n10 10\nsize:\n20 20\n", 4);
    LoadFailing("size:\n0 10\n", 2);
    LoadFailing("size:\n10 -3\n", 2);
    LoadFailing("size:\n100000 100000\n", 2);
    LoadFailing("size:\n10\n", 2);
    // A file that never gives its size has no world; it fails at its last line.
    LoadFailing("properties:\n1 a 1\n", 2);
    World* w = Load("size:\n3 4\n");
    EXPECT_EQ(w->grid[2 * 4 + 3].x, 2); // column (2, 3) knows its place
    EXPECT_EQ(w->grid[2 * 4 + 3].y, 3);
    EXPECT_EQ(w->grid[2 * 4 + 3].levels, nullptr);
}

TEST_F(WorldFile, WallShellIsTheSameWhicheverCornersComeFirst) {
    World* a = Load(std::string(kSize) + "walls:\n5 5 1:3 7 3 \"images\\brick.bmp\"\n");
    World* b = Load(std::string(kSize) + "walls:\n3 5 1:5 7 3 \"images\\brick.bmp\"\n");
    World* c = Load(std::string(kSize) + "walls:\n3 7 3:5 5 1 \"none\"\n");
    for (World* w : {a, b, c}) {
        int solid = 0;
        for (int x = 0; x < 10; x++)
            for (int y = 0; y < 10; y++)
                for (int z = 0; z <= 4; z++)
                    solid += Content(w, x, y, z) == ESolid;
        EXPECT_EQ(solid, 26);
        EXPECT_EQ(Content(w, 4, 6, 2), EEmpty); // the core is left alone
        EXPECT_EQ(Content(w, 3, 6, 2), ESolid);
        EXPECT_EQ(Content(w, 4, 6, 3), ESolid);
        ASSERT_EQ(BoxCount(w), 2); // the wall and the floor
        WorldBox* box = GetWorldBox(w, 0);
        EXPECT_DOUBLE_EQ(box->minimum.x, 3);
        EXPECT_DOUBLE_EQ(box->minimum.y, 5);
        EXPECT_DOUBLE_EQ(box->minimum.z, 1);
        EXPECT_DOUBLE_EQ(box->maximum.x, 6);
        EXPECT_DOUBLE_EQ(box->maximum.y, 8);
        EXPECT_DOUBLE_EQ(box->maximum.z, 4);
        EXPECT_EQ(box->translucent, 0);
        EXPECT_FLOAT_EQ(box->color.alpha, 0.75f);
    }
    EXPECT_STREQ(GetWorldBox(a, 0)->texture, "images\\brick.bmp");
    EXPECT_STREQ(GetWorldBox(c, 0)->texture, "none");
}

TEST_F(WorldFile, WallAndTeleporterScanRules) {
    std::string head = std::string(kSize) + "walls:\n";
    LoadFailing(head + "1 1 1:2 2 2 \"\"\n", 4);      // a texture name needs a character
    LoadFailing(head + "1 1 1 :2 2 2 \"none\"\n", 4); // no blank before the colon
    LoadFailing(head + "1 1 1:2 2 2 none\n", 4);      // the name is quoted
    LoadFailing(head + "1 1 1:2 2 2 \"" + std::string(33, 'a') + "\"\n", 4);
    LoadFailing(head + "1 1 1:10 2 2 \"none\"\n", 4); // off the grid
    bool ok = false;
    World* w = Load(head + "1 1 1:   2 2 2 \"" + std::string(32, 'a') + "\"\n", &ok);
    EXPECT_TRUE(ok);
    EXPECT_EQ(std::strlen(GetWorldBox(w, 0)->texture), 32u);
    LoadFailing(std::string(kSize) + "teleporters:\n1 1 1 :2 2 1\n", 4);
    Load(std::string(kSize) + "teleporters:\n1 1 1:  2 2 1\n", &ok);
    EXPECT_TRUE(ok);
}

TEST_F(WorldFile, TeleporterFlagFormsAndPads) {
    bool ok = false;
    World* w = Load(
        std::string(kSize) + "teleporters:\n1 1 1:2 2 1\n3 3 1:4 4 1 0\n5 5 1:6 6 2   1\n", &ok);
    ASSERT_TRUE(ok);
    ASSERT_EQ(TeleporterCount(w), 3);
    EXPECT_EQ(GetTeleporter(w, 0)->translucent, 1);
    EXPECT_EQ(GetTeleporter(w, 1)->translucent, 0);
    EXPECT_EQ(GetTeleporter(w, 2)->translucent, 1);
    EXPECT_EQ(GetTeleporter(w, 2)->uid, 2); // teleporters are numbered from 0
    EXPECT_EQ(GetTeleporter(w, 2)->end2.z, 2);
    EXPECT_EQ(FindCellData(w, 4, 4, 1)->teleporterIndex, 1);
    // Two pads per teleporter, then the floor.
    ASSERT_EQ(BoxCount(w), 7);
    WorldBox* clear = GetWorldBox(w, 0);
    WorldBox* solid = GetWorldBox(w, 2);
    EXPECT_EQ(clear->translucent, 1);
    EXPECT_FLOAT_EQ(clear->color.alpha, 0.3f);
    EXPECT_EQ(solid->translucent, 0);
    EXPECT_FLOAT_EQ(solid->color.alpha, 1.0f);
    EXPECT_DOUBLE_EQ(solid->maximum.z - solid->minimum.z, 0.2);
    EXPECT_DOUBLE_EQ(solid->minimum.x, 3);
    EXPECT_STREQ(solid->texture, ""); // untextured
}

TEST_F(WorldFile, At254TeleportersTheNextLineFails) {
    std::string text = "size:\n200 200\nteleporters:\n";
    for (int i = 0; i < 255; i++)
        text += std::to_string(i % 200) + " " + std::to_string(i / 200) +
                " 1:" + std::to_string(i % 200) + " " + std::to_string(100 + i / 200) + " 1\n";
    World* w = LoadFailing(text, 3 + 255);
    EXPECT_EQ(TeleporterCount(w), MAX_TELEPORTERS);
    EXPECT_EQ(FindCellData(w, 54, 1, 1), nullptr); // the failing line changed nothing
}

TEST_F(WorldFile, SafeZonesNeedSupportAboveOneAndOneLinePerOwner) {
    // Nothing below z 2: the zone's cells are unsupported.
    World* w = LoadFailing(std::string(kSize) + "safe zones:\n0 4 4 2\n", 4);
    EXPECT_EQ(GetSafeZone(w, 0)->owner, NO_SAFE_ZONE);
    EXPECT_EQ(Content(w, 4, 4, 2), EEmpty);
    // One unsupported corner is enough to fail, and nothing of the line stays.
    w = LoadFailing(std::string(kSize) + "walls:\n3 3 1:5 5 1 \"none\"\n" +
                        "cubes:\n5 5 1\nsafe zones:\n0 5 5 2\n",
                    8);
    EXPECT_EQ(GetSafeZone(w, 0)->owner, NO_SAFE_ZONE);
    EXPECT_EQ(FindCellData(w, 5, 5, 2), nullptr);
    EXPECT_EQ(FindCellData(w, 4, 4, 2), nullptr);

    bool ok = false;
    w = Load(std::string(kSize) + "walls:\n3 3 1:5 5 1 \"none\"\nsafe zones:\n1 4 4 2\n" +
                 "2 8 8 1\n",
             &ok);
    ASSERT_TRUE(ok);
    SafeZone* zone = GetSafeZone(w, 1);
    EXPECT_EQ(zone->owner, 1);
    EXPECT_EQ(zone->centre.x, 4);
    EXPECT_EQ(Content(w, 4, 4, 2), ESafeZoneCentre);
    EXPECT_EQ(FindCellData(w, 3, 5, 2)->safeZoneOwner, 1);
    EXPECT_EQ(FindCellData(w, 8, 8, 1)->safeZoneOwner, 2); // z 1 needs no support
    EXPECT_EQ(GetSafeZone(w, 0)->owner, NO_SAFE_ZONE);
    WorldBox* pad = GetWorldBox(w, 1);
    EXPECT_DOUBLE_EQ(pad->minimum.x, 3);
    EXPECT_DOUBLE_EQ(pad->maximum.x, 6);
    EXPECT_FLOAT_EQ(pad->color.red, 0.75f); // player 1's red
    EXPECT_EQ(w->safeZoneMarkers, NUM_SAFE_ZONES);

    LoadFailing(std::string(kSize) + "safe zones:\n1 4 4 1\n1 7 7 1\n", 5);
    LoadFailing(std::string(kSize) + "safe zones:\n4 4 4 1\n", 4);
    LoadFailing(std::string(kSize) + "safe zones:\n0 0 4 1\n", 4);                // off the grid
    LoadFailing(std::string(kSize) + "cubes:\n5 4 1\nsafe zones:\n0 4 4 1\n", 6); // on solid
    LoadFailing(std::string(kSize) + "safe zones:\n0 4 4 1\n1 6 4 1\n", 5);       // overlap
    LoadFailing(std::string(kSize) + "chests:\n7000 4 4 1 0\nsafe zones:\n0 4 4 1\n", 6);
}

TEST_F(WorldFile, ChestsOffTheGridOrOnTakenCellsFailTheLine) {
    bool ok = false;
    World* w = Load(std::string(kSize) + "chests:\n5000 1 1 1 0\n8003 2 2 1 3\n", &ok);
    ASSERT_TRUE(ok);
    ASSERT_EQ(ChestCount(w), 2);
    Location at = {2, 2, 1};
    Chest* chest = GetChestAt(w, &at);
    ASSERT_NE(chest, nullptr);
    EXPECT_EQ(chest->index, 1);
    EXPECT_EQ(chest->contents, 8003);
    EXPECT_EQ(chest->style, 3);
    EXPECT_EQ(chest->opened, 0);
    EXPECT_EQ(GetChestByIndex(w, 1), chest);

    std::string head = std::string(kSize) + "cubes:\n3 3 1\nchests:\n5000 1 1 1 0\n";
    w = LoadFailing(head + "5001 1 1 1 0\n", 7); // two on one cell
    EXPECT_EQ(ChestCount(w), 1);
    LoadFailing(head + "5001 3 3 1 0\n", 7);  // in a cube
    LoadFailing(head + "5001 10 3 1 0\n", 7); // off the grid
    LoadFailing(head + "5001 -1 3 1 0\n", 7);
    LoadFailing(head + "3001 4 4 1 0\n", 7); // a robot is no chest's contents
    LoadFailing(head + "-5 4 4 1 0\n", 7);
    LoadFailing(head + "5001 4 4 99 0\n", 7); // beyond the heights a world has
    LoadFailing(head + "5001 4 4 1\n", 7);    // the style is not optional
}

TEST_F(WorldFile, MusicTrackAndWhatStaysAfterAFailure) {
    bool ok = false;
    World* w = Load(std::string(kSize) + "musictrack:\n5\n", &ok);
    EXPECT_TRUE(ok);
    EXPECT_EQ(w->musicTrack, 5);
    // The floor is the last box: the whole grid, one cell high.
    WorldBox* floor = GetWorldBox(w, BoxCount(w) - 1);
    EXPECT_DOUBLE_EQ(floor->maximum.x, 10);
    EXPECT_DOUBLE_EQ(floor->maximum.z, 1);
    EXPECT_STREQ(floor->texture, "images\\metalfloor.rgb");

    w = LoadFailing(std::string(kSize) + "cubes:\n1 1 1\n2 2\n3 3 1\n", 5);
    EXPECT_EQ(Content(w, 1, 1, 1), ESolid);
    EXPECT_EQ(Content(w, 3, 3, 1), EEmpty);
    EXPECT_EQ(BoxCount(w), 1); // the cube, and no floor
    EXPECT_EQ(w->safeZoneMarkers, 0);
    LoadFailing(std::string(kSize) + "cubes:\n1 1 -1\n", 4);
    LoadFailing(std::string(kSize) + "nonsense\n", 3); // a data line of the size section
    LoadFailing("1 2 3\n", 1);                         // data before any section
}

} // namespace
