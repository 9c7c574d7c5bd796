#include "engine/registry_repair.h"

#include <functional>

#include "platform/platform.h"

namespace morvane {

const AutorunKey AUTORUN_VALUE_KEYS[9] = {
    {RegRoot::LocalMachine, "Software\\Microsoft\\Windows\\CurrentVersion\\Run"},
    {RegRoot::LocalMachine, "Software\\Microsoft\\Windows\\CurrentVersion\\RunOnce"},
    {RegRoot::LocalMachine, "Software\\Microsoft\\Windows\\CurrentVersion\\RunServices"},
    {RegRoot::CurrentUser, "Software\\Microsoft\\Windows\\CurrentVersion\\Run"},
    {RegRoot::CurrentUser, "Software\\Microsoft\\Windows\\CurrentVersion\\RunOnce"},
    {RegRoot::CurrentUser, "Software\\Microsoft\\Windows\\CurrentVersion\\RunServices"},
    {RegRoot::Users, ".DEFAULT\\Software\\Microsoft\\Windows\\CurrentVersion\\Run"},
    {RegRoot::Users, ".DEFAULT\\Software\\Microsoft\\Windows\\CurrentVersion\\Runonce"},
    {RegRoot::Users, ".DEFAULT\\Software\\Microsoft\\Windows\\CurrentVersion\\RunServices"},
};

const char kServicesKey[] = "SYSTEM\\CurrentControlSet\\Services";

namespace {

std::string Upper(const std::string& text) {
  std::string upper = text;
  for (char& c : upper) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return upper;
}

std::string FileName(const std::string& path) {
  const size_t cut = path.find_last_of("\\/");
  return cut == std::string::npos ? path : path.substr(cut + 1);
}

bool OpensComponent(char c) {
  return c == '"' || c == '\\' || c == '/' || c == ' ';
}
bool ClosesComponent(char c) {
  return c == '"' || c == ' ' || c == ',';
}

using ValueTest = std::function<bool(const std::string& data)>;

// One enumeration pass over the key's values, deleting those that `matches`. After a deletion
// the index stays, since the next value moves into the freed place; a value that cannot be
// deleted is stepped over so the pass still ends. Returns whether the last value matched.
bool DeleteMatchingValues(RegistryKey& key, const AutorunKey& autorun, bool lastMatch,
                          const ValueTest& matches) {
  std::string name;
  std::string data;
  for (uint32_t index = 0;
       key.EnumValue(index, kRepairBuffer, name, kRepairBuffer, &data) == kErrorSuccess;) {
    lastMatch = matches(data);
    if (!lastMatch || !DeleteRegistryValue(autorun.root, autorun.subkey, name)) ++index;
  }
  return lastMatch;
}

void RepairAutorunKey(const AutorunKey& autorun, const std::string& path) {
  std::unique_ptr<RegistryKey> key =
      CurrentPlatform().registry->Open(autorun.root, autorun.subkey, RegAccess::All);
  if (!key) return;
  std::string data;
  bool lastMatch = key->QueryValue("", kRepairBuffer, data) == kErrorSuccess &&
                   CommandStartsWithFile(data, path);
  if (lastMatch) DeleteRegistryValue(autorun.root, autorun.subkey, "");
  lastMatch = DeleteMatchingValues(*key, autorun, lastMatch, [&](const std::string& value) {
    return CommandStartsWithFile(value, path);
  });
  if (lastMatch) return;
  DeleteMatchingValues(*key, autorun, false,
                       [&](const std::string& value) { return CommandNamesFile(value, path); });
}

bool ServiceRunsFile(const std::string& service, const std::string& upperPath) {
  const std::string keyPath = std::string(kServicesKey) + "\\" + service;
  if (keyPath.size() >= kRepairBuffer) return false;
  std::unique_ptr<RegistryKey> key =
      CurrentPlatform().registry->Open(RegRoot::LocalMachine, keyPath, RegAccess::All);
  std::string imagePath;
  if (!key || key->QueryValue("ImagePath", kRepairBuffer, imagePath) != kErrorSuccess) {
    return false;
  }
  return Upper(imagePath).find(upperPath) != std::string::npos;
}

void RemoveServicesOf(const std::string& path) {
  std::unique_ptr<RegistryKey> services =
      CurrentPlatform().registry->Open(RegRoot::LocalMachine, kServicesKey, RegAccess::All);
  if (!services) return;
  const std::string upperPath = Upper(path);
  std::string name;
  for (uint32_t index = 0; services->EnumKey(index, kRepairBuffer, name) == kErrorSuccess;) {
    // A deleted service's place is taken by the next one, which must be looked at too.
    const bool deleted = ServiceRunsFile(name, upperPath) && services->DeleteTree(name) == 0;
    if (!deleted) ++index;
  }
}

}  // namespace

bool CommandStartsWithFile(const std::string& data, const std::string& path) {
  return !path.empty() && Upper(data).compare(0, path.size(), Upper(path)) == 0;
}

bool CommandNamesFile(const std::string& data, const std::string& path) {
  const std::string name = Upper(FileName(path));
  if (name.empty()) return false;
  const std::string command = Upper(data);
  for (size_t at = command.find(name); at != std::string::npos; at = command.find(name, at + 1)) {
    const size_t end = at + name.size();
    const bool opens = at == 0 || OpensComponent(command[at - 1]);
    const bool closes = end == command.size() || ClosesComponent(command[end]);
    if (opens && closes) return true;
  }
  return false;
}

bool DeleteRegistryValue(RegRoot root, const std::string& subkey, const std::string& name) {
  std::unique_ptr<RegistryKey> key = CurrentPlatform().registry->Open(root, subkey, RegAccess::All);
  return key && key->DeleteValue(name) == kErrorSuccess;
}

void RepairInfectionRegistry(const std::string& path) {
  if (!CurrentPlatform().registry) return;
  for (const AutorunKey& autorun : AUTORUN_VALUE_KEYS) RepairAutorunKey(autorun, path);
  RemoveServicesOf(path);
}

}  // namespace morvane
