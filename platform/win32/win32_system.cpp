#include "platform/win32/win32_system.h"

#include "platform/win32/windows_api.h"

namespace morvane {

namespace {

// The size of the original OSVERSIONINFOA, which every Windows since 95 accepts.
constexpr DWORD kVersionInfoSize = 148;
static_assert(sizeof(OSVERSIONINFOA) == kVersionInfoSize);

}  // namespace

int Win32System::PlatformId() {
  OSVERSIONINFOA version{};
  version.dwOSVersionInfoSize = kVersionInfoSize;
  if (!GetVersionExA(&version)) return kPlatformUnknown;
  return static_cast<int>(version.dwPlatformId);
}

void Win32System::Sleep(uint32_t milliseconds) {
  ::Sleep(milliseconds);
}

unsigned Win32System::RunCommand(const std::string& commandLine, int showState) {
  return WinExec(commandLine.c_str(), static_cast<UINT>(showState));
}

}  // namespace morvane
