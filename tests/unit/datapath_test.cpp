#include "foundation/datapath.h"
#include "support/test_support.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

TEST(DataPath, BackslashesBecomeSlashesUnderTheRoot) {
    const char* saved = std::getenv("VANTRELL_DATA");
    std::string keep = saved != nullptr ? saved : "";
    setenv("VANTRELL_DATA", "/opt/game/data", 1);
    ResetDataRoot();
    EXPECT_EQ(DataPath("worlds\\bigworld.txt"), "/opt/game/data/worlds/bigworld.txt");
    EXPECT_EQ(DataPath("robotclasses/class0.txt"), "/opt/game/data/robotclasses/class0.txt");
    setenv("VANTRELL_DATA", "/opt/game/data/", 1);
    ResetDataRoot();
    EXPECT_EQ(DataPath("images\\fire3.rgb"), "/opt/game/data/images/fire3.rgb");
    if (saved != nullptr)
        setenv("VANTRELL_DATA", keep.c_str(), 1);
    else
        unsetenv("VANTRELL_DATA");
    ResetDataRoot();
}

TEST(DataPath, WithoutTheVariableFindsAFolderOrFallsBackToTheWorkingDirectory) {
    const char* saved = std::getenv("VANTRELL_DATA");
    std::string keep = saved != nullptr ? saved : "";
    unsetenv("VANTRELL_DATA");
    ResetDataRoot();
    std::string root = DataRoot();
    std::string path = DataPath("sounds\\x.wav");
    if (root.empty())
        EXPECT_EQ(path, "sounds/x.wav");
    else
        EXPECT_EQ(path, root + "/sounds/x.wav");
    if (saved != nullptr)
        setenv("VANTRELL_DATA", keep.c_str(), 1);
    ResetDataRoot();
}

} // namespace
