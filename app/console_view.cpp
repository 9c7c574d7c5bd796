#include "app/console_view.h"

#include <thread>

#include "platform/posix/posix_file_system.h"
#include "scan/results_list.h"

namespace morvane {

namespace {

constexpr auto kProgressInterval = std::chrono::milliseconds(100);
constexpr size_t kProgressWidth = 78;

int CounterIndex(int controlId) {
  switch (controlId) {
    case kIdFilesCounter:
      return 0;
    case kIdVirusCounter:
      return 1;
    case kIdCleanedCounter:
      return 2;
    default:
      return -1;
  }
}

// The tail of `text` in at most `width` bytes, never starting inside a UTF-8 sequence.
std::string Tail(const std::string& text, size_t width) {
  if (text.size() <= width) return text;
  size_t start = text.size() - width;
  while (start < text.size() && (static_cast<unsigned char>(text[start]) & 0xC0) == 0x80) ++start;
  return text.substr(start);
}

}  // namespace

std::string DisplayPath(const std::string& path) {
  return ToPosixPath(path);
}

void ConsoleView::RunOnWindowThread(const std::function<void()>& work) {
  std::lock_guard<std::recursive_mutex> lock(windowThread_);
  work();
}

void ConsoleView::SetControlText(int controlId, const std::string& text) {
  std::lock_guard<std::recursive_mutex> lock(windowThread_);
  if (const int index = CounterIndex(controlId); index >= 0) {
    counters_[index] = text;
    return;
  }
  if (controlId != kIdStatusLine || !showProgress_) return;
  const auto now = std::chrono::steady_clock::now();
  if (progressShown_ && now - lastProgress_ < kProgressInterval) return;
  lastProgress_ = now;
  progressShown_ = true;
  std::fprintf(out_, "\r\033[K%s", Tail(DisplayPath(text), kProgressWidth).c_str());
  std::fflush(out_);
}

void ConsoleView::InsertRow(int index) {
  if (index < 0) return;
  if (static_cast<size_t>(index) >= rows_.size()) rows_.resize(static_cast<size_t>(index) + 1);
  rows_[static_cast<size_t>(index)] = Row(3);
}

void ConsoleView::SetCell(int index, int column, const std::string& text) {
  if (index < 0 || static_cast<size_t>(index) >= rows_.size() || column < 0 || column > 2) return;
  rows_[static_cast<size_t>(index)][static_cast<size_t>(column)] = text;
}

// A row is complete once the list scrolls to it.
void ConsoleView::EnsureVisible(int index) {
  if (index < 0 || static_cast<size_t>(index) >= rows_.size()) return;
  const Row& row = rows_[static_cast<size_t>(index)];
  WriteLine(DisplayPath(row[kColumnPath]) + "\t" + row[kColumnVirus] + "\t" + row[kColumnResult]);
}

int ConsoleView::ShowMessage(const std::string& text, MessageKind kind) {
  WriteLine(text);
  return kind == MessageKind::YesNo ? kAnswerNo : kAnswerOk;
}

void ConsoleView::PumpMessagesUntil(const std::function<bool()>& done) {
  while (!done()) std::this_thread::sleep_for(std::chrono::milliseconds(5));
}

void ConsoleView::EndProgress() {
  std::lock_guard<std::recursive_mutex> lock(windowThread_);
  if (!progressShown_) return;
  std::fputs("\r\033[K", out_);
  progressShown_ = false;
}

std::string ConsoleView::Counter(int controlId) const {
  const int index = CounterIndex(controlId);
  return index < 0 ? std::string() : counters_[index];
}

void ConsoleView::WriteLine(const std::string& line) {
  std::lock_guard<std::recursive_mutex> lock(windowThread_);
  if (progressShown_) {
    std::fputs("\r\033[K", out_);
    progressShown_ = false;
  }
  std::fprintf(out_, "%s\n", line.c_str());
  std::fflush(out_);
}

}  // namespace morvane
