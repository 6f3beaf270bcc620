// What a container persists of the control and gives back to a new one: the property bag of
// a web page's object element, the stream and storage of a saved form, and the browser's
// history record. Each new control shows the plot at the saved view on its first paint.

#include <gtest/gtest.h>

#include <map>
#include <string>

#include "control/win32/persist_history_iid.h"
#include "interact/view_state.h"
#include "tests/support/kpz_builder.h"
#include "tests/win32/control_host.h"
#include "tests/win32/temp_folder.h"

namespace quillon::control_test {
namespace {

constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kBlue = RGB(0, 0, 255);
constexpr int kWidth = 360;
constexpr int kHeight = 281;
const KpzPoint kRedMark{100, 40};
const KpzPoint kBlueMark{300, 260};

std::vector<std::uint8_t> MarkedPlot() {
  KpzBuilder b;
  b.PageSize(0.4, 0.3, 1000);
  b.BeginPage().LineWidth(12).LineCap(0);
  b.LineColour(KpzBuilder::Rgb(255, 0, 0)).Polyline({{20, 40}, {180, 40}});
  b.LineColour(KpzBuilder::Rgb(0, 0, 255)).Polyline({{220, 260}, {380, 260}});
  b.EndPage();
  return b.Build();
}

// A property bag as a browser fills it from an object element's parameters.
class MemoryBag final : public IPropertyBag {
 public:
  ~MemoryBag() {
    for (auto& [name, value] : values) ::VariantClear(&value);
  }
  STDMETHODIMP QueryInterface(REFIID iid, void** object) override {
    if (iid == IID_IUnknown || iid == IID_IPropertyBag) {
      *object = static_cast<IPropertyBag*>(this);
      return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
  }
  STDMETHODIMP_(ULONG) AddRef() override { return 2; }
  STDMETHODIMP_(ULONG) Release() override { return 1; }
  STDMETHODIMP Read(LPCOLESTR name, VARIANT* value, IErrorLog*) override {
    reads.emplace_back(name);
    const auto it = values.find(name);
    if (it == values.end()) return E_INVALIDARG;
    // The caller may ask for a type; a browser's bag converts to it.
    const VARTYPE wanted = value->vt;
    ::VariantInit(value);
    if (wanted == VT_EMPTY) return ::VariantCopy(value, &it->second);
    return ::VariantChangeType(value, &it->second, 0, wanted);
  }
  STDMETHODIMP Write(LPCOLESTR name, VARIANT* value) override {
    writes.emplace_back(name);
    VARIANT& slot = values[name];
    ::VariantClear(&slot);
    return ::VariantCopy(&slot, value);
  }
  void Text(const std::wstring& name, const std::wstring& text) {
    VARIANT v;
    v.vt = VT_BSTR;
    v.bstrVal = ::SysAllocString(text.c_str());
    values[name] = v;
  }

  std::map<std::wstring, VARIANT> values;
  std::vector<std::wstring> reads, writes;
};

class ControlPersistenceTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(RegisterControl(), S_OK);
    plot = folder.Write("plan.kpz", MarkedPlot());
    wide.assign(plot.begin(), plot.end());
    ASSERT_FALSE(plot.empty());
  }

  std::unique_ptr<HostedControl> Host() {
    auto host = std::make_unique<HostedControl>(kWidth, kHeight);
    EXPECT_TRUE(host->ok());
    return host;
  }

  // A control showing the plot at a view that no load would choose by itself.
  std::unique_ptr<HostedControl> ShownAtOwnView() {
    auto host = Host();
    if (!host->ok()) return host;
    UniqueBstr name(wide);
    host->ctl->put_DataFileName(name.get());
    host->Pump();
    host->ctl->RotateRight();
    host->ctl->PanUp();
    host->Pump();
    return host;
  }

  static ViewState Read(HostedControl& host) {
    ViewState v;
    host.ctl->get_ViewScale(&v.ViewScale);
    host.ctl->get_xOrg(&v.xOrg);
    host.ctl->get_yOrg(&v.yOrg);
    LONG rot = 0;
    host.ctl->get_Rot(&rot);
    v.Rot = static_cast<int>(rot);
    return v;
  }

  static void ExpectSameView(const ViewState& a, const ViewState& b) {
    EXPECT_DOUBLE_EQ(a.ViewScale, b.ViewScale);
    EXPECT_DOUBLE_EQ(a.xOrg, b.xOrg);
    EXPECT_DOUBLE_EQ(a.yOrg, b.yOrg);
    EXPECT_EQ(a.Rot, b.Rot);
  }

