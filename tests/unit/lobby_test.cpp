// The lobby's slot table and screen, fed with datagrams as the monitor threads would.
#include "net/lobby.h"
#include "net/network.h"
#include "support/test_support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
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

// A slot as "name state: player,player".
std::string Shown(const GameRecord& r) {
    std::string out = std::string(r.gameName) + " " + std::to_string(r.state) + ":";
    for (int p = 0; p < r.numPlayers && p < MAX_PLAYERS; p++)
        out += (p > 0 ? "," : "") + std::string(r.playerNames[p]);
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

TEST_F(LobbyTest, ReceivedNamesReachTheScreenWithoutControlBytes) {
    Receive(Record(EGameOpen, 0, "Evil\x1b]0;pwned\x07", {"B\x7f\xc3\xa9", "\r\n"}, 1));
    std::string s = Screen(1);
    EXPECT_NE(s.find("1. Evil?]0;pwned?\x1b"), std::string::npos);
    EXPECT_NE(s.find(" * B?\xc3\xa9\x1b[4;1H * ??\x1b"), std::string::npos);
}

TEST_F(LobbyTest, AHostsSlotTakesOnlyAJoinThatKeepsItsGameAndAddsOnePlayer) {
    BeginHosting(&table, 1, "Arena", "Hank");
    std::vector<uint8_t> traffic(64, 0), five = Record(EGameOpen, 1, "Arena", {"Hank"}, 0);
    traffic[0] = ERobotStatePacket;
    traffic[1] = 1;
    five[96] = 5;
    // Ann's entry carries a tag after its NUL; the host must announce it as it came.
    std::vector<uint8_t> ann = Record(EGameOpen, 1, "Arena", {"Hank", "Ann"}, 0);
    ann[48 + 5] = 0x5A;
    const struct {
        std::vector<uint8_t> packet;
        const char* shown;
    } cases[] = {
        {Record(EGameOpen, 1, "Arena", {"Hank", "X"}, 1), "Arena 0:Hank"},      // announcement
        {Record(EGameOpen, 1, "Renamed", {"Hank", "X"}, 0), "Arena 0:Hank"},    // other name
        {Record(EGameStarted, 1, "Arena", {"Hank", "X"}, 0), "Arena 0:Hank"},   // other state
        {Record(EGameOpen, 1, "Arena", {"Mal", "X"}, 0), "Arena 0:Hank"},       // other host
        {Record(EGameOpen, 1, "Arena", {"Hank", "X", "Y"}, 0), "Arena 0:Hank"}, // two more
        {Record(EGameOpen, 1, "Arena", {}, 0), "Arena 0:Hank"},                 // fewer
        {traffic, "Arena 0:Hank"},                                              // game packet
        {ann, "Arena 0:Hank,Ann"},
        {Record(EGameOpen, 1, "Arena", {"Hank", "Bob"}, 0), "Arena 0:Hank,Ann"}, // place taken
        {Record(EGameOpen, 1, "Arena", {"Hank", "Ann", "Bob"}, 0), "Arena 0:Hank,Ann,Bob"},
        {Record(EGameOpen, 1, "Arena", {"Hank", "Ann", "Bob", "Cy"}, 0), "Arena 0:Hank,Ann,Bob,Cy"},
        {five, "Arena 0:Hank,Ann,Bob,Cy"}, // a fifth player
    };
    for (size_t i = 0; i < std::size(cases); i++) {
        Receive(cases[i].packet);
        EXPECT_EQ(Shown(table.slots[1]), cases[i].shown) << i;
    }
    std::vector<uint8_t> announced(GAME_RECORD_SIZE);
    EncodeGameRecord(&table.slots[1], announced.data());
    EXPECT_TRUE(std::equal(ann.begin() + 48, ann.begin() + 64, announced.begin() + 48));
}

TEST(JoinRefusal, OnlyAnOpenGameListingOneToThreePlayersCanBeJoined) {
    const struct {
        uint8_t slot, state, players;
        const char* name;
        bool joinable;
    } cases[] = {
        {1, EGameOpen, 1, "Arena", true},           {1, EGameOpen, 3, "Arena", true},
        {EMPTY_SLOT, EGameOpen, 1, "Arena", false}, {2, EGameOpen, 1, "Arena", false},
        {1, EGameOpen, 0, "In Use", false},         {1, EGameStarted, 1, "Arena", false},
        {1, EGameOpen, 0, "Arena", false},          {1, EGameOpen, 4, "Arena", false},
        {1, EGameOpen, 5, "Arena", false},          {1, EGameOpen, 255, "Arena", false},
    };
    for (const auto& c : cases) {
        GameRecord r = {};
        r.slot = c.slot;
        r.state = c.state;
        r.numPlayers = c.players;
        CopyNameField(r.gameName, sizeof r.gameName, c.name);
        EXPECT_EQ(JoinRefusal(r, 1) == nullptr, c.joinable) << int(c.slot) << " " << int(c.players);
    }
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
