// A helper program for the backend tests. Without arguments its exit code is the platform
// identifier it sees; "wait" idles so that a test can end it; "service" runs it as a service
// that stops when asked.
#include <cstring>

#include "platform/win32/win32_system.h"
#include "platform/win32/windows_api.h"

namespace {

SERVICE_STATUS_HANDLE statusHandle = nullptr;
HANDLE stopEvent = nullptr;

void Report(DWORD state) {
  SERVICE_STATUS status{};
  status.dwServiceType = SERVICE_WIN32_OWN_PROCESS;
  status.dwCurrentState = state;
  status.dwControlsAccepted = state == SERVICE_RUNNING ? SERVICE_ACCEPT_STOP : 0;
  status.dwWaitHint = 1000;
  SetServiceStatus(statusHandle, &status);
}

DWORD WINAPI Control(DWORD control, DWORD, void*, void*) {
  if (control == SERVICE_CONTROL_STOP) {
    Report(SERVICE_STOP_PENDING);
    SetEvent(stopEvent);
  }
  return NO_ERROR;
}

void WINAPI ServiceMain(DWORD, char**) {
  statusHandle = RegisterServiceCtrlHandlerExA("", Control, nullptr);
  stopEvent = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  Report(SERVICE_RUNNING);
  WaitForSingleObject(stopEvent, INFINITE);
  Report(SERVICE_STOPPED);
}

}  // namespace

int main(int argc, char** argv) {
  morvane::Win32System system;
  if (argc > 1 && std::strcmp(argv[1], "wait") == 0) system.Sleep(60000);
  if (argc > 1 && std::strcmp(argv[1], "service") == 0) {
    char name[] = "";
    const SERVICE_TABLE_ENTRYA table[] = {{name, ServiceMain}, {nullptr, nullptr}};
    return StartServiceCtrlDispatcherA(table) ? 0 : 1;
  }
  return system.PlatformId();
}
