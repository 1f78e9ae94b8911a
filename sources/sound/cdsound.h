// cdsound: the CD player, a thin object over the media control interface (mci).
//
// Track N of the game's music is played from its first to its last frame in the background and is
// not repeated. Every command is sent with the player's deviceId; a command that fails stores its
// error code in lastError and returns it, and nothing else reacts to it, so a missing audio
// output or track file only means silence.
//
// A player is not locked: the sound service, which owns the game's player, serialises its use.
#pragma once

#include <cstdint>

struct CDPlayer {
    uint32_t deviceId;        // the open device, 0 before opening
    uintptr_t callbackWindow; // where completion notices would go; 0, none in this game
    uint32_t lastError;       // the error code of the last command that failed
};

// A player with no device yet; it asks for the TMSF format at once, which fails and only leaves
// its code in lastError (CDPlayTrack sets the format again).
CDPlayer* NewCDPlayer();
// Frees the player. The device stays open until the audio output closes.
void FreeCDPlayer(CDPlayer* pPlayer);
uint32_t CDOpen(CDPlayer* pPlayer, int shareable);
uint32_t CDSetTimeFormat(CDPlayer* pPlayer, uint32_t format);
// The current time format; 0 when the query fails.
uint32_t CDGetTimeFormat(CDPlayer* pPlayer);
// The track's length in MSF (in the TMSF or MSF format); 0 when the query fails.
uint32_t CDTrackLength(CDPlayer* pPlayer, int track);
// Plays between two TMSF positions. With notify set a completion notice would go to
// callbackWindow; the game's player has none, so no notice is sent.
uint32_t CDPlay(CDPlayer* pPlayer, uint32_t from, uint32_t to, int notify);
// Plays a whole track, from its first to its last frame, and restores the time format.
uint32_t CDPlayTrack(CDPlayer* pPlayer, int track, int notify);
uint32_t CDStop(CDPlayer* pPlayer);
