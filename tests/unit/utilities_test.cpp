#include "foundation/utilities.h"
#include "support/test_support.h"

#include <gtest/gtest.h>

#include <cstring>
#include <ctime>
#include <string>
#include <vector>

namespace {

std::vector<std::string> ReadAll(const std::string& text) {
    TempFile f(text);
    FILE* file = std::fopen(f.path().c_str(), "r");
    std::vector<std::string> lines;
    char buffer[LINE_BUFFER_SIZE + 16];
    std::memset(buffer, 'Z', sizeof buffer);
    while (ReadLine(file, buffer) == 1) {
        lines.push_back(buffer);
        // Nothing is ever written past the 256-byte buffer.
        for (size_t i = LINE_BUFFER_SIZE; i < sizeof buffer; i++)
            EXPECT_EQ(buffer[i], 'Z');
    }
    EXPECT_EQ(ReadLine(file, buffer), -1);
    std::fclose(file);
    return lines;
}

TEST(ReadLine, SkipsEmptyAndBlankLinesAnywhereAndLeadingBlanks) {
    EXPECT_EQ(ReadAll("\n\nname:\n\n   \t\n\t  \"Robbie\"\nlast"),
              (std::vector<std::string>{"name:", "\"Robbie\"", "last"}));
    EXPECT_EQ(ReadAll("one\r\ntwo\r\n"), (std::vector<std::string>{"one", "two"}));
    EXPECT_TRUE(ReadAll("").empty());
    EXPECT_TRUE(ReadAll("\n \n\t\n").empty());
    // A long line is cut to 255 characters and the rest of it dropped.
    std::string longLine(300, 'a');
    longLine[254] = 'b';
    longLine[255] = 'c';
    auto lines = ReadAll(longLine + "\nnext:\n");
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0].size(), 255u);
    EXPECT_EQ(lines[0].back(), 'b');
    EXPECT_EQ(lines[1], "next:");
}

TEST(TextTests, StartsWithStringEqualAndBlank) {
    EXPECT_TRUE(StartsWith("energy: 12", "energy:"));
    EXPECT_FALSE(StartsWith(" energy:", "energy:"));
    EXPECT_FALSE(StartsWith("totalEnergy:", "energy:"));
    EXPECT_FALSE(StartsWith("ene", "energy:"));
    EXPECT_TRUE(StringEqual("abc", "abc"));
    EXPECT_FALSE(StringEqual("abc", "abcd"));
    EXPECT_TRUE(IsBlankLine(""));
    EXPECT_TRUE(IsBlankLine(" \t \t"));
    EXPECT_FALSE(IsBlankLine("  x"));
}

TEST(QuotedStrings, ReadWithinTheirFieldWidths) {
    char out[33 + 8];
    std::memset(out, 'Z', sizeof out);
    EXPECT_EQ(ReadQuotedString("\"Heroic Robot\"", out), 1);
    EXPECT_STREQ(out, "Heroic Robot");

    std::strcpy(out, "kept");
    EXPECT_EQ(ReadQuotedString("Heroic Robot\"", out), 0);
    EXPECT_STREQ(out, "kept");
    EXPECT_EQ(ReadQuotedString("\"\"", out), 0);
    EXPECT_EQ(ReadQuotedString("", out), -1);

    std::memset(out, 'Z', sizeof out);
    std::string forty = "\"" + std::string(40, 'x') + "\"";
    EXPECT_EQ(ReadQuotedString(forty.c_str(), out), 1);
    EXPECT_EQ(std::string(out), std::string(32, 'x'));
    for (size_t i = 33; i < sizeof out; i++)
        EXPECT_EQ(out[i], 'Z');

    char shortOut[25 + 8];
    std::memset(shortOut, 'Z', sizeof shortOut);
    std::string thirty = "\"" + std::string(30, 'y') + "\"";
    EXPECT_EQ(ReadQuotedStringShort(thirty.c_str(), shortOut), 1);
    EXPECT_EQ(std::string(shortOut), std::string(24, 'y'));
    for (size_t i = 25; i < sizeof shortOut; i++)
        EXPECT_EQ(shortOut[i], 'Z');
}

