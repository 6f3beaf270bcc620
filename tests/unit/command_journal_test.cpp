#include "control/command_journal.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "interact/navigation.h"

namespace quillon {
namespace {

using Lines = std::vector<std::string>;

// Journal files in memory. The Nth line written (over all files) or every flush can be made
// to fail, as a full disk would.
class MemoryJournalPlatform : public JournalPlatform {
 public:
  struct File {
    std::string name;
    Lines lines;
    bool closed = false;
  };

  std::optional<std::string> TempFileName(std::string_view prefix) override {
    prefixes.emplace_back(prefix);
    if (!canName) return std::nullopt;
    return "C:\\Temp\\" + std::string(prefix.substr(0, 3)) + std::to_string(files.size() + 1) +
           ".tmp";
  }
  std::unique_ptr<JournalSink> Create(const std::string& path) override {
    if (!canCreate) return nullptr;
    files.push_back({path, {}, false});
    return std::make_unique<Sink>(*this, files.size() - 1);
  }

  Lines& lines(std::size_t file = 0) { return files.at(file).lines; }

  bool canName = true;
  bool canCreate = true;
  int failingWrite = 0;  // 1-based; 0 for none
  bool failingFlush = false;
  int writes = 0;
  Lines prefixes;
  std::vector<File> files;

 private:
  class Sink : public JournalSink {
   public:
    Sink(MemoryJournalPlatform& owner, std::size_t index) : owner_(owner), index_(index) {}
    bool WriteLine(std::string_view text) override {
      if (file().closed || ++owner_.writes == owner_.failingWrite) return false;
      file().lines.emplace_back(text);
      return true;
    }
    bool Flush() override { return !file().closed && !owner_.failingFlush; }
    bool Close() override {
      const bool wasOpen = !file().closed;
      file().closed = true;
      return wasOpen;
    }

   private:
    File& file() { return owner_.files.at(index_); }
    MemoryJournalPlatform& owner_;
    std::size_t index_;
  };
};

// The control's side of the navigation: the journal calls forwarded, the rest ignored.
class JournallingListener : public ViewListener {
 public:
  explicit JournallingListener(CommandJournal& journal) : journal_(journal) {}
  void InvalidateView() override {}
  void InvalidateArea(const ViewRect&, bool) override {}
  void UpdateView() override {}
  bool JournalOpen() const override { return journal_.IsOpen(); }
  void JournalKeyword(std::string_view keyword) override { journal_.Record(keyword); }
  void JournalViewState(const ViewState& view) override { journal_.RecordViewState(view); }
  void ResetZoom() override {}
  void ResetRasterCache() override {}

 private:
  CommandJournal& journal_;
};

class CommandJournalTest : public ::testing::Test {
 protected:
  void SetUp() override {
    nav.frame = {2000, 1000, 800, 600, 800, 600, 2.0};
    nav.view = {0, 0, 0, 270, 600, 800};
  }
  void Open(std::string_view path = "C:\\plans\\site.kpz") {
    journal.OpenAtLoad(true, path, 800, 617);
  }
  // The lines written after the opening record.
  Lines Written() {
    Lines lines = platform.lines();
    lines.erase(lines.begin(), lines.begin() + 3);
    return lines;
  }

