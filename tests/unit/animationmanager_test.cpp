// The animation manager: the order in which animations step and draw, what a tick reports, and
// retiring (completions, also ones that add animations).
#include "render/animationmanager.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::string gLog;

// A scripted animation: its step returns the script's results in turn, then 2. Its completion
// may add another animation.
struct Scripted {
    std::string name;
    std::vector<int> results;
    Scripted* adds = nullptr;
    int addedPriority = 0;
};

int Step(void* data) {
    auto* a = static_cast<Scripted*>(data);
    gLog += "step " + a->name + ", ";
    int result = a->results.empty() ? EAnimationFinished : a->results.front();
    if (!a->results.empty())
        a->results.erase(a->results.begin());
    return result;
}
void Draw(void* data) {
    gLog += "draw " + static_cast<Scripted*>(data)->name + ", ";
}
void Done(void* data) {
    auto* a = static_cast<Scripted*>(data);
    gLog += "done " + a->name + ", ";
    if (a->adds != nullptr)
        AddAnimation(a->adds, Step, Draw, Done, nullptr, a->addedPriority);
}
void After() {
    gLog += "after, ";
}

class AnimationManagerTest : public ::testing::Test {
  protected:
    void SetUp() override {
        InitAnimationManager();
        gLog.clear();
    }
    void TearDown() override { FreeAnimationManager(); }
};

TEST_F(AnimationManagerTest, StepsAndDrawsByPriorityThenOrderOfAddition) {
    Scripted a{"a10", {1}}, b{"b10", {0}}, c{"c10", {0}}, d{"d20", {0}}, e{"e5", {0}};
    EXPECT_EQ(AdvanceAnimations(), 0); // nothing running
    DrawAnimations();
    AddAnimation(&a, Step, Draw, Done, nullptr, 10);
    AddAnimation(&b, Step, Draw, Done, nullptr, 10);
    AddAnimation(&c, Step, nullptr, Done, nullptr, 10); // as in a process without a window
    AddAnimation(&d, Step, Draw, Done, nullptr, 20);
    AddAnimation(&e, Step, Draw, Done, nullptr, 5);
    DrawAnimations();
    EXPECT_EQ(AdvanceAnimations(), 1); // a's 1 alone asks for a redraw
    EXPECT_EQ(AdvanceAnimations(), 1); // every script has ended: all retire
    EXPECT_EQ(gLog, "draw d20, draw a10, draw b10, draw e5, "
                    "step d20, step a10, step b10, step c10, step e5, "
                    "step d20, done d20, step a10, done a10, step b10, done b10, "
                    "step c10, done c10, step e5, done e5, ");
    EXPECT_EQ(AnimationCount(), 0);
}

TEST_F(AnimationManagerTest, RetiringRunsTheCompletionWhichMayAddAnimations) {
    const struct {
        int addedPriority; // of the animation the first one's completion adds
        const char* log;
    } cases[] = {
        // Ahead of the node that followed the retiring one: stepped from the next tick on.
        {10, "step first, done first, after, step later, draw added, draw later, step added, "
             "step later, "},
        // Behind it: stepped in the same pass.
        {1, "step first, done first, after, step later, step added, draw later, draw added, "
            "step later, step added, "},
    };
    for (const auto& c : cases) {
        gLog.clear();
        Scripted added{"added", {0, 0}}, later{"later", {0, 0}};
        Scripted first{"first", {}, &added, c.addedPriority};
        AddAnimation(&first, Step, Draw, Done, After, 10); // finishes on its first step
        AddAnimation(&later, Step, Draw, nullptr, nullptr, 5);
        EXPECT_EQ(AdvanceAnimations(), 1);
        DrawAnimations(); // the finished one is drawn no more
        AdvanceAnimations();
        EXPECT_EQ(gLog, c.log) << c.addedPriority;
        while (AnimationCount() > 0)
            AdvanceAnimations();
    }
}

} // namespace
