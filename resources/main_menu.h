#pragma once

#include "platform/menu.h"

namespace tallyfold {

/// Menu 100 of the main window.
const platform::MenuTemplate& MainMenu();
/// Accelerator table 1201: Enter and "k" ask Look or Known (Enter the verdict a typed answer's
/// check proposes), Escape and "u" Unknown.
const platform::AcceleratorTable& MainAccelerators();

}  // namespace tallyfold
