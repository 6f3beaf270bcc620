#include "document/document_loader.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "document/native/arena_heap.h"
#include "document/native/native_document_platform.h"
#include "document/raster_thresholds.h"
#include "render/draw_context.h"
#include "tests/support/fake_document_platform.h"

namespace quillon {
namespace {

using test::FakeDocumentPlatform;

// Smallest bodies that pass the outer-form check: a header record with length 664, or the
// wrapper magic.
std::vector<std::uint8_t> PlainBytes() { return {0x00, 0x98, 0x02, 0x00, 0x00, 0x11, 0x22}; }
std::vector<std::uint8_t> WrappedBytes() { return {0xCE, 0xFA, 0xBE, 0xBA, 0, 0, 0, 0, 0x33}; }
std::vector<std::uint8_t> WrongLengthBytes() { return {0x00, 0x99, 0x02, 0x00, 0x00, 0x11}; }

class LoaderTest : public ::testing::Test {
 protected:
  FakeDocumentPlatform platform;
  DocumentLoader loader{platform};
};

// --- Success path and the record it leaves -------------------------------------------------

TEST_F(LoaderTest, PlainFileIsMappedAndRecordInitialised) {
  platform.AddFile("plan.kpz", PlainBytes());
  ASSERT_EQ(loader.OpenDocument("plan.kpz", 640.5, 480.25), 0);
  KpzDocument* doc = loader.document();
  ASSERT_NE(doc, nullptr);
  EXPECT_EQ(platform.lastHeapInitialBytes, 10000u);
  EXPECT_EQ(doc->documentHeap, doc->heapOwner.get());
  EXPECT_EQ(std::vector<std::uint8_t>(doc->view.begin(), doc->view.end()), PlainBytes());
  EXPECT_EQ(doc->fileSize, PlainBytes().size());
  EXPECT_DOUBLE_EQ(doc->loadViewWidth, 640.5);
  EXPECT_DOUBLE_EQ(doc->loadViewHeight, 480.25);
  EXPECT_TRUE(platform.messages.empty());
  EXPECT_EQ(platform.liveMappings, 1);
}

TEST_F(LoaderTest, WrappedFileIsAccepted) {
  platform.AddFile("w.kpz", WrappedBytes());
  EXPECT_EQ(loader.OpenDocument("w.kpz", 1, 1), 0);
  EXPECT_TRUE(platform.messages.empty());
}

TEST_F(LoaderTest, OpeningAgainReleasesThePreviousDocument) {
  platform.AddFile("a.kpz", PlainBytes());
  platform.AddFile("b.kpz", WrappedBytes());
  ASSERT_EQ(loader.OpenDocument("a.kpz", 1, 1), 0);
  ASSERT_EQ(loader.OpenDocument("b.kpz", 1, 1), 0);
  EXPECT_EQ(platform.liveMappings, 1);
  EXPECT_EQ(platform.liveHeaps, 1);
  EXPECT_EQ(loader.document()->view[0], 0xCE);
}

// --- Outer-form check -----------------------------------------------------------------------

TEST_F(LoaderTest, WrongHeaderLengthIsRejectedAndDocumentClosed) {
  platform.AddFile("bad.kpz", WrongLengthBytes());
  EXPECT_EQ(loader.OpenDocument("bad.kpz", 1, 1), -1);
  ASSERT_EQ(platform.messages.size(), 1u);
  EXPECT_EQ(platform.messages[0], "Invalid file : bad.kpz");
  EXPECT_EQ(loader.document(), nullptr);
  EXPECT_EQ(platform.liveHeaps, 0);
  EXPECT_TRUE(platform.openedNames.empty());
}

TEST_F(LoaderTest, InvalidMessageNamesThePathNotTheCacheFile) {
  platform.downloadName = "C:\\cache\\plan[1].kpz";
  platform.AddFile(platform.downloadName, WrongLengthBytes());
  EXPECT_EQ(loader.OpenDocument("http://host/plan.kpz", 1, 1), -1);
  ASSERT_EQ(platform.messages.size(), 1u);
  EXPECT_EQ(platform.messages[0], "Invalid file : http://host/plan.kpz");
}

TEST_F(LoaderTest, ShortFilesNeverMatchOnBytesThatAreNotThere) {
  // Byte 0 is 0 and what follows would be 664 if the missing byte were zero.
  platform.AddFile("short.kpz", {0x00, 0x98, 0x02, 0x00});
  EXPECT_EQ(loader.OpenDocument("short.kpz", 1, 1), -1);
  EXPECT_EQ(platform.messages.at(0), "Invalid file : short.kpz");
  // Four bytes are enough for the wrapper magic.
  platform.AddFile("magic.kpz", {0xCE, 0xFA, 0xBE, 0xBA});
  EXPECT_EQ(loader.OpenDocument("magic.kpz", 1, 1), 0);
}

TEST_F(LoaderTest, EmptyWritableFileIsInvalid) {
  platform.AddFile("empty.kpz", {});
  EXPECT_EQ(loader.OpenDocument("empty.kpz", 1, 1), -1);
  EXPECT_EQ(platform.messages.at(0), "Invalid file : empty.kpz");
}

TEST_F(LoaderTest, ReadOnlyFileSkipsTheFormCheckAndIsMapped) {
  platform.AddFile("ro.kpz", {0x7F, 1, 2, 3, 4, 5}, /*readOnly=*/true);
  ASSERT_EQ(loader.OpenDocument("ro.kpz", 1, 1), 0);
  EXPECT_EQ(loader.document()->view[0], 0x7F);
  EXPECT_TRUE(platform.messages.empty());
}

// --- URL download ---------------------------------------------------------------------------

TEST_F(LoaderTest, HttpInAnyCaseDownloadsAndMapsTheCacheFile) {
  platform.downloadName = "C:\\cache\\plan[1].kpz";
  platform.AddFile(platform.downloadName, PlainBytes());
  ASSERT_EQ(loader.OpenDocument("HTTP://Host/Plan.kpz", 1, 1), 0);
  ASSERT_EQ(platform.downloadedUrls.size(), 1u);
  EXPECT_EQ(platform.downloadedUrls[0], "HTTP://Host/Plan.kpz");
  ASSERT_EQ(platform.openedNames.size(), 1u);
  EXPECT_EQ(platform.openedNames[0], platform.downloadName);
  ASSERT_EQ(loader.OpenDocument("hTtPs://host/p.kpz", 1, 1), 0);
  EXPECT_EQ(platform.downloadedUrls.size(), 2u);
}

TEST_F(LoaderTest, FtpIsALocalPathAndFailsAtTheOpen) {
  EXPECT_EQ(loader.OpenDocument("ftp://host/plan.kpz", 1, 1), -1);
  EXPECT_TRUE(platform.downloadedUrls.empty());
  EXPECT_EQ(platform.openedNames, std::vector<std::string>{"ftp://host/plan.kpz"});
  ASSERT_EQ(platform.messages.size(), 1u);
  EXPECT_EQ(platform.messages[0], "CreateFile: Error Opening KPZ file : ftp://host/plan.kpz []");
}

TEST_F(LoaderTest, EachDownloadFailureHasItsMessage) {
  struct Case {
    DownloadStatus status;
    const char* message;
  };
  const Case cases[] = {
      {DownloadStatus::NoLibrary, "Unable to LoadLibrary urlmon.dll"},
      {DownloadStatus::NoEntryPoint, "Unable to GetProcAddress for URLDownloadToCacheFileA"},
      {DownloadStatus::Failed, "Unable to download KPZ file : http://h/x.kpz"},
  };
  for (const Case& c : cases) {
    platform.messages.clear();
    loader.ClearMessageShown();
    platform.downloadResult = c.status;
    EXPECT_EQ(loader.OpenDocument("http://h/x.kpz", 1, 1), -1);
    EXPECT_EQ(platform.messages, std::vector<std::string>{c.message});
    EXPECT_TRUE(platform.openedNames.empty());
  }
}

TEST_F(LoaderTest, CacheNameTooLongForTheNameBufferCountsAsFailedDownload) {
  platform.downloadName = std::string(260, 'c');
  platform.AddFile(platform.downloadName, PlainBytes());
  EXPECT_EQ(loader.OpenDocument("http://h/x.kpz", 1, 1), -1);
  EXPECT_EQ(platform.messages.at(0), "Unable to download KPZ file : http://h/x.kpz");
  EXPECT_TRUE(platform.openedNames.empty());
}

// --- Once-only rule -------------------------------------------------------------------------

TEST_F(LoaderTest, TwoFailuresShowOneMessage) {
  EXPECT_EQ(loader.OpenDocument("missing.kpz", 1, 1), -1);
  EXPECT_EQ(loader.OpenDocument("missing.kpz", 1, 1), -1);
  EXPECT_EQ(platform.messages.size(), 1u);
  EXPECT_TRUE(loader.messageShown());
  platform.downloadResult = DownloadStatus::Failed;
  EXPECT_EQ(loader.OpenDocument("http://h/x.kpz", 1, 1), -1);
  platform.AddFile("bad.kpz", WrongLengthBytes());
  EXPECT_EQ(loader.OpenDocument("bad.kpz", 1, 1), -1);
  EXPECT_EQ(platform.messages.size(), 1u);
}

TEST_F(LoaderTest, SuccessOrNewFileNameRearmsTheMessage) {
  platform.AddFile("good.kpz", PlainBytes());
  EXPECT_EQ(loader.OpenDocument("missing.kpz", 1, 1), -1);
  ASSERT_EQ(loader.OpenDocument("good.kpz", 1, 1), 0);
  EXPECT_FALSE(loader.messageShown());
  EXPECT_EQ(loader.OpenDocument("missing.kpz", 1, 1), -1);
  EXPECT_EQ(platform.messages.size(), 2u);
  loader.ClearMessageShown();
  EXPECT_EQ(loader.OpenDocument("missing.kpz", 1, 1), -1);
  EXPECT_EQ(platform.messages.size(), 3u);
}

TEST_F(LoaderTest, MappingMessagesAreShownEveryTime) {
  platform.AddFile("m.kpz", PlainBytes());
  platform.files["m.kpz"].mapResult = MapStatus::MappingFailed;
  platform.AddFile("v.kpz", PlainBytes());
  platform.files["v.kpz"].mapResult = MapStatus::ViewFailed;
  EXPECT_EQ(loader.OpenDocument("m.kpz", 1, 1), -1);
  EXPECT_EQ(loader.OpenDocument("m.kpz", 1, 1), -1);
  EXPECT_EQ(loader.OpenDocument("v.kpz", 1, 1), -1);
  EXPECT_EQ(
      platform.messages,
      (std::vector<std::string>{"CreateFileMapping: Unable to memory map KPZ file : m.kpz",
                                "CreateFileMapping: Unable to memory map KPZ file : m.kpz",
                                "MapViewOfFile: Unable to memory map view of KPZ file : v.kpz"}));
  EXPECT_FALSE(loader.messageShown());
  EXPECT_EQ(loader.document(), nullptr);
  EXPECT_EQ(platform.liveHeaps, 0);
}

TEST_F(LoaderTest, EveryFailureLeavesNoDocumentBehind) {
  platform.AddFile("good.kpz", PlainBytes());
  ASSERT_EQ(loader.OpenDocument("good.kpz", 1, 1), 0);
  platform.downloadResult = DownloadStatus::Failed;
  EXPECT_EQ(loader.OpenDocument("http://h/x.kpz", 1, 1), -1);
  EXPECT_EQ(loader.document(), nullptr);
  EXPECT_EQ(loader.OpenDocument("missing.kpz", 1, 1), -1);
  EXPECT_EQ(loader.document(), nullptr);
  EXPECT_EQ(platform.liveHeaps, 0);
  EXPECT_EQ(platform.liveMappings, 0);
}

TEST_F(LoaderTest, EmptyReadOnlyFileFailsAtTheMapping) {
  platform.AddFile("empty.kpz", {}, /*readOnly=*/true);
  EXPECT_EQ(loader.OpenDocument("empty.kpz", 1, 1), -1);
  EXPECT_EQ(platform.messages.at(0),
            "CreateFileMapping: Unable to memory map KPZ file : empty.kpz");
}

// --- Names ----------------------------------------------------------------------------------

TEST(SpaceEscapedName, ReplacesSpacesOnlyAfterTheLastBackslash) {
  EXPECT_EQ(DocumentLoader::SpaceEscapedName("C:\\My Plots\\site plan  A.kpz"),
            "C:\\My Plots\\site%20plan%20%20A.kpz");
  EXPECT_EQ(DocumentLoader::SpaceEscapedName("C:\\dir\\"), "C:\\dir\\");
  EXPECT_EQ(DocumentLoader::SpaceEscapedName("no slash here.kpz"), "");
}

TEST_F(LoaderTest, SecondNameWithPercent20OpensTheFileOnDisk) {
  platform.AddFile("C:\\My Plots\\site%20plan.kpz", PlainBytes(), /*readOnly=*/true);
  ASSERT_EQ(loader.OpenDocument("C:\\My Plots\\site plan.kpz", 1, 1), 0);
  EXPECT_EQ(platform.openedNames, (std::vector<std::string>{"C:\\My Plots\\site plan.kpz",
                                                            "C:\\My Plots\\site%20plan.kpz"}));
}

TEST_F(LoaderTest, OpenMessageCarriesTheSecondName) {
  EXPECT_EQ(loader.OpenDocument("C:\\plots\\my plan.kpz", 1, 1), -1);
  EXPECT_EQ(platform.messages.at(0),
            "CreateFile: Error Opening KPZ file : C:\\plots\\my plan.kpz "
            "[C:\\plots\\my%20plan.kpz]");
}

TEST_F(LoaderTest, NameLongerThanTheNameBufferIsNotOpened) {
  const std::string name = std::string(259, 'n');
  platform.AddFile(name, PlainBytes());
  EXPECT_EQ(loader.OpenDocument(name, 1, 1), 0);
  const std::string longName = name + "x";
  platform.AddFile(longName, PlainBytes());
  platform.AddFile(longName.substr(0, 259), PlainBytes());
  EXPECT_EQ(loader.OpenDocument(longName, 1, 1), -1);
  EXPECT_EQ(platform.openedNames.size(), 1u);
  ASSERT_EQ(platform.messages.size(), 1u);
  EXPECT_EQ(platform.messages[0].rfind("CreateFile: Error Opening KPZ file : nnn", 0), 0u);
}

TEST_F(LoaderTest, MessagesAreCutAt511Characters) {
  const std::string path(600, 'p');
  EXPECT_EQ(loader.OpenDocument(path, 1, 1), -1);
  ASSERT_EQ(platform.messages.size(), 1u);
  EXPECT_EQ(platform.messages[0].size(), 511u);
  loader.ShowControlMessage(std::string(1000, 'x'));
  EXPECT_EQ(platform.messages[1], std::string(511, 'x'));
  loader.ShowControlMessage("short");
  EXPECT_EQ(platform.messages[2], "short");
}

// --- Heap and close -------------------------------------------------------------------------

TEST_F(LoaderTest, HeapFailureIsSilent) {
  platform.AddFile("good.kpz", PlainBytes());
  platform.failHeap = true;
  EXPECT_EQ(loader.OpenDocument("good.kpz", 1, 1), -1);
  platform.failHeap = false;
  platform.failAllocation = true;
  EXPECT_EQ(loader.OpenDocument("good.kpz", 1, 1), -1);
  EXPECT_EQ(loader.document(), nullptr);
  EXPECT_TRUE(platform.messages.empty());
  EXPECT_EQ(platform.liveHeaps, 0);
}

TEST_F(LoaderTest, CloseReleasesEverythingAndIsHarmlessTwice) {
  loader.CloseDocument();
  platform.AddFile("good.kpz", PlainBytes());
  ASSERT_EQ(loader.OpenDocument("good.kpz", 1, 1), 0);
  void* perDocument = loader.document()->documentHeap->Allocate(64);
  ASSERT_NE(perDocument, nullptr);
  loader.CloseDocument();
  EXPECT_EQ(loader.document(), nullptr);
  EXPECT_EQ(platform.liveMappings, 0);
  EXPECT_EQ(platform.liveHeaps, 0);
  loader.CloseDocument();
  EXPECT_EQ(platform.liveHeaps, 0);
}

// --- Raster thresholds ----------------------------------------------------------------------

TEST(RasterThresholds, EachLevelMakesOneMoreStepUnreachable) {
  const RasterThresholds fine = {0.666666667, 0.3333333, 0.16666667, 0.08, 0.04};
  const RasterThresholds coarse = {1000.666666667, 1000.3333333, 1000.16666667, 1000.08, 0.04};
  for (std::uint32_t level = 0; level <= 4; ++level) {
    const RasterThresholds t = RasterThresholdsForLevel(level);
    for (std::uint32_t i = 0; i < 5; ++i)
      EXPECT_DOUBLE_EQ(t[i], i < level ? coarse[i] : fine[i]) << "level " << level << " t" << i + 1;
  }
  EXPECT_EQ(RasterThresholdsForLevel(7), RasterThresholdsForLevel(4));
}

TEST_F(LoaderTest, DocumentTakesThresholdsOfTheLimitedLevel) {
  platform.AddFile("good.kpz", PlainBytes());
  DrawContext limited(platform, 0, 7);
  EXPECT_EQ(limited.maxRasterZoomLevel(), 4u);
  ASSERT_EQ(limited.OpenDocument("good.kpz", 1, 1), 0);
  EXPECT_DOUBLE_EQ(limited.state()->rasterThresholds[3], 1000.08);
  EXPECT_DOUBLE_EQ(limited.state()->rasterThresholds[4], 0.04);
}

TEST_F(LoaderTest, NewPreferencesReachTheOpenDocumentAndTheNextOne) {
  platform.AddFile("good.kpz", PlainBytes());
  DrawContext context(platform, 0, 0);
  ASSERT_EQ(context.OpenDocument("good.kpz", 1, 1), 0);
  const struct {
    std::uint32_t opaque, level;
    std::uint32_t rop, limit;
  } cases[] = {
      {1, 2, gdi::kRopSrcCopy, 2},
      {0, 7, gdi::kRopSrcAnd, 4},
      {0x100, 0, gdi::kRopSrcCopy, 0},
  };
  for (const auto& c : cases) {
    context.SetRasterPreferences(c.opaque, c.level);
    EXPECT_EQ(context.rasterRop(), c.rop);
    EXPECT_EQ(context.maxRasterZoomLevel(), c.limit);
    EXPECT_EQ(context.state()->rasterThresholds, RasterThresholdsForLevel(c.limit));
  }
  context.SetRasterPreferences(0, 2);
  ASSERT_EQ(context.OpenDocument("good.kpz", 1, 1), 0);
  EXPECT_EQ(context.state()->rasterThresholds, RasterThresholdsForLevel(2));
  context.CloseDocument();
  context.SetRasterPreferences(1, 4);  // nothing open: only the context changes
  EXPECT_EQ(context.maxRasterZoomLevel(), 4u);
}

TEST_F(LoaderTest, OpenedDocumentStartsWithAFreshDrawingState) {
  platform.AddFile("plan.kpz", PlainBytes());
  DrawContext context(platform, 0, 0);
  ASSERT_EQ(context.OpenDocument("plan.kpz", 640.5, 480.25), 0);
  const DrawState* st = context.state();
  ASSERT_NE(st, nullptr);
  EXPECT_EQ(&st->doc(), context.document());
  EXPECT_EQ(st->cursor, 0u);
  EXPECT_EQ(st->reductionFactor, 1);
  EXPECT_FALSE(st->rasterCacheResetPending);
  EXPECT_EQ(st->rasterCache.entries, nullptr);
  EXPECT_EQ(st->rasterOrdinal, -1);
  EXPECT_EQ(st->rasterThresholds, RasterThresholdsForLevel(0));
  context.CloseDocument();
  EXPECT_EQ(context.state(), nullptr);
}

// --- Native services over real files ---------------------------------------------------------

class NativeLoaderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/quillon-loader-XXXXXX";
    ASSERT_NE(::mkdtemp(pattern), nullptr);
    dir = pattern;
    platform.setMessageSink([this](const std::string& text) { messages.push_back(text); });
  }
  void TearDown() override { std::filesystem::remove_all(dir); }
  std::string Write(const std::string& name, const std::vector<std::uint8_t>& bytes) {
    const std::string path = dir + "/" + name;
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), static_cast<long>(bytes.size()));
    return path;
  }

  std::string dir;
  std::vector<std::string> messages;
  NativeDocumentPlatform platform;
  DocumentLoader loader{platform};
};

