#include "foundation/datapath.h"
#include "support/test_support.h"

#include <gtest/gtest.h>

namespace {

TEST(DataPath, BackslashesBecomeSlashesUnderTheRootOrTheWorkingDirectory) {
    {
        ScopedEnv root("VANTRELL_DATA", "/opt/game/data");
        EXPECT_EQ(DataPath("worlds\\bigworld.txt"), "/opt/game/data/worlds/bigworld.txt");
        EXPECT_EQ(DataPath("robotclasses/class0.txt"), "/opt/game/data/robotclasses/class0.txt");
    }
    {
        ScopedEnv root("VANTRELL_DATA", "/opt/game/data/");
        EXPECT_EQ(DataPath("images\\fire3.rgb"), "/opt/game/data/images/fire3.rgb");
    }
    // Without the variable: a data folder found beside the program, else the working directory.
    ScopedEnv none("VANTRELL_DATA", nullptr);
    std::string root = DataRoot();
    EXPECT_EQ(DataPath("sounds\\x.wav"), root.empty() ? "sounds/x.wav" : root + "/sounds/x.wav");
}

} // namespace
