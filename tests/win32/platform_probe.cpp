// A helper program for the backend tests: its exit code is the platform identifier it sees, or
// with "wait" it idles so that a test can end it.
#include <cstring>

#include "platform/win32/win32_system.h"

int main(int argc, char** argv) {
  morvane::Win32System system;
  if (argc > 1 && std::strcmp(argv[1], "wait") == 0) system.Sleep(60000);
  return system.PlatformId();
}