TEST(UsageArea, TextsOfTheAreasNoPrintoutTestShows) {
    // "None", "Wandering & Combat" and unknown areas are checked through the item printouts.
    EXPECT_STREQ(UsageAreaToString(EWandering), "Wandering");
    EXPECT_STREQ(UsageAreaToString(ECombat), "Combat");
}

TEST(Locations, StepLocationGivesTheEightNeighbours) {
    const int expected[8][2] = {{6, 5}, {6, 6}, {5, 6}, {4, 6}, {4, 5}, {4, 4}, {5, 4}, {6, 4}};
    Location from, out;
    MakeLocation(&from, 5, 5, 0);
    for (int i = 0; i < 8; i++) {
        StepLocation(&out, &from, 45 * i);
        EXPECT_EQ(out.x, expected[i][0]) << 45 * i;
        EXPECT_EQ(out.y, expected[i][1]) << 45 * i;
        EXPECT_EQ(out.z, 0);
    }
    MakeLocation(&from, -2, 0, 3);
    StepLocation(&out, &from, 360 + 180);
    Location want;
    EXPECT_TRUE(LocationEqual(&out, MakeLocation(&want, -3, 0, 3)));
    EXPECT_FALSE(LocationEqual(&out, MakeLocation(&want, -3, 0, 2)));
}

TEST(Geometry, VectorsColoursAndDistance) {
    Vector3 a, b;
    MakeVector3(&a, 1, 2, 3);
    MakeVector3(&b, 4, 6, 3);
    EXPECT_DOUBLE_EQ(Distance3D(&a, &b), 5.0);
    Color src = {0.7f, 0.1f, 0.2f, 0.5f}, dst = {};
    CopyColor(&dst, &src);
    EXPECT_EQ(std::memcmp(&src, &dst, sizeof src), 0);
}

TEST(Time, ElapsedMillisecondsAcrossASecond) {
    TimeStamp start = {10, 900}, end = {11, 100};
    EXPECT_EQ(ElapsedMilliseconds(&start, &end), 200);
    EXPECT_EQ(ElapsedMilliseconds(&end, &start), -200);
    // Stamps follow the monotonic clock, which setting the wall clock does not move.
    timespec monotonic;
    clock_gettime(CLOCK_MONOTONIC, &monotonic);
    TimeStamp now = GetTimeStamp();
    EXPECT_NEAR(static_cast<double>(now.time), static_cast<double>(monotonic.tv_sec), 1.0);
    EXPECT_LT(now.millitm, 1000);
}

TEST(Random, RangesStayWithinBounds) {
    std::srand(12345);
    bool sawLo = false, sawHi = false;
    for (int i = 0; i < 20000; i++) {
        double r = RandomRange(0.0, 1.0);
        EXPECT_GE(r, 0.0);
        EXPECT_LT(r, 1.0);
        int n = RandomInt(-2, 3);
        EXPECT_GE(n, -2);
        EXPECT_LE(n, 3);
        sawLo |= n == -2;
        sawHi |= n == 3;
    }
    EXPECT_TRUE(sawLo && sawHi);
    EXPECT_EQ(RandomInt(4, 4), 4);
}

TEST(UIDs, CountersPerTypeAndTypeOfUid) {
    ResetUIDCounters();
    EXPECT_EQ(NewUID(3), 0);
    EXPECT_EQ(NewUID(3), 1);
    EXPECT_EQ(NewUID(5), 0);
    EXPECT_EQ(GetObjectTypeFromUID(3002), 3);
    EXPECT_EQ(GetObjectTypeFromUID(8003), 8);
    EXPECT_EQ(GetObjectTypeFromUID(999), 0);
    EXPECT_DEATH(NewUID(9), "type < NUM_UID_TYPES");
    ResetUIDCounters();
}

TEST(Memory, StringDuplicateCopies) {
    char* copy = StringDuplicate("energon");
    EXPECT_STREQ(copy, "energon");
    std::free(copy);
    EXPECT_EXIT(SafeFopen("/nonexistent/dir/file.txt", "r"), ::testing::ExitedWithCode(1),
                "Couldn't open file /nonexistent/dir/file.txt: No such file");
}

} // namespace
