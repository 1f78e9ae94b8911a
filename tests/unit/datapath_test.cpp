#include "foundation/datapath.h"
#include "support/test_support.h"

#include <gtest/gtest.h>

namespace {

TEST(DataPath, BackslashesBecomeSlashesUnderTheRoot) {
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
}

} // namespace
