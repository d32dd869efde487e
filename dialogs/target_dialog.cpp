#include "dialogs/target_dialog.h"

#include <string>

#include "resources/dialog_templates.h"
#include "resources/resource_ids.h"
#include "resources/string_table.h"

namespace tallyfold {

std::string PartitionEntry(std::string_view format, int number, int partitions) {
    if (number > partitions) {
        char input[30];
        LoadString(ids::kStrInput, input);
        return input;
    }
    return FormatNumbers(format, {number}, 31);
}

tKastenDialog::tKastenDialog(platform::Window& parent, const tCardBox& box)
    : Dialog(parent, TargetTemplate()), box_(&box), TargetList(*this, ids::kTargetList) {
    OnNotify(ids::kTargetList, platform::Notification::DoubleClicked, &tKastenDialog::CmOk);
}

void tKastenDialog::SetupWindow() {
    const int partitions = box_->PartitionCount();
    for (int number = 1; number <= partitions + 1; ++number) {
        TargetList.AddString(PartitionEntry("- %d -", number, partitions));
    }
    TargetList.SetSelIndex(0);
}

void tKastenDialog::CmOk() {
    chosen_ = TargetList.GetSelIndex();
    EndDialog(platform::DialogResult::Ok);
}

int ChooseTarget(platform::Window& parent, const tCardBox& box) {
    tKastenDialog dialog(parent, box);
    const platform::DialogResult result = dialog.Execute();
    return result == platform::DialogResult::Ok && dialog.Chosen() >= 0 ? dialog.Chosen() + 1 : 0;
}

}  // namespace tallyfold
