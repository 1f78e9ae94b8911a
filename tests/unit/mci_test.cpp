#include "sound/mci.h"
#include "support/audio_support.h"

#include <gtest/gtest.h>

namespace {

using MciDevices = SoundServiceTest;

TEST_F(MciDevices, SharedOpensOnlyAndEachDeviceKeepsItsOwnFormat) {
    // The sound service holds a shared device already.
    uint32_t exclusive = 0, shared = 0, unknown = 0;
    EXPECT_EQ(MciOpen(MCI_DEVTYPE_CD_AUDIO, 0, &exclusive), MCIERR_MUST_USE_SHAREABLE);
    EXPECT_EQ(exclusive, 0u);
    EXPECT_EQ(MciOpen(MCI_DEVTYPE_CD_AUDIO + 1, 1, &unknown), MCIERR_UNRECOGNIZED_DEVICE);
    ASSERT_EQ(MciOpen(MCI_DEVTYPE_CD_AUDIO, 1, &shared), 0u);
    EXPECT_NE(shared, GetSoundCDPlayer()->deviceId);

    ASSERT_EQ(MciSetTimeFormat(shared, MCI_FORMAT_TMSF), 0u);
    uint32_t mine = 0, theirs = 0;
    MciStatusTimeFormat(shared, &mine);
    MciStatusTimeFormat(GetSoundCDPlayer()->deviceId, &theirs);
    EXPECT_EQ(mine, MCI_FORMAT_TMSF);
    EXPECT_EQ(theirs, MCI_FORMAT_MSF);

    EXPECT_EQ(MciClose(shared), 0u);
    EXPECT_EQ(MciClose(shared), MCIERR_INVALID_DEVICE_ID);
    uint32_t mode = 0;
    EXPECT_EQ(MciStatusMode(shared, &mode), MCIERR_INVALID_DEVICE_ID);
}

TEST(MciOutput, DevicesEndWithTheAudioOutputAndAnExclusiveOneShutsOthersOut) {
    ScopedEnv driver("SDL_AUDIODRIVER", "dummy");
    InitSound();
    uint32_t service = GetSoundCDPlayer()->deviceId;
    ShutdownSound();
    uint32_t format = 0;
    EXPECT_EQ(MciStatusTimeFormat(service, &format), MCIERR_INVALID_DEVICE_ID);

    // With the output open but no device yet, an exclusive open keeps the service's out.
    InitSound();
    MciReleaseAll();
    uint32_t exclusive = 0, other = 0;
    ASSERT_EQ(MciOpen(MCI_DEVTYPE_CD_AUDIO, 0, &exclusive), 0u);
    EXPECT_EQ(MciOpen(MCI_DEVTYPE_CD_AUDIO, 1, &other), MCIERR_MUST_USE_SHAREABLE);
    EXPECT_EQ(MciClose(exclusive), 0u);
    EXPECT_EQ(MciOpen(MCI_DEVTYPE_CD_AUDIO, 1, &other), 0u);
    ShutdownSound();
}

} // namespace
