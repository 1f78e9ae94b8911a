// lobby: slot table, announcer, keys and the host and join operations.
#include "net/lobby.h"

#include "foundation/utilities.h"
#include "net/console.h"
#include "net/network.h"

#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstring>
#include <ctype.h>
#include <random>
#include <string>
#include <thread>

const char* const IN_USE_NAME = "In Use";
std::atomic<int> waitingForStart{0};
int gLocateMilliseconds = 2000;

namespace {

using std::chrono::milliseconds;

bool HoldsGame(const GameRecord& r, int index) {
    return r.slot == index;
}

bool IsInUse(const GameRecord& r) {
    return std::strcmp(r.gameName, IN_USE_NAME) == 0;
}

int PlayerCount(const GameRecord& r) {
    return r.numPlayers > MAX_PLAYERS ? MAX_PLAYERS : r.numPlayers;
}

bool SameText(const char* a, const char* b, size_t size) {
    return std::strncmp(a, b, size) == 0;
}

// A joiner's update of the game we host: the same name, still open, the same players, and one
// player more.
bool IsJoinOf(const GameRecord& ours, const GameRecord& update) {
    int n = ours.numPlayers;
    if (update.announce != 0 || ours.state != EGameOpen || update.state != EGameOpen ||
        n >= MAX_PLAYERS || update.numPlayers != n + 1 ||
        !SameText(update.gameName, ours.gameName, GAME_NAME_SIZE))
        return false;
    for (int p = 0; p < n; p++) {
        if (!SameText(update.playerNames[p], ours.playerNames[p], PLAYER_NAME_FIELD))
            return false;
    }
    return true;
}

// The announcer of a hosted game: sends the record every 500 ms until told to stop.
class Announcer {
  public:
    Announcer(LobbyTable* table, int slot) : table_(table), slot_(slot) {
        thread_ = std::thread([this] { Run(); });
    }
    ~Announcer() { Stop(); }
    void Stop() {
        {
            std::lock_guard<std::mutex> guard(lock_);
            stop_ = true;
        }
        wake_.notify_all();
        if (thread_.joinable())
            thread_.join();
    }

  private:
    void Run() {
        std::unique_lock<std::mutex> guard(lock_);
        while (!stop_) {
            uint8_t buffer[GAME_RECORD_SIZE];
            {
                std::lock_guard<std::mutex> tableGuard(table_->lock);
                GameRecord& r = table_->slots[slot_];
                r.announce = 1;
                EncodeGameRecord(&r, buffer);
            }
            NetSendOnChannel(buffer, sizeof buffer, slot_);
            wake_.wait_for(guard, milliseconds(500), [this] { return stop_; });
        }
    }
    LobbyTable* table_;
    int slot_;
    std::mutex lock_;
    std::condition_variable wake_;
    bool stop_ = false;
    std::thread thread_;
};

void CloseAllBut(int keep) {
    for (int c = 0; c < NUM_LOBBY_SLOTS; c++) {
        if (c != keep)
            NetCloseChannel(c);
    }
}

} // namespace

void InitLobbyTable(LobbyTable* table) {
    std::lock_guard<std::mutex> guard(table->lock);
    std::memset(table->slots, 0, sizeof table->slots);
    std::memset(table->lastAnnouncement, 0, sizeof table->lastAnnouncement);
    for (int i = 0; i < NUM_LOBBY_SLOTS; i++) {
        table->slots[i].slot = EMPTY_SLOT;
        table->heardAnnouncement[i] = false;
        table->closeRequested[i] = false;
    }
    table->hostedSlot = -1;
}

