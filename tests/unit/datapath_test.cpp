#include "foundation/datapath.h"
#include "support/test_support.h"

#include <gtest/gtest.h>

namespace {

TEST(DataPath, BackslashesBecomeSlashesUnderTheRootOrTheWorkingDirectory) {
    const struct {
        const char *root, *name, *path;
    } cases[] = {
        {"/opt/game/data", "worlds\\bigworld.txt", "/opt/game/data/worlds/bigworld.txt"},
        {"/opt/game/data/", "robotclasses/class0.txt", "/opt/game/data/robotclasses/class0.txt"},
        {"/", "images\\fire3.rgb", "/images/fire3.rgb"},
    };
    for (const auto& c : cases) {
        ScopedEnv root("VANTRELL_DATA", c.root);
        EXPECT_EQ(DataPath(c.name), c.path);
    }
    // Without the variable: a data folder found beside the program, else the working directory.
    ScopedEnv none("VANTRELL_DATA", nullptr);
    std::string root = DataRoot();
    EXPECT_EQ(DataPath("sounds\\x.wav"), root.empty() ? "sounds/x.wav" : root + "/sounds/x.wav");
}

} // namespace
