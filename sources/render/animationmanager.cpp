// animationmanager: a doubly linked list behind a sentinel, kept in priority order.
#include "render/animationmanager.h"

#include "foundation/assertion.h"
#include "foundation/utilities.h"

#include <cstdlib>

AnimationManager* gAnimationMgr = nullptr;

namespace {

constexpr int SENTINEL_PRIORITY = 10000;

AnimationNode* NewNode(int priority) {
    AnimationNode* node = static_cast<AnimationNode*>(SafeMalloc(sizeof(AnimationNode)));
    *node = AnimationNode{};
    node->priority = priority;
    return node;
}

void Retire(AnimationNode* node) {
    if (node->completion != nullptr) {
        node->completion(node->data);
        if (node->afterCompletion != nullptr)
            node->afterCompletion();
    }
    // The completion may have added nodes around this one; its neighbours are read only now.
    node->previous->next = node->next;
    if (node->next != nullptr)
        node->next->previous = node->previous;
    std::free(node);
}

} // namespace

void InitAnimationManager() {
    if (gAnimationMgr != nullptr)
        return;
    gAnimationMgr = static_cast<AnimationManager*>(SafeMalloc(sizeof(AnimationManager)));
    gAnimationMgr->head = NewNode(SENTINEL_PRIORITY);
}

void FreeAnimationManager() {
    if (gAnimationMgr == nullptr)
        return;
    AnimationNode* node = gAnimationMgr->head;
    while (node != nullptr) {
        AnimationNode* next = node->next;
        std::free(node);
        node = next;
    }
    std::free(gAnimationMgr);
    gAnimationMgr = nullptr;
}

void AddAnimation(void* data, AnimationStep step, AnimationDraw draw,
                  AnimationCompletion completion, AnimationAfterCompletion afterCompletion,
                  int priority) {
    VASSERT(gAnimationMgr != nullptr);
    AnimationNode* node = NewNode(priority);
    node->step = step;
    node->draw = draw;
    node->completion = completion;
    node->afterCompletion = afterCompletion;
    node->data = data;
    AnimationNode* at = gAnimationMgr->head;
    while (at->next != nullptr && at->next->priority >= priority)
        at = at->next;
    node->next = at->next;
    node->previous = at;
    if (at->next != nullptr)
        at->next->previous = node;
    at->next = node;
}

int AdvanceAnimations() {
    if (gAnimationMgr == nullptr)
        return 0;
    int changed = 0;
    AnimationNode* node = gAnimationMgr->head->next;
    while (node != nullptr) {
        AnimationNode* following = node->next;
        int result = node->step(node->data);
        if (result == EAnimationFinished) {
            Retire(node);
            changed = 1;
        } else if (result != EAnimationUnchanged) {
            changed = 1;
        }
        node = following;
    }
    return changed;
}

void DrawAnimations() {
    if (gAnimationMgr == nullptr)
        return;
    for (AnimationNode* node = gAnimationMgr->head->next; node != nullptr; node = node->next) {
        if (node->draw != nullptr)
            node->draw(node->data);
    }
}

int AnimationCount() {
    int count = 0;
    if (gAnimationMgr != nullptr) {
        for (AnimationNode* node = gAnimationMgr->head->next; node != nullptr; node = node->next)
            count++;
    }
    return count;
}
