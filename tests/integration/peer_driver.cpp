// A peer for the network tests: it speaks the game's datagrams over real multicast, runs one
// lobby operation, or closes a window the way a window manager's close button does (the window
// gets WM_DELETE_WINDOW and decides itself what to do).
//   peer_driver listen CHANNEL SECONDS         prints what it hears
//   peer_driver state CHANNEL UID SEQUENCE X Y Z FACING CLASS
//   peer_driver left CHANNEL UID
//   peer_driver over CHANNEL LOSER WINNER
//   peer_driver host LOCATE_MS GAME NAME | join LOCATE_MS NAME   ends with "RESULT host|join N
//   channel C" peer_driver close WINDOW_ID                on an X display
#include "foundation/utilities.h"
#include "net/lobby.h"
#include "net/network.h"
#include "net/packets.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>

#include <X11/Xlib.h>

namespace {

void Print(const uint8_t* buffer, size_t length, void*) {
    RobotStatePacket s;
    EnergonPacket e;
    RobotLeftPacket l;
    if (DecodeRobotState(buffer, length, &s))
        std::printf("state uid %u seq %u at %.2f %.2f %.2f facing %d class %u move %d\n", s.uid,
                    s.sequence, s.x, s.y, s.z, s.facing, s.classUid, s.move);
    else if (DecodeEnergon(buffer, length, &e))
        std::printf("energon id %u at %u %u %u crystals %u\n", e.id, e.x, e.y, e.z, e.crystals);
    else if (DecodeRobotLeft(buffer, length, &l))
        std::printf("left uid %u\n", l.uid);
    else if (length > 0)
        std::printf("packet type %u of %zu bytes\n", buffer[0], length);
}

int CloseWindow(Window window) {
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr)
        return 2;
    XEvent event = {};
    event.xclient = {ClientMessage,
                     0,
                     False,
                     display,
                     window,
                     XInternAtom(display, "WM_PROTOCOLS", False),
                     32,
                     {}};
    event.xclient.data.l[0] = static_cast<long>(XInternAtom(display, "WM_DELETE_WINDOW", False));
    Status sent = XSendEvent(display, window, False, NoEventMask, &event);
    XCloseDisplay(display);
    return sent != 0 ? 0 : 1;
}

} // namespace

int main(int argc, char** argv) {
    std::setvbuf(stdout, nullptr, _IOLBF, 0);
    const std::string command = argc > 3 ? argv[1] : "";
    auto number = [&](int i) { return i < argc ? std::atof(argv[i]) : 0.0; };
    auto uid = [&](int i) { return static_cast<uint32_t>(number(i)); };
    if (argc > 2 && std::string(argv[1]) == "close")
        return CloseWindow(std::strtoul(argv[2], nullptr, 0));
    NetStartup();
    if (command == "host" || command == "join") {
        gLocateMilliseconds = static_cast<int>(number(2));
        int result = command == "join" ? JoinGame(argv[3]) : HostGame(argv[3], argv[argc - 1]);
        std::printf("\nRESULT %s %d channel %d\n", argv[1], result, currentChannel.load());
        return 0;
    }
    const int channel = static_cast<int>(number(2));
    const auto byte = static_cast<uint8_t>(channel);
    if (command.empty() || netInit(channel) != 0)
        return command.empty() ? 2 : 1;
    currentChannel = channel;
    uint8_t buffer[MAX_PACKET_SIZE];
    size_t n = 0;
    if (command == "listen") {
        NetSetReceiver(Print, nullptr, channel);
        std::this_thread::sleep_for(std::chrono::duration<double>(number(3)));
        NetSetReceiver(nullptr, nullptr, channel);
        return 0;
    } else if (command == "state") {
        RobotStatePacket s = {
            byte, uid(3), uid(4), number(5), number(6), number(7), static_cast<int16_t>(number(8)),
            0,    0.5,    0,      uid(9)};
        n = EncodeRobotState(&s, buffer);
    } else if (command == "left") {
        RobotLeftPacket l = {byte, uid(3)};
        n = EncodeRobotLeft(&l, buffer);
    } else if (command == "over") {
        BattleOverPacket o = {byte, uid(3), uid(4)};
        n = EncodeBattleOver(&o, buffer);
    } else {
        return 2;
    }
    return NetSend(buffer, n) == 0 ? 0 : 1;
}
