// sound: the audio output, the decoded effects and the music switch.
//
// Lock order: gSoundLock, then the mci lock (through the CD player), then SDL's audio lock. No
// mixer callback is installed, so SDL's audio thread never waits for gSoundLock.
#include "sound/sound.h"

#include "foundation/datapath.h"
#include "sound/mci.h"

#include <SDL.h>
#include <SDL_mixer.h>
#include <dlfcn.h>

#include <mutex>
#include <unordered_map>

namespace {

struct SoundSystem {
    CDPlayer* cd;
    uint32_t musicOn;
    uint32_t soundOn;
    std::string lastSound; // a copy: names may come from short-lived packet buffers
    int track;             // 0 until a track is asked for
};

constexpr int OUTPUT_FREQUENCY = 44100;
constexpr int OUTPUT_CHANNELS = 2;
constexpr int OUTPUT_BUFFER_SAMPLES = 1024;
constexpr int EFFECT_CHANNEL = 0;

std::mutex gSoundLock;
SoundSystem* gSound = nullptr;
bool gOutputOpen = false;
// Decoded effects by file path; a null entry marks a file that is missing or does not decode, so
// it is not tried again.
std::unordered_map<std::string, Mix_Chunk*> gEffects;

void IgnoreAlsaMessage(const char*, int, const char*, int, const char*, ...) {}

// SDL reaches ALSA through the system's libasound, which prints its complaints about a machine
// without a sound card on the error stream. A missing device is no news to the player, so the
// library is given a handler that drops them (it keeps the handler for the rest of the run).
void QuietenAlsa() {
    using Handler = void (*)(const char*, int, const char*, int, const char*, ...);
    void* library = dlopen("libasound.so.2", RTLD_NOW | RTLD_GLOBAL);
    if (library == nullptr)
        return;
    auto setHandler =
        reinterpret_cast<int (*)(Handler)>(dlsym(library, "snd_lib_error_set_handler"));
    if (setHandler != nullptr)
        setHandler(IgnoreAlsaMessage);
}

void OpenOutput() {
    QuietenAlsa();
    // SDL must leave SIGINT and SIGTERM to the game: nobody here polls for its quit event.
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    if (SDL_InitSubSystem(SDL_INIT_AUDIO | SDL_INIT_TIMER) != 0)
        return;
    if (Mix_OpenAudio(OUTPUT_FREQUENCY, AUDIO_S16SYS, OUTPUT_CHANNELS, OUTPUT_BUFFER_SAMPLES) !=
        0) {
        SDL_QuitSubSystem(SDL_INIT_AUDIO | SDL_INIT_TIMER);
        return;
    }
    Mix_Init(MIX_INIT_OGG);
    Mix_AllocateChannels(1);
    gOutputOpen = true;
}

void CloseOutput() {
    if (!gOutputOpen)
        return;
    MciReleaseAll();
    Mix_HaltChannel(-1);
    for (auto& entry : gEffects) {
        if (entry.second != nullptr)
            Mix_FreeChunk(entry.second);
    }
    gEffects.clear();
    Mix_CloseAudio();
    Mix_Quit();
    SDL_QuitSubSystem(SDL_INIT_AUDIO | SDL_INIT_TIMER);
    gOutputOpen = false;
}

Mix_Chunk* Effect(const char* name) {
    if (!gOutputOpen)
        return nullptr;
    std::string path = DataPath(name);
    auto it = gEffects.find(path);
    if (it == gEffects.end())
        it = gEffects.emplace(path, Mix_LoadWAV(path.c_str())).first;
    return it->second;
}

} // namespace

void InitSound() {
    std::lock_guard<std::mutex> guard(gSoundLock);
    if (gSound != nullptr)
        return;
    OpenOutput();
    for (const char* name : GAME_SOUND_FILES)
        Effect(name);
    gSound = new SoundSystem{NewCDPlayer(), 1, 1, std::string(), 0};
    CDOpen(gSound->cd, 1);
}

void ShutdownSound() {
    std::lock_guard<std::mutex> guard(gSoundLock);
    if (gSound == nullptr)
        return;
    FreeCDPlayer(gSound->cd);
    delete gSound;
    gSound = nullptr;
    CloseOutput();
}

void PlaySoundFile(const char* name) {
    std::lock_guard<std::mutex> guard(gSoundLock);
    if (gSound == nullptr || name == nullptr || name[0] == '\0')
        return;
    gSound->lastSound = name;
    if (gSound->soundOn != 1)
        return;
    if (Mix_Chunk* chunk = Effect(name))
        Mix_PlayChannel(EFFECT_CHANNEL, chunk, 0);
}

void PlayMusicTrack(int track) {
    std::lock_guard<std::mutex> guard(gSoundLock);
    if (gSound == nullptr || track <= 0)
        return;
    gSound->track = track;
    if (gSound->musicOn == 1)
        CDPlayTrack(gSound->cd, track, 1);
}

void StopMusic() {
    std::lock_guard<std::mutex> guard(gSoundLock);
    if (gSound != nullptr)
        CDStop(gSound->cd);
}

void SetMusic(int on) {
    std::lock_guard<std::mutex> guard(gSoundLock);
    if (gSound == nullptr)
        return;
    gSound->musicOn = on != 0;
    if (gSound->musicOn == 0)
        CDStop(gSound->cd);
    else if (gSound->track > 0)
        CDPlayTrack(gSound->cd, gSound->track, 1);
}

int GetMusic() {
    std::lock_guard<std::mutex> guard(gSoundLock);
    return gSound != nullptr ? static_cast<int>(gSound->musicOn) : 0;
}

void SetSoundEffects(int on) {
    std::lock_guard<std::mutex> guard(gSoundLock);
    if (gSound != nullptr)
        gSound->soundOn = on != 0;
}

int GetSoundEffects() {
    std::lock_guard<std::mutex> guard(gSoundLock);
    return gSound != nullptr ? static_cast<int>(gSound->soundOn) : 0;
}

std::string GetLastSound() {
    std::lock_guard<std::mutex> guard(gSoundLock);
    return gSound != nullptr ? gSound->lastSound : std::string();
}

int GetMusicTrack() {
    std::lock_guard<std::mutex> guard(gSoundLock);
    return gSound != nullptr ? gSound->track : 0;
}

const CDPlayer* GetSoundCDPlayer() {
    std::lock_guard<std::mutex> guard(gSoundLock);
    return gSound != nullptr ? gSound->cd : nullptr;
}
