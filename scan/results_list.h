// The results list's rows and the three counters below it.
#pragma once

#include <string>

namespace morvane {

class MainView;

enum FindingKind : int { NotCleanedInUse = -1, Detected = 0, Cleaned = 1 };

// The list is emptied when it holds this many rows and another one comes.
constexpr int kMaxResultRows = 1000;

constexpr int kColumnPath = 0;
constexpr int kColumnVirus = 1;
constexpr int kColumnResult = 2;

// The handling-result text for a finding kind (any value above 0 is cleaned, below 0 in use).
const char* FindingText(int kind);

// Adds a row (path, this thread's LastVirusName, result) and moves the counters.
void ReportFinding(MainView& view, const std::string& path, int kind);

}  // namespace morvane
