// network: sockets, monitor threads and the inbox of received game packets.
#include "net/network.h"

#include "net/packets.h"

#include <arpa/inet.h>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <netdb.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>

std::atomic<int> currentChannel{0};

namespace {

struct NetChannel {
    sockaddr_in selfAddress;
    sockaddr_in groupAddress;
    uint16_t port; // network byte order
    int socket = -1;
    std::thread monitorThread;
    std::atomic<bool> stop{false};
    std::mutex receiverLock;
    NetReceiver receiver = nullptr;
    void* receiverContext = nullptr;
};

// Channels live from netInit to NetCloseChannel; the table is only changed by the thread that
// runs the lobby or start-up.
NetChannel* gChannels[NUM_CHANNELS];

const char* const kGroups[NUM_CHANNELS] = {"224.1.1.1", "224.1.1.2", "224.1.1.3", "224.1.1.4"};

[[noreturn]] void SocketOptionFailed(const char* what, int channel) {
    int saved = errno;
    std::fprintf(stderr, "setsockopt: %s\n", std::strerror(saved));
    std::fprintf(stderr,
                 "Could not %s for game channel %d (group %s, port %d). Check that a network "
                 "interface is up with multicast enabled and that 224.0.0.0/4 is routed to it "
                 "(scripts/netns-run sets this up on loopback).\n",
                 what, channel, kGroups[channel], BASE_PORT + channel);
    std::exit(1);
}

void ResolveSelf(NetChannel* ch) {
    std::memset(&ch->selfAddress, 0, sizeof ch->selfAddress);
    ch->selfAddress.sin_family = AF_INET;
    char name[128] = {0};
    if (gethostname(name, sizeof name - 1) == 0) {
        addrinfo hints = {};
        hints.ai_family = AF_INET;
        addrinfo* found = nullptr;
        if (getaddrinfo(name, nullptr, &hints, &found) == 0 && found != nullptr) {
            std::memcpy(&ch->selfAddress, found->ai_addr, sizeof ch->selfAddress);
            freeaddrinfo(found);
            return;
        }
        in_addr parsed;
        if (inet_aton(name, &parsed) != 0) {
            ch->selfAddress.sin_addr = parsed;
            return;
        }
    }
    std::fprintf(stderr, "who am I?\n");
}

void Monitor(NetChannel* ch) {
    uint8_t buffer[RECEIVE_BUFFER_SIZE];
    while (!ch->stop.load()) {
        pollfd pfd = {ch->socket, POLLIN, 0};
        int ready = poll(&pfd, 1, 50);
        if (ready <= 0)
            continue;
        ssize_t n = recvfrom(ch->socket, buffer, sizeof buffer, 0, nullptr, nullptr);
        if (n < 0) {
            if (errno != EINTR && errno != EAGAIN)
                std::fprintf(stderr, "Error on read\n");
            continue;
        }
        std::lock_guard<std::mutex> guard(ch->receiverLock);
        if (ch->receiver != nullptr)
            ch->receiver(buffer, static_cast<size_t>(n), ch->receiverContext);
    }
}

} // namespace

void NetStartup() {
    // BSD sockets need no start-up; a peer that goes away must not kill a sender.
    std::signal(SIGPIPE, SIG_IGN);
}

int netInit(int channel) {
    if (channel < 0 || channel >= NUM_CHANNELS) {
        std::fprintf(stderr, "netInit: no game channel %d (0 to %d)\n", channel, NUM_CHANNELS - 1);
        return -1;
    }
    if (gChannels[channel] != nullptr)
        return -1;
    NetChannel* ch = new NetChannel();
    ch->port = htons(static_cast<uint16_t>(BASE_PORT + channel));
    ResolveSelf(ch);

    ch->socket = socket(AF_INET, SOCK_DGRAM, 0);
    if (ch->socket < 0) {
        std::fprintf(stderr, "can't get socket\n");
        delete ch;
        return -1;
    }
    int on = 1;
    if (setsockopt(ch->socket, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on) < 0)
        SocketOptionFailed("allow address reuse", channel);
    sockaddr_in local = {};
    local.sin_family = AF_INET;
    local.sin_port = ch->port;
    local.sin_addr.s_addr = htonl(INADDR_ANY);
    if (bind(ch->socket, reinterpret_cast<sockaddr*>(&local), sizeof local) < 0)
        std::fputs("netInit binding", stderr);
    unsigned char ttl = MULTICAST_TTL;
    if (setsockopt(ch->socket, IPPROTO_IP, IP_MULTICAST_TTL, &ttl, sizeof ttl) < 0)
        SocketOptionFailed("set the multicast time-to-live", channel);
    ip_mreq join = {};
    inet_pton(AF_INET, kGroups[channel], &join.imr_multiaddr);
    join.imr_interface.s_addr = htonl(INADDR_ANY);
    if (setsockopt(ch->socket, IPPROTO_IP, IP_ADD_MEMBERSHIP, &join, sizeof join) < 0)
        SocketOptionFailed("join the multicast group", channel);
    unsigned char loop = 1;
    setsockopt(ch->socket, IPPROTO_IP, IP_MULTICAST_LOOP, &loop, sizeof loop);

    std::memset(&ch->groupAddress, 0, sizeof ch->groupAddress);
    ch->groupAddress.sin_family = AF_INET;
    ch->groupAddress.sin_port = ch->port;
    ch->groupAddress.sin_addr = join.imr_multiaddr;

    gChannels[channel] = ch;
    try {
        ch->monitorThread = std::thread(Monitor, ch);
    } catch (const std::system_error&) {
        std::fprintf(stderr, "Couldn't start network monitor thread\n");
    }
    return 0;
}

