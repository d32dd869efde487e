#pragma once

// The file layer's side of the fault hook, shared by its system-specific halves.

#include "table/file_io.h"

namespace tallyfold {

/// Asks the hook set by `SetFaultHook`; true when `operation` is to fail.
bool HookRefuses(FileOperation operation);

}  // namespace tallyfold
