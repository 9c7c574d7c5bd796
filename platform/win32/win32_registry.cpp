#include "platform/win32/win32_registry.h"

#include <cstring>
#include <vector>

#include "platform/win32/handles.h"

namespace morvane {

namespace {

using ShDeleteKeyA = LONG(WINAPI*)(HKEY, LPCSTR);

HKEY RootKey(RegRoot root) {
  switch (root) {
    case RegRoot::ClassesRoot:
      return HKEY_CLASSES_ROOT;
    case RegRoot::CurrentUser:
      return HKEY_CURRENT_USER;
    case RegRoot::Users:
      return HKEY_USERS;
    case RegRoot::LocalMachine:
      break;
  }
  return HKEY_LOCAL_MACHINE;
}

// Value data as a text: up to its first zero byte, as a C-string buffer would hold it.
std::string AsText(const std::vector<char>& data, DWORD length) {
  const char* begin = data.data();
  const void* zero = std::memchr(begin, 0, length);
  return std::string(begin, zero ? static_cast<const char*>(zero) : begin + length);
}

class Win32RegistryKey : public RegistryKey {
 public:
  explicit Win32RegistryKey(HKEY key) : key_(key) {}

  long EnumValue(uint32_t index, size_t nameCapacity, std::string& name, size_t dataCapacity,
                 std::string* data) override {
    std::vector<char> nameBuffer(nameCapacity + 1);
    std::vector<char> dataBuffer(dataCapacity + 1);
    DWORD nameLength = static_cast<DWORD>(nameCapacity);
    DWORD dataLength = static_cast<DWORD>(dataCapacity);
    const LONG result = RegEnumValueA(
        key_.Get(), index, nameBuffer.data(), &nameLength, nullptr, nullptr,
        data ? reinterpret_cast<BYTE*>(dataBuffer.data()) : nullptr, data ? &dataLength : nullptr);
    if (result != ERROR_SUCCESS) return result;
    name.assign(nameBuffer.data(), nameLength);
    if (data) *data = AsText(dataBuffer, dataLength);
    return result;
  }

  long QueryValue(const std::string& name, size_t dataCapacity, std::string& data) override {
    std::vector<char> buffer(dataCapacity + 1);
    DWORD length = static_cast<DWORD>(dataCapacity);
    const LONG result = RegQueryValueExA(key_.Get(), name.c_str(), nullptr, nullptr,
                                         reinterpret_cast<BYTE*>(buffer.data()), &length);
    if (result == ERROR_SUCCESS) data = AsText(buffer, length);
    return result;
  }

  long DeleteValue(const std::string& name) override {
    return RegDeleteValueA(key_.Get(), name.c_str());
  }

  long EnumKey(uint32_t index, size_t nameCapacity, std::string& name) override {
    std::vector<char> buffer(nameCapacity + 1);
    const LONG result =
        RegEnumKeyA(key_.Get(), index, buffer.data(), static_cast<DWORD>(nameCapacity));
    if (result == ERROR_SUCCESS) name.assign(buffer.data());
    return result;
  }

  // Not every Windows has shlwapi.dll, so it is looked up by name.
  long DeleteTree(const std::string& subkey) override {
    const win32::Library shlwapi(LoadLibraryA("shlwapi.dll"));
    const auto deleteKey = win32::EntryPoint<ShDeleteKeyA>(shlwapi, "SHDeleteKeyA");
    if (!deleteKey) return kErrorFileNotFound;
    return deleteKey(key_.Get(), subkey.c_str());
  }

 private:
  win32::RegistryKeyHandle key_;
};

}  // namespace

std::unique_ptr<RegistryKey> Win32Registry::Open(RegRoot root, const std::string& subkey,
                                                 RegAccess access, long* error) {
  HKEY key = nullptr;
  const REGSAM rights = access == RegAccess::All ? KEY_ALL_ACCESS : KEY_READ;
  const LONG result = RegOpenKeyExA(RootKey(root), subkey.c_str(), 0, rights, &key);
  if (error) *error = result;
  if (result != ERROR_SUCCESS) return nullptr;
  return std::make_unique<Win32RegistryKey>(key);
}

}  // namespace morvane
