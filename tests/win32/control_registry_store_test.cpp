// The settings store of the control on the real registry, in a scratch key of its own.

#include <gtest/gtest.h>

#include <string>

#include "settings/win32/registry_store.h"
#include "tests/win32/control_host.h"

namespace quillon::control_test {
namespace {

const std::string kScratchParent = "Software\\QuillonTestScratch";
const std::string kScratch = kScratchParent + "\\Store";

class ControlRegistryStoreTest : public ::testing::Test {
 protected:
  void SetUp() override { ::RegDeleteTreeA(HKEY_CURRENT_USER, kScratchParent.c_str()); }
  void TearDown() override { ::RegDeleteTreeA(HKEY_CURRENT_USER, kScratchParent.c_str()); }
  RegistryStore store{HKEY_CURRENT_USER, kScratch};
};

TEST_F(ControlRegistryStoreTest, NothingIsWrittenIntoAMissingKey) {
  EXPECT_FALSE(store.KeyExists());
  EXPECT_FALSE(store.WriteText("ScaleFactor", "1.5"));
  EXPECT_FALSE(store.WriteDword("Record", 1));
  EXPECT_FALSE(store.KeyExists()) << "writing must not create the key";
  EXPECT_FALSE(store.ReadText("ScaleFactor"));
  ASSERT_TRUE(store.EnsureKey());
  EXPECT_TRUE(store.KeyExists());
  EXPECT_TRUE(store.EnsureKey()) << "an existing key is simply opened";
}

TEST_F(ControlRegistryStoreTest, TextAndDwordValuesKeepTheirTypes) {
  ASSERT_TRUE(store.EnsureKey());
  ASSERT_TRUE(store.WriteText("ScaleFactor", "1.5"));
  ASSERT_TRUE(store.WriteDword("Record", 7));
  EXPECT_EQ(store.ReadText("ScaleFactor"), "1.5");
  EXPECT_EQ(store.ReadDword("Record"), 7u);
  EXPECT_FALSE(store.ReadDword("ScaleFactor")) << "text is not a DWORD";
  EXPECT_FALSE(store.ReadText("Record")) << "a DWORD is not text";
  EXPECT_FALSE(store.ReadText("Missing"));
  EXPECT_EQ(ReadRegText(HKEY_CURRENT_USER, kScratch, "ScaleFactor").text, "1.5");
}

TEST_F(ControlRegistryStoreTest, TextLongerThanItsBufferIsRefused) {
  ASSERT_TRUE(store.EnsureKey());
  ASSERT_TRUE(store.WriteText("FormName", std::string(259, 'a')));
  EXPECT_EQ(store.ReadText("FormName"), std::string(259, 'a'));
  ASSERT_TRUE(store.WriteText("FormName", std::string(260, 'a')));
  EXPECT_FALSE(store.ReadText("FormName"));
  ASSERT_TRUE(store.WriteText("FormName", std::string(5000, 'b')));
  EXPECT_FALSE(store.ReadText("FormName"));
}

TEST_F(ControlRegistryStoreTest, RecreateEmptiesTheKeyAndKeepsItsParent) {
  ASSERT_TRUE(store.EnsureKey());
  ASSERT_TRUE(store.WriteText("Rotation", "90"));
  HKEY sibling = nullptr;
  ASSERT_EQ(::RegCreateKeyExA(HKEY_CURRENT_USER, (kScratchParent + "\\Other").c_str(), 0, nullptr,
                              0, KEY_ALL_ACCESS, nullptr, &sibling, nullptr),
            ERROR_SUCCESS);
  ::RegCloseKey(sibling);
  ASSERT_TRUE(store.RecreateKey());
  EXPECT_TRUE(store.KeyExists());
  EXPECT_FALSE(store.ReadText("Rotation"));
  EXPECT_EQ(ReadRegText(HKEY_CURRENT_USER, kScratch, nullptr).text, "");
  EXPECT_TRUE(ReadRegText(HKEY_CURRENT_USER, kScratch, nullptr).found) << "empty default value";
  EXPECT_TRUE(KeyExists(HKEY_CURRENT_USER, kScratchParent + "\\Other"));
}

}  // namespace
}  // namespace quillon::control_test
