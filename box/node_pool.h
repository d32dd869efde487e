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
/// keeps its memory for the next one). One thread uses the pool; another may fill slots of a
/// `Lane` meanwhile. In builds with AddressSanitizer every slot is a separate allocation, so the
/// sanitizer still sees each one.
class NodePool {
  public:
    explicit NodePool(std::size_t slotSize);
    ~NodePool();
    NodePool(const NodePool&) = delete;
    NodePool& operator=(const NodePool&) = delete;

    struct Slab;

    /// Slabs taken from the pool for another thread to fill while the pool's own thread goes
    /// on with the pool: as long as a `Use` of it lives on a thread, `Allocate` there takes
    /// slots from the lane and touches nothing else of the pool. Slots of a lane are freed
    /// into the pool as any other, once the lane is back (`Return`).
    class Lane {
      public:
        Lane() = default;
        Lane(Lane&&) = default;
        Lane& operator=(Lane&&) = default;
        Lane(const Lane&) = delete;
        Lane& operator=(const Lane&) = delete;

        /// Makes this thread allocate from the lane until it goes.
        class Use {
          public:
            explicit Use(Lane& lane);
            ~Use();
            Use(const Use&) = delete;
            Use& operator=(const Use&) = delete;

          private:
            Lane* before_;
        };

      private:
        friend class NodePool;
        std::vector<Slab*> slabs_;
        // Slabs the lane's thread made beyond those it was given.
        std::vector<Slab*> made_;
        std::size_t filling_ = 0;
        char* next_ = nullptr;
        char* end_ = nullptr;
        std::size_t used_ = 0;
    };

    /// A lane for `slots` slots, with the spare slabs that hold them as far as there are any.
    [[nodiscard]] Lane TakeLane(std::size_t slots);
    /// Takes back a lane whose thread ended: its slots count as handed out, and the slabs it
    /// did not start are spare again.
    void Return(Lane&& lane);
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
    Slab* NewSlab();
    void* AllocateFrom(Lane& lane);
    std::size_t SlotsPerSlab() const;
    static void* MapSlab();
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
