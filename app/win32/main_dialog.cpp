#include "app/win32/main_dialog.h"

#include "app/run_state.h"
#include "platform/main_view.h"
#include "platform/platform.h"
#include "platform/processes.h"
#include "platform/system.h"

namespace morvane {

namespace {

constexpr int kIdClose = IDCANCEL;  // Esc and the close box

constexpr int kStartupMemoryPasses = 10;
constexpr DWORD kFlatScrollBars = 0x100;  // LVS_EX_FLATSB

struct Column {
  const char* header;
  int width;
};
constexpr Column kResultColumns[] = {{"文件路径", 300}, {"病毒名", 120}, {"处理结果", 120}};

constexpr win32::WindowLook kLook = {kProgramIcon, RGB(165, 206, 247), RGB(0, 0, 0)};

void SetUpResultsList(win32::MainWindow& window) {
  window.SetListExtendedStyle(kIdResultsList, kFlatScrollBars);
  int index = 0;
  for (const Column& column : kResultColumns) {
    window.AddListColumn(kIdResultsList, index++, column.header, column.width);
  }
}

}  // namespace

MainDialog::MainDialog()
    : window_(*this, kLook), steps_(RunSteps::Real()), run_(window_.View(), steps_) {}

void MainDialog::RunModal() {
  window_.RunModal(kMainDialogTemplate);
}

void MainDialog::OnInit(win32::MainWindow& window) {
  MainView& view = window.View();
  window.AddComboItem(kIdScanPath, ALL_LOCAL_DRIVES);
  view.WriteScanPath("");
  window.SetIcons();
  window.SetTitle(kWindowTitle);
  isWin9x.store(Sys().PlatformId() == kPlatformWindows9x ? 1 : 0);
  SetUpResultsList(window);
  for (int id : {kIdFilesCounter, kIdVirusCounter, kIdCleanedCounter}) view.SetControlText(id, "0");
  CurrentPlatform().processes->EnableDebugPrivilege("SeDebugPrivilege", true);
  // Virus processes already running are listed before the user does anything.
  for (int pass = 0; pass < kStartupMemoryPasses; ++pass) steps_.scanMemory(view);
  view.WriteScanPath(ALL_LOCAL_DRIVES);
}

void MainDialog::OnButton(int id) {
  switch (id) {
    case kIdScan:
      run_.OnScan();
      break;
    case kIdClean:
      run_.OnClean();
      break;
    case kIdStop:
      run_.OnStop();
      break;
    case kIdClearList:
      run_.OnClearList();
      break;
    case kIdExit:
      run_.OnExit();
      break;
    case kIdClose:
      run_.OnCancel();
      break;
    default:
      break;
  }
}

}  // namespace morvane
