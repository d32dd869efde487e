#pragma once

#include <string_view>

namespace tallyfold {

/// The help page of a dialog (its help context is its template number, see resource_ids.h);
/// empty for any other context, which the help opens at its contents.
std::string_view HelpPageOfDialog(unsigned long context);

}  // namespace tallyfold
