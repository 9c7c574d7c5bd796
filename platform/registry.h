// The registry calls of the repairs. Results are Win32 error codes: 0 is success.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

namespace morvane {

constexpr long kErrorSuccess = 0;
constexpr long kErrorFileNotFound = 2;
constexpr long kErrorAccessDenied = 5;
constexpr long kErrorMoreData = 234;
constexpr long kErrorNoMoreItems = 259;

enum class RegRoot { ClassesRoot, CurrentUser, LocalMachine, Users };
enum class RegAccess { Query, All };

class RegistryKey {
 public:
  virtual ~RegistryKey() = default;  // RegCloseKey
  // RegEnumValueA by index. A name of `nameCapacity` bytes or more, or data longer than
  // `dataCapacity` bytes, fails with kErrorMoreData; `data` may be null to ask for the name only.
  virtual long EnumValue(uint32_t index, size_t nameCapacity, std::string& name,
                         size_t dataCapacity, std::string* data) = 0;
  // RegQueryValueExA; "" is the default value. Data longer than `dataCapacity` fails.
  virtual long QueryValue(const std::string& name, size_t dataCapacity, std::string& data) = 0;
  virtual long DeleteValue(const std::string& name) = 0;
  // RegEnumKeyA by index.
  virtual long EnumKey(uint32_t index, size_t nameCapacity, std::string& name) = 0;
  // SHDeleteKeyA: the subkey with everything below it. kErrorFileNotFound when unavailable.
  virtual long DeleteTree(const std::string& subkey) = 0;
};

class Registry {
 public:
  virtual ~Registry() = default;
  // RegOpenKeyExA (RegOpenKeyA opens with All). Null with `error` set on failure.
  virtual std::unique_ptr<RegistryKey> Open(RegRoot root, const std::string& subkey,
                                            RegAccess access, long* error = nullptr) = 0;
};

}  // namespace morvane
