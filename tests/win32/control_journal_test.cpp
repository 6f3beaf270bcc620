// The command journal of a hosted control: "Record" in the real registry, the file in the
// temporary folder that GetTempPathA names (TMP points it at a fresh folder per test).

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "tests/support/kpz_builder.h"
#include "tests/win32/control_host.h"
#include "tests/win32/temp_folder.h"

namespace quillon::control_test {
namespace {

constexpr int kWidth = 400;
constexpr int kHeight = 318;

std::vector<std::string> FilesIn(const std::string& folder) {
  std::vector<std::string> names;
  WIN32_FIND_DATAA found{};
  HANDLE search = ::FindFirstFileA((folder + "\\*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return names;
  do {
    if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) names.push_back(found.cFileName);
  } while (::FindNextFileA(search, &found));
  ::FindClose(search);
  return names;
}

std::vector<std::string> JournalsIn(const std::string& folder) {
  std::vector<std::string> journals;
  for (const std::string& name : FilesIn(folder)) {
    if (name.size() > 4 && name.compare(name.size() - 4, 4, ".rec") == 0) journals.push_back(name);
  }
  return journals;
}

std::string FileBytes(const std::string& path) {
  std::string bytes;
  if (FILE* f = std::fopen(path.c_str(), "rb")) {
    char buffer[4096];
    std::size_t got = 0;
    while ((got = std::fread(buffer, 1, sizeof buffer, f)) > 0) bytes.append(buffer, got);
    std::fclose(f);
  }
  return bytes;
}

std::string Line(const char* format, double value) {
  char text[128];
  std::snprintf(text, sizeof text, format, value);
  return text;
}

std::string Line(const char* format, long value) {
  char text[128];
  std::snprintf(text, sizeof text, format, value);
  return text;
}

// The view-state block as the control's own getters report the view, in text mode (CR LF).
std::string ViewBlock(IQuillonCtl* ctl) {
  double x = 0, y = 0, scale = 0;
  LONG rot = 0;
  ctl->get_xOrg(&x);
  ctl->get_yOrg(&y);
  ctl->get_ViewScale(&scale);
  ctl->get_Rot(&rot);
  return Line("xOrigin=%f\r\n", x) + Line("yOrigin=%f\r\n", y) + Line("ViewScale=%f\r\n", scale) +
         Line("Rotation=%ld\r\n", static_cast<long>(rot));
}

class ControlJournalTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(RegisterControl(), S_OK);
    KpzBuilder b;
    b.PageSize(0.4, 0.3, 1000);
    b.BeginPage().LineWidth(12).LineColour(KpzBuilder::Rgb(255, 0, 0));
    b.Polyline({{20, 40}, {180, 40}}).EndPage();
    plot = plots.Write("plan.kpz", b.Build());
    second = plots.Write("sheet.kpz", b.Build());
    ASSERT_FALSE(plot.empty());
    ASSERT_FALSE(journals.path().empty());
    char old[MAX_PATH] = {};
    hadTmp = ::GetEnvironmentVariableA("TMP", old, MAX_PATH) > 0;
    oldTmp = old;
    ::SetEnvironmentVariableA("TMP", journals.path().c_str());
  }
  void TearDown() override {
    ::SetEnvironmentVariableA("TMP", hadTmp ? oldTmp.c_str() : nullptr);
    for (const std::string& name : FilesIn(journals.path())) {
      ::DeleteFileA((journals.path() + "\\" + name).c_str());
    }
    EXPECT_EQ(RegisterControl(), S_OK);  // the key afresh, without "Record"
  }

  static void SetRecord(DWORD value) { ASSERT_TRUE(SetUserDword("Record", value)); }

  std::unique_ptr<HostedControl> Shown(const std::string& path) {
    auto host = std::make_unique<HostedControl>(kWidth, kHeight);
    if (!host->ok()) return host;
    Open(*host, path);
    return host;
  }
  static void Open(HostedControl& host, const std::string& path) {
    UniqueBstr name(std::wstring(path.begin(), path.end()));
    host.ctl->put_DataFileName(name.get());
    host.Pump();
  }
  static std::string Opening(const std::string& path, int width, int height) {
    return "KPZFile=" + path + "\r\n" + Line("XViewSize=%f\r\n", double(width)) +
           Line("YViewSize=%f\r\n", double(height));
  }
  static std::string Sizes(IQuillonCtl* ctl) {
    double x = 0, y = 0;
    ctl->get_KpzXSize(&x);
    ctl->get_KpzYSize(&y);
    return Line("KpzXSize=%ld\r\n", static_cast<long>(x)) +
           Line("KpzYSize=%ld\r\n", static_cast<long>(y));
  }

