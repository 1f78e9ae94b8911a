#include "foundation/utilities.h"
#include "support/test_support.h"

#include <ctime>

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

TEST(Time, StampsFollowTheMonotonicClockAndDifferInMilliseconds) {
    TimeStamp start = {10, 900}, end = {11, 100};
    EXPECT_EQ(ElapsedMilliseconds(&start, &end), 200);
    EXPECT_EQ(ElapsedMilliseconds(&end, &start), -200);
    timespec monotonic; // which setting the wall clock does not move
    clock_gettime(CLOCK_MONOTONIC, &monotonic);
    EXPECT_NEAR(double(GetTimeStamp().time), double(monotonic.tv_sec), 1.0);
}

TEST(Files, AFileThatCannotBeOpenedEndsTheProgramWithItsName) {
    EXPECT_EXIT(SafeFopen("/nonexistent/dir/file.txt", "r"), ::testing::ExitedWithCode(1),
                "Couldn't open file /nonexistent/dir/file.txt: No such file");
}

} // namespace
