#include "platform/win32/win32_registry.h"

#include <gtest/gtest.h>

#include <map>

#include "platform/win32/windows_api.h"

namespace morvane {
namespace {

constexpr char kTestKey[] = "Software\\MorvaneRegistryTest";

// A key under HKCU with a few values and a subkey tree, made by plain Win32 calls.
class Win32RegistryTest : public ::testing::Test {
 protected:
  void SetUp() override {
    RegDeleteTreeA(HKEY_CURRENT_USER, kTestKey);
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, kTestKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                              &key, nullptr),
              ERROR_SUCCESS);
    Set(key, "", "default text");
    Set(key, "Worm", "C:\\WINDOWS\\病毒.exe -s");
    Set(key, "Other", "x");
    HKEY deep = nullptr;
    RegCreateKeyExA(key, "Sub\\Deeper", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &deep, nullptr);
    RegCloseKey(deep);
    RegCloseKey(key);
  }
  void TearDown() override { RegDeleteTreeA(HKEY_CURRENT_USER, kTestKey); }

  static void Set(HKEY key, const char* name, const std::string& text) {
    RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                   static_cast<DWORD>(text.size() + 1));
  }

  std::unique_ptr<RegistryKey> OpenTestKey(RegAccess access = RegAccess::All) {
    return registry_.Open(RegRoot::CurrentUser, kTestKey, access);
  }

  Win32Registry win32_;
  Registry& registry_ = win32_;
};

TEST_F(Win32RegistryTest, EnumeratesEveryValueWithItsText) {
  auto key = OpenTestKey(RegAccess::Query);
  ASSERT_NE(key, nullptr);
  std::map<std::string, std::string> values;
  std::string name, data;
  uint32_t index = 0;
  for (; key->EnumValue(index, 260, name, 260, &data) == kErrorSuccess; ++index) {
    values[name] = data;
  }
  EXPECT_EQ(key->EnumValue(index, 260, name, 260, &data), kErrorNoMoreItems);
  const std::map<std::string, std::string> expected = {
      {"", "default text"}, {"Worm", "C:\\WINDOWS\\病毒.exe -s"}, {"Other", "x"}};
  EXPECT_EQ(values, expected);
}

TEST_F(Win32RegistryTest, TooSmallBuffersFailWithMoreData) {
  auto key = OpenTestKey();
  ASSERT_NE(key, nullptr);
  std::string name, data;
  // Data of "default text" is 13 bytes with its zero; the name "Worm" needs 5.
  EXPECT_EQ(key->QueryValue("", 12, data), kErrorMoreData);
  EXPECT_EQ(key->QueryValue("", 13, data), kErrorSuccess);
  EXPECT_EQ(data, "default text");
  for (uint32_t i = 0; key->EnumValue(i, 260, name, 260, nullptr) == kErrorSuccess; ++i) {
    if (name != "Worm") continue;
    EXPECT_EQ(key->EnumValue(i, 4, name, 260, nullptr), kErrorMoreData);
    EXPECT_EQ(key->EnumValue(i, 260, name, 3, &data), kErrorMoreData);
  }
}

TEST_F(Win32RegistryTest, DeletesValuesAndWholeSubkeyTrees) {
  auto key = OpenTestKey();
  ASSERT_NE(key, nullptr);
  std::string data;
  EXPECT_EQ(key->DeleteValue("Worm"), kErrorSuccess);
  EXPECT_EQ(key->QueryValue("Worm", 260, data), kErrorFileNotFound);
  EXPECT_EQ(key->DeleteValue("Worm"), kErrorFileNotFound);

  std::string subkey;
  EXPECT_EQ(key->EnumKey(0, 260, subkey), kErrorSuccess);
  EXPECT_EQ(subkey, "Sub");
  EXPECT_EQ(key->DeleteTree("Sub"), kErrorSuccess);
  EXPECT_EQ(key->EnumKey(0, 260, subkey), kErrorNoMoreItems);
}

TEST_F(Win32RegistryTest, MissingKeyReportsFileNotFound) {
  long error = 0;
  EXPECT_EQ(
      registry_.Open(RegRoot::CurrentUser, "Software\\MorvaneNoSuchKey", RegAccess::Query, &error),
      nullptr);
  EXPECT_EQ(error, kErrorFileNotFound);
  EXPECT_NE(registry_.Open(RegRoot::LocalMachine, "Software", RegAccess::Query), nullptr);
}

}  // namespace
}  // namespace morvane
