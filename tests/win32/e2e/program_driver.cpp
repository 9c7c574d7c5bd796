#include "win32/e2e/program_driver.h"

#include <commctrl.h>

#include <vector>

#include "win32/win32_test_dir.h"

namespace morvane::testing {

namespace {

constexpr char kTitle[] = "Morvane蠕虫勒索病毒专杀免疫工具";
constexpr char kProgramName[] = "morvane";
constexpr DWORD kPollMs = 20;
constexpr DWORD kAnswerMs = 5000;
constexpr int kResultsList = 1006;
constexpr int kTextCapacity = 260;

// Memory in another process, for the messages whose buffers must lie in the receiver's process.
class RemoteBuffer {
 public:
  RemoteBuffer(HANDLE process, size_t size)
      : process_(process),
        address_(VirtualAllocEx(process, nullptr, size, MEM_COMMIT, PAGE_READWRITE)) {}
  ~RemoteBuffer() {
    if (address_) VirtualFreeEx(process_, address_, 0, MEM_RELEASE);
  }
  RemoteBuffer(const RemoteBuffer&) = delete;
  RemoteBuffer& operator=(const RemoteBuffer&) = delete;

  void* address() const { return address_; }
  bool Write(size_t offset, const void* data, size_t size) {
    return WriteProcessMemory(process_, static_cast<char*>(address_) + offset, data, size, nullptr);
  }
  bool Read(size_t offset, void* data, size_t size) {
    return ReadProcessMemory(process_, static_cast<char*>(address_) + offset, data, size, nullptr);
  }

