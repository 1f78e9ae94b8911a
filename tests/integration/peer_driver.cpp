// A peer for the network tests: it speaks the game's datagrams over real multicast, runs one
// lobby operation, or closes a window the way a window manager's close button does (the window
// gets WM_DELETE_WINDOW and decides itself what to do).
//   peer_driver listen CHANNEL SECONDS      prints the robot states, energon and leaves it hears
//   peer_driver state CHANNEL UID SEQUENCE X Y Z FACING CLASS
//   peer_driver left CHANNEL UID
//   peer_driver host LOCATE_MS GAME NAME    prints "RESULT host STARTED channel C" at the end
//   peer_driver join LOCATE_MS NAME         prints "RESULT join INDEX channel C" at the end
//   peer_driver close WINDOW_ID             on an X display
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
        std::printf("state uid %u seq %u\n", s.uid, s.sequence);
    else if (DecodeEnergon(buffer, length, &e))
        std::printf("energon id %u\n", e.id);
    else if (DecodeRobotLeft(buffer, length, &l))
        std::printf("left uid %u\n", l.uid);
}

int CloseWindow(Window window) {
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr)
        return 2;
    XEvent event = {};
    XClientMessageEvent& message = event.xclient;
    message.type = ClientMessage;
    message.window = window;
    message.format = 32;
    message.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
    message.data.l[0] = static_cast<long>(XInternAtom(display, "WM_DELETE_WINDOW", False));
    Status sent = XSendEvent(display, window, False, NoEventMask, &event);
    XCloseDisplay(display);
    return sent != 0 ? 0 : 1;
}

} // namespace

int main(int argc, char** argv) {
    std::setvbuf(stdout, nullptr, _IOLBF, 0);
    const std::string command = argc > 2 ? argv[1] : "";
    auto number = [&](int i) { return i < argc ? std::atof(argv[i]) : 0.0; };
    auto uid = [&](int i) { return static_cast<uint32_t>(number(i)); };
    if (command == "close")
        return CloseWindow(std::strtoul(argv[2], nullptr, 0));
    NetStartup();
    if ((command == "host" || command == "join") && argc > 3) {
        gLocateMilliseconds = static_cast<int>(number(2));
        int result = command == "join" ? JoinGame(argv[3]) : HostGame(argv[3], argv[argc - 1]);
        std::printf("\nRESULT %s %d channel %d\n", argv[1], result, currentChannel.load());
        return 0;
    }
    const int channel = static_cast<int>(number(2));
    const auto byte = static_cast<uint8_t>(channel);
    if (netInit(channel) != 0)
        return 1;
    currentChannel = channel;
    uint8_t buffer[MAX_PACKET_SIZE];
    size_t n = 0;
    if (command == "listen") {
        NetSetReceiver(Print, nullptr, channel);
        std::this_thread::sleep_for(std::chrono::duration<double>(number(3)));
        return 0;
    } else if (command == "state") {
        RobotStatePacket s = {
            byte, uid(3), uid(4), number(5), number(6), number(7), static_cast<int16_t>(number(8)),
            0,    0.5,    0,      uid(9)};
        n = EncodeRobotState(&s, buffer);
    } else if (command == "left") {
        RobotLeftPacket l = {byte, uid(3)};
        n = EncodeRobotLeft(&l, buffer);
    }
    return n > 0 && NetSend(buffer, n) == 0 ? 0 : 2;
}
