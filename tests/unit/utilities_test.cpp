#include "foundation/utilities.h"
#include "support/test_support.h"

#include <gtest/gtest.h>

#include <ctime>
#include <set>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

namespace {

TEST(ReadLine, SkipsBlankLinesAndLeadingBlanksAndCutsLongLinesToTheBuffer) {
    std::string longLine(300, 'a');
    longLine[254] = 'b';
    const std::pair<std::string, std::vector<std::string>> cases[] = {
        {"\n\nname:\n\n   \t\n\t  \"Robbie\"\nlast", {"name:", "\"Robbie\"", "last"}},
        {"one\r\ntwo\r\n", {"one", "two"}},
        {"\n \n\t\n", {}},
        {longLine + "\nnext:\n", {longLine.substr(0, 255), "next:"}},
    };
    for (const auto& [text, expected] : cases) {
        TempFile f(text);
        FILE* file = std::fopen(f.path().c_str(), "r");
        std::vector<std::string> lines;
        char buffer[LINE_BUFFER_SIZE + 1];
        buffer[LINE_BUFFER_SIZE] = 'Z'; // nothing may be written past the buffer
        while (ReadLine(file, buffer) == 1)
            lines.push_back(buffer);
        std::fclose(file);
        EXPECT_EQ(lines, expected) << text;
        EXPECT_EQ(buffer[LINE_BUFFER_SIZE], 'Z') << text;
    }
}

TEST(Locations, StepLocationGivesTheEightNeighbours) {
    const int expected[8][2] = {{6, 5}, {6, 6}, {5, 6}, {4, 6}, {4, 5}, {4, 4}, {5, 4}, {6, 4}};
    Location from, out, want;
    for (int i = 0; i < 8; i++) {
        StepLocation(&out, MakeLocation(&from, 5, 5, 3), 45 * i);
        EXPECT_TRUE(LocationEqual(&out, MakeLocation(&want, expected[i][0], expected[i][1], 3)));
    }
}

TEST(Time, StampsFollowTheMonotonicClockAndDifferInMilliseconds) {
    TimeStamp start = {10, 900}, end = {11, 100};
    EXPECT_EQ(ElapsedMilliseconds(&start, &end), 200);
    EXPECT_EQ(ElapsedMilliseconds(&end, &start), -200);
    timespec monotonic; // which setting the wall clock does not move
    clock_gettime(CLOCK_MONOTONIC, &monotonic);
    EXPECT_NEAR(double(GetTimeStamp().time), double(monotonic.tv_sec), 1.0);
}

TEST(Random, RangesStayWithinBoundsAndReachBothEnds) {
    std::srand(12345);
    std::set<int> ints;
    for (int i = 0; i < 20000; i++) {
        double r = RandomRange(0.0, 1.0);
        EXPECT_TRUE(r >= 0.0 && r < 1.0);
        ints.insert(RandomInt(-2, 3));
    }
    EXPECT_EQ(ints, (std::set{-2, -1, 0, 1, 2, 3}));
}

TEST(UIDs, CountersPerTypeAndTypeOfUid) {
    ResetUIDCounters();
    EXPECT_EQ((std::tuple{NewUID(3), NewUID(3), NewUID(5)}), std::tuple(0, 1, 0));
    EXPECT_EQ(GetObjectTypeFromUID(8003), 8);
    EXPECT_DEATH(NewUID(9), "type < NUM_UID_TYPES");
    ResetUIDCounters();
}

TEST(Files, AFileThatCannotBeOpenedEndsTheProgramWithItsName) {
    EXPECT_EXIT(SafeFopen("/nonexistent/dir/file.txt", "r"), ::testing::ExitedWithCode(1),
                "Couldn't open file /nonexistent/dir/file.txt: No such file");
}

} // namespace