TEST_F(NativeLoaderTest, MapsTheFileBytes) {
  std::vector<std::uint8_t> bytes = PlainBytes();
  for (int i = 0; i < 5000; ++i) bytes.push_back(static_cast<std::uint8_t>(i * 7));
  const std::string path = Write("plan.kpz", bytes);
  ASSERT_EQ(loader.OpenDocument(path, 10, 20), 0);
  const auto view = loader.document()->view;
  EXPECT_EQ(std::vector<std::uint8_t>(view.begin(), view.end()), bytes);
  EXPECT_EQ(loader.document()->fileSize, bytes.size());
  loader.CloseDocument();
  loader.CloseDocument();
  EXPECT_TRUE(messages.empty());
}

TEST_F(NativeLoaderTest, Percent20NameOnDiskIsFoundThroughTheSecondName) {
  // Backslash is an ordinary character in a Linux file name, so the Windows rule still applies.
  Write("sub\\site%20plan.kpz", WrappedBytes());
  ASSERT_EQ(loader.OpenDocument(dir + "/sub\\site plan.kpz", 1, 1), 0);
  EXPECT_EQ(loader.document()->view[0], 0xCE);
}

TEST_F(NativeLoaderTest, MissingFileShowsTheOpenMessage) {
  EXPECT_EQ(loader.OpenDocument(dir + "/none.kpz", 1, 1), -1);
  EXPECT_EQ(messages, std::vector<std::string>{"CreateFile: Error Opening KPZ file : " + dir +
                                               "/none.kpz []"});
}