  MemoryJournalPlatform platform;
  CommandJournal journal{platform};
  Navigation nav;
  JournallingListener listener{journal};
};

const Lines kOpening = {"KPZFile=C:\\plans\\site.kpz", "XViewSize=800.000000",
                        "YViewSize=617.000000"};

// ---- names

struct NameCase {
  const char* from;
  const char* to;
};

TEST(JournalNameTest, PrefixIsTheBaseNameWithoutItsExtension) {
  const NameCase cases[] = {
      {"C:\\plans\\site.kpz", "site"},
      {"/home/ana/site.kpz", "site"},
      {"http://host/plans/site.kpz", "site"},
      {"C:\\plans/v2\\site.kpz", "v2\\site"},  // the last "/" wins over a later "\"
      {"C:\\plans.old\\site", "site"},
      {"archive.tar.kpz", "archive.tar"},
      {"site", "site"},
      {"C:\\plans\\.kpz", ""},
      {"", ""},
  };
  for (const auto& c : cases) EXPECT_EQ(JournalPrefix(c.from), c.to) << c.from;
}

TEST(JournalNameTest, FileNameTakesTheExtensionRec) {
  const NameCase cases[] = {
      {"C:\\Temp\\sitA3F.tmp", "C:\\Temp\\sitA3F.rec"},
      {"/tmp/sit1.TMP", "/tmp/sit1.rec"},
      {"/tmp/a.b/sit1", "/tmp/a.b/sit1.rec"},
      {"C:\\a.b\\sit1", "C:\\a.b\\sit1.rec"},
      {"sit1.", "sit1.rec"},
  };
  for (const auto& c : cases) EXPECT_EQ(JournalFileName(c.from), c.to) << c.from;
}

// ---- opening and closing

TEST_F(CommandJournalTest, OffMakesNoFile) {
  journal.OpenAtLoad(false, "C:\\plans\\site.kpz", 800, 617);
  EXPECT_FALSE(journal.IsOpen());
  EXPECT_TRUE(platform.prefixes.empty());
  EXPECT_TRUE(platform.files.empty());
}

TEST_F(CommandJournalTest, OpeningRecordInTheRecFileOfTheDocumentsName) {
  Open();
  ASSERT_TRUE(journal.IsOpen());
  EXPECT_EQ(platform.prefixes, Lines{"site"});
  EXPECT_EQ(platform.files.at(0).name, "C:\\Temp\\sit1.rec");
  EXPECT_EQ(platform.lines(), kOpening);
}

TEST_F(CommandJournalTest, EachLoadStartsANewFileAndClosesTheLast) {
  Open();
  journal.Record("FIT");
  Open("/plans/road.kpz");
  ASSERT_EQ(platform.files.size(), 2u);
  EXPECT_TRUE(platform.files[0].closed);
  EXPECT_FALSE(platform.files[1].closed);
  journal.Record("SCALE");
  EXPECT_EQ(platform.lines(0).back(), "FIT");
  EXPECT_EQ(platform.lines(1).front(), "KPZFile=/plans/road.kpz");
  EXPECT_EQ(platform.lines(1).back(), "SCALE");
  // A load with the value switched off ends the journal too.
  journal.OpenAtLoad(false, "/plans/road.kpz", 800, 617);
  EXPECT_TRUE(platform.files[1].closed);
  EXPECT_EQ(platform.files.size(), 2u);
}

TEST_F(CommandJournalTest, DestructionCloses) {
  {
    CommandJournal local(platform);
    local.OpenAtLoad(true, "site.kpz", 1, 1);
  }
  ASSERT_EQ(platform.files.size(), 1u);
  EXPECT_TRUE(platform.files[0].closed);
}

TEST_F(CommandJournalTest, SizesOnceUntilASizeChange) {
  journal.OpenAtLoad(false, "site.kpz", 800, 617);
  journal.WriteSizesOnce(10, 20);  // no journal: still due
  Open();
  journal.WriteSizesOnce(2000, 1000);
  journal.WriteSizesOnce(2000, 1000);
  EXPECT_EQ(Written(), (Lines{"KpzXSize=2000", "KpzYSize=1000"}));

  Open();  // the load after a DataFileName put
  journal.WriteSizesOnce(3000, 1500);
  EXPECT_EQ(platform.lines(1).size(), 3u);

  journal.CloseForNewSize();
  EXPECT_TRUE(platform.files[1].closed);
  Open();
  journal.WriteSizesOnce(3000, 1500);
  EXPECT_EQ(platform.lines(2).back(), "KpzYSize=1500");
}

TEST_F(CommandJournalTest, NoNameOrNoFileLeavesItClosed) {
  for (const bool naming : {false, true}) {
    platform.canName = naming;
    platform.canCreate = false;
    Open();
    EXPECT_FALSE(journal.IsOpen());
    journal.Record("SCALE");
    journal.RecordViewState(nav.view, nav.frame);
    EXPECT_EQ(nav.view.ViewScale, 0) << "a closed journal changed the view";
    EXPECT_TRUE(platform.files.empty());
  }
}

// ---- records

TEST_F(CommandJournalTest, RecordLines) {
  const JournalPrinter printer{2, -1, "Plotter A0", "ISO A0"};
  const Lines printerBlock = {"Portrait_Landscape=2", "PrintScaleOptions=-1",
                              "PrinterName=Plotter A0", "FormName=ISO A0"};
  // 600 / 2000 and 800 / 1000: the next paint's scale is 0.3.
  const Lines viewBlock = {"xOrigin=-12.500000", "yOrigin=40.000000", "ViewScale=0.300000",
                           "Rotation=270"};
  const struct {
    const char* name;
    std::function<void(CommandJournal&, ViewState&, const ViewFrame&)> record;
    Lines lines;
  } cases[] = {
      {"keyword", [](auto& j, auto&, auto&) { j.Record("ROTATELEFT"); }, {"ROTATELEFT"}},
      {"view state as given",
       [](auto& j, auto&, auto&) {
         j.RecordViewState(ViewState{0.125, 1, -2, 90, 0, 0});
       },
       {"xOrigin=1.000000", "yOrigin=-2.000000", "ViewScale=0.125000", "Rotation=90"}},
      {"view state at the next paint's scale",
       [](auto& j, auto& v, auto& f) { j.RecordViewState(v, f); }, viewBlock},
      {"printer", [&](auto& j, auto&, auto&) { j.RecordPrinter(printer); }, printerBlock},
      {"data file name",
       [](auto& j, auto& v, auto& f) { j.RecordDataFileName("D:\\new.kpz", v, f); },
       {"PUTDATAFILENAME", "KPZFile=D:\\new.kpz", viewBlock[0], viewBlock[1], viewBlock[2],
        viewBlock[3]}},
      {"plot", [](auto& j, auto&, auto&) { j.RecordPlotStart(false); }, {"PLOT"}},
      {"plot view", [](auto& j, auto&, auto&) { j.RecordPlotStart(true); }, {"PLOTVIEW"}},
      {"plot done",
       [&](auto& j, auto& v, auto& f) { j.RecordPlotDone(v, f, printer); },
       {viewBlock[0], viewBlock[1], viewBlock[2], viewBlock[3], printerBlock[0], printerBlock[1],
        printerBlock[2], printerBlock[3]}},
      {"plot setup",
       [&](auto& j, auto&, auto&) { j.RecordPlotSetup(printer); },
       {"PLOTSETUP", printerBlock[0], printerBlock[1], printerBlock[2], printerBlock[3]}},
      {"plot to form",
       [&](auto& j, auto&, auto&) { j.RecordPlotToForm(printer, 25.4, -3); },
       {"PLOTTOFORM", printerBlock[0], printerBlock[1], printerBlock[2], printerBlock[3],
        "xOrigin=25.400000", "yOrigin=-3.000000"}},
  };
  for (const auto& c : cases) {
    MemoryJournalPlatform files;
    CommandJournal j(files);
    j.OpenAtLoad(true, "C:\\plans\\site.kpz", 800, 617);
    ViewState view{0, -12.5, 40, 270, 600, 800};
    c.record(j, view, nav.frame);
    Lines lines = files.lines();
    lines.erase(lines.begin(), lines.begin() + 3);
    EXPECT_EQ(lines, c.lines) << c.name;
  }
}

TEST_F(CommandJournalTest, NumbersAreWrittenAsPrintfFixed) {
  Open();
  const double values[] = {0, 1.0 / 3, 2.0 / 3, -1e-7, 0.0000005, 2.5e-6, -32767.25, 1e15, 1e300};
  Lines expected;
  for (const double v : values) {
    journal.RecordViewState(ViewState{v, 0, 0, 0, 0, 0});
    char text[400];
    std::snprintf(text, sizeof text, "ViewScale=%f", v);
    expected.push_back(text);
  }
  Lines scales;
  for (const auto& line : Written()) {
    if (line.rfind("ViewScale=", 0) == 0) scales.push_back(line);
  }
  EXPECT_EQ(scales, expected);
}

TEST_F(CommandJournalTest, LongOrMultilineTextIsCut) {
  const std::string longPath = "C:\\" + std::string(3000, 'p') + ".kpz";
  Open(longPath);
  EXPECT_EQ(platform.lines().front(), "KPZFile=" + longPath.substr(0, kJournalTextLimit));
  journal.RecordPrinter({1, 2, "Printer\r\nFIT", std::string(2000, 'f')});
  const Lines& lines = platform.lines();
  ASSERT_EQ(lines.size(), 7u);
  EXPECT_EQ(lines[5], "PrinterName=Printer");
  EXPECT_EQ(lines[6], "FormName=" + std::string(kJournalTextLimit, 'f'));
}

// ---- failures

TEST_F(CommandJournalTest, AFailedWriteClosesQuietlyAndLaterRecordsWriteNothing) {
  for (int failing = 1; failing <= 9; ++failing) {
    MemoryJournalPlatform files;
    files.failingWrite = failing;
    CommandJournal j(files);
    j.OpenAtLoad(true, "C:\\plans\\site.kpz", 800, 617);
    ViewState view{};
    j.RecordDataFileName("D:\\new.kpz", view, nav.frame);  // lines 4 to 9
    EXPECT_FALSE(j.IsOpen()) << failing;
    EXPECT_TRUE(files.files.at(0).closed) << failing;
    EXPECT_EQ(files.lines().size(), static_cast<std::size_t>(failing - 1)) << failing;
    j.Record("SCALE");
    j.WriteSizesOnce(1, 1);
    EXPECT_EQ(files.lines().size(), static_cast<std::size_t>(failing - 1)) << failing;
  }
}

TEST_F(CommandJournalTest, AFailedFlushClosesQuietly) {
  platform.failingFlush = true;
  Open();
  EXPECT_FALSE(journal.IsOpen());
  EXPECT_TRUE(platform.files.at(0).closed);
  journal.Record("FIT");
  EXPECT_EQ(platform.lines(), kOpening);
}

// ---- the navigation's records

TEST_F(CommandJournalTest, RefusedZoomStillWritesScale) {
  Open();
  EXPECT_FALSE(ScaleIt(nav, listener, 100));
  EXPECT_EQ(Written(), (Lines{"SCALE", "xOrigin=0.000000", "yOrigin=0.000000", "ViewScale=0.300000",
                              "Rotation=270"}));
}

TEST_F(CommandJournalTest, PanWritesOnlyWhenTheViewMoved) {
  Open();
  EXPECT_TRUE(PanLeft(nav, listener));
  EXPECT_FALSE(PanLeft(nav, listener));
  EXPECT_EQ(Written(), (Lines{"PANLEFT", "xOrigin=400.000000", "yOrigin=0.000000",
                              "ViewScale=0.300000", "Rotation=270"}));
}

}  // namespace
}  // namespace quillon