void LobbyReceive(const uint8_t* packet, size_t length, void* context) {
    LobbyTable* table = static_cast<LobbyTable*>(context);
    if (packet == nullptr || length < 2)
        return;
    uint8_t state = packet[0];
    uint8_t s = packet[1];
    if (s >= NUM_LOBBY_SLOTS) {
        std::printf("Lobby: dropped a packet naming game slot %u\n", s);
        return;
    }
    std::lock_guard<std::mutex> guard(table->lock);
    if (s == table->hostedSlot) {
        GameRecord update;
        GameRecord& ours = table->slots[s];
        if (state <= EGameStarted && DecodeGameRecord(packet, length, &update) &&
            IsJoinOf(ours, update)) {
            // The whole field: the bytes after the name's NUL tell the joiner its entry.
            std::memcpy(ours.playerNames[ours.numPlayers], update.playerNames[ours.numPlayers],
                        PLAYER_NAME_FIELD);
            ours.numPlayers++;
        }
        return;
    }
    if (state >= 2) {
        // Game traffic: a game is running on this channel.
        GameRecord& r = table->slots[s];
        CopyNameField(r.gameName, sizeof r.gameName, IN_USE_NAME);
        r.slot = s;
        r.numPlayers = 0;
        return;
    }
    GameRecord record;
    if (!DecodeGameRecord(packet, length, &record)) {
        std::printf("Lobby: dropped a game record of %zu bytes (%zu expected)\n", length,
                    GAME_RECORD_SIZE);
        return;
    }
    if (record.announce == 1) {
        table->lastAnnouncement[s] = record;
        table->heardAnnouncement[s] = true;
    }
    if (state == EGameStarted) {
        if (s != currentChannel) {
            // A game that started elsewhere will not be joined.
            table->closeRequested[s] = true;
            return;
        }
        waitingForStart.store(0);
        record.announce = 0;
    }
    if (record.announce == 1 && table->slots[s].slot != EMPTY_SLOT)
        return;
    table->slots[s] = record;
}

void CloseRequestedChannels(LobbyTable* table) {
    bool close[NUM_LOBBY_SLOTS];
    {
        std::lock_guard<std::mutex> guard(table->lock);
        for (int i = 0; i < NUM_LOBBY_SLOTS; i++) {
            close[i] = table->closeRequested[i];
            table->closeRequested[i] = false;
        }
    }
    for (int i = 0; i < NUM_LOBBY_SLOTS; i++) {
        if (close[i])
            NetCloseChannel(i);
    }
}

void LocateGames(LobbyTable* table) {
    InitLobbyTable(table);
    for (int c = 0; c < NUM_LOBBY_SLOTS; c++) {
        if (netInit(c) != 0) {
            std::fprintf(stderr, "couldn't init game %u\n", static_cast<unsigned>(c));
            return;
        }
        NetSetReceiver(LobbyReceive, table, c);
    }
    std::printf("locating open games...\n");
    std::this_thread::sleep_for(milliseconds(gLocateMilliseconds));
}

void DrawLobby(LobbyTable* table, int mode) {
    GameRecord slots[NUM_LOBBY_SLOTS];
    {
        std::lock_guard<std::mutex> guard(table->lock);
        std::memcpy(slots, table->slots, sizeof slots);
    }
    ClearConsole();
    for (int i = 0; i < NUM_LOBBY_SLOTS; i++) {
        const GameRecord& r = slots[i];
        int x = (i / 2) * 40, y = (i % 2) * 7;
        GotoXY(x, y);
        if (HoldsGame(r, i) && !IsInUse(r)) {
            std::printf("%d. %s", i + 1, PrintableText(r.gameName).c_str());
            GotoXY(x, y + 1);
            std::printf("-----------------------------");
            for (int p = 0; p < MAX_PLAYERS; p++) {
                GotoXY(x, y + 2 + p);
                if (p < PlayerCount(r))
                    std::printf(" * %s", PrintableText(r.playerNames[p]).c_str());
                else
                    std::printf(" - <empty>");
            }
        } else if (HoldsGame(r, i)) {
            std::printf("**%s**", r.gameName);
        } else {
            std::printf("%d. No Game!", i + 1);
        }
    }
    GotoXY(0, 20);
    switch (mode) {
    case 0:
        std::printf("Wait for players to join your game.\nStart your game by pressing 's' or 'q' "
                    "to quit\n");
        break;
    case 1:
        std::printf("Join a game by pressing its number (1-%d) or 'q' to quit\n", NUM_LOBBY_SLOTS);
        break;
    default:
        std::printf("Waiting for game to start\n");
        break;
    }
    std::fflush(stdout);
}