  // The red and blue bars where the view puts them (when on screen).
  static void ExpectMarks(HostedControl& host) {
    const auto shot = host.Capture();
    ViewFrame frame;
    frame.KpzXSize = 400;
    frame.KpzYSize = 300;
    const ViewState view = Read(host);
    int seen = 0;
    for (const auto& [mark, colour] : {std::pair{kRedMark, kRed}, std::pair{kBlueMark, kBlue}}) {
      const ViewPoint p = KpzToView(view, frame, mark);
      if (p.x < 2 || p.y < 2 || p.x > kWidth - 3 || p.y > kHeight - 20) continue;
      ++seen;
      EXPECT_EQ(shot->PixelColour(HostedControl::kLeft + p.x, HostedControl::kTop + p.y), colour)
          << "mark at " << p.x << "," << p.y;
    }
    EXPECT_GT(seen, 0) << "no mark on screen to look at";
  }

  test::TempFolder folder;
  std::string plot;
  std::wstring wide;
};

TEST_F(ControlPersistenceTest, PropertyBagSavesTheNamedPropertiesInOrder) {
  auto host = ShownAtOwnView();
  ASSERT_TRUE(host->ok());
  const ViewState saved = Read(*host);
  ComPtr<IPersistPropertyBag> persist;
  ASSERT_EQ(host->ctl.As(&persist), S_OK);
  MemoryBag bag;
  ASSERT_EQ(persist->Save(&bag, TRUE, TRUE), S_OK);
  const std::vector<std::wstring> order = {L"_cx",  L"_cy",       L"DataFileName", L"xOrg",
                                           L"yOrg", L"ViewScale", L"Rot"};
  EXPECT_EQ(bag.writes, order);
  EXPECT_EQ(bag.values[L"DataFileName"].vt, VT_BSTR);
  EXPECT_EQ(std::wstring(bag.values[L"DataFileName"].bstrVal), wide);
  EXPECT_EQ(bag.values[L"xOrg"].dblVal, saved.xOrg);
  EXPECT_EQ(bag.values[L"ViewScale"].dblVal, saved.ViewScale);
  EXPECT_EQ(bag.values[L"Rot"].vt, VT_I4);
  EXPECT_EQ(bag.values[L"Rot"].lVal, saved.Rot);
  // The extent in HIMETRIC of the 360 x 281 pixels at the screen's resolution.
  HDC screen = ::GetDC(nullptr);
  const int dpi = ::GetDeviceCaps(screen, LOGPIXELSX);
  ::ReleaseDC(nullptr, screen);
  VARIANT cx = bag.values[L"_cx"];
  ASSERT_EQ(::VariantChangeType(&cx, &cx, 0, VT_I4), S_OK);
  EXPECT_NEAR(cx.lVal, MulDiv(kWidth, 2540, dpi), 1);
  host.reset();

  // A new control given the bag before its first paint opens the plot at that view.
  auto again = Host();
  ASSERT_TRUE(again->ok());
  ASSERT_EQ(again->ctl.As(&persist), S_OK);
  ASSERT_EQ(persist->Load(&bag, nullptr), S_OK);
  again->Pump();
  EXPECT_TRUE(again->messages.empty());
  ExpectSameView(Read(*again), saved);
  ExpectMarks(*again);
}

TEST_F(ControlPersistenceTest, ObjectParametersAsTextOpenThePlotAtTheirView) {
  MemoryBag bag;
  bag.Text(L"DataFileName", wide);
  bag.Text(L"xOrg", L"30");
  bag.Text(L"yOrg", L"20");
  bag.Text(L"ViewScale", L"0.5");
  bag.Text(L"Rot", L"0");
  auto host = Host();
  ASSERT_TRUE(host->ok());
  ComPtr<IPersistPropertyBag> persist;
  ASSERT_EQ(host->ctl.As(&persist), S_OK);
  ASSERT_EQ(persist->Load(&bag, nullptr), S_OK);
  // Read in the order of the property map.
  const std::vector<std::wstring> order = {L"_cx",  L"_cy",       L"DataFileName", L"xOrg",
                                           L"yOrg", L"ViewScale", L"Rot"};
  EXPECT_EQ(bag.reads, order);
  host->Pump();
  ViewState expected;
  expected.ViewScale = 0.5;
  expected.xOrg = 30;
  expected.yOrg = 20;
  expected.Rot = 0;
  ExpectSameView(Read(*host), expected);
  ExpectMarks(*host);

  // A parameter the control refuses fails the load.
  MemoryBag bad;
  bad.Text(L"Rot", L"45");
  auto other = Host();
  ASSERT_EQ(other->ctl.As(&persist), S_OK);
  EXPECT_FALSE(SUCCEEDED(persist->Load(&bad, nullptr)));
  LONG rot = 0;
  other->ctl->get_Rot(&rot);
  EXPECT_EQ(rot, 270);
}

TEST_F(ControlPersistenceTest, StreamAndStorageRoundTrip) {
  auto host = ShownAtOwnView();
  ASSERT_TRUE(host->ok());
  const ViewState saved = Read(*host);
  ComPtr<IPersistStreamInit> persist;
  ASSERT_EQ(host->ctl.As(&persist), S_OK);
  ComPtr<IStream> stream;
  ASSERT_EQ(::CreateStreamOnHGlobal(nullptr, TRUE, &stream), S_OK);
  ASSERT_EQ(persist->Save(stream.Get(), TRUE), S_OK);
  EXPECT_EQ(persist->IsDirty(), S_FALSE);
  ComPtr<IPersistStorage> storagePersist;
  ASSERT_EQ(host->ctl.As(&storagePersist), S_OK);
  ComPtr<ILockBytes> bytes;
  ASSERT_EQ(::CreateILockBytesOnHGlobal(nullptr, TRUE, &bytes), S_OK);
  ComPtr<IStorage> storage;
  ASSERT_EQ(::StgCreateDocfileOnILockBytes(
                bytes.Get(), STGM_CREATE | STGM_READWRITE | STGM_SHARE_EXCLUSIVE, 0, &storage),
            S_OK);
  ASSERT_EQ(storagePersist->Save(storage.Get(), TRUE), S_OK);
  host.reset();

  {
    auto again = Host();
    ASSERT_TRUE(again->ok());
    ASSERT_EQ(again->ctl.As(&persist), S_OK);
    ASSERT_EQ(stream->Seek(LARGE_INTEGER{}, STREAM_SEEK_SET, nullptr), S_OK);
    ASSERT_EQ(persist->Load(stream.Get()), S_OK);
    again->Pump();
    ExpectSameView(Read(*again), saved);
    ExpectMarks(*again);
  }
  {
    auto again = Host();
    ASSERT_TRUE(again->ok());
    ASSERT_EQ(again->ctl.As(&storagePersist), S_OK);
    ASSERT_EQ(storagePersist->Load(storage.Get()), S_OK);
    again->Pump();
    ExpectSameView(Read(*again), saved);
  }
  // A stream cut short is refused and changes nothing.
  {
    auto again = Host();
    ComPtr<IStream> shortStream;
    ASSERT_EQ(::CreateStreamOnHGlobal(nullptr, TRUE, &shortStream), S_OK);
    const std::uint8_t head[] = {0x00, 0x03, 0x00, 0x00, 1, 2};
    shortStream->Write(head, sizeof head, nullptr);
    shortStream->Seek(LARGE_INTEGER{}, STREAM_SEEK_SET, nullptr);
    ASSERT_EQ(again->ctl.As(&persist), S_OK);
    EXPECT_EQ(persist->Load(shortStream.Get()), E_FAIL);
    UniqueBstr name;
    again->ctl->get_DataFileName(name.put());
    EXPECT_EQ(name.text(), L" ");
  }
}

TEST_F(ControlPersistenceTest, HistoryRecordReopensThePathAtTheSameView) {
  auto host = ShownAtOwnView();
  ASSERT_TRUE(host->ok());
  const ViewState saved = Read(*host);
  ComPtr<IPersistHistory> history;
  ASSERT_EQ(host->ctl->QueryInterface(kIidPersistHistory,
                                      reinterpret_cast<void**>(history.GetAddressOf())),
            S_OK);
  ComPtr<IStream> stream;
  ASSERT_EQ(::CreateStreamOnHGlobal(nullptr, TRUE, &stream), S_OK);
  ASSERT_EQ(history->SaveHistory(stream.Get()), S_OK);
  ULARGE_INTEGER end{};
  stream->Seek(LARGE_INTEGER{}, STREAM_SEEK_CUR, &end);
  EXPECT_EQ(end.QuadPart, 292u);
  host.reset();

  auto again = Host();
  ASSERT_TRUE(again->ok());
  ASSERT_EQ(again->ctl->QueryInterface(kIidPersistHistory,
                                       reinterpret_cast<void**>(history.GetAddressOf())),
            S_OK);
  stream->Seek(LARGE_INTEGER{}, STREAM_SEEK_SET, nullptr);
  ASSERT_EQ(history->LoadHistory(stream.Get(), nullptr), S_OK);
  // Loading opens nothing by itself.
  EXPECT_EQ(again->ctl->Fit(), E_FAIL);
  again->Pump();
  UniqueBstr name;
  again->ctl->get_DataFileName(name.put());
  EXPECT_EQ(name.text(), wide);
  ExpectSameView(Read(*again), saved);
  ExpectMarks(*again);

  // Into a control that already shows that path it changes nothing.
  again->ctl->Fit();
  again->Pump();
  const ViewState fitted = Read(*again);
  stream->Seek(LARGE_INTEGER{}, STREAM_SEEK_SET, nullptr);
  ASSERT_EQ(history->LoadHistory(stream.Get(), nullptr), S_OK);
  again->ctl->ReDraw();
  again->Pump();
  ExpectSameView(Read(*again), fitted);
}

}  // namespace
}  // namespace quillon::control_test
