// SPDX-License-Identifier: GPL-3.0-or-later
// MatchList keeps order and keeps references to elements valid while others
// come and go.

#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "match_list.h"

using namespace vorlo;

namespace {

TEST(MatchList, AppendKeepsOrderBothWays) {
    MatchList list;
    for (int i = 0; i < 200; ++i) {
        list.Append(CMatch(i, -i, i * 3));
    }
    int expected = 0;
    for (const CMatch& m : list) {
        EXPECT_EQ(m.x, expected++);
    }
    expected = 199;
    for (auto it = list.rbegin(); it != list.rend(); ++it) {
        EXPECT_EQ(it->x, expected--);
    }
    EXPECT_EQ(list.First()->x, 0);
    EXPECT_EQ(list.Last()->x, 199);
    EXPECT_EQ(list.Count(), 200u);
}

TEST(MatchList, ReferencesSurviveOtherRemovalsAndAppends) {
    MatchList list;
    std::vector<MatchList::Ref> refs;
    for (int i = 0; i < 1000; ++i) {
        refs.push_back(list.Append(CMatch(i, 0, 0)));
    }
    const MatchList::Ref kept = refs[501];
    for (int i = 0; i < 1000; i += 2) {
        list.Remove(refs[i]);
    }
    for (int i = 0; i < 5000; ++i) {
        list.Append(CMatch(-1, 0, 0));  // reuses removed places
    }
    EXPECT_EQ(kept->x, 501);
    EXPECT_TRUE(list.Contains(kept));
    EXPECT_EQ(list.Count(), 500u + 5000u);
}

TEST(MatchList, RemovingEndsUpdatesFirstAndLast) {
    MatchList list;
    const auto a = list.Append(CMatch(1, 0, 0));
    const auto b = list.Append(CMatch(2, 0, 0));
    const auto c = list.Append(CMatch(3, 0, 0));
    list.Remove(c);
    EXPECT_EQ(list.Last(), b);
    list.Remove(a);
    EXPECT_EQ(list.First(), b);
    EXPECT_EQ(list.Last(), b);
    EXPECT_FALSE(list.First().Previous());
    list.Remove(b);
    EXPECT_TRUE(list.IsEmpty());
    EXPECT_FALSE(list.First());
    EXPECT_FALSE(list.Last());
    list.Remove(MatchList::Ref());  // removing none is harmless
}

TEST(MatchList, BehavesLikeAVectorUnderRandomEdits) {
    std::mt19937 rng(7);
    MatchList list;
    std::vector<std::pair<MatchList::Ref, CMatch>> model;
    for (int step = 0; step < 20000; ++step) {
        if (model.empty() || rng() % 3 != 0) {
            const CMatch m(static_cast<int32_t>(rng()), step, 0);
            model.emplace_back(list.Append(m), m);
        } else {
            const size_t i = rng() % model.size();
            list.Remove(model[i].first);
            model.erase(model.begin() + static_cast<long>(i));
        }
        if (step % 1000 == 0) {
            MatchList copy = list;
            ASSERT_EQ(copy, list);
            MatchList moved = std::move(copy);
            ASSERT_EQ(moved, list);
        }
    }
    ASSERT_EQ(list.Count(), model.size());
    size_t i = 0;
    for (const CMatch& m : list) {
        ASSERT_EQ(m, model[i].second);
        ASSERT_EQ(&*model[i].first, &m);
        ++i;
    }
}

}  // namespace
