#include "sound/cdsound.h"
#include "sound/mci.h"
#include "support/audio_support.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

namespace {

// A player of the test's own, opened and shared with the service's.
class CDPlayerTest : public SoundServiceTest {
  protected:
    void SetUp() override {
        SoundServiceTest::SetUp();
        cd_ = NewCDPlayer();
        ASSERT_EQ(CDOpen(cd_, 1), 0u);
    }
    void TearDown() override {
        FreeCDPlayer(cd_);
        SoundServiceTest::TearDown();
    }
    uint32_t Position() {
        uint32_t position = 0;
        EXPECT_EQ(MciStatusPosition(cd_->deviceId, &position), 0u);
        return position;
    }
    CDPlayer* cd_ = nullptr;
};

TEST(CDPlayerClosed, EveryCommandFailsQuietlyAndKeepsItsError) {
    ScopedEnv driver("SDL_AUDIODRIVER", "dummy");
    CDPlayer* cd = NewCDPlayer();
    EXPECT_EQ(cd->deviceId, 0u);
    EXPECT_EQ(cd->callbackWindow, 0u);
    EXPECT_EQ(cd->lastError, MCIERR_INVALID_DEVICE_ID) << "the format command before opening";
    // No audio output is open in this process: there is nothing to open.
    EXPECT_EQ(CDOpen(cd, 1), MCIERR_HARDWARE);
    EXPECT_EQ(cd->lastError, MCIERR_HARDWARE);
    EXPECT_EQ(cd->deviceId, 0u);
    EXPECT_EQ(CDPlayTrack(cd, 1, 1), MCIERR_INVALID_DEVICE_ID);
    EXPECT_EQ(CDGetTimeFormat(cd), 0u);
    EXPECT_EQ(CDTrackLength(cd, 1), 0u);
    EXPECT_EQ(CDStop(cd), MCIERR_INVALID_DEVICE_ID);
    FreeCDPlayer(cd);
}

TEST_F(CDPlayerTest, OpensInMsfAndGivesTrackLengthsInEachFormat) {
    EXPECT_NE(cd_->deviceId, 0u);
    EXPECT_EQ(cd_->lastError, MCIERR_INVALID_DEVICE_ID) << "success leaves the last error";
    EXPECT_EQ(CDGetTimeFormat(cd_), MCI_FORMAT_MSF);
    uint32_t msf = CDTrackLength(cd_, 1);
    ASSERT_NE(msf, 0u);
    EXPECT_LT(MCI_MSF_SECOND(msf), 60u);
    EXPECT_LT(MCI_MSF_FRAME(msf), MCI_FRAMES_PER_SECOND);

    ASSERT_EQ(CDSetTimeFormat(cd_, MCI_FORMAT_TMSF), 0u);
    EXPECT_EQ(CDGetTimeFormat(cd_), MCI_FORMAT_TMSF);
    EXPECT_EQ(CDTrackLength(cd_, 1), msf) << "lengths are MSF in the TMSF format";

    ASSERT_EQ(CDSetTimeFormat(cd_, MCI_FORMAT_MILLISECONDS), 0u);
    uint32_t ms = CDTrackLength(cd_, 1);
    uint32_t fromMsf = (MCI_MSF_MINUTE(msf) * 60 + MCI_MSF_SECOND(msf)) * 1000 +
                       MCI_MSF_FRAME(msf) * 1000 / MCI_FRAMES_PER_SECOND;
    EXPECT_NEAR(double(ms), double(fromMsf), 14.0);

    EXPECT_EQ(CDSetTimeFormat(cd_, 7), MCIERR_BAD_TIME_FORMAT);
    EXPECT_EQ(cd_->lastError, MCIERR_BAD_TIME_FORMAT);
    EXPECT_EQ(CDGetTimeFormat(cd_), MCI_FORMAT_MILLISECONDS);
}

TEST_F(CDPlayerTest, PlayTrackStartsAtTheTracksStartAndRestoresTheFormat) {
    ASSERT_EQ(CDSetTimeFormat(cd_, MCI_FORMAT_MILLISECONDS), 0u);
    ASSERT_EQ(CDPlayTrack(cd_, 2, 1), 0u);
    EXPECT_EQ(CDGetTimeFormat(cd_), MCI_FORMAT_MILLISECONDS);
    EXPECT_EQ(ModeOf(cd_), MCI_MODE_PLAY);
    ASSERT_EQ(CDSetTimeFormat(cd_, MCI_FORMAT_TMSF), 0u);
    uint32_t position = Position();
    EXPECT_EQ(MCI_TMSF_TRACK(position), 2u);
    EXPECT_EQ(MCI_TMSF_MINUTE(position), 0u);
    EXPECT_LT(MCI_TMSF_SECOND(position), 3u);
    EXPECT_EQ(CDStop(cd_), 0u);
    EXPECT_EQ(ModeOf(cd_), MCI_MODE_STOP);
    EXPECT_EQ(Position(), MCI_MAKE_TMSF(2, 0, 0, 0)) << "stopped: the start of the last track";
}

TEST_F(CDPlayerTest, APlayEndsAtItsToPositionAndOnlyThere) {
    ASSERT_EQ(CDSetTimeFormat(cd_, MCI_FORMAT_TMSF), 0u);
    ASSERT_EQ(CDPlay(cd_, MCI_MAKE_TMSF(1, 0, 10, 0), MCI_MAKE_TMSF(1, 0, 10, 30), 0), 0u);
    EXPECT_EQ(MCI_TMSF_SECOND(Position()), 10u);
    EXPECT_TRUE(WaitFor([&] { return ModeOf(cd_) == MCI_MODE_STOP; }));

    // The end of an earlier play does not stop the play that replaced it.
    ASSERT_EQ(CDPlay(cd_, MCI_MAKE_TMSF(1, 0, 10, 0), MCI_MAKE_TMSF(1, 0, 10, 15), 0), 0u);
    ASSERT_EQ(CDPlay(cd_, MCI_MAKE_TMSF(2, 0, 0, 0), MCI_MAKE_TMSF(2, 0, 30, 0), 0), 0u);
    std::this_thread::sleep_for(std::chrono::milliseconds(600));
    EXPECT_EQ(ModeOf(cd_), MCI_MODE_PLAY);
    EXPECT_EQ(MCI_TMSF_TRACK(Position()), 2u);
}

TEST_F(CDPlayerTest, PlaysOutsideOneTrackAreRefusedAndTheMusicGoesOn) {
    ASSERT_EQ(CDSetTimeFormat(cd_, MCI_FORMAT_TMSF), 0u);
    ASSERT_EQ(CDPlayTrack(cd_, 2, 0), 0u);
    uint32_t end = CDTrackLength(cd_, 1);
    uint32_t past = MCI_MAKE_TMSF(1, MCI_MSF_MINUTE(end), MCI_MSF_SECOND(end), MCI_MSF_FRAME(end));
    const uint32_t refused[][2] = {
        {past, past + (1u << 24)},                                  // from at the end
        {MCI_MAKE_TMSF(1, 0, 0, 0), MCI_MAKE_TMSF(2, 0, 10, 0)},    // two tracks
        {MCI_MAKE_TMSF(1, 0, 60, 0), MCI_MAKE_TMSF(1, 1, 30, 0)},   // second 60
        {MCI_MAKE_TMSF(1, 0, 1, 75), MCI_MAKE_TMSF(1, 0, 9, 0)},    // frame 75
        {MCI_MAKE_TMSF(1, 0, 9, 0), MCI_MAKE_TMSF(1, 0, 8, 0)},     // backwards
        {MCI_MAKE_TMSF(1, 0, 9, 0), MCI_MAKE_TMSF(1, 0, 9, 0)},     // empty
        {MCI_MAKE_TMSF(0, 0, 0, 0), MCI_MAKE_TMSF(0, 0, 9, 0)},     // track 0
        {MCI_MAKE_TMSF(100, 0, 0, 0), MCI_MAKE_TMSF(100, 0, 9, 0)}, // track 100
        {MCI_MAKE_TMSF(7, 0, 0, 0), MCI_MAKE_TMSF(7, 0, 9, 0)},     // no file
    };
    for (const auto& play : refused) {
        cd_->lastError = 0;
        EXPECT_EQ(CDPlay(cd_, play[0], play[1], 0), MCIERR_OUTOFRANGE) << std::hex << play[0];
        EXPECT_EQ(cd_->lastError, MCIERR_OUTOFRANGE);
    }
    ASSERT_EQ(CDSetTimeFormat(cd_, MCI_FORMAT_MSF), 0u);
    EXPECT_EQ(CDPlay(cd_, MCI_MAKE_TMSF(1, 0, 0, 0), MCI_MAKE_TMSF(1, 0, 9, 0), 0),
              MCIERR_BAD_TIME_FORMAT);
    EXPECT_EQ(CDPlayTrack(cd_, 1000, 0), MCIERR_OUTOFRANGE);
    EXPECT_EQ(CDGetTimeFormat(cd_), MCI_FORMAT_TMSF) << "a failed play keeps the TMSF format";
    EXPECT_EQ(ModeOf(cd_), MCI_MODE_PLAY);
    EXPECT_EQ(MCI_TMSF_TRACK(Position()), 2u);
}

TEST(CDPlayerFiles, ATrackFileThatDoesNotDecodeIsAnError) {
    TempFile broken("OggS but nothing else", "music/track01.ogg");
    ScopedEnv driver("SDL_AUDIODRIVER", "dummy");
    ScopedEnv data("VANTRELL_DATA", broken.dir().c_str());
    InitSound();
    CDPlayer* cd = NewCDPlayer();
    ASSERT_EQ(CDOpen(cd, 1), 0u);
    EXPECT_EQ(CDTrackLength(cd, 1), 0u);
    EXPECT_EQ(cd->lastError, MCIERR_INVALID_FILE);
    EXPECT_EQ(CDTrackLength(cd, 2), 0u);
    EXPECT_EQ(cd->lastError, MCIERR_OUTOFRANGE);
    EXPECT_EQ(CDPlayTrack(cd, 1, 0), MCIERR_INVALID_FILE);
    EXPECT_EQ(ModeOf(cd), MCI_MODE_STOP);
    FreeCDPlayer(cd);
    ShutdownSound();
}

} // namespace
