#include "fakes/fake_registry.h"

#include <algorithm>

namespace morvane::testing {

class FakeRegistryKey : public RegistryKey {
 public:
  FakeRegistryKey(FakeRegistry& registry, FakeRegistry::Path path)
      : registry_(registry), path_(std::move(path)) {}

  long EnumValue(uint32_t index, size_t nameCapacity, std::string& name, size_t dataCapacity,
                 std::string* data) override {
    std::lock_guard<std::recursive_mutex> lock(registry_.mutex_);
    FakeRegistry::Key* key = registry_.Find(path_);
    if (!key) return kErrorFileNotFound;
    if (index >= key->values.size()) return kErrorNoMoreItems;
    const auto& [valueName, valueData] = key->values[index];
    if (valueName.size() >= nameCapacity) return kErrorMoreData;
    if (data && valueData.size() > dataCapacity) return kErrorMoreData;
    name = valueName;
    if (data) *data = valueData;
    return kErrorSuccess;
  }

  long QueryValue(const std::string& name, size_t dataCapacity, std::string& data) override {
    std::lock_guard<std::recursive_mutex> lock(registry_.mutex_);
    FakeRegistry::Key* key = registry_.Find(path_);
    if (!key) return kErrorFileNotFound;
    for (const auto& [valueName, valueData] : key->values) {
      if (FakeRegistry::Fold(valueName) != FakeRegistry::Fold(name)) continue;
      if (valueData.size() > dataCapacity) return kErrorMoreData;
      data = valueData;
      return kErrorSuccess;
    }
    return kErrorFileNotFound;
  }

  long DeleteValue(const std::string& name) override {
    std::lock_guard<std::recursive_mutex> lock(registry_.mutex_);
    FakeRegistry::Key* key = registry_.Find(path_);
    if (!key) return kErrorFileNotFound;
    auto& values = key->values;
    const auto it = std::find_if(values.begin(), values.end(), [&](const auto& value) {
      return FakeRegistry::Fold(value.first) == FakeRegistry::Fold(name);
    });
    if (it == values.end()) return kErrorFileNotFound;
    values.erase(it);
    return kErrorSuccess;
  }

  long EnumKey(uint32_t index, size_t nameCapacity, std::string& name) override {
    std::lock_guard<std::recursive_mutex> lock(registry_.mutex_);
    FakeRegistry::Key* key = registry_.Find(path_);
    if (!key) return kErrorFileNotFound;
    if (index >= key->subkeys.size()) return kErrorNoMoreItems;
    if (key->subkeys[index].size() >= nameCapacity) return kErrorMoreData;
    name = key->subkeys[index];
    return kErrorSuccess;
  }

  long DeleteTree(const std::string& subkey) override {
    std::lock_guard<std::recursive_mutex> lock(registry_.mutex_);
    if (!registry_.deleteTreeAvailable) return kErrorFileNotFound;
    FakeRegistry::Key* key = registry_.Find(path_);
    const std::string folded = path_.second + "\\" + FakeRegistry::Fold(subkey);
    if (!key || !registry_.Find({path_.first, folded})) return kErrorFileNotFound;
    auto& keys = registry_.keys_;
    for (auto it = keys.begin(); it != keys.end();) {
      const std::string& other = it->first.second;
      const bool below =
          it->first.first == path_.first && (other == folded || other.rfind(folded + "\\", 0) == 0);
      it = below ? keys.erase(it) : std::next(it);
    }
    std::erase_if(key->subkeys, [&](const std::string& name) {
      return FakeRegistry::Fold(name) == FakeRegistry::Fold(subkey);
    });
    return kErrorSuccess;
  }

 private:
  FakeRegistry& registry_;
  FakeRegistry::Path path_;
};

std::string FakeRegistry::Fold(const std::string& text) {
  std::string folded = text;
  for (char& c : folded) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return folded;
}

FakeRegistry::Key* FakeRegistry::Find(const Path& path) {
  const auto it = keys_.find(path);
  return it == keys_.end() ? nullptr : &it->second;
}

FakeRegistry::Key& FakeRegistry::Make(RegRoot root, const std::string& path) {
  std::string folded;
  size_t start = 0;
  Key* parent = nullptr;
  while (start <= path.size()) {
    const size_t end = std::min(path.find('\\', start), path.size());
    const std::string part = path.substr(start, end - start);
    folded += (folded.empty() ? "" : "\\") + Fold(part);
    Key& key = keys_[{root, folded}];
    if (key.name.empty()) {
      key.name = part;
      if (parent) parent->subkeys.push_back(part);
    }
    parent = &key;
    start = end + 1;
  }
  return *parent;
}

std::unique_ptr<RegistryKey> FakeRegistry::Open(RegRoot root, const std::string& subkey, RegAccess,
                                                long* error) {
  std::lock_guard<std::recursive_mutex> lock(mutex_);
  const Path path{root, Fold(subkey)};
  long result = kErrorSuccess;
  if (std::find(denied_.begin(), denied_.end(), path) != denied_.end()) {
    result = kErrorAccessDenied;
  } else if (!Find(path)) {
    result = kErrorFileNotFound;
  }
  if (error) *error = result;
  if (result != kErrorSuccess) return nullptr;
  return std::make_unique<FakeRegistryKey>(*this, path);
}

void FakeRegistry::SetValue(RegRoot root, const std::string& path, const std::string& name,
                            const std::string& data) {
  std::lock_guard<std::recursive_mutex> lock(mutex_);
  Key& key = Make(root, path);
  for (auto& value : key.values) {
    if (Fold(value.first) == Fold(name)) {
      value.second = data;
      return;
    }
  }
  key.values.emplace_back(name, data);
}

void FakeRegistry::CreateKey(RegRoot root, const std::string& path) {
  std::lock_guard<std::recursive_mutex> lock(mutex_);
  Make(root, path);
}

bool FakeRegistry::HasKey(RegRoot root, const std::string& path) const {
  std::lock_guard<std::recursive_mutex> lock(mutex_);
  return keys_.count({root, Fold(path)}) != 0;
}

std::vector<std::string> FakeRegistry::ValueNames(RegRoot root, const std::string& path) const {
  std::lock_guard<std::recursive_mutex> lock(mutex_);
  std::vector<std::string> names;
  const auto it = keys_.find({root, Fold(path)});
  if (it == keys_.end()) return names;
  for (const auto& value : it->second.values) names.push_back(value.first);
  return names;
}

void FakeRegistry::Deny(RegRoot root, const std::string& path) {
  std::lock_guard<std::recursive_mutex> lock(mutex_);
  denied_.push_back({root, Fold(path)});
}

}  // namespace morvane::testing
