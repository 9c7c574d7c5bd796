// The main window's view for a console: finding rows go to standard output as they complete,
// the status line to the terminal (only when it is one), message boxes as plain lines.
#pragma once

#include <chrono>
#include <cstdio>
#include <mutex>
#include <string>
#include <vector>

#include "platform/main_view.h"

namespace morvane {

class ConsoleView : public MainView {
 public:
  ConsoleView(std::FILE* out, bool showProgress) : out_(out), showProgress_(showProgress) {}

  void RunOnWindowThread(const std::function<void()>& work) override;
  void SetControlText(int controlId, const std::string& text) override;
  void DeleteAllRows() override { rows_.clear(); }
  void InsertRow(int index) override;
  void SetCell(int index, int column, const std::string& text) override;
  void EnsureVisible(int index) override;
  void ClearProcessBox() override {}
  void AddProcessEntry(const std::string&) override {}
  std::string ReadScanPath() override { return scanPath_; }
  void WriteScanPath(const std::string& path) override { scanPath_ = path; }
  int ShowMessage(const std::string& text, MessageKind kind) override;
  void PumpMessagesUntil(const std::function<bool()>& done) override;
  void CloseWindow() override {}

  // Clears the progress line so that what follows starts on a clean line.
  void EndProgress();
  std::string Counter(int controlId) const;

 private:
  using Row = std::vector<std::string>;
  void WriteLine(const std::string& line);

  std::FILE* out_;
  bool showProgress_;
  std::recursive_mutex windowThread_;
  std::vector<Row> rows_;
  std::string scanPath_;
  std::string counters_[3] = {"0", "0", "0"};
  bool progressShown_ = false;
  std::chrono::steady_clock::time_point lastProgress_{};
};

// A path as the user of this system writes it: "/" for "\".
std::string DisplayPath(const std::string& path);

}  // namespace morvane
