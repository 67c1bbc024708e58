// The game's list: removal and appending while iterating, absent records, reused links.
#include <gtest/gtest.h>

#include <vector>

#include "game/tlist.h"

namespace {
struct Rec {
    int id;
};
std::vector<int> Ids(TList<Rec>& list) {
    std::vector<int> out;
    for (Rec& r : list) out.push_back(r.id);
    return out;
}
}  // namespace

TEST(TList, IterationSurvivesRemovingTheVisitedRecordAndAppending) {
    TList<Rec> list;
    for (int i = 1; i <= 4; ++i) ListAddLast(list).id = i;
    std::vector<int> visited;
    for (Rec& r : list) {
        visited.push_back(r.id);
        if (r.id % 2 == 1 && r.id < 10) {
            const int id = r.id;
            ListRemove(list, r);             // its link is the one the append reuses
            ListAddLast(list).id = id + 10;  // and the new record still comes last
        }
    }
    EXPECT_EQ(visited, (std::vector<int>{1, 2, 3, 4, 11, 13}));
    EXPECT_EQ(Ids(list), (std::vector<int>{2, 4, 11, 13}));

    Rec stranger{2};   // equal contents, but not a record of this list
    ListRemove(list, stranger);
    Rec& first = *list.begin();
    ListRemove(list, first);
    ListRemove(list, first);   // already gone: nothing happens
    EXPECT_EQ(Ids(list), (std::vector<int>{4, 11, 13}));
    EXPECT_EQ(ListAddLast(list).id, 0);   // a reused link comes back zeroed
    EXPECT_EQ(list.Count(), 4);
}
