// network: the four multicast game channels, their monitor threads and sending.
//
// Channel c is group 224.1.1.1 + c on UDP port 9423 + c, TTL 32, loopback on, so a copy hears
// its own packets. Each open channel has a monitor thread that receives datagrams and hands
// each to the channel's receiver. The game's receiver only queues a checked copy on an inbox
// (PacketInbox) which the thread that owns the game state drains: no handler runs on a
// monitor thread.
#pragma once

#include <atomic>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <mutex>

constexpr int NUM_CHANNELS = 4;
constexpr uint16_t BASE_PORT = 9423;
constexpr int MULTICAST_TTL = 32;

using NetReceiver = void (*)(const uint8_t* buffer, size_t length, void* context);

// The game channel this copy plays on (0 to 3).
extern std::atomic<int> currentChannel;

void NetStartup();
// Opens channel (0-3) and starts its monitor thread; 0 on success, -1 when the channel number
// is out of range or already open. A socket option that cannot be set (address reuse, TTL,
// joining the group) ends the program with status 1 and a message saying what to check.
int netInit(int channel);
// Stops the monitor thread, forgets the receiver, leaves the group and closes the socket.
void NetCloseChannel(int channel);
bool NetChannelOpen(int channel);
void NetSetReceiver(NetReceiver receiver, void* context, int channel);
void NetSetReceiver(NetReceiver receiver, void* context);
// One datagram to the channel's group: 0 on success, -1 on failure.
int NetSendOnChannel(const void* buffer, size_t length, int channel);
int NetSend(const void* buffer, size_t length);

// A received datagram, kept whole.
struct QueuedPacket {
    size_t length;
    uint8_t bytes[256];
};

// How many received packets wait for the owner thread at most.
constexpr size_t INBOX_CAPACITY = 1024;

// The owner thread's mailbox of received game packets.
class PacketInbox {
  public:
    explicit PacketInbox(size_t capacity = INBOX_CAPACITY) : capacity_(capacity) {}
    // Queues a copy when the datagram is at least as long as its type's layout and the inbox
    // has room; shorter ones, types without a game layout and what does not fit are dropped
    // and counted. Returns whether it was queued.
    bool Offer(const uint8_t* buffer, size_t length);
    // Moves everything queued so far into out (in arrival order); returns how many. At most once
    // a second it prints one line counting the short packets and those the full inbox turned
    // away since the last such line (types of no game layout, such as a late lobby record, are
    // only counted).
    size_t Drain(std::deque<QueuedPacket>& out,
                 std::chrono::steady_clock::time_point now = std::chrono::steady_clock::now());
    long DroppedShort() const { return droppedShort_.load(); }
    long DroppedUnknown() const { return droppedUnknown_.load(); }
    long DroppedFull() const { return droppedFull_.load(); }
    size_t Pending();

  private:
    void ReportDrops(std::chrono::steady_clock::time_point now);
    size_t capacity_;
    std::mutex lock_;
    std::deque<QueuedPacket> queue_;
    std::atomic<long> droppedShort_{0};
    std::atomic<long> droppedUnknown_{0};
    std::atomic<long> droppedFull_{0};
    // Owned by the draining thread.
    bool reported_ = false;
    std::chrono::steady_clock::time_point lastReport_;
    long reportedShort_ = 0;
    long reportedFull_ = 0;
};

// A receiver that offers each datagram to the PacketInbox given as its context.
void InboxReceiver(const uint8_t* buffer, size_t length, void* context);

// The inbox of this process's game packets.
PacketInbox& GameInbox();
