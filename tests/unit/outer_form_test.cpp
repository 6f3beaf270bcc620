#include "document/outer_form.h"

#include <gtest/gtest.h>

#include <cstring>
#include <optional>
#include <vector>

#include "document/byte_reader.h"
#include "tests/support/kpz_builder.h"

namespace quillon {
namespace {

using Bytes = std::vector<std::uint8_t>;

TEST(OuterFormTest, ClassifiesPlainWrappedAndInvalid) {
  EXPECT_EQ(ClassifyOuterForm(KpzBuilder().Build()), OuterForm::Plain);
  EXPECT_EQ(ClassifyOuterForm(KpzBuilder().Wrapped({}).Build()), OuterForm::Wrapped);
  EXPECT_EQ(ClassifyOuterForm(Bytes{0xCE, 0xFA, 0xBE, 0xBA}), OuterForm::Wrapped);
  EXPECT_EQ(ClassifyOuterForm(Bytes{0, 0x98, 0x02, 0, 0}), OuterForm::Plain);  // 664
}

TEST(OuterFormTest, HeaderOpcodeWithWrongLengthIsInvalid) {
  KpzBuilder b;
  b.header().length = 665;
  EXPECT_EQ(ClassifyOuterForm(b.Build()), OuterForm::Invalid);
  b.header().length = 664;
  b.header().opcode = 2;
  EXPECT_EQ(ClassifyOuterForm(b.Build()), OuterForm::Invalid);
}

TEST(OuterFormTest, ShortFilesAreInvalid) {
  EXPECT_EQ(ClassifyOuterForm(Bytes{}), OuterForm::Invalid);
  EXPECT_EQ(ClassifyOuterForm(Bytes{0, 0x98, 0x02, 0}), OuterForm::Invalid);
  EXPECT_EQ(ClassifyOuterForm(Bytes{0xCE, 0xFA, 0xBE}), OuterForm::Invalid);
}

TEST(OuterFormTest, PlainAndUnknownFilesStartAtZero) {
  EXPECT_EQ(FindDataStart(KpzBuilder().Build()), 0u);
  EXPECT_EQ(FindDataStart(Bytes{7, 7, 7}), 0u);
}

KpzWrapperLayout SampleWrapper() {
  KpzWrapperLayout w;
  w.strings = {"a", "bc", "", "def", "", "", "g", "", "hijk"};
  w.blockSizes = {3, 0, 5};
  w.extras = {0x11111111, 0x22222222};
  return w;
}

TEST(WrapperTest, RemainderZeroSkipsOnlyTheBlocks) {
  const auto layout = SampleWrapper();
  const Bytes file = KpzBuilder().Wrapped(layout).Build();
  const std::size_t strings = 9 * 2 + 1 + 2 + 3 + 1 + 4;
  const std::size_t expected = 40 + strings + 3 * 4 + 2 * 4 + 3 + 0 + 5;
  const char* why = nullptr;
  auto wrapper = ReadWrapper(file, &why);
  ASSERT_TRUE(wrapper) << why;
  EXPECT_EQ(wrapper->remainder, 0u);
  EXPECT_EQ(wrapper->dataStart, expected);
  EXPECT_EQ(FindDataStart(file), expected);
  EXPECT_EQ(file[expected], 0);  // the header record
  EXPECT_EQ(wrapper->blockCount, 3u);
  EXPECT_EQ(wrapper->blockSizes[2], 5u);
  EXPECT_EQ(wrapper->extraCount, 2u);
  EXPECT_EQ(file[wrapper->extrasOffset], 0x11);
  ASSERT_EQ(wrapper->strings[3].size(), 3u);
  EXPECT_EQ(std::memcmp(wrapper->strings[3].data(), "def", 3), 0);
  EXPECT_EQ(wrapper->blocksOffset, expected - 8);
}

TEST(WrapperTest, NonZeroRemainderSkipsRPlusFour) {
  auto layout = SampleWrapper();
  layout.remainder = 6;
  const Bytes file = KpzBuilder().Wrapped(layout).Build();
  const Bytes plain = KpzBuilder().Wrapped(SampleWrapper()).Build();
  auto wrapper = ReadWrapper(file);
  ASSERT_TRUE(wrapper);
  EXPECT_EQ(wrapper->remainder, 6u);
  EXPECT_EQ(wrapper->dataStart, *FindDataStart(plain) + 10);
  EXPECT_EQ(file[wrapper->dataStart], 0);
  EXPECT_EQ(file[wrapper->dataStart - 1], 0xBB);  // last byte of the last block
}

TEST(WrapperTest, RemainderIsComputedInUnsigned32Bits) {
  // A wrapper size too small makes r wrap to a huge value: refused, not wrapped around.
  auto layout = SampleWrapper();
  layout.wrapperSize = 10;
  const char* why = nullptr;
  EXPECT_FALSE(ReadWrapper(KpzBuilder().Wrapped(layout).Build(), &why));
  EXPECT_STREQ(why, "wrapper remainder runs past the end of the file");
}

// The skip r + 4 wraps in 32 bits as r does, and is still bounded by the file.
TEST(WrapperTest, RemainderSkipWrapsIn32Bits) {
  struct Case {
    const char* name;
    std::uint32_t remainder;
    std::optional<std::size_t> keptAfterExtras;  // the file is cut there, else whole
    std::optional<std::size_t> skip;             // bytes skipped; nullopt: refused
  };
  const Case cases[] = {
      {"no remainder", 0, {}, 0},
      {"ordinary", 6, {}, 10},
      {"r + 4 wraps to 2", 0xFFFFFFFE, {}, 2},
      {"r + 4 wraps to 3", 0xFFFFFFFF, {}, 3},
      {"r + 4 wraps to 0", 0xFFFFFFFC, {}, 0},
      {"wrapped skip past the end", 0xFFFFFFFF, 2, std::nullopt},
  };
  const std::uint32_t exactSize = 24 + (9 * 2 + 11) + 3 * 4 + 2 * 4;
  const std::size_t extrasEnd = 40 + (9 * 2 + 11) + 3 * 4 + 2 * 4;
  const std::size_t plainStart = *FindDataStart(KpzBuilder().Wrapped(SampleWrapper()).Build());
  for (const auto& c : cases) {
    auto layout = SampleWrapper();
    layout.remainder = c.remainder;
    KpzBuilder b;
    b.Wrapped(layout);
    if (c.keptAfterExtras) b.TruncateAt(extrasEnd + *c.keptAfterExtras);
    const Bytes file = b.Build();
    ByteReader stored(file);
    ASSERT_EQ(stored.u32_at(16), static_cast<std::uint32_t>(exactSize + c.remainder)) << c.name;

    const char* why = nullptr;
    const auto wrapper = ReadWrapper(file, &why);
    if (!c.skip) {
      EXPECT_FALSE(wrapper) << c.name;
      EXPECT_STREQ(why, "wrapper remainder runs past the end of the file") << c.name;
      continue;
    }
    ASSERT_TRUE(wrapper) << c.name << ": " << why;
    EXPECT_EQ(wrapper->remainder, c.remainder) << c.name;
    EXPECT_EQ(wrapper->blocksOffset, extrasEnd + *c.skip) << c.name;
    EXPECT_EQ(wrapper->dataStart, plainStart + *c.skip) << c.name;
    EXPECT_EQ(FindDataStart(file), wrapper->dataStart) << c.name;
    EXPECT_EQ(file[wrapper->dataStart], 0) << c.name;  // the header record
  }
}

TEST(WrapperTest, MoreThanTenBlocksIsRefused) {
  KpzWrapperLayout layout;
  layout.blockSizes.assign(10, 1);
  EXPECT_TRUE(ReadWrapper(KpzBuilder().Wrapped(layout).Build()));
  layout.blockSizes.assign(11, 1);
  const char* why = nullptr;
  EXPECT_FALSE(ReadWrapper(KpzBuilder().Wrapped(layout).Build(), &why));
  EXPECT_STREQ(why, "more than 10 wrapper blocks");
  // Huge claimed count with no sizes behind it.
  layout.blockSizes.clear();
  layout.blockCount = 0xFFFFFFFF;
  EXPECT_FALSE(FindDataStart(KpzBuilder().Wrapped(layout).Build()));
}

TEST(WrapperTest, BlocksOrExtrasPastTheEndAreRefused) {
  auto layout = SampleWrapper();
  layout.blockSizes = {0x7FFFFFFF};
  const char* why = nullptr;
  EXPECT_FALSE(FindDataStart(KpzBuilder().Wrapped(layout).TruncateAt(4000).Build(), &why));
  EXPECT_STREQ(why, "wrapper blocks run past the end of the file");
  layout = SampleWrapper();
  layout.extraCount = 0x40000000;
  EXPECT_FALSE(FindDataStart(KpzBuilder().Wrapped(layout).Build(), &why));
  EXPECT_STREQ(why, "wrapper extra entries run past the end of the file");
}

TEST(WrapperTest, EveryTruncationIsRefusedOrInside) {
  auto layout = SampleWrapper();
  layout.remainder = 3;
  const Bytes full = KpzBuilder().Wrapped(layout).Build();
  const std::size_t dataStart = *FindDataStart(full);
  for (std::size_t n = 0; n < dataStart + 8; ++n) {
    const Bytes cut(full.begin(), full.begin() + n);
    auto start = FindDataStart(cut);
    if (n < 4) {
      EXPECT_EQ(start, 0u);  // not wrapped at all any more
    } else if (n < dataStart) {
      EXPECT_FALSE(start) << n;
    } else {
      EXPECT_EQ(start, dataStart) << n;
    }
  }
}

}  // namespace
}  // namespace quillon
