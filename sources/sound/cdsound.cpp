// cdsound: the CD player's commands, each one mci call whose failure is kept in lastError.
#include "sound/cdsound.h"

#include "foundation/assertion.h"
#include "sound/mci.h"

namespace {

uint32_t Keep(CDPlayer* pPlayer, uint32_t result) {
    if (result != 0)
        pPlayer->lastError = result;
    return result;
}

} // namespace

CDPlayer* NewCDPlayer() {
    CDPlayer* pPlayer = new CDPlayer{0, 0, 0};
    CDSetTimeFormat(pPlayer, MCI_FORMAT_TMSF);
    return pPlayer;
}

void FreeCDPlayer(CDPlayer* pPlayer) {
    delete pPlayer;
}

uint32_t CDOpen(CDPlayer* pPlayer, int shareable) {
    VASSERT(pPlayer != nullptr);
    uint32_t id = 0;
    uint32_t result = Keep(pPlayer, MciOpen(MCI_DEVTYPE_CD_AUDIO, shareable, &id));
    if (result == 0)
        pPlayer->deviceId = id;
    return result;
}

uint32_t CDSetTimeFormat(CDPlayer* pPlayer, uint32_t format) {
    VASSERT(pPlayer != nullptr);
    return Keep(pPlayer, MciSetTimeFormat(pPlayer->deviceId, format));
}

uint32_t CDGetTimeFormat(CDPlayer* pPlayer) {
    VASSERT(pPlayer != nullptr);
    uint32_t format = 0;
    Keep(pPlayer, MciStatusTimeFormat(pPlayer->deviceId, &format));
    return format;
}

uint32_t CDTrackLength(CDPlayer* pPlayer, int track) {
    VASSERT(pPlayer != nullptr);
    uint32_t length = 0;
    Keep(pPlayer, MciStatusLength(pPlayer->deviceId, track, &length));
    return length;
}

uint32_t CDPlay(CDPlayer* pPlayer, uint32_t from, uint32_t to, int notify) {
    VASSERT(pPlayer != nullptr);
    (void)notify; // no callback window: nobody to notify
    return Keep(pPlayer, MciPlay(pPlayer->deviceId, from, to));
}

uint32_t CDPlayTrack(CDPlayer* pPlayer, int track, int notify) {
    VASSERT(pPlayer != nullptr);
    uint32_t saved = CDGetTimeFormat(pPlayer);
    if (uint32_t error = CDSetTimeFormat(pPlayer, MCI_FORMAT_TMSF))
        return error;
    uint32_t length = CDTrackLength(pPlayer, track);
    uint32_t from = MCI_MAKE_TMSF(track, 0, 0, 0);
    uint32_t to =
        MCI_MAKE_TMSF(track, MCI_MSF_MINUTE(length), MCI_MSF_SECOND(length), MCI_MSF_FRAME(length));
    if (uint32_t error = CDPlay(pPlayer, from, to, notify))
        return error;
    return CDSetTimeFormat(pPlayer, saved);
}

uint32_t CDStop(CDPlayer* pPlayer) {
    VASSERT(pPlayer != nullptr);
    return Keep(pPlayer, MciStop(pPlayer->deviceId));
}