void NetCloseChannel(int channel) {
    if (channel < 0 || channel >= NUM_CHANNELS || gChannels[channel] == nullptr)
        return;
    NetChannel* ch = gChannels[channel];
    ch->stop.store(true);
    if (ch->monitorThread.joinable())
        ch->monitorThread.join();
    NetSetReceiver(nullptr, nullptr, channel);
    ip_mreq leave = {};
    leave.imr_multiaddr = ch->groupAddress.sin_addr;
    leave.imr_interface.s_addr = htonl(INADDR_ANY);
    if (setsockopt(ch->socket, IPPROTO_IP, IP_DROP_MEMBERSHIP, &leave, sizeof leave) < 0)
        std::fprintf(stderr, "setsockopt: leaving group %s: %s\n", kGroups[channel],
                     std::strerror(errno));
    close(ch->socket);
    gChannels[channel] = nullptr;
    delete ch;
}

bool NetChannelOpen(int channel) {
    return channel >= 0 && channel < NUM_CHANNELS && gChannels[channel] != nullptr;
}

void NetSetReceiver(NetReceiver receiver, void* context, int channel) {
    if (!NetChannelOpen(channel))
        return;
    NetChannel* ch = gChannels[channel];
    std::lock_guard<std::mutex> guard(ch->receiverLock);
    ch->receiver = receiver;
    ch->receiverContext = context;
}

void NetSetReceiver(NetReceiver receiver, void* context) {
    NetSetReceiver(receiver, context, currentChannel);
}

int NetSendOnChannel(const void* buffer, size_t length, int channel) {
    if (!NetChannelOpen(channel)) {
        // A copy that has not joined a game (a test, a tool) has nowhere to send: say so once.
        static std::atomic<bool> said{false};
        if (!said.exchange(true))
            std::fprintf(stderr, "Error on write\nsendto: game channel %d is not open\n", channel);
        return -1;
    }
    NetChannel* ch = gChannels[channel];
    ssize_t n =
        sendto(ch->socket, buffer, length, 0, reinterpret_cast<const sockaddr*>(&ch->groupAddress),
               sizeof ch->groupAddress);
    if (n < 0) {
        std::fprintf(stderr, "Error on write\n");
        std::perror("sendto");
        return -1;
    }
    return 0;
}

int NetSend(const void* buffer, size_t length) {
    return NetSendOnChannel(buffer, length, currentChannel);
}

bool PacketInbox::Offer(const uint8_t* buffer, size_t length) {
    if (buffer == nullptr || length == 0) {
        droppedShort_++;
        return false;
    }
    size_t need = PacketSize(buffer[0]);
    if (need == 0 || buffer[0] <= EGameStarted) {
        droppedUnknown_++;
        return false;
    }
    if (length < need) {
        droppedShort_++;
        return false;
    }
    QueuedPacket packet;
    packet.length = length < sizeof packet.bytes ? length : sizeof packet.bytes;
    std::memcpy(packet.bytes, buffer, packet.length);
    std::lock_guard<std::mutex> guard(lock_);
    if (queue_.size() >= capacity_) {
        droppedFull_++;
        return false;
    }
    queue_.push_back(packet);
    return true;
}

size_t PacketInbox::Drain(std::deque<QueuedPacket>& out,
                          std::chrono::steady_clock::time_point now) {
    size_t n;
    {
        std::lock_guard<std::mutex> guard(lock_);
        n = queue_.size();
        while (!queue_.empty()) {
            out.push_back(queue_.front());
            queue_.pop_front();
        }
    }
    ReportDrops(now);
    return n;
}

void PacketInbox::ReportDrops(std::chrono::steady_clock::time_point now) {
    if (reported_ && now - lastReport_ < std::chrono::seconds(1))
        return;
    long shortNow = droppedShort_.load(), fullNow = droppedFull_.load();
    long shortNew = shortNow - reportedShort_, fullNew = fullNow - reportedFull_;
    if (shortNew == 0 && fullNew == 0)
        return;
    std::printf("Dropped %ld packets since the last report: %ld shorter than their layout, %ld "
                "with the inbox full (%zu)\n",
                shortNew + fullNew, shortNew, fullNew, capacity_);
    reportedShort_ = shortNow;
    reportedFull_ = fullNow;
    lastReport_ = now;
    reported_ = true;
}

size_t PacketInbox::Pending() {
    std::lock_guard<std::mutex> guard(lock_);
    return queue_.size();
}

void InboxReceiver(const uint8_t* buffer, size_t length, void* context) {
    static_cast<PacketInbox*>(context)->Offer(buffer, length);
}

PacketInbox& GameInbox() {
    static PacketInbox* inbox = new PacketInbox();
    return *inbox;
}
