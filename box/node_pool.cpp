#include "box/node_pool.h"

#if defined(_WIN32)
#include <malloc.h>
#else
#include <sys/mman.h>
#endif

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

namespace {

// Slabs are aligned to their size, so a slot finds its slab by its address. The Windows C
// library has no aligned_alloc; its own pair does the same.
void* AllocateAligned(std::size_t size) {
#if defined(_WIN32)
    return ::_aligned_malloc(size, size);
#else
    return std::aligned_alloc(size, size);
#endif
}

void FreeAligned(void* memory) {
#if defined(_WIN32)
    ::_aligned_free(memory);
#else
    std::free(memory);
#endif
}

}  // namespace

struct NodePool::Slab {
    std::size_t live;
};

NodePool::NodePool(std::size_t slotSize) : slotSize_(Aligned(std::max<std::size_t>(slotSize, 1))) {}

NodePool::~NodePool() {
    for (Slab* slab : slabs_) {
        FreeAligned(slab);
    }
}

void* NodePool::MapSlab() {
    void* memory = AllocateAligned(kSlabSize);
    if (memory == nullptr) {
        std::abort();  // out of memory: nothing can hold the card
    }
    // The slab will be filled whole, so it is asked for as one huge page, made in one request.
    // On a virtual machine the first touch of every 4 KiB page of fresh memory is a trip to
    // the host: a million cards in small pages, each made by its own fault, cost 0.2 s more in
    // a fresh process than in one that reuses its memory. Hints only; where they are unknown,
    // pages are small and made as they are touched.
#if defined(MADV_HUGEPAGE)
    static_cast<void>(::madvise(memory, kSlabSize, MADV_HUGEPAGE));
#endif
#if defined(MADV_POPULATE_WRITE)
    static_cast<void>(::madvise(memory, kSlabSize, MADV_POPULATE_WRITE));
#endif
    return memory;
}

NodePool::Slab* NodePool::NewSlab() {
    if (!empty_.empty()) {
        Slab* slab = new (empty_.back()) Slab{0};
        empty_.pop_back();
        return slab;
    }
    Slab* slab = new (MapSlab()) Slab{0};
    slabs_.push_back(slab);
    return slab;
}

std::size_t NodePool::SlotsPerSlab() const {
    return (kSlabSize - Aligned(sizeof(Slab))) / slotSize_;
}

NodePool::Lane NodePool::TakeLane(std::size_t slots) {
    Lane lane;
    if (UnderAddressSanitizer()) {
        return lane;
    }
    // Spare slabs only, those `NewSlab` would take last; the lane's thread makes new ones.
    const std::size_t perSlab = SlotsPerSlab();
    const auto count =
        static_cast<std::ptrdiff_t>(std::min(empty_.size(), (slots + perSlab - 1) / perSlab));
    lane.slabs_.assign(empty_.begin(), empty_.begin() + count);
    empty_.erase(empty_.begin(), empty_.begin() + count);
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
            // Beyond the spare slabs: a new one, the pool's at `Return`.
            slab = new (MapSlab()) Slab{0};
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