  test::TempFolder plots;
  test::TempFolder journals;
  std::string plot;
  std::string second;
  bool hadTmp = false;
  std::string oldTmp;
};

TEST_F(ControlJournalTest, ScriptedSessionWritesEveryCommandWithTheViewItLeft) {
  SetRecord(1);
  std::string expected;
  std::string firstJournal;
  {
    auto host = Shown(plot);
    ASSERT_TRUE(host->ok());
    IQuillonCtl* ctl = host->ctl.Get();
    expected = Opening(plot, kWidth, kHeight) + Sizes(ctl);

    // Each command, then the lines it must have added.
    struct Step {
      const char* keyword;
      HRESULT (*run)(IQuillonCtl*);
      bool writes;
    };
    const Step steps[] = {
        {"SCALE", [](IQuillonCtl* c) { return c->Scale(2); }, true},
        {"SCALE", [](IQuillonCtl* c) { return c->ScaleIt(1e12); }, true},  // refused zoom
        {"FIT", [](IQuillonCtl* c) { return c->Fit(); }, true},
        {"PANLEFT", [](IQuillonCtl* c) { return c->PanLeft(); }, true},
        {"PANLEFT", [](IQuillonCtl* c) { return c->PanLeft(); }, false},  // at its limit
        {"PANRIGHT", [](IQuillonCtl* c) { return c->PanRight(); }, true},
        {"PANUP", [](IQuillonCtl* c) { return c->PanUp(); }, true},
        {"PANDOWN", [](IQuillonCtl* c) { return c->PanDown(); }, true},
        {"ROTATELEFT", [](IQuillonCtl* c) { return c->RotateLeft(); }, true},
        {"ROTATERIGHT", [](IQuillonCtl* c) { return c->RotateRight(); }, true},
        {"SCALE", [](IQuillonCtl* c) { return c->ScaleDown(2); }, true},
        // Not journalled: a redraw and a plain property put.
        {"", [](IQuillonCtl* c) { return c->ReDraw(); }, false},
        {"", [](IQuillonCtl* c) { return c->put_PlotSilent(1); }, false},
    };
    for (const Step& step : steps) {
      SCOPED_TRACE(step.keyword);
      ASSERT_EQ(step.run(ctl), S_OK);
      if (step.writes) expected += std::string(step.keyword) + "\r\n" + ViewBlock(ctl);
      host->Pump();
    }
    const auto files = JournalsIn(journals.path());
    ASSERT_EQ(files.size(), 1u);
    firstJournal = files[0];
    // The journal is flushed after each record: it is complete while the control lives.
    EXPECT_EQ(FileBytes(journals.path() + "\\" + firstJournal), expected);

    // A new name is recorded in the open file; the load at the next paint starts another one
    // without the size lines.
    UniqueBstr name(std::wstring(second.begin(), second.end()));
    ASSERT_EQ(ctl->put_DataFileName(name.get()), S_OK);
    expected += "PUTDATAFILENAME\r\nKPZFile=" + second + "\r\n" + ViewBlock(ctl);
    host->Pump();
  }
  EXPECT_EQ(FileBytes(journals.path() + "\\" + firstJournal), expected);
  const auto files = JournalsIn(journals.path());
  ASSERT_EQ(files.size(), 2u);
  const std::string next = files[0] == firstJournal ? files[1] : files[0];
  EXPECT_EQ(FileBytes(journals.path() + "\\" + next), Opening(second, kWidth, kHeight));
}

TEST_F(ControlJournalTest, NamedFromThePlotBesideItsEmptyTemporaryFile) {
  SetRecord(1);
  { auto host = Shown(plot); }
  const auto files = JournalsIn(journals.path());
  ASSERT_EQ(files.size(), 1u);
  const std::string& name = files[0];
  // "pla", up to four hexadecimal digits, ".rec".
  ASSERT_GE(name.size(), 8u);
  EXPECT_EQ(name.substr(0, 3), "pla");
  const std::string digits = name.substr(3, name.size() - 7);
  EXPECT_FALSE(digits.empty());
  EXPECT_EQ(digits.find_first_not_of("0123456789ABCDEFabcdef"), std::string::npos) << name;
  const std::string tmp = journals.path() + "\\" + name.substr(0, name.size() - 3) + "tmp";
  EXPECT_NE(::GetFileAttributesA(tmp.c_str()), INVALID_FILE_ATTRIBUTES) << tmp;
  EXPECT_EQ(FileBytes(tmp), "");
}

TEST_F(ControlJournalTest, NoFileWithoutRecord) {
  for (const bool set : {false, true}) {
    SCOPED_TRACE(set ? "Record = 0" : "Record absent");
    if (set) SetRecord(0);
    {
      auto host = Shown(plot);
      ASSERT_TRUE(host->ok());
      ASSERT_EQ(host->ctl->Scale(2), S_OK);
      ASSERT_EQ(host->ctl->PanLeft(), S_OK);
      host->Pump();
    }
    EXPECT_TRUE(FilesIn(journals.path()).empty());
  }
}

TEST_F(ControlJournalTest, ResizeClosesTheFileAndStartsOneWithTheSizesAgain) {
  SetRecord(1);
  auto host = Shown(plot);
  ASSERT_TRUE(host->ok());
  const std::string sizes = Sizes(host->ctl.Get());
  ASSERT_EQ(JournalsIn(journals.path()).size(), 1u);
  const std::string first = JournalsIn(journals.path())[0];

  host->Resize(300, 250);
  const auto files = JournalsIn(journals.path());
  ASSERT_EQ(files.size(), 2u);
  EXPECT_EQ(FileBytes(journals.path() + "\\" + first), Opening(plot, kWidth, kHeight) + sizes);
  const std::string next = files[0] == first ? files[1] : files[0];
  EXPECT_EQ(FileBytes(journals.path() + "\\" + next),
            Opening(plot, 300, 250) + Sizes(host->ctl.Get()));
}

TEST_F(ControlJournalTest, MissingTemporaryFolderLeavesViewingUndisturbed) {
  SetRecord(1);
  const std::string gone = journals.path() + "\\no-such-folder";
  ::SetEnvironmentVariableA("TMP", gone.c_str());
  auto host = Shown(plot);
  ASSERT_TRUE(host->ok());
  double before = 0, after = 0;
  host->ctl->get_ViewScale(&before);
  ASSERT_EQ(host->ctl->Scale(2), S_OK);
  host->Pump();
  host->ctl->get_ViewScale(&after);
  EXPECT_GT(after, before);
  EXPECT_TRUE(host->messages.empty());  // no message to the user
  EXPECT_EQ(::GetFileAttributesA(gone.c_str()), INVALID_FILE_ATTRIBUTES);
}

}  // namespace
}  // namespace quillon::control_test