void BeginHosting(LobbyTable* table, int slot, const char* gameName, const char* playerName) {
    std::lock_guard<std::mutex> guard(table->lock);
    GameRecord& r = table->slots[slot];
    r = GameRecord{};
    r.state = EGameOpen;
    r.slot = static_cast<uint8_t>(slot);
    CopyNameField(r.gameName, sizeof r.gameName, gameName);
    CopyNameField(r.playerNames[0], PLAYER_NAME_FIELD, playerName);
    r.numPlayers = 1;
    table->hostedSlot = slot;
}

int HostGame(const char* gameName, const char* playerName) {
    static LobbyTable table;
    LocateGames(&table);
    CloseRequestedChannels(&table);
    int chosen = -1;
    {
        std::lock_guard<std::mutex> guard(table.lock);
        for (int i = 0; i < NUM_LOBBY_SLOTS && chosen < 0; i++) {
            if (table.slots[i].slot == EMPTY_SLOT && NetChannelOpen(i))
                chosen = i;
        }
    }
    if (chosen < 0) {
        std::printf("No free game slot: all %d games are taken\n", NUM_LOBBY_SLOTS);
        CloseAllBut(-1);
        return 0;
    }
    BeginHosting(&table, chosen, gameName, playerName);
    CloseAllBut(chosen);
    currentChannel = chosen;
    Announcer announcer(&table, chosen);
    BeginKeyInput();
    int key = 0;
    while (key != 's' && key != 'q') {
        DrawLobby(&table, 0);
        int k = ReadKey(1000);
        if (k == EKeysEnded) {
            std::printf("Standard input closed: leaving the lobby\n");
            key = 'q';
        } else if (k >= 0) {
            key = tolower(k);
        }
    }
    EndKeyInput();
    if (key == 'q') {
        announcer.Stop();
        return 0;
    }
    {
        std::lock_guard<std::mutex> guard(table.lock);
        table.slots[chosen].state = EGameStarted;
    }
    std::this_thread::sleep_for(milliseconds(1000));
    announcer.Stop();
    NetSetReceiver(nullptr, nullptr, chosen);
    return 1;
}

const char* JoinRefusal(const GameRecord& r, int s) {
    if (!HoldsGame(r, s))
        return "holds no game";
    if (IsInUse(r))
        return "is in use";
    if (r.state != EGameOpen)
        return "has already started";
    if (r.numPlayers < 1 || r.numPlayers > MAX_PLAYERS)
        return "lists no valid number of players";
    if (r.numPlayers == MAX_PLAYERS)
        return "already has 4 players";
    return nullptr;
}