TEST_F(NativeLoaderTest, EmptyFileCannotBeMapped) {
  const std::string empty = Write("empty.kpz", {});
  std::unique_ptr<MappedFile> file;
  EXPECT_EQ(platform.OpenAndMap(empty, file), MapStatus::MappingFailed);
  EXPECT_EQ(file, nullptr);
  EXPECT_EQ(platform.OpenAndMap(dir, file), MapStatus::OpenFailed);  // a directory
}

TEST_F(NativeLoaderTest, RealReadOnlyFileWithWrongFirstByteIsMapped) {
  const std::string path = Write("ro.kpz", {0x42, 0, 0, 0, 0, 0});
  ::chmod(path.c_str(), 0444);
  if (std::FILE* f = std::fopen(path.c_str(), "r+b")) {
    std::fclose(f);
    GTEST_SKIP() << "running with rights that ignore read-only files";
  }
  ASSERT_EQ(loader.OpenDocument(path, 1, 1), 0);
  EXPECT_EQ(loader.document()->view[0], 0x42);
}

TEST_F(NativeLoaderTest, WithoutUrlmonTheDownloadReportsTheMissingLibrary) {
  EXPECT_EQ(loader.OpenDocument("http://127.0.0.1/x.kpz", 1, 1), -1);
  EXPECT_EQ(messages, std::vector<std::string>{"Unable to LoadLibrary urlmon.dll"});
}

