#include "box/node_pool.h"

#include <sys/mman.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <new>

namespace tallyfold {

namespace {

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

NodePool::Slab* NodePool::NewSlab() {
    if (!empty_.empty()) {
        Slab* slab = empty_.back();
        empty_.pop_back();
        return slab;
    }
    void* memory = std::aligned_alloc(kSlabSize, kSlabSize);
    if (memory == nullptr) {
        std::abort();  // out of memory: nothing can hold the card
    }
#if defined(MADV_POPULATE_WRITE)
    // The slab will be filled whole: one request makes its pages, where the first touch of
    // each would cost a fault of its own. A hint only; older systems fault as before.
    static_cast<void>(::madvise(memory, kSlabSize, MADV_POPULATE_WRITE));
#endif
    Slab* slab = new (memory) Slab{0};
    slabs_.push_back(slab);
    return slab;
}

void NodePool::StartFilling(Slab* slab) {
    current_ = slab;
    next_ = reinterpret_cast<char*>(slab) + Aligned(sizeof(Slab));
    end_ = reinterpret_cast<char*>(slab) + kSlabSize;
}

void* NodePool::Allocate() {
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