namespace {

// Names longer than this are cut in our entry so that a tag of at least 3 bytes fits.
constexpr size_t JOIN_NAME_LENGTH = 11;

// Our entry in a game's player list: the name, its NUL, then non-zero random bytes up to the
// field's final NUL. A peer's entry is zero after its name, so it never matches ours.
void MakeJoinEntry(char* entry, const char* name) {
    std::memset(entry, 0, PLAYER_NAME_FIELD);
    size_t length = strnlen(name, JOIN_NAME_LENGTH);
    std::memcpy(entry, name, length);
    std::random_device random;
    for (size_t i = length + 1; i < PLAYER_NAME_FIELD - 1; i++)
        entry[i] = static_cast<char>(1 + random() % 255);
}

// Where our entry stands among the joiners of r, or -1.
int PlaceOf(const GameRecord& r, const char* entry) {
    for (int p = 1; p < PlayerCount(r); p++) {
        if (std::memcmp(r.playerNames[p], entry, PLAYER_NAME_FIELD) == 0)
            return p;
    }
    return -1;
}

// Adds our entry to the game record r of slot s as its next player and sends the update.
void SendJoin(LobbyTable* table, int s, GameRecord r, const char* entry) {
    std::memcpy(r.playerNames[r.numPlayers], entry, PLAYER_NAME_FIELD);
    r.numPlayers++;
    r.announce = 0;
    uint8_t buffer[GAME_RECORD_SIZE];
    EncodeGameRecord(&r, buffer);
    {
        std::lock_guard<std::mutex> guard(table->lock);
        table->slots[s] = r;
        table->heardAnnouncement[s] = false;
    }
    NetSendOnChannel(buffer, sizeof buffer, s);
}

// The slot the player picks, with its record as it stood then, or -1 when the player quits.
int ChooseGame(LobbyTable* table, GameRecord* chosen) {
    std::string refusal;
    for (;;) {
        CloseRequestedChannels(table);
        DrawLobby(table, 1);
        if (!refusal.empty())
            std::printf("%s\n", refusal.c_str());
        int k = ReadKey(1000);
        if (k == EKeysEnded || k == 'q' || k == 'Q') {
            if (k == EKeysEnded)
                std::printf("Standard input closed: leaving the lobby\n");
            return -1;
        }
        if (k < '1' || k > '0' + NUM_LOBBY_SLOTS)
            continue;
        int choice = k - '1';
        std::lock_guard<std::mutex> guard(table->lock);
        const char* why = NetChannelOpen(choice) ? JoinRefusal(table->slots[choice], choice)
                                                 : "has already started";
        if (why == nullptr) {
            *chosen = table->slots[choice];
            return choice;
        }
        refusal = "Game " + std::to_string(choice + 1) + " " + why + ": choose another";
    }
}

} // namespace

int JoinGame(const char* playerName) {
    static LobbyTable table;
    LocateGames(&table);
    BeginKeyInput();
    GameRecord heard;
    int s = ChooseGame(&table, &heard);
    EndKeyInput();
    if (s < 0) {
        CloseAllBut(-1);
        return -1;
    }
    CloseAllBut(s);
    currentChannel = s;
    waitingForStart.store(1);
    char entry[PLAYER_NAME_FIELD];
    MakeJoinEntry(entry, playerName);
    int asked = heard.numPlayers, unanswered = 0;
    SendJoin(&table, s, heard, entry);
    while (waitingForStart.load() == 1) {
        DrawLobby(&table, 2);
        // Redrawn every second, but the start is noticed within a tenth of one: the host's
        // first packets follow its start closely.
        for (int i = 0; i < 10 && waitingForStart.load() == 1; i++)
            std::this_thread::sleep_for(milliseconds(100));
        // The host's announcements show whether it took our entry. When another joiner who
        // answered the same announcement holds the place we asked for, or two announcements
        // pass without our entry (the update was lost), we ask again for the next free place.
        {
            std::lock_guard<std::mutex> guard(table.lock);
            if (!table.heardAnnouncement[s])
                continue;
            heard = table.lastAnnouncement[s];
            table.heardAnnouncement[s] = false;
        }
        if (PlaceOf(heard, entry) >= 0 || waitingForStart.load() == 0)
            continue;
        if (heard.numPlayers <= asked && ++unanswered < 2)
            continue;
        if (const char* why = JoinRefusal(heard, s)) {
            std::printf("Game %d %s: we could not join it\n", s + 1, why);
            NetCloseChannel(s);
            return -1;
        }
        std::printf("Joining game %d as player %d\n", s + 1, heard.numPlayers);
        asked = heard.numPlayers;
        unanswered = 0;
        SendJoin(&table, s, heard, entry);
    }
    // The start record names every player: our index is where our entry stands.
    int n;
    {
        std::lock_guard<std::mutex> guard(table.lock);
        const GameRecord& start = table.lastAnnouncement[s].state == EGameStarted
                                      ? table.lastAnnouncement[s]
                                      : table.slots[s];
        n = PlaceOf(start, entry);
    }
    NetSetReceiver(nullptr, nullptr, s);
    if (n < 0) {
        std::printf("Game %d started without us: the host never took our join\n", s + 1);
        NetCloseChannel(s);
    }
    return n;
}
