// mci: devices, time formats and the track stream on SDL2_mixer's music.
//
// Lock order: gMciLock, then SDL's audio lock (taken inside the Mix_ calls). The only callback is
// the timer that ends a play at its `to` position; it runs on SDL's timer thread and takes
// gMciLock itself. No mixer hook is installed, so SDL's audio thread never waits for this module.
#include "sound/mci.h"

#include "foundation/datapath.h"

#include <SDL.h>
#include <SDL_mixer.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <map>
#include <mutex>
#include <system_error>

namespace {

struct Device {
    uint32_t format;
    bool shareable;
};

struct LoadedTrack {
    Mix_Music* music;
    uint32_t frames; // the whole track, in 1/75 s
};

std::mutex gMciLock;
std::map<uint32_t, Device> gDevices;
uint32_t gNextDeviceId = 1;
std::map<int, LoadedTrack> gTracks;
int gLastTrack = 1;
// Bumped by every play and stop, so that an end timer of an earlier play does nothing.
uint32_t gGeneration = 0;
SDL_TimerID gEndTimer = 0;

bool AudioOutputOpen() {
    return Mix_QuerySpec(NULL, NULL, NULL) != 0;
}

// Runs a command on an open device under the lock; an unknown id is refused.
template <typename Command> uint32_t WithDevice(uint32_t deviceId, Command command) {
    std::lock_guard<std::mutex> guard(gMciLock);
    auto it = gDevices.find(deviceId);
    if (it == gDevices.end())
        return MCIERR_INVALID_DEVICE_ID;
    return command(it->second);
}

uint32_t FramesToMsf(uint32_t frames) {
    uint32_t seconds = frames / MCI_FRAMES_PER_SECOND;
    return MCI_MAKE_MSF(seconds / 60, seconds % 60, frames % MCI_FRAMES_PER_SECOND);
}

uint32_t FramesToTmsf(int track, uint32_t frames) {
    uint32_t msf = FramesToMsf(frames);
    return MCI_MAKE_TMSF(track, MCI_MSF_MINUTE(msf), MCI_MSF_SECOND(msf), MCI_MSF_FRAME(msf));
}

// The offset of a TMSF position inside its track, or false for seconds or frames out of range.
bool TmsfToFrames(uint32_t position, uint32_t* frames) {
    uint32_t seconds = MCI_TMSF_SECOND(position), frame = MCI_TMSF_FRAME(position);
    if (seconds >= 60 || frame >= MCI_FRAMES_PER_SECOND)
        return false;
    *frames = (MCI_TMSF_MINUTE(position) * 60 + seconds) * MCI_FRAMES_PER_SECOND + frame;
    return true;
}

uint32_t LoadTrack(int track, const LoadedTrack** out) {
    if (track < 1 || track > MCI_LAST_TRACK)
        return MCIERR_OUTOFRANGE;
    auto it = gTracks.find(track);
    if (it == gTracks.end()) {
        char name[32];
        std::snprintf(name, sizeof name, "music\\track%02d.ogg", track);
        std::string path = DataPath(name);
        std::error_code ec;
        if (!std::filesystem::is_regular_file(path, ec))
            return MCIERR_OUTOFRANGE;
        Mix_Music* music = Mix_LoadMUS(path.c_str());
        if (music == NULL)
            return MCIERR_INVALID_FILE;
        double seconds = Mix_MusicDuration(music);
        if (!(seconds > 0)) {
            Mix_FreeMusic(music);
            return MCIERR_INVALID_FILE;
        }
        auto frames = static_cast<uint32_t>(std::floor(seconds * MCI_FRAMES_PER_SECOND));
        it = gTracks.emplace(track, LoadedTrack{music, frames}).first;
    }
    *out = &it->second;
    return 0;
}

void StopStream() {
    gGeneration++;
    if (gEndTimer != 0) {
        SDL_RemoveTimer(gEndTimer);
        gEndTimer = 0;
    }
    Mix_HaltMusic();
}

Uint32 EndOfPlay(Uint32, void* param) {
    std::lock_guard<std::mutex> guard(gMciLock);
    if (static_cast<uint32_t>(reinterpret_cast<uintptr_t>(param)) == gGeneration) {
        gEndTimer = 0;
        StopStream();
    }
    return 0;
}

void ReleaseStream() {
    StopStream();
    for (auto& entry : gTracks)
        Mix_FreeMusic(entry.second.music);
    gTracks.clear();
    gLastTrack = 1;
}

} // namespace

