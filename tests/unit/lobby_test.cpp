// The lobby fed with datagrams as the monitor threads would: its slot table and its screen.
#include "net/console.h"
#include "net/lobby.h"
#include "net/network.h"
#include "support/test_support.h"

#include <fcntl.h>
#include <unistd.h>

namespace {

using Bytes = std::vector<uint8_t>;
const auto G = [](const GameRecord& r) { return Wire(EncodeGameRecord, r); };

class LobbyTest : public ::testing::Test {
  protected:
    void SetUp() override {
        InitLobbyTable(&table);
        currentChannel = 0;
        waitingForStart = 1;
    }
    // Each slot as "name SA:player,player" (S the state, A the announce flag, "!" when its
    // channel is to be closed; "-" when empty), a player field up to its last non-zero byte with
    // each NUL as '.'; " started" once the wait for our game's start is over.
    std::string Slots() {
        std::string out;
        for (const GameRecord& r : table.slots) {
            bool held = r.slot != EMPTY_SLOT;
            out += held ? " " + std::string(r.gameName) + " " + char('0' + r.state) +
                              char('0' + r.announce) + ":"
                        : " -";
            for (int p = 0; held && p < std::min<int>(r.numPlayers, MAX_PLAYERS); p++) {
                std::string field(r.playerNames[p], PLAYER_NAME_FIELD);
                out += (p > 0 ? "," : "") + field.substr(0, field.find_last_not_of('\0') + 1);
            }
            out += table.closeRequested[&r - table.slots] ? "!" : "";
        }
        std::replace(out.begin(), out.end(), '\0', '.');
        return out.substr(1) + (waitingForStart ? "" : " started");
    }
    // Each datagram and what the table holds after it.
    void Run(const std::vector<std::pair<Bytes, const char*>>& steps) {
        for (const auto& [packet, slots] : steps) {
            Captured([&] { LobbyReceive(packet.data(), packet.size(), &table); });
            EXPECT_EQ(Slots(), slots) << "step " << &packet - &steps[0].first;
        }
    }
    LobbyTable table;
};

TEST_F(LobbyTest, AnnouncementsFillEmptySlotsUpdatesOverwriteAndGameTrafficMarksThemInUse) {
    Bytes cut = G({EGameOpen, 0, "Cut", {"X"}, 1, 1});
    cut.pop_back();
    // clang-format off
    Run({
        {G({EGameOpen, 1, "A", {"H"}, 1, 1}), "- A 01:H - -"},
        {G({EGameOpen, 1, "Other", {"X"}, 1, 1}), "- A 01:H - -"}, // slot held
        {G({EGameOpen, 1, "A", {"H", "J"}, 2, 0}), "- A 00:H,J - -"},
        {G({ERobotStatePacket, 2, "", {}, 0, 0}), "- A 00:H,J In Use 00: -"},
        {{ERobotLeftPacket, 3}, "- A 00:H,J In Use 00: In Use 00:"}, // short traffic counts
        {G({ERobotStatePacket, 4, "", {}, 0, 0}), "- A 00:H,J In Use 00: In Use 00:"},
        {cut, "- A 00:H,J In Use 00: In Use 00:"},
        {G({EGameOpen, 0, "N", {"H"}, 1, 1}), "N 01:H A 00:H,J In Use 00: In Use 00:"},
        // A start elsewhere asks to close that channel; on ours it ends the wait.
        {G({EGameStarted, 1, "A", {"H", "J", "K"}, 3, 1}), "N 01:H A 00:H,J! In Use 00: In Use 00:"},
        {G({EGameStarted, 0, "N", {"H", "Me"}, 2, 1}), "N 10:H,Me A 00:H,J! In Use 00: In Use 00: started"},
    });
    // clang-format on
}

TEST_F(LobbyTest, AHostsSlotTakesOnlyAJoinThatKeepsItsGameAndAddsOnePlayer) {
    BeginHosting(&table, 1, "A", "H");
    // clang-format off
    Run({
        {G({EGameOpen, 1, "A", {"H", "X"}, 2, 1}), "- A 00:H - -"},      // announcement
        {G({EGameOpen, 1, "B", {"H", "X"}, 2, 0}), "- A 00:H - -"},      // other name
        {G({EGameStarted, 1, "A", {"H", "X"}, 2, 0}), "- A 00:H - -"},   // other state
        {G({EGameOpen, 1, "A", {"M", "X"}, 2, 0}), "- A 00:H - -"},      // other host
        {G({EGameOpen, 1, "A", {"H", "X", "Y"}, 3, 0}), "- A 00:H - -"}, // two more
        {G({EGameOpen, 1, "A", {}, 0, 0}), "- A 00:H - -"},              // fewer
        {G({ERobotStatePacket, 1, "A", {"H", "X"}, 2, 0}), "- A 00:H - -"},
        // Ann's entry carries a tag after its NUL: the host keeps it and announces it as it came.
        {G({EGameOpen, 1, "A", {"H", "Ann\0\0Z"}, 2, 0}), "- A 00:H,Ann..Z - -"},
        {G({EGameOpen, 1, "A", {"H", "Bob"}, 2, 0}), "- A 00:H,Ann..Z - -"}, // taken
        {G({EGameOpen, 1, "A", {"H", "Ann", "Bob"}, 3, 0}), "- A 00:H,Ann..Z,Bob - -"},
        {G({EGameOpen, 1, "A", {"H", "Ann", "Bob", "Cy"}, 4, 0}), "- A 00:H,Ann..Z,Bob,Cy - -"},
        {G({EGameOpen, 1, "A", {"H", "Ann", "Bob", "Cy"}, 5, 0}), "- A 00:H,Ann..Z,Bob,Cy - -"}, // five
    });
    // clang-format on
}

TEST_F(LobbyTest, TheScreenShowsGamesPlayersAndFreePlacesWithoutControlBytes) {
    for (const GameRecord& r :
         {GameRecord{EGameOpen, 0, "Evil\x1b]0;x\x07", {"B\x7f\xc3\xa9", "\r\n"}, 2, 1},
          GameRecord{EGameOpen, 1, "A", {"A", "B", "C", "D"}, 200, 1},
          GameRecord{ERobotStatePacket, 3, "", {}, 0, 0}})
        LobbyReceive(G(r).data(), G(r).size(), &table);
    std::string dashes(29, '-');
    EXPECT_EQ(Captured([&] { DrawLobby(&table, 1); }),
              "\x1b[2J\x1b[H\x1b[1;1H1. Evil?]0;x?\x1b[2;1H" + dashes +
                  "\x1b[3;1H * B?\xc3\xa9\x1b[4;1H * ??\x1b[5;1H - <empty>\x1b[6;1H - "
                  "<empty>\x1b[8;1H2. A\x1b[9;1H" +
                  dashes +
                  "\x1b[10;1H * A\x1b[11;1H * B\x1b[12;1H * C\x1b[13;1H * D\x1b[1;41H3. "
                  "No Game!\x1b[8;41H**In Use**\x1b[21;1HJoin a game by pressing its "
                  "number (1-4) or 'q' to quit\n");
}

// The player is told why a game cannot be joined.
TEST(JoinRefusal, OnlyAnOpenGameListingOneToThreePlayersCanBeJoined) {
    const GameRecord records[] = {
        {EGameOpen, 1, "A", {}, 1, 0},          {EGameOpen, 1, "A", {}, 3, 0},
        {EGameOpen, EMPTY_SLOT, "A", {}, 1, 0}, {EGameOpen, 2, "A", {}, 1, 0},
        {EGameOpen, 1, "In Use", {}, 1, 0},     {EGameStarted, 1, "A", {}, 1, 0},
        {EGameOpen, 1, "A", {}, 0, 0},          {EGameOpen, 1, "A", {}, 255, 0},
        {EGameOpen, 1, "A", {}, 5, 0},          {EGameOpen, 1, "A", {}, 4, 0}};
    std::string why;
    for (const GameRecord& r : records)
        why += std::string(JoinRefusal(r, 1) ? JoinRefusal(r, 1) : "joinable") + "; ";
    EXPECT_EQ(why, "joinable; joinable; holds no game; holds no game; is in use; has already "
                   "started; lists no valid number of players; lists no valid number of players; "
                   "lists no valid number of players; already has 4 players; ");
}

// Keys come from standard input, a pipe here as when a script drives the lobby: the key
// pressed, nothing within the wait (an empty pipe must not block a read), the end of input.
TEST(ReadKey, GivesTheKeyPressedNothingWithinTheWaitOrTheEndOfInput) {
    int saved = dup(STDIN_FILENO), ends[2];
    ASSERT_EQ(pipe2(ends, O_NONBLOCK), 0);
    dup2(ends[0], STDIN_FILENO);
    std::vector<int> keys = {ReadKey(0)};
    ASSERT_EQ(write(ends[1], "s", 1), 1);
    keys.push_back(ReadKey(0));
    close(ends[1]);
    keys.push_back(ReadKey(0));
    dup2(saved, STDIN_FILENO);
    close(saved);
    close(ends[0]);
    EXPECT_EQ(keys, (std::vector<int>{ENoKey, 's', EKeysEnded}));
}

} // namespace
