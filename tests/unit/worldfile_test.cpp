// The world file: sections, scan formats, the line counter and what stays after a failure.
#include "support/world_support.h"

#include <cstring>

namespace {

using WorldFile = WorldTest;

const std::string kSize = "size:\n10 10\n";

TEST_F(WorldFile, SizeComesFirstButForPropertiesAndOnlyOnce) {
    // Line 1 comment, 2 keyword, 3 cube; blank lines do not count.
    World* w = LoadFailing("// a world\n\n\ncubes:\n\n1 1 1\nsize:\n10 10\n", 3);
    EXPECT_EQ(w->grid, nullptr);
    EXPECT_EQ(BoxCount(w), 0); // no floor after a failure
    bool ok = false;
    w = Load("properties:\n7 grv 9.5\nsize:\n12 9\nproperties:\n9 f -1\n", &ok);
    ASSERT_TRUE(ok);
    EXPECT_EQ(w->sizeX, 12);
    ASSERT_EQ(DArrayLength(w->properties), 2);
    auto* p = static_cast<WorldProperty*>(DArrayNth(w->properties, 0));
    EXPECT_EQ(p->code, 'g');
    EXPECT_DOUBLE_EQ(p->value, 9.5);
    LoadFailing("properties:\n1 grav 1.0\n", 2); // a word of four characters
    LoadFailing(kSize + "20 20\n", 3);
    LoadFailing(kSize + "size:\n20 20\n", 4);
    LoadFailing("size:\n0 10\n", 2);
    LoadFailing("size:\n100000 100000\n", 2);
    LoadFailing("properties:\n1 a 1\n", 2); // a file without a grid fails at its end
    LoadFailing("1 2 3\n", 1);              // data before any section
}

TEST_F(WorldFile, WallShellIsTheSameWhicheverCornersComeFirst) {
    World* a = Load(kSize + "walls:\n5 5 1:3 7 3 \"images\\brick.bmp\"\n");
    World* b = Load(kSize + "walls:\n3 7 3:5 5 1 \"none\"\n");
    for (World* w : {a, b}) {
        int solid = 0;
        for (int x = 0; x < 10; x++)
            for (int y = 0; y < 10; y++)
                for (int z = 0; z <= 4; z++)
                    solid += Content(w, x, y, z) == ESolid;
        EXPECT_EQ(solid, 26);
        EXPECT_EQ(Content(w, 4, 6, 2), EEmpty); // the core is left alone
        WorldBox* box = GetWorldBox(w, 0);
        EXPECT_DOUBLE_EQ(box->minimum.x, 3);
        EXPECT_DOUBLE_EQ(box->minimum.y, 5);
        EXPECT_DOUBLE_EQ(box->maximum.z, 4);
    }
    EXPECT_STREQ(GetWorldBox(a, 0)->texture, "images\\brick.bmp");
    EXPECT_STREQ(GetWorldBox(b, 0)->texture, "none");
}

TEST_F(WorldFile, WallAndTeleporterScanRules) {
    std::string walls = kSize + "walls:\n";
    LoadFailing(walls + "1 1 1:2 2 2 \"\"\n", 4);      // a texture needs a character
    LoadFailing(walls + "1 1 1 :2 2 2 \"none\"\n", 4); // no blank before the colon
    LoadFailing(walls + "1 1 1:2 2 2 \"" + std::string(33, 'a') + "\"\n", 4);
    LoadFailing(walls + "1 1 1:10 2 2 \"none\"\n", 4); // off the grid
    bool ok = false;
    World* w = Load(walls + "1 1 1:   2 2 2 \"" + std::string(32, 'a') + "\"\n", &ok);
    EXPECT_TRUE(ok);
    EXPECT_EQ(std::strlen(GetWorldBox(w, 0)->texture), 32u);
    LoadFailing(kSize + "teleporters:\n1 1 1 :2 2 1\n", 4);
    Load(kSize + "teleporters:\n1 1 1:  2 2 1\n", &ok);
    EXPECT_TRUE(ok);
}

TEST_F(WorldFile, TeleporterFlagFormsAndTheirPads) {
    World* w = Load(kSize + "teleporters:\n1 1 1:2 2 1\n3 3 1:4 4 1 0\n5 5 1:6 6 2   1\n");
    ASSERT_EQ(TeleporterCount(w), 3);
    EXPECT_EQ(GetTeleporter(w, 0)->translucent, 1);
    EXPECT_EQ(GetTeleporter(w, 1)->translucent, 0);
    EXPECT_EQ(GetTeleporter(w, 2)->translucent, 1);
    EXPECT_EQ(GetTeleporter(w, 2)->uid, 2);
    EXPECT_EQ(FindCellData(w, 4, 4, 1)->teleporterIndex, 1);
    ASSERT_EQ(BoxCount(w), 7); // two pads each and the floor
    EXPECT_EQ(GetWorldBox(w, 0)->translucent, 1);
    EXPECT_FLOAT_EQ(GetWorldBox(w, 0)->color.alpha, 0.3f);
    EXPECT_EQ(GetWorldBox(w, 2)->translucent, 0);
    EXPECT_DOUBLE_EQ(GetWorldBox(w, 2)->maximum.z, 1.2);

    std::string many = "size:\n200 200\nteleporters:\n";
    for (int i = 0; i < 255; i++)
        many += std::to_string(i % 200) + " " + std::to_string(i / 200) +
                " 1:" + std::to_string(i % 200) + " " + std::to_string(100 + i / 200) + " 1\n";
    w = LoadFailing(many, 3 + 255);
    EXPECT_EQ(TeleporterCount(w), MAX_TELEPORTERS);
    EXPECT_EQ(FindCellData(w, 54, 1, 1), nullptr); // the failing line changed nothing
}

TEST_F(WorldFile, SafeZonesNeedSupportAboveOneAndOneLinePerOwner) {
    std::string deck = kSize + "walls:\n3 3 1:5 5 1 \"none\"\n";
    World* w = LoadFailing(kSize + "safe zones:\n0 4 4 2\n", 4); // nothing below
    EXPECT_EQ(GetSafeZone(w, 0)->owner, NO_SAFE_ZONE);
    // One unsupported corner fails the line, and nothing of it stays.
    w = LoadFailing(deck + "safe zones:\n0 5 5 2\n", 6);
    EXPECT_EQ(GetSafeZone(w, 0)->owner, NO_SAFE_ZONE);
    EXPECT_EQ(FindCellData(w, 4, 4, 2), nullptr);

    bool ok = false;
    w = Load(deck + "safe zones:\n1 4 4 2\n", &ok);
    ASSERT_TRUE(ok);
    EXPECT_EQ(GetSafeZone(w, 1)->centre.x, 4);
    EXPECT_EQ(Content(w, 4, 4, 2), ESafeZoneCentre);
    EXPECT_EQ(FindCellData(w, 3, 5, 2)->safeZoneOwner, 1);
    EXPECT_FLOAT_EQ(GetWorldBox(w, 1)->color.red, 0.75f); // player 1's pad
    EXPECT_EQ(w->safeZoneMarkers, NUM_SAFE_ZONES);

    LoadFailing(kSize + "safe zones:\n1 4 4 1\n1 7 7 1\n", 5);
    LoadFailing(kSize + "safe zones:\n4 4 4 1\n", 4);
    LoadFailing(kSize + "safe zones:\n0 0 4 1\n", 4);                // off the grid
    LoadFailing(kSize + "cubes:\n5 4 1\nsafe zones:\n0 4 4 1\n", 6); // on something solid
    LoadFailing(kSize + "safe zones:\n0 4 4 1\n1 6 4 1\n", 5);       // over another zone
}

TEST_F(WorldFile, ChestsOffTheGridOrOnTakenCellsFailTheLine) {
    World* w = Load(kSize + "chests:\n5000 1 1 1 0\n8003 2 2 1 3\n");
    Location at = {2, 2, 1};
    Chest* chest = GetChestAt(w, &at);
    ASSERT_NE(chest, nullptr);
    EXPECT_EQ(chest->index, 1);
    EXPECT_EQ(chest->style, 3);
    EXPECT_EQ(GetChestByIndex(w, 1), chest);

    std::string head = kSize + "cubes:\n3 3 1\nchests:\n5000 1 1 1 0\n";
    w = LoadFailing(head + "5001 1 1 1 0\n", 7); // two on one cell
    EXPECT_EQ(ChestCount(w), 1);
    LoadFailing(head + "5001 3 3 1 0\n", 7);  // in a cube
    LoadFailing(head + "5001 10 3 1 0\n", 7); // off the grid
    LoadFailing(head + "3001 4 4 1 0\n", 7);  // a robot is no chest's contents
    LoadFailing(head + "5001 4 4 99 0\n", 7); // beyond the heights a world has
    // A cube or a wall shell laid over a chest would bury it: the line fails, and all of it.
    LoadFailing(head + "cubes:\n1 1 1\n", 8);
    w = LoadFailing(head + "walls:\n1 0 1:1 3 1 \"none\"\n", 8);
    EXPECT_EQ(Content(w, 1, 0, 1), EEmpty);
    EXPECT_EQ(Content(w, 1, 1, 1), EChest);
    bool ok = false;
    Load(head + "walls:\n0 0 0:2 2 2 \"none\"\n", &ok); // the chest is in the core
    EXPECT_TRUE(ok);
}

TEST_F(WorldFile, AFinishedFileGetsItsFloorAFailedOneKeepsWhatCameBefore) {
    World* w = Load(kSize + "musictrack:\n5\n");
    EXPECT_EQ(w->musicTrack, 5);
    WorldBox* floor = GetWorldBox(w, BoxCount(w) - 1);
    EXPECT_DOUBLE_EQ(floor->maximum.x, 10);
    EXPECT_DOUBLE_EQ(floor->maximum.z, 1);
    EXPECT_STREQ(floor->texture, "images\\metalfloor.rgb");
    w = LoadFailing(kSize + "cubes:\n1 1 1\n2 2\n3 3 1\n", 5);
    EXPECT_EQ(Content(w, 1, 1, 1), ESolid);
    EXPECT_EQ(Content(w, 3, 3, 1), EEmpty);
    EXPECT_EQ(BoxCount(w), 1); // the cube, and no floor
    EXPECT_EQ(w->safeZoneMarkers, 0);
}

} // namespace
