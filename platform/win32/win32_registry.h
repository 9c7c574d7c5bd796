// The registry through the ANSI Win32 calls.
#pragma once

#include "platform/registry.h"

namespace morvane {

class Win32Registry : public Registry {
 public:
  std::unique_ptr<RegistryKey> Open(RegRoot root, const std::string& subkey, RegAccess access,
                                    long* error) override;
};

}  // namespace morvane
