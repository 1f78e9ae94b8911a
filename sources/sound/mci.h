// mci: the media control interface that the CD player talks to.
//
// The game's music comes in tracks, as on an audio CD. Here the "disc" is the set of track files
// "music\trackNN.ogg" (NN = 01 to 99, found through the data path) and the "drive" is
// SDL2_mixer's music stream, which plays one track at a time in the background. A device is
// opened by its type, every command names it by its id and answers 0 or an MCIERR_ code; nothing
// here prints. Positions and lengths are given in the device's time format:
//
//   TMSF  a 32-bit value whose bytes, from the lowest, are track, minutes, seconds, frames;
//   MSF   bytes minutes, seconds, frames;
//   milliseconds.
//
// A frame is 1/75 s, as on a CD. A track's length comes from its file. Positions for playing are
// TMSF positions inside one track; lengths are MSF in the TMSF and MSF formats.
//
// Devices exist only while the audio output is open (the sound service opens it); without one,
// opening fails with MCIERR_HARDWARE and the game stays silent. Commands may come from any
// thread: one lock covers the device table and the stream, and nothing here runs on SDL's audio
// thread.
#pragma once

#include <cstdint>

// Device types.
constexpr uint32_t MCI_DEVTYPE_CD_AUDIO = 516;

// Time formats.
constexpr uint32_t MCI_FORMAT_MILLISECONDS = 0;
constexpr uint32_t MCI_FORMAT_MSF = 2;
constexpr uint32_t MCI_FORMAT_TMSF = 10;

constexpr uint32_t MCI_FRAMES_PER_SECOND = 75;
constexpr int MCI_LAST_TRACK = 99;

// Modes reported by MciStatusMode.
constexpr uint32_t MCI_MODE_STOP = 525;
constexpr uint32_t MCI_MODE_PLAY = 526;

// Results. 0 is success.
constexpr uint32_t MCIERR_INVALID_DEVICE_ID = 257;   // no open device has this id
constexpr uint32_t MCIERR_UNRECOGNIZED_DEVICE = 258; // a device type this layer does not know
constexpr uint32_t MCIERR_HARDWARE = 262;            // no audio output to play on
constexpr uint32_t MCIERR_MUST_USE_SHAREABLE = 263;  // the device is open and not shared
constexpr uint32_t MCIERR_OUTOFRANGE = 282;          // no such track, or a position outside it
constexpr uint32_t MCIERR_BAD_TIME_FORMAT = 293;     // a format unknown, or not usable here
constexpr uint32_t MCIERR_INVALID_FILE = 296;        // the track file does not decode

constexpr uint32_t MCI_MAKE_TMSF(uint32_t track, uint32_t minutes, uint32_t seconds,
                                 uint32_t frames) {
    return (track & 0xFF) | (minutes & 0xFF) << 8 | (seconds & 0xFF) << 16 | (frames & 0xFF) << 24;
}
constexpr uint32_t MCI_TMSF_TRACK(uint32_t v) {
    return v & 0xFF;
}
constexpr uint32_t MCI_TMSF_MINUTE(uint32_t v) {
    return v >> 8 & 0xFF;
}
constexpr uint32_t MCI_TMSF_SECOND(uint32_t v) {
    return v >> 16 & 0xFF;
}
constexpr uint32_t MCI_TMSF_FRAME(uint32_t v) {
    return v >> 24 & 0xFF;
}

constexpr uint32_t MCI_MAKE_MSF(uint32_t minutes, uint32_t seconds, uint32_t frames) {
    return (minutes & 0xFF) | (seconds & 0xFF) << 8 | (frames & 0xFF) << 16;
}
constexpr uint32_t MCI_MSF_MINUTE(uint32_t v) {
    return v & 0xFF;
}
constexpr uint32_t MCI_MSF_SECOND(uint32_t v) {
    return v >> 8 & 0xFF;
}
constexpr uint32_t MCI_MSF_FRAME(uint32_t v) {
    return v >> 16 & 0xFF;
}

// Opens a device of the type; a device that is already open is shared only when both openers
// ask for sharing. A new device starts in the MSF format. On success *pDeviceId is set (never 0).
uint32_t MciOpen(uint32_t deviceType, int shareable, uint32_t* pDeviceId);
uint32_t MciClose(uint32_t deviceId);
uint32_t MciSetTimeFormat(uint32_t deviceId, uint32_t format);
uint32_t MciStatusTimeFormat(uint32_t deviceId, uint32_t* pFormat);
// The track's length: MSF in the TMSF and MSF formats, else milliseconds.
uint32_t MciStatusLength(uint32_t deviceId, int track, uint32_t* pLength);
// Where the stream is, as a TMSF position (TMSF format only). When stopped, the start of the
// track played last (track 1 before any).
uint32_t MciStatusPosition(uint32_t deviceId, uint32_t* pPosition);
uint32_t MciStatusMode(uint32_t deviceId, uint32_t* pMode);
// Plays from `from` to `to`, two TMSF positions in one track (`to` past the track's end means
// its end), in the background; the track playing before is cut off. Does not repeat.
uint32_t MciPlay(uint32_t deviceId, uint32_t from, uint32_t to);
uint32_t MciStop(uint32_t deviceId);

// Stops the stream, closes every device and forgets the loaded tracks: the audio output is about
// to close.
void MciReleaseAll();
