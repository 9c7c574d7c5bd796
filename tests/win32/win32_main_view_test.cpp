#include "platform/win32/ui/win32_main_view.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "app/run_state.h"
#include "platform/win32/ui/ui_setup.h"
#include "scan/results_list.h"
// Needs <windows.h> first.
#include <commctrl.h>

namespace morvane::win32 {
namespace {

constexpr char kHostClass[] = "MorvaneViewTestHost";

// The main window's controls on a plain top-level window of this thread.
class Win32MainViewTest : public ::testing::Test {
 protected:
  static LRESULT CALLBACK HostProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == kRunOnWindowThreadMessage) {
      reinterpret_cast<Win32MainView*>(GetWindowLongPtrA(window, GWLP_USERDATA))
          ->RunSentWork(lParam);
      return TRUE;
    }
    return DefWindowProcA(window, message, wParam, lParam);
  }

  void SetUp() override {
    SetUpUserInterface();
    WNDCLASSA host{};
    host.lpfnWndProc = HostProcedure;
    host.hInstance = GetModuleHandleA(nullptr);
    host.lpszClassName = kHostClass;
    RegisterClassA(&host);
    window_ = CreateWindowExA(0, kHostClass, "host", WS_OVERLAPPEDWINDOW, 0, 0, 600, 400, nullptr,
                              nullptr, host.hInstance, nullptr);
    ASSERT_NE(window_, nullptr);
    SetWindowLongPtrA(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&view_));
    Child(WC_LISTVIEWA, kIdResultsList, LVS_REPORT);
    for (int id : {kIdFilesCounter, kIdVirusCounter, kIdCleanedCounter, kIdStatusLine}) {
      Child("STATIC", id, 0);
    }
    Child("LISTBOX", kIdProcessList, 0);
    const HWND combo = Child("COMBOBOX", kIdScanPath, CBS_DROPDOWN | CBS_SORT);
    SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(ALL_LOCAL_DRIVES));
    for (int column = 0; column < 3; ++column) {
      LVCOLUMNA header{};
      header.mask = LVCF_WIDTH;
      header.cx = 100;
      SendDlgItemMessageA(window_, kIdResultsList, LVM_INSERTCOLUMNA, column,
                          reinterpret_cast<LPARAM>(&header));
    }
    view_.Attach(window_);
    ScanRunState.Reset();
  }

  void TearDown() override { DestroyWindow(window_); }

  HWND Child(const char* className, int id, DWORD style) {
    return CreateWindowExA(0, className, "", WS_CHILD | style, 0, 0, 300, 200, window_,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                           GetModuleHandleA(nullptr), nullptr);
  }

  // Runs `work` on a second thread while this one keeps the window's messages flowing.
  void OnWorker(const std::function<void()>& work) {
    std::atomic<bool> done{false};
    std::thread worker([&] {
      work();
      done = true;
    });
    view_.PumpMessagesUntil([&] { return done.load(); });
    worker.join();
  }

  std::string Cell(int row, int column) {
    char buffer[260] = {};
    LVITEMA item{};
    item.iSubItem = column;
    item.pszText = buffer;
    item.cchTextMax = sizeof buffer;
    SendDlgItemMessageA(window_, kIdResultsList, LVM_GETITEMTEXTA, row,
                        reinterpret_cast<LPARAM>(&item));
    return buffer;
  }

  std::string Text(int id) {
    char buffer[260] = {};
    GetDlgItemTextA(window_, id, buffer, sizeof buffer);
    return buffer;
  }

  HWND window_ = nullptr;
  Win32MainView view_;
};

TEST_F(Win32MainViewTest, WorkFromAWorkerRunsOnTheWindowThread) {
  DWORD ranOn = 0;
  OnWorker([&] { view_.RunOnWindowThread([&] { ranOn = GetCurrentThreadId(); }); });
  EXPECT_EQ(ranOn, GetCurrentThreadId());
  ranOn = 0;
  view_.RunOnWindowThread([&] { ranOn = GetCurrentThreadId(); });
  EXPECT_EQ(ranOn, GetCurrentThreadId()) << "on the window thread the work runs at once";
}

