#include "foundation/datapath.h"
#include "support/test_support.h"

namespace {

TEST(DataPath, BackslashesBecomeSlashesUnderTheRoot) {
    ScopedEnv root("VANTRELL_DATA", "/"); // a root of one character that ends in a slash
    EXPECT_EQ(DataPath("images\\fire3.rgb"), "/images/fire3.rgb");
}

} // namespace
