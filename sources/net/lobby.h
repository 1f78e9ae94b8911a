// lobby: finding, hosting and joining games in the text console.
//
// Four slots, one per channel. A host takes the first slot where nobody announces a game and
// announces its game record there twice a second; joiners list what they hear, pick a slot by
// its number and add their name to that game's record. When the host starts, every member
// leaves the lobby with its player index (host 0, joiners 1 to 3).
#pragma once

#include "net/packets.h"

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <mutex>

constexpr uint8_t EMPTY_SLOT = 255;
extern const char* const IN_USE_NAME;

struct LobbyTable {
    std::mutex lock;
    GameRecord slots[NUM_LOBBY_SLOTS];
    // The host's latest announcement heard on each channel, whether stored in the slot or not.
    GameRecord lastAnnouncement[NUM_LOBBY_SLOTS];
    bool heardAnnouncement[NUM_LOBBY_SLOTS];
    // Channels whose game started elsewhere; the lobby closes them from its own thread.
    bool closeRequested[NUM_LOBBY_SLOTS];
    // The slot this copy hosts, or -1. Only a join changes that slot's record.
    int hostedSlot;
};

// 1 while a joiner waits for its host to start.
extern std::atomic<int> waitingForStart;

void InitLobbyTable(LobbyTable* table);
// Opens the four channels with the lobby receiver and listens for announcements.
void LocateGames(LobbyTable* table);
// The receiver the lobby installs on every channel.
void LobbyReceive(const uint8_t* packet, size_t length, void* table);
// Redraws the console: mode 0 hosting, 1 choosing a game, 2 joined and waiting.
void DrawLobby(LobbyTable* table, int mode);
// Makes slot the game this copy hosts: gameName, state open, playerName as its only player.
// From then on the slot takes only a joiner's update that keeps the game name, the state and
// the players listed and adds one player; every other record and game packet for it is ignored.
void BeginHosting(LobbyTable* table, int slot, const char* gameName, const char* playerName);
// Why the game in slot s cannot be joined, or null when it can.
const char* JoinRefusal(const GameRecord& r, int s);
// 1 when the player started the game (player index 0), 0 on quit or when no slot was free.
int HostGame(const char* gameName, const char* playerName);
// The player index, or -1 when the player quit or the game could not take us. A joiner's
// entry carries, after the NUL of its name, a random tag of non-zero bytes: the host's record
// shows which place is ours even when other players have the same name.
int JoinGame(const char* playerName);
// Closes the channels the lobby asked to close.
void CloseRequestedChannels(LobbyTable* table);

// How long the lobby listens before showing the games (ms); tests shorten it.
extern int gLocateMilliseconds;
