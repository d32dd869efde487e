#pragma once

#include <cstddef>
#include <vector>

namespace tallyfold {

/// Memory for objects of one size, the nodes of the card rings: slabs of 2 MiB filled slot
/// after slot.
///
/// Cards made one after another lie in memory in that order, which keeps walks over a ring
/// fast, and no allocation is made per card. Each slab counts its live slots; a slab is filled
/// again, from its start, only once all its slots are free. Empty slabs are kept for the cards
/// that come next and not returned to the system while the pool lives (a box that was emptied
/// keeps its memory for the next one). Not for use from several threads. In
/// builds with AddressSanitizer every slot is a separate allocation, so the sanitizer still
/// sees each one.
class NodePool {
  public:
    explicit NodePool(std::size_t slotSize);
    ~NodePool();
    NodePool(const NodePool&) = delete;
    NodePool& operator=(const NodePool&) = delete;

    /// A slot of the pool's size, aligned for any object.
    void* Allocate();
    /// Returns a slot that `Allocate` handed out.
    void Free(void* slot);

    std::size_t SlotSize() const { return slotSize_; }
    /// Slots handed out and not yet returned.
    std::size_t InUse() const { return inUse_; }
    /// Slabs held, in use or spare.
    std::size_t Slabs() const { return slabs_.size(); }
    /// False in builds with AddressSanitizer, where every slot is a separate allocation.
    static bool UsesSlabs();

  private:
    struct Slab;
    Slab* NewSlab();
    void StartFilling(Slab* slab);
    void Release(Slab* slab);

    std::size_t slotSize_;
    std::vector<Slab*> slabs_;
    std::vector<Slab*> empty_;
    Slab* current_ = nullptr;
    char* next_ = nullptr;
    char* end_ = nullptr;
    std::size_t inUse_ = 0;
};

}  // namespace tallyfold
