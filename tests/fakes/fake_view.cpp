#include "fakes/fake_view.h"

#include <chrono>
#include <thread>

namespace morvane::testing {

void FakeView::Record(const std::string& entry) {
  std::lock_guard<std::recursive_mutex> lock(mutex_);
  log_.push_back(entry);
}

void FakeView::RunOnWindowThread(const std::function<void()>& work) {
  std::lock_guard<std::recursive_mutex> lock(mutex_);
  work();
}

void FakeView::SetControlText(int controlId, const std::string& text) {
  {
    std::lock_guard<std::recursive_mutex> lock(mutex_);
    texts_[controlId] = text;
    if (controlId == kIdStatusLine) {
      ++statusUpdates_;
    } else {
      log_.push_back("text " + std::to_string(controlId) + " " + text);
    }
  }
  if (controlId == kIdStatusLine && onStatus) onStatus(text);
}

void FakeView::DeleteAllRows() {
  std::lock_guard<std::recursive_mutex> lock(mutex_);
  rows_.clear();
  log_.push_back("delete rows");
}

void FakeView::InsertRow(int index) {
  std::lock_guard<std::recursive_mutex> lock(mutex_);
  // Like a list view: an index past the end appends.
  const size_t at = std::min(rows_.size(), static_cast<size_t>(std::max(index, 0)));
  rows_.insert(rows_.begin() + static_cast<std::ptrdiff_t>(at), Row(3));
}

void FakeView::SetCell(int index, int column, const std::string& text) {
  std::lock_guard<std::recursive_mutex> lock(mutex_);
  if (index >= 0 && static_cast<size_t>(index) < rows_.size() && column >= 0 && column < 3) {
    rows_[static_cast<size_t>(index)][static_cast<size_t>(column)] = text;
  }
  if (onCell) onCell(index, column);
}

void FakeView::EnsureVisible(int) {}

void FakeView::ClearProcessBox() {
  std::lock_guard<std::recursive_mutex> lock(mutex_);
  processBox_.clear();
  log_.push_back("clear process box");
}

void FakeView::AddProcessEntry(const std::string& text) {
  std::lock_guard<std::recursive_mutex> lock(mutex_);
  processBox_.push_back(text);
}

std::string FakeView::ReadScanPath() {
  std::lock_guard<std::recursive_mutex> lock(mutex_);
  log_.push_back("read scan path");
  return comboText;
}

void FakeView::WriteScanPath(const std::string& path) {
  std::lock_guard<std::recursive_mutex> lock(mutex_);
  comboText = path;
  log_.push_back("write scan path");
}

int FakeView::ShowMessage(const std::string& text, MessageKind kind) {
  {
    std::lock_guard<std::recursive_mutex> lock(mutex_);
    messages_.push_back(text);
    log_.push_back("message " + text);
  }
  if (onMessage) onMessage(text);
  return kind == MessageKind::YesNo ? kAnswerYes : kAnswerOk;
}

void FakeView::PumpMessagesUntil(const std::function<bool()>& done) {
  Record("pump");
  while (!done()) std::this_thread::sleep_for(std::chrono::milliseconds(1));
}

void FakeView::CloseWindow() {
  std::lock_guard<std::recursive_mutex> lock(mutex_);
  closed_ = true;
  log_.push_back("close");
}

std::vector<FakeView::Row> FakeView::Rows() const {
  std::lock_guard<std::recursive_mutex> lock(mutex_);
  return rows_;
}

std::string FakeView::Text(int controlId) const {
  std::lock_guard<std::recursive_mutex> lock(mutex_);
  const auto it = texts_.find(controlId);
  return it == texts_.end() ? std::string() : it->second;
}

std::vector<std::string> FakeView::Messages() const {
  std::lock_guard<std::recursive_mutex> lock(mutex_);
  return messages_;
}

std::vector<std::string> FakeView::Log() const {
  std::lock_guard<std::recursive_mutex> lock(mutex_);
  return log_;
}

int FakeView::statusUpdates() const {
  std::lock_guard<std::recursive_mutex> lock(mutex_);
  return statusUpdates_;
}

bool FakeView::closed() const {
  std::lock_guard<std::recursive_mutex> lock(mutex_);
  return closed_;
}

}  // namespace morvane::testing
