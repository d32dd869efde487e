#pragma once

#include <utility>
#include <vector>

namespace tallyfold::platform {

/// The selected lines of a list, held as ranges: selecting a million lines is one range, and
/// a line is looked up in the time of a binary search.
class LineSelection {
  public:
    void Clear() { ranges_.clear(); }
    bool Empty() const { return ranges_.empty(); }
    /// Adds the lines from `first` to `last`, both included, in either order.
    void Add(int first, int last);
    /// Selects the line when it is not selected, and the other way round.
    void Toggle(int line);
    bool Contains(int line) const;
    /// Every selected line, ascending.
    std::vector<int> Lines() const;
    /// The lowest selected line, or -1.
    int First() const { return ranges_.empty() ? -1 : ranges_.front().first; }

  private:
    /// Sorted, disjoint and not adjacent: each pair is a first and a last line.
    std::vector<std::pair<int, int>> ranges_;
};

}  // namespace tallyfold::platform
