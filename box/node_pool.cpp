#include "box/node_pool.h"

#include <sys/mman.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <new>

namespace tallyfold {

namespace {

// The lane this thread allocates from, if any.
thread_local NodePool::Lane* activeLane = nullptr;

// Slabs are aligned to their size, so a slot's slab is found by masking its address.
constexpr std::size_t kSlabSize = 2 * 1024 * 1024;

constexpr bool UnderAddressSanitizer() {
#if defined(__SANITIZE_ADDRESS__)
    return true;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
    return true;
#else
    return false;
#endif
#else
    return false;
#endif
}

std::size_t Aligned(std::size_t size) {
    constexpr std::size_t alignment = alignof(std::max_align_t);
    return (size + alignment - 1) / alignment * alignment;
}

}  // namespace

bool NodePool::UsesSlabs() {
    return !UnderAddressSanitizer();
}

struct NodePool::Slab {
    std::size_t live;
};

NodePool::NodePool(std::size_t slotSize) : slotSize_(Aligned(std::max<std::size_t>(slotSize, 1))) {}

NodePool::~NodePool() {
    for (Slab* slab : slabs_) {
        std::free(slab);
    }
}

void* NodePool::MapSlab() {
    void* memory = std::aligned_alloc(kSlabSize, kSlabSize);
    if (memory == nullptr) {
        std::abort();  // out of memory: nothing can hold the card
    }
    // The slab will be filled whole, so it is asked for as one huge page. On a virtual machine
    // the first touch of every 4 KiB page of fresh memory is a trip to the host: a million
    // cards in small pages cost 0.2 s more in a fresh process than in one that reuses its
    // memory. A hint only; where it is unknown, pages are small as before.
#if defined(MADV_HUGEPAGE)
    static_cast<void>(::madvise(memory, kSlabSize, MADV_HUGEPAGE));
#endif
    return memory;
}

// One request makes the slab's pages, where the first touch of each would fault on its own.
// Pages already made are left as they are, so this may run while the slab is being filled.
void NodePool::MakePages(void* slab) {
#if defined(MADV_POPULATE_WRITE)
    static_cast<void>(::madvise(slab, kSlabSize, MADV_POPULATE_WRITE));
#else
    static_cast<void>(slab);
#endif
}

NodePool::Slab* NodePool::NewSlab() {
    if (!empty_.empty()) {
        // A reserved slab is untouched until now (its pages may still be in the making).
        Slab* slab = new (empty_.back()) Slab{0};
        empty_.pop_back();
        return slab;
    }
    void* memory = MapSlab();
    MakePages(memory);
    Slab* slab = new (memory) Slab{0};
    slabs_.push_back(slab);
    return slab;
}

std::size_t NodePool::SlotsPerSlab() const {
    return (kSlabSize - Aligned(sizeof(Slab))) / slotSize_;
}

NodePool::Prefault NodePool::Reserve(std::size_t slots) {
    if (UnderAddressSanitizer()) {
        return {};
    }
    const std::size_t perSlab = SlotsPerSlab();
    const std::size_t left =
        current_ == nullptr ? 0 : static_cast<std::size_t>(end_ - next_) / slotSize_;
    const std::size_t have = left + empty_.size() * perSlab;
    if (slots <= have) {
        return {};
    }
    const std::size_t count = (slots - have + perSlab - 1) / perSlab;
    // `NewSlab` takes spare slabs from the back, a lane from the front: the new ones go in
    // below the spare ones, in reverse, and their pages are made from both ends inwards, in
    // the order the two fill them.
    std::vector<Slab*> fresh(count);
    for (Slab*& slab : fresh) {
        slab = static_cast<Slab*>(MapSlab());
        slabs_.push_back(slab);
    }
    empty_.insert(empty_.begin(), fresh.rbegin(), fresh.rend());
    return Prefault(std::thread([fresh = std::move(fresh)] {
        for (std::size_t low = 0, high = fresh.size(); low < high; ++low) {
            MakePages(fresh[low]);
            if (--high > low) {
                MakePages(fresh[high]);
            }
        }
    }));
}

NodePool::Lane NodePool::TakeLane(std::size_t slots) {
    Lane lane;
    if (UnderAddressSanitizer()) {
        return lane;
    }
    const std::size_t perSlab = SlotsPerSlab();
    std::size_t count = (slots + perSlab - 1) / perSlab;
    while (count-- > 0) {
        if (!empty_.empty()) {
            lane.slabs_.push_back(empty_.front());
            empty_.erase(empty_.begin());
        } else {
            Slab* slab = static_cast<Slab*>(MapSlab());
            MakePages(slab);
            slabs_.push_back(slab);
            lane.slabs_.push_back(slab);
        }
    }
    return lane;
}

void NodePool::Return(Lane&& lane) {
    inUse_ += lane.used_;
    slabs_.insert(slabs_.end(), lane.made_.begin(), lane.made_.end());
    // The slab being filled goes on as this thread's own: a slab half full is never spare.
    const std::size_t started = lane.next_ == nullptr ? 0 : lane.filling_ + 1;
    for (std::size_t i = started; i < lane.slabs_.size(); ++i) {
        empty_.insert(empty_.begin(), lane.slabs_[i]);
    }
    if (started > 0) {
        Slab* last = lane.slabs_[started - 1];
        if (last->live == 0) {
            Release(last);
        }
    }
    lane = Lane();
}

NodePool::Lane::Use::Use(Lane& lane) : before_(activeLane) {
    activeLane = &lane;
}

NodePool::Lane::Use::~Use() {
    activeLane = before_;
}

void* NodePool::AllocateFrom(Lane& lane) {
    ++lane.used_;
    if (UnderAddressSanitizer()) {
        return ::operator new(slotSize_);
    }
    if (lane.next_ == nullptr || lane.next_ + slotSize_ > lane.end_) {
        Slab* slab = nullptr;
        if (lane.next_ != nullptr) {
            ++lane.filling_;
        }
        if (lane.filling_ < lane.slabs_.size()) {
            slab = new (lane.slabs_[lane.filling_]) Slab{0};
        } else {
            // More slots than the lane was taken for: a slab of its own, counted at `Return`.
            slab = static_cast<Slab*>(MapSlab());
            MakePages(slab);
            new (slab) Slab{0};
            lane.slabs_.push_back(slab);
            lane.made_.push_back(slab);
            lane.filling_ = lane.slabs_.size() - 1;
        }
        lane.next_ = reinterpret_cast<char*>(slab) + Aligned(sizeof(Slab));
        lane.end_ = reinterpret_cast<char*>(slab) + kSlabSize;
    }
    void* slot = lane.next_;
    lane.next_ += slotSize_;
    ++reinterpret_cast<Slab*>(reinterpret_cast<std::uintptr_t>(slot) & ~(kSlabSize - 1))->live;
    return slot;
}

NodePool::Prefault::~Prefault() {
    if (thread_.joinable()) {
        thread_.join();
    }
}

void NodePool::StartFilling(Slab* slab) {
    current_ = slab;
    next_ = reinterpret_cast<char*>(slab) + Aligned(sizeof(Slab));
    end_ = reinterpret_cast<char*>(slab) + kSlabSize;
}

void* NodePool::Allocate() {
    if (activeLane != nullptr) {
        return AllocateFrom(*activeLane);
    }
    ++inUse_;
    if (UnderAddressSanitizer()) {
        return ::operator new(slotSize_);
    }
    if (current_ == nullptr || next_ + slotSize_ > end_) {
        StartFilling(NewSlab());
    }
    void* slot = next_;
    next_ += slotSize_;
    ++current_->live;
    return slot;
}

void NodePool::Free(void* slot) {
    if (slot == nullptr) {
        return;
    }
    --inUse_;
    if (UnderAddressSanitizer()) {
        ::operator delete(slot);
        return;
    }
    auto* slab = reinterpret_cast<Slab*>(reinterpret_cast<std::uintptr_t>(slot) & ~(kSlabSize - 1));
    if (--slab->live == 0) {
        Release(slab);
    }
}

// An empty slab is kept and filled again from its start: the memory of a box that was emptied
// serves the cards of the next one without new page faults.
void NodePool::Release(Slab* slab) {
    if (slab == current_) {
        StartFilling(slab);
    } else {
        empty_.push_back(slab);
    }
}

}  // namespace tallyfold
