#include "platform/win32/win32_platform.h"

#include "platform/win32/win32_file_system.h"
#include "platform/win32/win32_processes.h"
#include "platform/win32/win32_registry.h"
#include "platform/win32/win32_services.h"
#include "platform/win32/win32_system.h"

namespace morvane {

const Platform& Win32Platform() {
  static Win32FileSystem files;
  static Win32System system;
  static Win32Registry registry;
  static Win32ServiceControl services;
  static Win32Processes processes;
  static const Platform platform{&files, &system, &registry, &services, &processes};
  return platform;
}

}  // namespace morvane
