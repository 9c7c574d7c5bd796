// The service control manager through the ANSI Win32 calls.
#pragma once

#include "platform/services.h"

namespace morvane {

class Win32ServiceControl : public ServiceControl {
 public:
  std::unique_ptr<ServiceManager> OpenManager() override;
};

}  // namespace morvane
