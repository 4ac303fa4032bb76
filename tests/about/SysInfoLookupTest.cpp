#include "about/SysInfoLookup.h"

#include <filesystem>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "FakeRegistry.h"

namespace lumeno::about {
namespace {

using platform::FakeRegistry;
using platform::RegistryRoot;

const std::string kKey = "SOFTWARE\\Vendor\\Tool";

class GetKeyValueTest : public ::testing::Test {
 protected:
  bool read(const std::string& name) {
    return GetKeyValue(registry, RegistryRoot::LocalMachine, kKey, name, value);
  }
  FakeRegistry registry;
  std::string value = "left over";
};

TEST_F(GetKeyValueTest, StringReadsTheSameWithOrWithoutItsTerminatingNul) {
  registry.set(kKey, "WithNul", {platform::kRegString, std::string("C:\\Tools\\info.exe\0", 18)});
  registry.set(kKey, "WithoutNul", {platform::kRegString, "C:\\Tools\\info.exe"});
  ASSERT_TRUE(read("WithNul"));
  EXPECT_EQ(value, "C:\\Tools\\info.exe");
  value.clear();
  ASSERT_TRUE(read("WithoutNul"));
  EXPECT_EQ(value, "C:\\Tools\\info.exe");
}

TEST_F(GetKeyValueTest, NumberReadsAsDecimalAndOtherTypesLeaveTheTextAlone) {
  // Little-endian; a number whose last bytes are zero must not lose them to the NUL rule.
  registry.set(kKey, "Number", {platform::kRegDword, std::string("\x04\x03\x02\x01", 4)});
  registry.set(kKey, "Zeroes", {platform::kRegDword, std::string("\x00\x01\x00\x00", 4)});
  registry.set(kKey, "Binary", {3, "\x01\x02"});
  ASSERT_TRUE(read("Number"));
  EXPECT_EQ(value, "16909060");
  ASSERT_TRUE(read("Zeroes"));
  EXPECT_EQ(value, "256");
  value = "as passed in";
  EXPECT_TRUE(read("Binary"));
  EXPECT_EQ(value, "as passed in");
}

TEST_F(GetKeyValueTest, MissingKeyMissingValueOrOverlongValueGiveFalseAndEmptyText) {
  registry.set(kKey, "Long", {platform::kRegString, std::string(kValueBufferSize + 1, 'x')});
  registry.set(kKey, "Longest", {platform::kRegString, std::string(kValueBufferSize, 'x')});
  EXPECT_FALSE(GetKeyValue(registry, RegistryRoot::LocalMachine, "SOFTWARE\\Nobody", "PATH", value));
  EXPECT_EQ(value, "");
  value = "left over";
  EXPECT_FALSE(read("Absent"));
  EXPECT_EQ(value, "");
  value = "left over";
  EXPECT_FALSE(read("Long"));
  EXPECT_EQ(value, "");
  EXPECT_TRUE(read("Longest"));
  EXPECT_EQ(value.size(), kValueBufferSize);
  EXPECT_EQ(registry.openKeys, 0);
}

TEST_F(GetKeyValueTest, AValueOfNoBytesIsAnErrorAndTheKeyIsStillClosed) {
  registry.set(kKey, "Empty", {platform::kRegString, ""});
  EXPECT_THROW(read("Empty"), RegistryValueError);
  EXPECT_EQ(registry.openKeys, 0);
}

TEST_F(GetKeyValueTest, AsksForReadAccessOnlySoAUserWhoMayOnlyReadFindsTheValue) {
  registry.readOnlyUser = true;
  registry.set(kKey, "PATH", {platform::kRegString, "C:\\x.exe"});
  ASSERT_TRUE(read("PATH"));
  EXPECT_EQ(value, "C:\\x.exe");
  ASSERT_EQ(registry.opens.size(), 1U);
  EXPECT_EQ(registry.opens[0].accessMask, 0x20019U);
  EXPECT_EQ(registry.opens[0].root, RegistryRoot::LocalMachine);
  EXPECT_EQ(registry.opens[0].subKey, kKey);
}

class RegistryLookupTest : public ::testing::Test {
 protected:
  std::optional<std::string> lookup() {
    return sysInfoProgramFromRegistry(registry, [this](const std::string& path) {
      tested.push_back(path);
      return path == existing;
    });
  }
  FakeRegistry registry;
  std::vector<std::string> tested;
  std::string existing;
  const std::string folderProgram = std::string("/opt/msinfo") +
                                    static_cast<char>(std::filesystem::path::preferred_separator) +
                                    "MSINFO32.EXE";
};

TEST_F(RegistryLookupTest, ThePathValueWinsAndIsNotCheckedForExistence) {
  registry.setString(std::string(kMsinfoKey), "PATH", "C:\\Program Files\\msinfo32.exe");
  registry.setString(std::string(kToolsLocationKey), "MSINFO", "/opt/msinfo");
  existing = folderProgram;
  EXPECT_EQ(lookup(), "C:\\Program Files\\msinfo32.exe");
  EXPECT_TRUE(tested.empty());
  ASSERT_EQ(registry.opens.size(), 1U);
  EXPECT_EQ(registry.opens[0].subKey, "SOFTWARE\\Microsoft\\Shared Tools\\MSINFO");
}

TEST_F(RegistryLookupTest, TheFolderValueLeadsToMsinfo32OnlyWhenItIsThere) {
  registry.setString(std::string(kToolsLocationKey), "MSINFO", "/opt/msinfo");
  EXPECT_EQ(lookup(), std::nullopt);
  ASSERT_EQ(tested.size(), 1U);
  EXPECT_EQ(tested[0], folderProgram);

  existing = folderProgram;
  EXPECT_EQ(lookup(), folderProgram);
  ASSERT_EQ(registry.opens.size(), 4U);
  EXPECT_EQ(registry.opens[1].subKey, "SOFTWARE\\Microsoft\\Shared Tools Location");
}

TEST_F(RegistryLookupTest, NeitherValueGivesNothing) {
  EXPECT_EQ(lookup(), std::nullopt);
  EXPECT_EQ(registry.opens.size(), 2U);
  EXPECT_TRUE(tested.empty());
}

TEST_F(RegistryLookupTest, AnEmptyPathValueStopsTheSearchBeforeTheFolderValue) {
  registry.set(std::string(kMsinfoKey), "PATH", {platform::kRegString, ""});
  registry.setString(std::string(kToolsLocationKey), "MSINFO", "/opt/msinfo");
  existing = folderProgram;
  EXPECT_THROW(lookup(), RegistryValueError);
  EXPECT_EQ(registry.opens.size(), 1U);
}

}  // namespace
}  // namespace lumeno::about