 private:
  HANDLE process_;
  void* address_;
};

// A shown dialog-class window of one process with one caption: several programs under test
// may have windows of the same title at once.
struct WindowSearch {
  DWORD processId;
  const char* caption;
  HWND found;
};

BOOL CALLBACK MatchWindow(HWND window, LPARAM param) {
  auto* search = reinterpret_cast<WindowSearch*>(param);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  char className[16] = {};
  GetClassNameA(window, className, sizeof className);
  if (owner == search->processId && std::string(className) == "#32770" && IsWindowVisible(window) &&
      ProgramDriver::Text(window) == search->caption) {
    search->found = window;
    return FALSE;
  }
  return TRUE;
}

HWND FindShown(DWORD processId, const char* caption) {
  WindowSearch search{processId, caption, nullptr};
  EnumWindows(MatchWindow, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

template <typename Found>
auto Poll(DWORD timeoutMs, Found find) {
  const ULONGLONG end = GetTickCount64() + timeoutMs;
  for (;;) {
    auto found = find();
    if (found || GetTickCount64() >= end) return found;
    Sleep(kPollMs);
  }
}

}  // namespace

ProgramDriver::ProgramDriver() {
  std::string commandLine = "\"";
  commandLine.append(ProgramFolder()).append("\\morvane.exe\"");
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  if (CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                     &startup, &process)) {
    CloseHandle(process.hThread);
    process_.Attach(process.hProcess);
    processId_ = process.dwProcessId;
  }
}

ProgramDriver::~ProgramDriver() {
  DWORD exitCode = 0;
  if (process_ && !WaitForExit(0, exitCode)) {
    TerminateProcess(process_.Get(), 1);
    WaitForSingleObject(process_.Get(), kAnswerMs);
  }
}

HWND ProgramDriver::WaitForMainWindow(DWORD timeoutMs) {
  main_ = Poll(timeoutMs, [this] { return FindShown(processId_, kTitle); });
  return main_;
}

HWND ProgramDriver::WaitForMessageBox(DWORD timeoutMs) {
  return Poll(timeoutMs, [this] { return FindShown(processId_, kProgramName); });
}

bool ProgramDriver::WaitForNoMessageBox(DWORD timeoutMs) {
  return Poll(timeoutMs, [this] { return FindShown(processId_, kProgramName) == nullptr; });
}

bool ProgramDriver::WaitForExit(DWORD timeoutMs, DWORD& exitCode) {
  if (WaitForSingleObject(process_.Get(), timeoutMs) != WAIT_OBJECT_0) return false;
  GetExitCodeProcess(process_.Get(), &exitCode);
  return true;
}

std::string ProgramDriver::Text(HWND window) {
  DWORD_PTR length = 0;
  SendMessageTimeoutA(window, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, kAnswerMs, &length);
  std::vector<char> buffer(length + 1);
  DWORD_PTR copied = 0;
  SendMessageTimeoutA(window, WM_GETTEXT, buffer.size(), reinterpret_cast<LPARAM>(buffer.data()),
                      SMTO_ABORTIFHUNG, kAnswerMs, &copied);
  return std::string(buffer.data(), copied < buffer.size() ? copied : 0);
}

std::string ProgramDriver::ControlText(int controlId) const {
  return Text(GetDlgItem(main_, controlId));
}

void ProgramDriver::SetControlText(int controlId, const std::string& text) const {
  DWORD_PTR ignored = 0;
  SendMessageTimeoutA(GetDlgItem(main_, controlId), WM_SETTEXT, 0,
                      reinterpret_cast<LPARAM>(text.c_str()), SMTO_ABORTIFHUNG, kAnswerMs,
                      &ignored);
}

void ProgramDriver::Press(int controlId) const {
  PostMessageA(GetDlgItem(main_, controlId), BM_CLICK, 0, 0);
}

LRESULT ProgramDriver::SendToList(UINT message, WPARAM wParam, LPARAM lParam) const {
  DWORD_PTR answer = 0;
  SendMessageTimeoutA(GetDlgItem(main_, kResultsList), message, wParam, lParam, SMTO_ABORTIFHUNG,
                      kAnswerMs, &answer);
  return static_cast<LRESULT>(answer);
}

int ProgramDriver::ListRowCount() const {
  return static_cast<int>(SendToList(LVM_GETITEMCOUNT, 0, 0));
}

unsigned ProgramDriver::ListExtendedStyle() const {
  return static_cast<unsigned>(SendToList(LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0));
}

ProgramDriver::Column ProgramDriver::ListColumn(int index) const {
  RemoteBuffer remote(process_.Get(), sizeof(LVCOLUMNA) + kTextCapacity);
  if (!remote.address()) return {};
  char* remoteText = static_cast<char*>(remote.address()) + sizeof(LVCOLUMNA);
  LVCOLUMNA column{};
  column.mask = LVCF_TEXT | LVCF_WIDTH;
  column.pszText = remoteText;
  column.cchTextMax = kTextCapacity;
  if (!remote.Write(0, &column, sizeof column) ||
      !SendToList(LVM_GETCOLUMNA, index, reinterpret_cast<LPARAM>(remote.address())) ||
      !remote.Read(0, &column, sizeof column)) {
    return {};
  }
  char text[kTextCapacity] = {};
  remote.Read(sizeof(LVCOLUMNA), text, sizeof text - 1);
  return {text, column.cx};
}

std::string ProgramDriver::ListCell(int row, int column) const {
  RemoteBuffer remote(process_.Get(), sizeof(LVITEMA) + kTextCapacity);
  if (!remote.address()) return {};
  LVITEMA item{};
  item.iSubItem = column;
  item.pszText = static_cast<char*>(remote.address()) + sizeof(LVITEMA);
  item.cchTextMax = kTextCapacity;
  if (!remote.Write(0, &item, sizeof item)) return {};
  const LRESULT length =
      SendToList(LVM_GETITEMTEXTA, row, reinterpret_cast<LPARAM>(remote.address()));
  char text[kTextCapacity] = {};
  if (length <= 0 || !remote.Read(sizeof(LVITEMA), text, sizeof text - 1)) return {};
  return text;
}

}  // namespace morvane::testing
