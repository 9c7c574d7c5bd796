// A main window in memory: rows, counters, status line and message boxes as plain data, with a
// log of every call for tests that check the order of a run.
#pragma once

#include <functional>
#include <map>
#include <mutex>
#include <string>
#include <vector>

#include "platform/main_view.h"

namespace morvane::testing {

class FakeView : public MainView {
 public:
  using Row = std::vector<std::string>;

  void RunOnWindowThread(const std::function<void()>& work) override;
  void SetControlText(int controlId, const std::string& text) override;
  void DeleteAllRows() override;
  void InsertRow(int index) override;
  void SetCell(int index, int column, const std::string& text) override;
  void EnsureVisible(int index) override;
  void ClearProcessBox() override;
  void AddProcessEntry(const std::string& text) override;
  std::string ReadScanPath() override;
  void WriteScanPath(const std::string& path) override;
  int ShowMessage(const std::string& text, MessageKind kind) override;
  void PumpMessagesUntil(const std::function<bool()>& done) override;
  void CloseWindow() override;

  // Read back (thread-safe).
  std::vector<Row> Rows() const;
  std::string Text(int controlId) const;
  std::vector<std::string> Messages() const;
  std::vector<std::string> Log() const;
  int statusUpdates() const;
  bool closed() const;

  // The text the user typed into the combo box.
  std::string comboText;
  // Called inside every SetControlText of the status line, on the caller's thread.
  std::function<void(const std::string&)> onStatus;
  // Called inside every ShowMessage before it returns.
  std::function<void(const std::string&)> onMessage;
  // Called after every SetCell.
  std::function<void(int index, int column)> onCell;
  // Adds an entry to the call log, for steps of a run that are not view calls.
  void Note(const std::string& entry) { Record(entry); }

 private:
  void Record(const std::string& entry);

  mutable std::recursive_mutex mutex_;
  std::vector<Row> rows_;
  std::map<int, std::string> texts_;
  std::vector<std::string> messages_;
  std::vector<std::string> log_;
  std::vector<std::string> processBox_;
  int statusUpdates_ = 0;
  bool closed_ = false;
};

}  // namespace morvane::testing
