// A registry in memory with the Win32 behaviour the repairs rely on: key and value names match
// without regard to ASCII case, values enumerate in the order they were made, a deletion moves
// the later values up one index, and a name or data that does not fit the caller's buffer makes
// the call fail with kErrorMoreData.
#pragma once

#include <map>
#include <mutex>
#include <string>
#include <vector>

#include "platform/registry.h"

namespace morvane::testing {

class FakeRegistry : public Registry {
 public:
  std::unique_ptr<RegistryKey> Open(RegRoot root, const std::string& subkey, RegAccess access,
                                    long* error) override;

  // Set-up and read-back for tests; `path` is "Sub\Key" below `root`, created with its parents.
  void SetValue(RegRoot root, const std::string& path, const std::string& name,
                const std::string& data);
  void CreateKey(RegRoot root, const std::string& path);
  bool HasKey(RegRoot root, const std::string& path) const;
  // Value names of the key in enumeration order, or nothing when it does not exist.
  std::vector<std::string> ValueNames(RegRoot root, const std::string& path) const;
  // Keys that refuse to be opened, as without the rights to them.
  void Deny(RegRoot root, const std::string& path);
  // When false, DeleteTree fails as when "SHDeleteKeyA" cannot be had.
  bool deleteTreeAvailable = true;

 private:
  friend class FakeRegistryKey;
  struct Key {
    std::string name;  // as created
    std::vector<std::pair<std::string, std::string>> values;
    std::vector<std::string> subkeys;  // names as created, in creation order
  };
  using Path = std::pair<RegRoot, std::string>;  // folded path

  static std::string Fold(const std::string& text);
  Key* Find(const Path& path);
  Key& Make(RegRoot root, const std::string& path);

  mutable std::recursive_mutex mutex_;
  std::map<Path, Key> keys_;
  std::vector<Path> denied_;
};

}  // namespace morvane::testing
