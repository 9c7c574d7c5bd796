#include "platform/win32/ui/main_window.h"

#include <gtest/gtest.h>

#include <thread>
#include <vector>

#include "platform/win32/ui/ui_setup.h"
// Needs <windows.h> first.
#include <commctrl.h>

namespace morvane::win32 {
namespace {

constexpr int kTestDialog = 200;
constexpr int kTestIcon = 128;
constexpr int kScanButton = 1004;
constexpr COLORREF kBackground = RGB(165, 206, 247);

// Runs the test dialog; the test's checks run inside it, then it ends.
class MainWindowTest : public ::testing::Test, public MainWindowEvents {
 protected:
  void SetUp() override { SetUpUserInterface(); }

  void Run(std::function<void(MainWindow&)> checks) {
    checks_ = std::move(checks);
    window_.RunModal(kTestDialog);
  }

  void OnInit(MainWindow& window) override {
    checks_(window);
    EndDialog(window.Window(), IDOK);
  }
  void OnButton(int id) override { buttons_.push_back(id); }

  std::function<void(MainWindow&)> checks_;
  std::vector<int> buttons_;
  MainWindow window_{*this, {kTestIcon, kBackground, RGB(0, 0, 0)}};
};

TEST_F(MainWindowTest, IconIsTheWindowsIconAndTheDragIcon) {
  Run([](MainWindow& window) {
    window.SetIcons();
    const LRESULT big = SendMessageA(window.Window(), WM_GETICON, ICON_BIG, 0);
    EXPECT_NE(big, 0);
    EXPECT_EQ(SendMessageA(window.Window(), WM_GETICON, ICON_SMALL, 0), big);
    EXPECT_EQ(SendMessageA(window.Window(), WM_QUERYDRAGICON, 0, 0), big);
  });
}

TEST_F(MainWindowTest, DialogAndStaticsPaintOnTheBackgroundColour) {
  Run([](MainWindow& window) {
    const HDC context = GetDC(window.Window());
    for (UINT message : {WM_CTLCOLORDLG, WM_CTLCOLORSTATIC}) {
      const auto brush = reinterpret_cast<HBRUSH>(
          SendMessageA(window.Window(), message, reinterpret_cast<WPARAM>(context), 0));
      LOGBRUSH colour{};
      ASSERT_NE(GetObjectA(brush, sizeof colour, &colour), 0) << message;
      EXPECT_EQ(colour.lbColor, kBackground);
      EXPECT_EQ(GetBkColor(context), kBackground);
      EXPECT_EQ(GetTextColor(context), RGB(0, 0, 0));
    }
    ReleaseDC(window.Window(), context);
  });
}

// Only clicks reach the application: a combo box's notifications share WM_COMMAND.
TEST_F(MainWindowTest, ButtonClicksReachTheApplicationAndNotificationsDoNot) {
  Run([](MainWindow& window) {
    SendMessageA(window.Window(), WM_COMMAND, MAKEWPARAM(kScanButton, BN_CLICKED), 0);
    SendMessageA(window.Window(), WM_COMMAND, MAKEWPARAM(kIdScanPath, CBN_EDITCHANGE), 0);
    SendMessageA(window.Window(), WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
  });
  EXPECT_EQ(buttons_, (std::vector<int>{kScanButton, IDCANCEL}));
}

TEST_F(MainWindowTest, ResultsListColumnsComboItemsAndTitleAreSet) {
  Run([](MainWindow& window) {
    window.SetListExtendedStyle(kIdResultsList, LVS_EX_FLATSB);
    EXPECT_EQ(
        SendDlgItemMessageA(window.Window(), kIdResultsList, LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0),
        LVS_EX_FLATSB);
    window.AddListColumn(kIdResultsList, 0, "文件路径", 300);
    char header[32] = {};
    LVCOLUMNA column{};
    column.mask = LVCF_TEXT | LVCF_WIDTH;
    column.pszText = header;
    column.cchTextMax = sizeof header;
    ASSERT_TRUE(SendDlgItemMessageA(window.Window(), kIdResultsList, LVM_GETCOLUMNA, 0,
                                    reinterpret_cast<LPARAM>(&column)));
    EXPECT_STREQ(header, "文件路径");
    EXPECT_EQ(column.cx, 300);

    window.AddComboItem(kIdScanPath, "所有本机硬盘驱动器");
    EXPECT_EQ(SendDlgItemMessageA(window.Window(), kIdScanPath, CB_GETCOUNT, 0, 0), 1);
    window.SetTitle("Morvane蠕虫勒索病毒专杀免疫工具");
    char title[64] = {};
    GetWindowTextA(window.Window(), title, sizeof title);
    EXPECT_STREQ(title, "Morvane蠕虫勒索病毒专杀免疫工具");
  });
}

WNDPROC dialogProcedure = nullptr;
int iconErasures = 0;

LRESULT CALLBACK CountIconErasures(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_ICONERASEBKGND) ++iconErasures;
  return CallWindowProcA(dialogProcedure, window, message, wParam, lParam);
}

// Minimised, the window paints itself as its icon, on an erased icon background.
TEST_F(MainWindowTest, MinimisedWindowPaintsItsIcon) {
  Run([](MainWindow& window) {
    dialogProcedure = reinterpret_cast<WNDPROC>(SetWindowLongPtrA(
        window.Window(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(CountIconErasures)));
    ShowWindow(window.Window(), SW_SHOW);
    ShowWindow(window.Window(), SW_MINIMIZE);
    ASSERT_TRUE(IsIconic(window.Window()));
    // Wine, like current Windows, sends no WM_PAINT to a minimised window by itself.
    iconErasures = 0;
    SendMessageA(window.Window(), WM_PAINT, 0, 0);
    EXPECT_EQ(iconErasures, 1);
    ShowWindow(window.Window(), SW_RESTORE);
    iconErasures = 0;
    SendMessageA(window.Window(), WM_PAINT, 0, 0);
    EXPECT_EQ(iconErasures, 0) << "a shown window paints as usual";
  });
}

// The worker's work arrives as a sent private message and runs on the window thread.
TEST_F(MainWindowTest, SentWorkRunsOnTheWindowThread) {
  Run([](MainWindow& window) {
    DWORD ranOn = 0;
    bool done = false;
    std::thread worker([&] {
      window.View().RunOnWindowThread([&] { ranOn = GetCurrentThreadId(); });
      done = true;
    });
    window.View().PumpMessagesUntil([&] { return done; });
    worker.join();
    EXPECT_EQ(ranOn, GetCurrentThreadId());
  });
}

}  // namespace
}  // namespace morvane::win32
