#include "box/node_pool.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <set>
#include <thread>
#include <vector>

namespace tallyfold {
namespace {

TEST(NodePool, SlotsAreDistinctAlignedAndWritable) {
    NodePool pool(144);
    EXPECT_EQ(pool.SlotSize() % alignof(std::max_align_t), 0u);
    std::set<void*> seen;
    std::vector<void*> slots;
    // More than one slab's worth.
    for (int i = 0; i < 30000; ++i) {
        void* slot = pool.Allocate();
        ASSERT_EQ(reinterpret_cast<std::uintptr_t>(slot) % alignof(std::max_align_t), 0u);
        std::memset(slot, i & 0xFF, 144);
        EXPECT_TRUE(seen.insert(slot).second);
        slots.push_back(slot);
    }
    EXPECT_EQ(pool.InUse(), 30000u);
    // Slots do not overlap: every one still holds what was written into it.
    for (std::size_t i = 0; i < slots.size(); ++i) {
        const auto* bytes = static_cast<const unsigned char*>(slots[i]);
        ASSERT_EQ(bytes[0], i & 0xFF);
        ASSERT_EQ(bytes[143], i & 0xFF);
    }
    for (void* slot : slots) {
        pool.Free(slot);
    }
    EXPECT_EQ(pool.InUse(), 0u);
}

TEST(NodePool, EmptySlabsAreFilledAgainInOrder) {
    if (!NodePool::UsesSlabs()) {
        GTEST_SKIP() << "under AddressSanitizer every slot is a separate allocation";
    }
    NodePool pool(1024);
    std::vector<void*> slots;
    for (int i = 0; i < 20000; ++i) {  // about ten slabs
        slots.push_back(pool.Allocate());
    }
    const std::size_t held = pool.Slabs();
    for (void* slot : slots) {
        pool.Free(slot);
    }
    EXPECT_EQ(pool.InUse(), 0u);
    // Filling again uses the same slabs, slot after slot, and no new ones.
    std::vector<char*> again;
    for (int i = 0; i < 20000; ++i) {
        again.push_back(static_cast<char*>(pool.Allocate()));
    }
    EXPECT_EQ(pool.Slabs(), held);
    EXPECT_EQ(again[1] - again[0], static_cast<std::ptrdiff_t>(pool.SlotSize()));
    for (char* slot : again) {
        pool.Free(slot);
    }
}

TEST(NodePool, FreedSlotsAreCountedBack) {
    NodePool pool(64);
    void* first = pool.Allocate();
    void* second = pool.Allocate();
    pool.Free(first);
    pool.Free(nullptr);
    void* again = pool.Allocate();
    EXPECT_EQ(pool.InUse(), 2u);
    pool.Free(again);
    pool.Free(second);
    EXPECT_EQ(pool.InUse(), 0u);
}

TEST(NodePool, ALaneIsFilledOnAnotherThreadAndFreedIntoThePool) {
    NodePool pool(144);
    NodePool::Lane lane = pool.TakeLane(20000);
    std::vector<void*> mine;
    std::vector<void*> theirs;
    // Beyond what the lane was given, it makes slabs of its own.
    std::thread other([&] {
        const NodePool::Lane::Use use(lane);
        for (int i = 0; i < 25000; ++i) {
            theirs.push_back(pool.Allocate());
            std::memset(theirs.back(), 1, 144);
        }
    });
    for (int i = 0; i < 20000; ++i) {
        mine.push_back(pool.Allocate());
        std::memset(mine.back(), 2, 144);
    }
    other.join();
    pool.Return(std::move(lane));
    EXPECT_EQ(pool.InUse(), 45000u);
    std::set<void*> distinct(mine.begin(), mine.end());
    distinct.insert(theirs.begin(), theirs.end());
    EXPECT_EQ(distinct.size(), 45000u);
    for (void* slot : theirs) {
        ASSERT_EQ(*static_cast<unsigned char*>(slot), 1);
    }
    // After the lane is back, this thread allocates from the pool again.
    void* after = pool.Allocate();
    EXPECT_EQ(distinct.count(after), 0u);
    pool.Free(after);
    for (void* slot : mine) {
        pool.Free(slot);
    }
    for (void* slot : theirs) {
        pool.Free(slot);
    }
    EXPECT_EQ(pool.InUse(), 0u);
    // Every slab is spare again and serves the next cards.
    const std::size_t held = pool.Slabs();
    std::vector<void*> again;
    for (int i = 0; i < 45000; ++i) {
        again.push_back(pool.Allocate());
    }
    if (NodePool::UsesSlabs()) {
        EXPECT_EQ(pool.Slabs(), held);
    }
    for (void* slot : again) {
        pool.Free(slot);
    }
}

}  // namespace
}  // namespace tallyfold