uint32_t MciOpen(uint32_t deviceType, int shareable, uint32_t* pDeviceId) {
    std::lock_guard<std::mutex> guard(gMciLock);
    if (deviceType != MCI_DEVTYPE_CD_AUDIO)
        return MCIERR_UNRECOGNIZED_DEVICE;
    if (!AudioOutputOpen())
        return MCIERR_HARDWARE;
    for (const auto& entry : gDevices) {
        if (!shareable || !entry.second.shareable)
            return MCIERR_MUST_USE_SHAREABLE;
    }
    uint32_t id = gNextDeviceId++;
    gDevices[id] = Device{MCI_FORMAT_MSF, shareable != 0};
    *pDeviceId = id;
    return 0;
}

uint32_t MciClose(uint32_t deviceId) {
    std::lock_guard<std::mutex> guard(gMciLock);
    if (gDevices.erase(deviceId) == 0)
        return MCIERR_INVALID_DEVICE_ID;
    if (gDevices.empty())
        ReleaseStream();
    return 0;
}

uint32_t MciSetTimeFormat(uint32_t deviceId, uint32_t format) {
    return WithDevice(deviceId, [&](Device& device) {
        if (format != MCI_FORMAT_MILLISECONDS && format != MCI_FORMAT_MSF &&
            format != MCI_FORMAT_TMSF)
            return MCIERR_BAD_TIME_FORMAT;
        device.format = format;
        return 0u;
    });
}

uint32_t MciStatusTimeFormat(uint32_t deviceId, uint32_t* pFormat) {
    return WithDevice(deviceId, [&](Device& device) {
        *pFormat = device.format;
        return 0u;
    });
}

uint32_t MciStatusLength(uint32_t deviceId, int track, uint32_t* pLength) {
    return WithDevice(deviceId, [&](Device& device) {
        const LoadedTrack* loaded;
        if (uint32_t error = LoadTrack(track, &loaded))
            return error;
        if (device.format == MCI_FORMAT_MILLISECONDS)
            *pLength = loaded->frames * 1000 / MCI_FRAMES_PER_SECOND;
        else
            *pLength = FramesToMsf(loaded->frames);
        return 0u;
    });
}

uint32_t MciStatusPosition(uint32_t deviceId, uint32_t* pPosition) {
    return WithDevice(deviceId, [&](Device& device) {
        if (device.format != MCI_FORMAT_TMSF)
            return MCIERR_BAD_TIME_FORMAT;
        uint32_t frames = 0;
        auto it = gTracks.find(gLastTrack);
        if (Mix_PlayingMusic() && it != gTracks.end()) {
            double seconds = Mix_GetMusicPosition(it->second.music);
            if (seconds > 0)
                frames = static_cast<uint32_t>(seconds * MCI_FRAMES_PER_SECOND);
        }
        *pPosition = FramesToTmsf(gLastTrack, frames);
        return 0u;
    });
}

uint32_t MciStatusMode(uint32_t deviceId, uint32_t* pMode) {
    return WithDevice(deviceId, [&](Device&) {
        *pMode = Mix_PlayingMusic() ? MCI_MODE_PLAY : MCI_MODE_STOP;
        return 0u;
    });
}

uint32_t MciPlay(uint32_t deviceId, uint32_t from, uint32_t to) {
    return WithDevice(deviceId, [&](Device& device) {
        if (device.format != MCI_FORMAT_TMSF)
            return MCIERR_BAD_TIME_FORMAT;
        int track = static_cast<int>(MCI_TMSF_TRACK(from));
        if (MCI_TMSF_TRACK(to) != MCI_TMSF_TRACK(from))
            return MCIERR_OUTOFRANGE;
        const LoadedTrack* loaded;
        if (uint32_t error = LoadTrack(track, &loaded))
            return error;
        uint32_t start, end;
        if (!TmsfToFrames(from, &start) || !TmsfToFrames(to, &end) || start >= loaded->frames ||
            end <= start)
            return MCIERR_OUTOFRANGE;
        StopStream();
        if (Mix_FadeInMusicPos(loaded->music, 0, 0, double(start) / MCI_FRAMES_PER_SECOND) != 0)
            return MCIERR_INVALID_FILE;
        gLastTrack = track;
        if (end < loaded->frames) {
            Uint32 ms = (end - start) * 1000 / MCI_FRAMES_PER_SECOND;
            gEndTimer =
                SDL_AddTimer(ms, EndOfPlay, reinterpret_cast<void*>(uintptr_t{gGeneration}));
        }
        return 0u;
    });
}

uint32_t MciStop(uint32_t deviceId) {
    return WithDevice(deviceId, [&](Device&) {
        StopStream();
        return 0u;
    });
}

void MciReleaseAll() {
    std::lock_guard<std::mutex> guard(gMciLock);
    gDevices.clear();
    ReleaseStream();
}
