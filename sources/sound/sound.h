// sound: the game's sound effects and its music switch, one small service per process.
//
// Effects are short wave files played fire-and-forget on one channel: a new effect cuts off the
// one playing. Each file is decoded once and kept (the game's own effects when the service
// starts, any other on its first use), so playing never waits for the disk twice. Music is
// the CD player's (cdsound): track 1 while wandering, track 2 during a battle.
//
// Without an audio output, with a missing or broken file, everything stays silent and quiet: no
// message, and the game runs on. Before InitSound and after ShutdownSound every call does
// nothing. Every call may come from any thread; one lock serialises them.
#pragma once

#include "sound/cdsound.h"

#include <cstdint>
#include <string>

// Every effect file the game's code plays by name. A skill's sound comes from the "sound:" line
// of its definition file instead.
inline constexpr const char* GAME_SOUND_FILES[] = {
    "sounds\\FF7select.wav",   // menus: select
    "sounds\\FF7select2.wav",  // menus: move, or nothing to select
    "sounds\\FF7cancel.wav",   // menus: cancel
    "sounds\\Jugteleport.wav", // teleporting
    "sounds\\ff3healmag.wav",  // repair item
    "sounds\\hexendown.wav",   // wall item
    "sounds\\ff3save.wav",     // receiving an item or learning a skill
    "sounds\\e0energon.wav",   // picking up energon
    "sounds\\ff3magicite.wav", // ten energon become a magicite
    "sounds\\e0sonar.wav",     // sonar pulse
    "sounds\\bshieldup.wav",   // battle shield lifts
    "sounds\\bshielddown.wav", // battle shield comes down
    "sounds\\mechshot.wav",    // plasma shot
    "sounds\\ff7bigshot.wav",  // big shot volley
    "sounds\\ff7ice.wav",      // ice volley
    "images\\dalekfire.wav",   // the Dalek's skill gesture
    "sounds\\ff7magic.wav",    // the Hover's and Johnny 5's skill gesture
};

constexpr int WANDERING_MUSIC_TRACK = 1;
constexpr int BATTLE_MUSIC_TRACK = 2;

// Opens the audio output (when there is one), creates the service with music and effects on and
// no track chosen, and creates and opens the CD player (shareable).
void InitSound();
// Frees the CD player and the service and closes the audio output.
void ShutdownSound();

// Plays one effect. A null or empty name does nothing. Otherwise the name is remembered as the
// last sound; it plays only while effects are on.
void PlaySoundFile(const char* name);
// Asks for a music track: 0 or less does nothing; otherwise the track is stored and, while music
// is on, played from its start.
void PlayMusicTrack(int track);
// Stops the music; the switch stays as it is.
void StopMusic();
// Switching off stops the music at once; switching on starts the stored track from its
// beginning. Before any track was asked for there is nothing to start: the music waits, silent,
// for the game to choose one.
void SetMusic(int on);
int GetMusic();
// Switching effects off does not cut off the effect playing.
void SetSoundEffects(int on);
int GetSoundEffects();

// The last effect asked for ("" before any) and the stored track (0 before any).
std::string GetLastSound();
int GetMusicTrack();
// The service's CD player, or null without the service.
const CDPlayer* GetSoundCDPlayer();
