// slotcolors: the players' rows and the computer robots' gunmetal.
#include "render/slotcolors.h"

namespace {

constexpr int PLAYER_SLOTS = 4;

// The players' colour and specular rows lie one after another, three floats a row, and GL
// reads four floats from the start of a row: a slot's alpha is the first value of the next
// row, after the last colour row come four zeros and after the last specular row the
// shininess.
constexpr float PLAYER_COLORS[PLAYER_SLOTS * 3 + 4] = {
    0.25f, 0.25f, 0.75f, 0.9f, 0.0f, 0.1f, 1.0f, 1.0f, 1.0f, 0.0f, 0.0f, 0.0f, 0, 0, 0, 0,
};
constexpr float PLAYER_SPECULARS[PLAYER_SLOTS * 3 + 1] = {
    0.6f, 0.6f, 1.0f, 1.0f, 0.6f, 0.6f, 1.0f, 1.0f, 1.0f, 0.4f, 0.4f, 0.4f, ROBOT_SHININESS,
};
constexpr float COMPUTER_COLOR[4] = {0.45f, 0.45f, 0.5f, 1.0f};
constexpr float COMPUTER_SPECULAR[4] = {0.8f, 0.8f, 0.8f, 1.0f};

bool PlayerSlot(int slot) {
    return slot >= 0 && slot < PLAYER_SLOTS;
}

} // namespace

const float* RobotSlotColor(int slot) {
    return PlayerSlot(slot) ? &PLAYER_COLORS[3 * slot] : COMPUTER_COLOR;
}

const float* RobotSlotSpecular(int slot) {
    return PlayerSlot(slot) ? &PLAYER_SPECULARS[3 * slot] : COMPUTER_SPECULAR;
}