TEST_F(Win32MainViewTest, FindingsFromAWorkerBecomeCompleteRowsAndCount) {
  OnWorker([&] {
    SetLastVirusName("ransom.wanacry.a");
    ReportFinding(view_, "C:\\病毒\\tasksche.exe", Cleaned);
    ReportFinding(view_, "C:\\in use.exe", NotCleanedInUse);
  });
  ASSERT_EQ(SendDlgItemMessageA(window_, kIdResultsList, LVM_GETITEMCOUNT, 0, 0), 2);
  EXPECT_EQ(Cell(0, 0), "C:\\病毒\\tasksche.exe");
  EXPECT_EQ(Cell(0, 1), "ransom.wanacry.a");
  EXPECT_EQ(Cell(0, 2), "清除病毒");
  EXPECT_EQ(Cell(1, 2), "发现病毒,没有清除,文件被占用");
  EXPECT_EQ(Text(kIdVirusCounter), "2");
  EXPECT_EQ(Text(kIdCleanedCounter), "1");
  view_.DeleteAllRows();
  EXPECT_EQ(SendDlgItemMessageA(window_, kIdResultsList, LVM_GETITEMCOUNT, 0, 0), 0);
}

TEST_F(Win32MainViewTest, ProcessBoxFillsAndEmpties) {
  OnWorker([&] {
    view_.AddProcessEntry("explorer.exe");
    view_.AddProcessEntry("病毒.exe");
  });
  EXPECT_EQ(SendDlgItemMessageA(window_, kIdProcessList, LB_GETCOUNT, 0, 0), 2);
  view_.ClearProcessBox();
  EXPECT_EQ(SendDlgItemMessageA(window_, kIdProcessList, LB_GETCOUNT, 0, 0), 0);
}

// The combo box selects the first item beginning with the path, or shows the path as typed.
TEST_F(Win32MainViewTest, ScanPathSelectsAMatchingItemOrShowsThePath) {
  struct Case {
    const char* written;
    const char* read;
    int selected;
  };
  const Case cases[] = {
      {ALL_LOCAL_DRIVES, ALL_LOCAL_DRIVES, 0},
      {"所有本机", ALL_LOCAL_DRIVES, 0},
      {"C:\\数据", "C:\\数据", CB_ERR},
      {"所有本机硬盘驱动器 ", "所有本机硬盘驱动器 ", CB_ERR},
  };
  for (const Case& c : cases) {
    // A failed match leaves the selection as it was; start each case with none.
    SendDlgItemMessageA(window_, kIdScanPath, CB_SETCURSEL, static_cast<WPARAM>(-1), 0);
    view_.WriteScanPath(c.written);
    EXPECT_EQ(view_.ReadScanPath(), c.read) << c.written;
    EXPECT_EQ(SendDlgItemMessageA(window_, kIdScanPath, CB_GETCURSEL, 0, 0), c.selected)
        << c.written;
  }
}

// Message boxes are captioned with the program's name and give the pressed button back.
TEST_F(Win32MainViewTest, MessageBoxesCarryTheProgramNameAndAnswer) {
  struct Case {
    MessageKind kind;
    int button;
    int answer;
  };
  const Case cases[] = {{MessageKind::Exclamation, IDOK, kAnswerOk},
                        {MessageKind::YesNo, IDNO, kAnswerNo},
                        {MessageKind::YesNo, IDYES, kAnswerYes}};
  EXPECT_EQ(ProgramName(), "morvane_tests");
  for (const Case& c : cases) {
    std::string text;
    std::thread user([&] {
      HWND box = nullptr;
      for (int tries = 0; tries < 500 && box == nullptr; ++tries) {
        Sleep(10);
        box = FindWindowA("#32770", "morvane_tests");
      }
      char buffer[64] = {};
      GetDlgItemTextA(box, 0xFFFF, buffer, sizeof buffer);
      text = buffer;
      PostMessageA(GetDlgItem(box, c.button), BM_CLICK, 0, 0);
    });
    EXPECT_EQ(view_.ShowMessage("查杀完毕！", c.kind), c.answer);
    user.join();
    EXPECT_EQ(text, "查杀完毕！");
  }
}

}  // namespace
}  // namespace morvane::win32
