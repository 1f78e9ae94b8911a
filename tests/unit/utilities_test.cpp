// The foundation the rest stands on: lines read from files, time stamps, the data root, and the
// list, array and hash table that hold the game's records.
#include "foundation/darray.h"
#include "foundation/datapath.h"
#include "foundation/hash.h"
#include "foundation/list.h"
#include "foundation/utilities.h"
#include "support/test_support.h"

#include <ctime>

namespace {

TEST(ReadLine, SkipsBlankLinesAndLeadingBlanksAndCutsLongLinesToTheBuffer) {
    std::string longLine(300, 'a');
    longLine[254] = 'b';
    const std::pair<std::string, std::vector<std::string>> cases[] = {
        {"\n\nname:\n\n   \t\n\t  \"Robbie\"\nlast", {"name:", "\"Robbie\"", "last"}},
        {"one\r\ntwo\r\n", {"one", "two"}},
        {"\n \n\t\n", {}},
        {longLine + "\nnext:\n", {longLine.substr(0, 255), "next:"}},
    };
    for (const auto& [text, expected] : cases) {
        TempFile f(text);
        FILE* file = std::fopen(f.path().c_str(), "r");
        std::vector<std::string> lines;
        char buffer[LINE_BUFFER_SIZE + 1];
        buffer[LINE_BUFFER_SIZE] = 'Z'; // nothing may be written past the buffer
        while (ReadLine(file, buffer) == 1)
            lines.push_back(buffer);
        std::fclose(file);
        EXPECT_EQ(std::pair(lines, buffer[LINE_BUFFER_SIZE]), std::pair(expected, 'Z')) << text;
    }
}

TEST(Time, StampsFollowTheMonotonicClockAndDifferInMilliseconds) {
    TimeStamp start = {10, 900}, end = {11, 100};
    timespec monotonic; // which setting the wall clock does not move
    clock_gettime(CLOCK_MONOTONIC, &monotonic);
    EXPECT_NEAR(double(GetTimeStamp().time), double(monotonic.tv_sec), 1.0);
    EXPECT_EQ(std::pair(ElapsedMilliseconds(&start, &end), ElapsedMilliseconds(&end, &start)),
              std::pair(200, -200));
}

TEST(Files, AFileThatCannotBeOpenedEndsTheProgramWithItsNameAndDataLiesUnderTheRoot) {
    EXPECT_EXIT(SafeFopen("/nonexistent/dir/file.txt", "r"), ::testing::ExitedWithCode(1),
                "Couldn't open file /nonexistent/dir/file.txt: No such file");
    ScopedEnv root("VANTRELL_DATA", "/"); // a root of one character that ends in a slash
    EXPECT_EQ(DataPath("images\\fire3.rgb"), "/images/fire3.rgb");
}

int gFreed;
void CountFree(void*) {
    gFreed++;
}

// The array's elements, ints or (deref) pointers to ints.
std::vector<int> Values(DArray* a, bool deref = false) {
    std::vector<int> out;
    for (int i = 0; i < DArrayLength(a); i++)
        out.push_back(deref ? **static_cast<int**>(DArrayNth(a, i))
                            : *static_cast<int*>(DArrayNth(a, i)));
    return out;
}

// The list after removing its middle, tail and head, walked both ways; an array that grows by
// its first allocation; a hash table that finds the earliest of equal keys, lists by bucket and
// frees each element once.
TEST(List, ContainersKeepTheirLinksOrderAndElements) {
    int v[5] = {1, 2, 3, 4, 5};
    List* list = ListNew();
    for (int& x : v)
        ListAppend(list, &x);
    for (ListNode* node : {list->head->next->next, list->tail, list->head})
        ListRemoveNode(list, node, nullptr);
    std::vector<int> walked; // forwards, then backwards
    for (ListNode* n = list->head; n != nullptr; n = n->next)
        walked.push_back(*static_cast<int*>(n->data));
    for (ListNode* n = list->tail; n != nullptr; n = n->prev)
        walked.push_back(*static_cast<int*>(n->data));
    DArray* a = DArrayNew(sizeof(int), 1);
    for (int x : {1, 2, 3, 4})
        DArrayAppend(a, &x);
    int nine = 9;
    DArrayInsertAt(a, &nine, 0); // full: grows by its first allocation, then shifts everything up
    DArrayDeleteAt(a, 2);
    EXPECT_EQ(std::tuple(walked, Values(a), a->allocatedLength),
              std::tuple(std::vector{2, 4, 4, 2}, std::vector{9, 1, 3, 4}, 5));
    DArrayFree(a);
    gFreed = 0;
    ListFree(list, CountFree);

    HashTable* t =
        HashTableNew([](const void* p) { return *static_cast<const int*>(p) % 7; },
                     [](const void* a, const void* b) {
                         return *static_cast<const int*>(a) - *static_cast<const int*>(b);
                     },
                     CountFree, 7);
    int e[4] = {3, 10, 7, 3}; // its own key; 3 and 10 share bucket 3, 7 is in bucket 0
    for (int& x : e)
        HashTableInsert(t, &x);
    auto find = [&](int key) { return HashTableLookup(t, &key); };
    std::vector<void*> found = {find(3), find(10), find(17)};
    for (int key : {17, 3}) // an absent key removes nothing
        HashTableRemove(t, &key);
    found.push_back(find(3));
    EXPECT_EQ(std::pair(found, gFreed),
              std::pair(std::vector<void*>{&e[0], &e[1], nullptr, &e[3]}, 3));
    DArray* array = HashTableToArray(t, 1);
    EXPECT_EQ(Values(array, true), (std::vector{7, 10, 3}));
    DArrayFree(array);
    HashTableFree(t);
    EXPECT_EQ(gFreed, 6);
}

} // namespace
