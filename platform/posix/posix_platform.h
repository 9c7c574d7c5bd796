// The platform of a POSIX build: real files; no registry, services or Windows processes.
#pragma once

#include "platform/platform.h"

namespace morvane {

// The process's one POSIX platform, built on first use.
const Platform& PosixPlatform();

}  // namespace morvane
