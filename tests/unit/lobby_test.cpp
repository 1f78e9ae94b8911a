// The lobby's slot table and screen, fed with datagrams as the monitor threads would.
#include "net/lobby.h"
#include "net/network.h"
#include "support/test_support.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::vector<uint8_t> Record(uint8_t state, uint8_t slot, const char* game,
                            std::vector<const char*> players, uint8_t announce) {
    GameRecord r = {};
    r.state = state;
    r.slot = slot;
    CopyNameField(r.gameName, sizeof r.gameName, game);
    for (size_t i = 0; i < players.size(); i++)
        CopyNameField(r.playerNames[i], PLAYER_NAME_FIELD, players[i]);
    r.numPlayers = static_cast<uint8_t>(players.size());
    r.announce = announce;
    std::vector<uint8_t> out(GAME_RECORD_SIZE);
    EncodeGameRecord(&r, out.data());
    return out;
}

class LobbyTest : public ::testing::Test {
  protected:
    void SetUp() override {
        InitLobbyTable(&table);
        currentChannel = 0;
        waitingForStart = 0;
    }
    void Receive(const std::vector<uint8_t>& p) { LobbyReceive(p.data(), p.size(), &table); }
    std::string Screen(int mode) {
        return Captured([&] { DrawLobby(&table, mode); });
    }
    LobbyTable table;
};

TEST_F(LobbyTest, AnnouncementsFillOnlyEmptySlotsAndUpdatesAlwaysOverwrite) {
    Receive(Record(EGameOpen, 1, "Arena", {"Host"}, 1));
    EXPECT_EQ(table.slots[1].slot, 1);
    EXPECT_STREQ(table.slots[1].gameName, "Arena");
    Receive(Record(EGameOpen, 1, "Other", {"Someone"}, 1)); // slot held: ignored
    EXPECT_STREQ(table.slots[1].gameName, "Arena");
    Receive(Record(EGameOpen, 1, "Arena", {"Host", "Ann"}, 0)); // a joiner's update
    EXPECT_EQ(table.slots[1].numPlayers, 2);
    EXPECT_STREQ(table.slots[1].playerNames[1], "Ann");
    EXPECT_EQ(table.slots[0].slot, EMPTY_SLOT);
}

TEST_F(LobbyTest, GameTrafficMarksTheSlotInUse) {
    std::vector<uint8_t> state(64, 0);
    state[0] = 6;
    state[1] = 2;
    Receive(state);
    EXPECT_EQ(table.slots[2].slot, 2);
    EXPECT_STREQ(table.slots[2].gameName, "In Use");
    EXPECT_EQ(table.slots[2].numPlayers, 0);
    // Short game packets count too; a slot byte off the table is dropped.
    Receive({9, 3});
    EXPECT_STREQ(table.slots[3].gameName, "In Use");
    Receive({9, 4});
    Receive(Record(EGameOpen, 200, "Bad", {"X"}, 1));
    for (const GameRecord& r : table.slots)
        EXPECT_STRNE(r.gameName, "Bad");
}

TEST_F(LobbyTest, AStartOnOurChannelEndsTheWaitAndElsewhereAsksToClose) {
    waitingForStart = 1;
    Receive(Record(EGameOpen, 2, "Far", {"H"}, 1));
    Receive(Record(EGameStarted, 2, "Far", {"H", "J"}, 1));
    EXPECT_EQ(waitingForStart.load(), 1);
    EXPECT_TRUE(table.closeRequested[2]);
    EXPECT_EQ(table.slots[2].numPlayers, 1); // keeps the last open record heard
    Receive(Record(EGameStarted, 0, "Near", {"H", "Me"}, 1));
    EXPECT_EQ(waitingForStart.load(), 0);
    EXPECT_EQ(table.slots[0].state, EGameStarted);
    EXPECT_EQ(table.slots[0].announce, 0);
    EXPECT_EQ(table.slots[0].numPlayers, 2);
}

TEST_F(LobbyTest, ShortRecordsAreDropped) {
    std::vector<uint8_t> r = Record(EGameOpen, 1, "Arena", {"Host"}, 1);
    r.resize(97);
    std::string out = Captured([&] { Receive(r); });
    EXPECT_EQ(table.slots[1].slot, EMPTY_SLOT);
    EXPECT_NE(out.find("dropped a game record of 97 bytes"), std::string::npos);
}

TEST_F(LobbyTest, TheScreenShowsGamesPlayersAndFreePlaces) {
    Receive(Record(EGameOpen, 0, "Arena", {"Host"}, 1));
    std::vector<uint8_t> traffic(64, 0);
    traffic[0] = 6;
    traffic[1] = 3;
    Receive(traffic);
    std::string s = Screen(1);
    EXPECT_NE(s.find("\x1b[2J\x1b[H"), std::string::npos);
    EXPECT_NE(s.find("\x1b[1;1H1. Arena"), std::string::npos);
    EXPECT_NE(s.find("\x1b[2;1H-----------------------------\x1b"), std::string::npos);
    EXPECT_NE(s.find("\x1b[3;1H * Host"), std::string::npos);
    EXPECT_NE(s.find("\x1b[4;1H - <empty>\x1b[5;1H - <empty>\x1b[6;1H - <empty>"),
              std::string::npos);
    EXPECT_NE(s.find("\x1b[8;1H2. No Game!"), std::string::npos);
    EXPECT_NE(s.find("\x1b[1;41H3. No Game!"), std::string::npos);
    EXPECT_NE(s.find("\x1b[8;41H**In Use**"), std::string::npos);
    EXPECT_NE(s.find("\x1b[21;1HJoin a game by pressing its number (1-4) or 'q' to quit\n"),
              std::string::npos);
    EXPECT_NE(Screen(0).find("Wait for players to join your game.\nStart your game by pressing "
                             "'s' or 'q' to quit\n"),
              std::string::npos);
    EXPECT_NE(Screen(2).find("Waiting for game to start\n"), std::string::npos);
}

TEST_F(LobbyTest, ABogusPlayerCountShowsAtMostFourNames) {
    std::vector<uint8_t> r = Record(EGameOpen, 1, "Arena", {"A", "B", "C", "D"}, 1);
    r[96] = 200;
    Receive(r);
    std::string s = Screen(1);
    EXPECT_NE(s.find(" * D"), std::string::npos);
    EXPECT_EQ(s.find("<empty>", s.find("2. Arena")), std::string::npos);
}

} // namespace
