#include "control/native/native_journal_platform.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <string>

#include "control/command_journal.h"

namespace quillon {
namespace {

namespace fs = std::filesystem;

class NativeJournalPlatformTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/quillon-journal-XXXXXX";
    ASSERT_NE(::mkdtemp(pattern), nullptr);
    dir = pattern;
  }
  void TearDown() override { fs::remove_all(dir); }
  std::set<std::string> Names() const {
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(dir)) {
      names.insert(entry.path().filename().string());
    }
    return names;
  }
  static std::string Contents(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  }

  std::string dir;
};

TEST_F(NativeJournalPlatformTest, JournalBesideAnEmptyTmpOfTheSameStem) {
  NativeJournalPlatform platform(dir);
  {
    CommandJournal journal(platform);
    journal.OpenAtLoad(true, "/plans/site.kpz", 800, 617);
    journal.WriteSizesOnce(2000, 1000);
    journal.Record("FIT");
  }
  const auto names = Names();
  ASSERT_EQ(names.size(), 2u);
  const std::string tmp = *names.rbegin();
  const std::string rec = *names.begin();
  const std::string stem = tmp.substr(0, tmp.size() - 4);
  EXPECT_EQ(tmp, stem + ".tmp");
  EXPECT_EQ(rec, stem + ".rec");
  ASSERT_GT(stem.size(), 3u);
  EXPECT_EQ(stem.substr(0, 3), "sit");
  EXPECT_EQ(stem.find_first_not_of("0123456789ABCDEF", 3), std::string::npos) << stem;
  EXPECT_EQ(fs::file_size(fs::path(dir) / tmp), 0u);
  EXPECT_EQ(Contents(fs::path(dir) / rec),
            "KPZFile=/plans/site.kpz\nXViewSize=800.000000\nYViewSize=617.000000\n"
            "KpzXSize=2000\nKpzYSize=1000\nFIT\n");
}

TEST_F(NativeJournalPlatformTest, NamesAreUnique) {
  NativeJournalPlatform platform(dir);
  const auto first = platform.TempFileName("site");
  const auto second = platform.TempFileName("sit");
  ASSERT_TRUE(first && second);
  EXPECT_NE(*first, *second);
  EXPECT_EQ(Names().size(), 2u);
}

TEST_F(NativeJournalPlatformTest, AMissingFolderGivesNoJournal) {
  NativeJournalPlatform platform(dir + "/gone");
  CommandJournal journal(platform);
  journal.OpenAtLoad(true, "/plans/site.kpz", 800, 617);
  EXPECT_FALSE(journal.IsOpen());
  journal.Record("SCALE");
  EXPECT_TRUE(Names().empty());
}

// Every file it creates is the full device: the lines are taken, the flush fails.
class FullDiskPlatform : public NativeJournalPlatform {
 public:
  using NativeJournalPlatform::NativeJournalPlatform;
  std::unique_ptr<JournalSink> Create(const std::string&) override {
    return NativeJournalPlatform::Create("/dev/full");
  }
};

TEST_F(NativeJournalPlatformTest, AFullDiskClosesTheJournal) {
  if (!fs::exists("/dev/full")) GTEST_SKIP() << "no /dev/full";
  FullDiskPlatform platform(dir);
  CommandJournal journal(platform);
  journal.OpenAtLoad(true, "/plans/site.kpz", 800, 617);
  EXPECT_FALSE(journal.IsOpen());
  journal.Record("SCALE");
}

}  // namespace
}  // namespace quillon
