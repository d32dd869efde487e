#pragma once

#include <string>
#include <string_view>

#include "box/card_box.h"
#include "platform/controls.h"
#include "platform/dialog.h"

namespace tallyfold {

/// The "Put into..." dialog (template 3400): one partition or the input stack.
class tKastenDialog : public platform::Dialog {
  public:
    tKastenDialog(platform::Window& parent, const tCardBox& box);
    void SetupWindow() override;
    /// The list entry chosen with Ok, counted from 0; -1 for none.
    int Chosen() const { return chosen_; }

  private:
    void CmOk() override;

    const tCardBox* box_;
    platform::ListBox TargetList;
    int chosen_ = -1;
};

/// Asks for a partition: 1 to N, N + 1 for the input stack, or 0 when cancelled.
[[nodiscard]] int ChooseTarget(platform::Window& parent, const tCardBox& box);

/// The text of a partition chooser entry: `format` with the number, or "Input" for N + 1.
std::string PartitionEntry(std::string_view format, int number, int partitions);

}  // namespace tallyfold
