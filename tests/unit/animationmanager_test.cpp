// The animation manager: the order in which animations step and draw, what a tick reports, and
// retiring (completions, also ones that add animations).
#include "render/animationmanager.h"
#include "support/test_support.h"

namespace {

std::string gLog;

// A scripted animation: its step returns the script's results in turn, then 2. Its completion
// may add another animation.
struct Scripted {
    std::string name;
    std::vector<int> results;
    Scripted* adds = nullptr;
    int addedPriority = 0;
    size_t next = 0;
};

int Step(void* data) {
    auto* a = static_cast<Scripted*>(data);
    gLog += "step " + a->name + ", ";
    return a->next < a->results.size() ? a->results[a->next++] : EAnimationFinished;
}
const AnimationDraw Draw = [](void* a) {
    gLog += "draw " + static_cast<Scripted*>(a)->name + ", ";
};
const AnimationAfterCompletion After = [] { gLog += "after, "; };
void Done(void* data) {
    auto* a = static_cast<Scripted*>(data);
    gLog += "done " + a->name + ", ";
    if (a->adds != nullptr)
        AddAnimation(a->adds, Step, Draw, Done, nullptr, a->addedPriority);
}

TEST(AnimationManager, StepsAndDrawsByPriorityThenOrderOfAddition) {
    InitAnimationManager();
    gLog.clear();
    Scripted a{"a10", {1}}, b{"b10", {0}}, c{"c10", {0}}, d{"d20", {0}}, e{"e5", {0}};
    EXPECT_EQ(AdvanceAnimations(), 0); // nothing running
    DrawAnimations();
    // c is drawn by nothing, as in a process without a window.
    for (auto [s, priority] : {std::pair{&a, 10}, {&b, 10}, {&c, 10}, {&d, 20}, {&e, 5}})
        AddAnimation(s, Step, s == &c ? nullptr : Draw, Done, nullptr, priority);
    DrawAnimations();
    EXPECT_EQ(AdvanceAnimations(), 1); // a's 1 alone asks for a redraw
    EXPECT_EQ(AdvanceAnimations(), 1); // every script has ended: all retire
    EXPECT_EQ(gLog, "draw d20, draw a10, draw b10, draw e5, "
                    "step d20, step a10, step b10, step c10, step e5, "
                    "step d20, done d20, step a10, done a10, step b10, done b10, "
                    "step c10, done c10, step e5, done e5, ");
    EXPECT_EQ(AnimationCount(), 0);
    FreeAnimationManager();
}

TEST(AnimationManager, RetiringRunsTheCompletionWhichMayAddAnimations) {
    const std::pair<int, const char*> cases[] = {
        // Ahead of the node that followed the retiring one: stepped from the next tick on.
        {10, "step first, done first, after, step later, draw added, draw later, step added, "
             "step later, "},
        // Behind it: stepped in the same pass.
        {1, "step first, done first, after, step later, step added, draw later, draw added, "
            "step later, step added, "},
    };
    for (const auto& [addedPriority, log] :
         cases) { // of the animation the first one's completion adds
        InitAnimationManager();
        gLog.clear();
        Scripted added{"added", {0, 0}}, later{"later", {0, 0}};
        Scripted first{"first", {}, &added, addedPriority};
        AddAnimation(&first, Step, Draw, Done, After, 10); // finishes on its first step
        AddAnimation(&later, Step, Draw, nullptr, nullptr, 5);
        EXPECT_EQ(AdvanceAnimations(), 1);
        DrawAnimations(); // the finished one is drawn no more
        AdvanceAnimations();
        EXPECT_EQ(gLog, log) << addedPriority;
        FreeAnimationManager();
    }
}

} // namespace