TEST_F(NativeLoaderTest, InjectedDownloaderSuppliesTheLocalFile) {
  const std::string local = Write("cached.kpz", PlainBytes());
  std::string asked;
  platform.setDownloader([&](const std::string& url, std::string& name) {
    asked = url;
    name = local;
    return DownloadStatus::Ok;
  });
  ASSERT_EQ(loader.OpenDocument("Http://example.invalid/a.kpz", 1, 1), 0);
  EXPECT_EQ(asked, "Http://example.invalid/a.kpz");
}

TEST(NativeDocumentPlatform, DefaultSinkWritesCaptionAndTextToStderr) {
  NativeDocumentPlatform platform;
  ::testing::internal::CaptureStderr();
  platform.ShowMessage("Invalid file : x.kpz");
  EXPECT_EQ(::testing::internal::GetCapturedStderr(),
            "QUILLON ActiveX Control: Invalid file : x.kpz\n");
}

TEST(ArenaHeap, BlocksAreZeroedAndCanBeFreedEarly) {
  ArenaHeap heap;
  auto* a = static_cast<unsigned char*>(heap.Allocate(4096));
  ASSERT_NE(a, nullptr);
  for (int i = 0; i < 4096; ++i) ASSERT_EQ(a[i], 0) << i;
  std::fill_n(a, 4096, 0xAB);
  void* b = heap.Allocate(16);
  EXPECT_EQ(heap.liveBlocks(), 2u);
  heap.Free(a);
  heap.Free(nullptr);
  heap.Free(a);  // unknown now: ignored
  EXPECT_EQ(heap.liveBlocks(), 1u);
  EXPECT_NE(b, nullptr);
}

}  // namespace
}  // namespace quillon
