// Runs one lobby operation over real multicast and prints its outcome, for the lobby tests.
//   lobby_driver LOCATE_MS host GAME NAME
//   lobby_driver LOCATE_MS join NAME
#include "net/lobby.h"
#include "net/network.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

int main(int argc, char** argv) {
    std::setvbuf(stdout, nullptr, _IOLBF, 0);
    if (argc < 4) {
        std::fprintf(stderr, "usage: lobby_driver LOCATE_MS host GAME NAME | join NAME\n");
        return 2;
    }
    gLocateMilliseconds = std::atoi(argv[1]);
    NetStartup();
    if (std::strcmp(argv[2], "host") == 0 && argc >= 5) {
        int started = HostGame(argv[3], argv[4]);
        std::printf("\nRESULT host %d channel %d\n", started, currentChannel.load());
        return 0;
    }
    int index = JoinGame(argv[3]);
    std::printf("\nRESULT join %d channel %d\n", index, currentChannel.load());
    return 0;
}
