// Dialogs as their owner and the drawing see them: the keys of a list, a refilled list and
// where text goes (the box's frame is seen in the window test of the wandering mode).
#include "support/test_support.h"
#include "ui/dialog.h"

namespace {

constexpr float WHITE[4] = {1, 1, 1, 1};
constexpr int ENTER = 13, DOWN = 103, UP = 101;

// Entries "0", "1", ... and a list of n of them in a box tall enough for rows rows (and 7
// pixels more, not enough for another).
std::vector<DialogItem*> Entries(int n) {
    std::vector<DialogItem*> entries;
    for (int i = 0; i < n; i++)
        entries.push_back(NewDialogItem(std::to_string(i).c_str(), WHITE, 1, nullptr));
    return entries;
}
Dialog* List(int n, int rows) {
    return NewListDialog(0, 0, 200, 11 + 15 * rows, NewDialogItem("", WHITE, 1, nullptr),
                         Entries(n).data(), n, WHITE, WHITE);
}

TEST(DialogKeys, TheSelectionMovesWithinTheListAndScrollsToStayInView) {
    // What, the entries, the keys, then what the last key returned and the selected and first
    // visible rows.
    const std::tuple<const char*, int, std::vector<int>, int, int, int> cases[] = {
        {"Up at the first entry stays, still used", 3, {UP}, 0, 0, 0},
        {"Down at the last entry stays, still used", 3, {DOWN, DOWN, DOWN}, 2, 2, 0},
        {"Enter reports the selection", 3, {DOWN, ENTER}, 1, 1, 0},
        {"a key that is none of the three", 3, {'a'}, -1, 0, 0},
        {"Down past the rows in view scrolls", 10, {DOWN, DOWN, DOWN, DOWN, DOWN}, 5, 5, 3},
        {"Up scrolls back", 10, {DOWN, DOWN, DOWN, DOWN, UP, UP, UP}, 1, 1, 1},
        {"an empty list uses no key", 0, {DOWN, ENTER}, -1, -1, 0},
    };
    for (const auto& [what, entries, keys, returned, selected, firstVisible] : cases) {
        Dialog* d = List(entries, 4);
        int got = 0;
        for (int key : keys)
            got = DialogHandleKey(d, key);
        EXPECT_EQ(std::tie(got, d->selected, d->firstVisible),
                  std::tie(returned, selected, firstVisible))
            << what;
        FreeDialog(d);
    }
}

TEST(DialogKeys, ARefilledListKeepsItsSelectionClampedToItsEnd) {
    const std::tuple<int, int, int> cases[] = {{2, 5, 2}, {4, 2, 1}, {3, 0, -1}, {1, 1, 0}};
    for (const auto& [selected, n, after] : cases) {
        Dialog* d = List(5, 4);
        d->selected = selected;
        std::vector<DialogItem*> entries = Entries(n);
        SetDialogList(d, NewDialogItem("", WHITE, 1, nullptr), entries.data(), n);
        EXPECT_EQ(DialogSelectedItem(d), after < 0 ? nullptr : entries[after]) << selected << n;
        FreeDialog(d);
    }
}

TEST(DialogText, TextWrapsAtTheBoxWidthAndATooNarrowBoxDrawsNothing) {
    // The box's width, the text and its lines.
    const std::tuple<int, const char*, std::vector<std::string>> cases[] = {
        {118, "Received Repair Kit.", {"Received", "Repair", "Kit."}}, // (118 - 18) / 10 = 10
        {48, "abcdefg h", {"abc", "def", "g h"}}, // a word longer than a line is cut
        {28, "ab", {"a", "b"}},                   // just one character a line
        {27, "abc", {}},                          // no room for one character
    };
    for (const auto& [width, text, expected] : cases) {
        Dialog* d = NewTextDialog(100, 50, 100 + width, 90, NewDialogItem(text, WHITE, 1, nullptr),
                                  WHITE, WHITE);
        std::vector<std::string> pieces;
        for (const DialogTextLine& line : DialogTextLines(d)) {
            EXPECT_EQ(std::pair(line.x, line.y), std::pair(109, 70 - 16 * int(pieces.size())));
            pieces.push_back(line.text);
        }
        EXPECT_EQ(pieces, expected) << width;
        FreeDialog(d);
    }
    // A list: an empty title takes the top line, the marker stands at the selected row.
    Dialog* list = List(3, 4);
    DialogHandleKey(list, DOWN);
    std::vector<std::tuple<std::string, int, int>> placed;
    for (const DialogTextLine& line : DialogTextLines(list))
        placed.emplace_back(line.text, line.x, line.y);
    EXPECT_EQ(placed,
              (std::vector<std::tuple<std::string, int, int>>{
                  {"", 5, 71}, {"0", 26, 51}, {"->", 7, 35}, {"1", 26, 35}, {"2", 26, 19}}));
    FreeDialog(list);
}

} // namespace
