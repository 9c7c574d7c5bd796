// The platform of the Windows program: real files, registry, services and processes.
#pragma once

#include "platform/platform.h"

namespace morvane {

// The process's one Win32 platform, built on first use.
const Platform& Win32Platform();

}  // namespace morvane
