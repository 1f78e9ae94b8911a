// energon: the deposits of glowing crystals that robots collect.
//
// A deposit appears on a random free surface of the world, grows for 500 ticks, shrinks again
// and expires, unless a robot walks onto it first (the robot counts what it took as item 7001).
// Every copy of a game keeps the same deposits: the copy that makes one announces it, and when
// one expires each of the n players' copies replaces it with probability 1/n, so that about one
// replacement is made in all. Deposits live in the world's energonTable (23 buckets, keyed by
// id) and each one's cell carries its id.
//
// Ids: every copy numbers the deposits it makes from its own share of the 16-bit id space, so
// that two copies of this game never give one id to two deposits. A peer may number its own
// from anywhere (from 1, say): what it sends is added unless the id is already here, and our
// numbering skips every id that lies in the world.
// Share k of five holds ids k * 13107 + 1 to (k + 1) * 13107: players 0 to 3 take shares 0 to 3
// and the enemy robot server (player index -1) takes share 4. nextEnergonId runs through the
// share and after its last id starts again at its first; 0 is never used.
//
// Drawing (the stage and crystal display lists) belongs to energondraw; a deposit only keeps
// the number of its first crystal list (-1 until drawn). This module calls no GL.
#pragma once

#include "foundation/hash.h"

#include <cstdint>

struct World;

constexpr int ENERGON_MAX_STAGE = 500;
constexpr int ENERGON_REDRAW_STAGES = 25;
constexpr int ENERGON_MIN_CRYSTALS = 7;
constexpr int ENERGON_MAX_CRYSTALS = 15;
// GenerateEnergon places nothing once the world holds this many deposits.
constexpr int ENERGON_GENERATE_LIMIT = 255;
constexpr int ENERGON_ID_SHARES = 5;
constexpr int ENERGON_ID_SHARE_SIZE = 65535 / ENERGON_ID_SHARES;
constexpr int ENERGON_SERVER_SHARE = 4;
// The host seeds a new game with this many deposits.
constexpr int INITIAL_ENERGON = 50;

// The id first, so that a deposit is readable as its own key.
struct Energon {
    uint16_t id;
    int32_t x;
    int32_t y;
    int32_t z;
    int32_t crystalLists; // first crystal display list, -1 until first drawn
    int32_t crystals;
    int32_t stage;   // 1 to 500
    int32_t growing; // 1 while growing, 0 while shrinking
};

Energon* NewEnergon(uint16_t id, int x, int y, int z, int crystals);
// With 7 to 15 crystals.
Energon* NewRandomEnergon(uint16_t id, int x, int y, int z);
// Releases the deposit; its crystal lists go through the releaser that the drawing code sets.
void FreeEnergon(Energon* energon);
using EnergonListReleaser = void (*)(Energon* energon);
void SetEnergonListReleaser(EnergonListReleaser releaser);

// One tick of a deposit's life; true when it should be redrawn (every 25 stages).
bool EnergonTick(Energon* energon);
// Shrinking and below stage 2.
bool EnergonFinished(const Energon* energon);
// What a robot taking it receives: stage / 500 * crystals, rounded half away from zero.
int EnergonAmount(const Energon* energon);

// The world's table (hash id % 23, ids compared by difference, no free callback).
HashTable* NewEnergonTable();
// Frees the table together with the deposits still in it.
void FreeEnergonTable(HashTable* table);
Energon* LookupEnergon(World* pWorld, uint16_t id);

// Which share of the ids this copy numbers its deposits from: player index 0 to 3, anything
// else (the enemy robot server) the server's share. Sets nextEnergonId to the share's first id.
void SetEnergonIdRange(World* pWorld, int playerIndex);

// Places one new deposit at RandomFreeLocation and, with broadcast, announces it. Returns it,
// or null when the world is full or has no free place.
Energon* GenerateEnergon(World* pWorld, bool broadcast);
// Removes the deposit (a robot picked it up, or it expired) and returns its amount; with
// regenerate, a replacement is generated and announced first. An unknown id yields 0.
int TakeEnergon(World* pWorld, uint16_t id, bool regenerate);
// Adds a deposit another copy announced, whatever share its id lies in. An id already in the
// table is discarded ("discarding energon packet"); an id of 0, a cell that is off the grid or not
// on top of a solid cell, a cell that already holds energon, or a crystal count outside 7 to 15 is
// refused with a message. Returns true when the deposit was added.
bool AddNetworkEnergon(World* pWorld, uint16_t id, int32_t x, int32_t y, int32_t z,
                       int32_t crystals);
// Removes a finished deposit; this copy replaces it with probability 1 / CountPlayers (always
// with no player).
void ExpireEnergon(World* pWorld, uint16_t id);
// Ages every deposit and expires the finished ones; true when anything needs redrawing. Runs
// in every timer tick.
bool EnergonWorldTick(World* pWorld);

// Where every deposit this copy makes leaves for the other copies (see energon.cpp).
void BroadcastEnergon(const Energon* energon);
// How many deposits were handed to BroadcastEnergon since start-up.
long EnergonBroadcastCount();
