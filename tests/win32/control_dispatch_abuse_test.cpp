// Every entry of the control's automation interface invoked through IDispatch::Invoke with
// wrong argument counts and types, empty, null, text and non-finite numbers, before and after a
// plot is loaded: only S_OK, E_FAIL or a DISP_E_ error comes back, and the control still shows
// a plot afterwards. A web page's script can call it this way.

#include <gtest/gtest.h>

#include <atomic>
#include <cmath>
#include <limits>
#include <string>
#include <thread>
#include <vector>

#include "tests/support/kpz_builder.h"
#include "tests/win32/control_host.h"
#include "tests/win32/temp_folder.h"

namespace quillon::control_test {
namespace {

struct Entry {
  DISPID id;
  INVOKEKIND kind;
  std::string name;
};

// The dispatch interface's functions as its type information lists them.
std::vector<Entry> EntriesOf(IDispatch* dispatch) {
  std::vector<Entry> entries;
  ComPtr<ITypeInfo> info;
  if (FAILED(dispatch->GetTypeInfo(0, LOCALE_USER_DEFAULT, info.GetAddressOf()))) return entries;
  TYPEATTR* attributes = nullptr;
  if (FAILED(info->GetTypeAttr(&attributes))) return entries;
  for (UINT i = 0; i < attributes->cFuncs; ++i) {
    FUNCDESC* function = nullptr;
    if (FAILED(info->GetFuncDesc(i, &function))) continue;
    BSTR name = nullptr;
    UINT got = 0;
    info->GetNames(function->memid, &name, 1, &got);
    const std::wstring wide = name != nullptr ? name : L"";
    ::SysFreeString(name);
    // IUnknown's and IDispatch's own entries are not the control's.
    if (function->memid > 0 && function->memid < 0x1000)
      entries.push_back({function->memid, function->invkind, std::string(wide.begin(), wide.end())});
    info->ReleaseFuncDesc(function);
  }
  info->ReleaseTypeAttr(attributes);
  return entries;
}

VARIANT Number(double value) {
  VARIANT v;
  ::VariantInit(&v);
  v.vt = VT_R8;
  v.dblVal = value;
  return v;
}

// The argument lists tried on every entry.
std::vector<std::vector<VARIANT>> AbusiveArguments() {
  VARIANT empty, null, text, integer, dispatchNull;
  ::VariantInit(&empty);
  ::VariantInit(&null);
  null.vt = VT_NULL;
  ::VariantInit(&text);
  text.vt = VT_BSTR;
  text.bstrVal = ::SysAllocString(L"not a number \x263A");
  ::VariantInit(&integer);
  integer.vt = VT_I4;
  integer.lVal = -2147483647 - 1;
  ::VariantInit(&dispatchNull);
  dispatchNull.vt = VT_DISPATCH;
  dispatchNull.pdispVal = nullptr;
  const double inf = std::numeric_limits<double>::infinity();
  return {{},
          {empty},
          {null},
          {text},
          {integer},
          {dispatchNull},
          {Number(std::nan(""))},
          {Number(inf)},
          {Number(-inf)},
          {Number(1e308)},
          {Number(-1e-308)},
          {Number(0)},
          {Number(3), Number(std::nan(""))},
          {Number(1), Number(2), Number(3)}};
}

bool Acceptable(HRESULT hr) {
  return hr == S_OK || hr == E_FAIL || HRESULT_FACILITY(hr) == FACILITY_DISPATCH;
}

class ControlDispatchAbuseTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(RegisterControl(), S_OK);
    KpzBuilder b;
    b.PageSize(0.4, 0.3, 1000);
    b.BeginPage().LineWidth(12).LineColour(KpzBuilder::Rgb(255, 0, 0));
    b.Polyline({{20, 40}, {380, 40}, {380, 260}}).EndPage();
    plot = folder.Write("plan.kpz", b.Build());
    ASSERT_FALSE(plot.empty());
  }

  // Cancels any dialog that an entry opens (a print dialog when PlotSilent was put to 0, a
  // message box), so that no call waits for a user.
  struct DialogCanceller {
    explicit DialogCanceller(DWORD thread)
        : worker([this, thread] {
            while (!stop) {
              ::EnumThreadWindows(thread, Cancel, 0);
              ::Sleep(20);
            }
          }) {}
    ~DialogCanceller() {
      stop = true;
      worker.join();
    }
    static BOOL CALLBACK Cancel(HWND window, LPARAM) {
      char name[16] = {};
      ::GetClassNameA(window, name, sizeof name);
      if (std::string(name) == "#32770" && ::IsWindowVisible(window))
        ::PostMessageA(window, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
      return TRUE;
    }
    std::atomic<bool> stop{false};
    std::thread worker;
  };

  // Every entry with every argument list; the failures as text.
  std::vector<std::string> Abuse(HostedControl& host) {
    std::vector<std::string> refused;
    ComPtr<IDispatch> dispatch;
    if (FAILED(host.ctl.As(&dispatch))) return {"no IDispatch"};
    const std::vector<Entry> entries = EntriesOf(dispatch.Get());
    if (entries.size() < 40) refused.push_back("only " + std::to_string(entries.size()) + " entries");
    for (const Entry& entry : entries) {
      // A new file name would start a load at every paint; it is tried once, with text.
      for (std::vector<VARIANT> arguments : AbusiveArguments()) {
        // Invoke takes the arguments last first.
        std::vector<VARIANT> reversed(arguments.rbegin(), arguments.rend());
        DISPID named = DISPID_PROPERTYPUT;
        DISPPARAMS params{reversed.empty() ? nullptr : reversed.data(), nullptr,
                          static_cast<UINT>(reversed.size()), 0};
        if (entry.kind == INVOKE_PROPERTYPUT) {
          params.rgdispidNamedArgs = &named;
          params.cNamedArgs = reversed.empty() ? 0 : 1;
        }
        VARIANT result;
        ::VariantInit(&result);
        EXCEPINFO exception{};
        UINT badArgument = 0;
        const HRESULT hr =
            dispatch->Invoke(entry.id, IID_NULL, LOCALE_USER_DEFAULT,
                             static_cast<WORD>(entry.kind), &params, &result, &exception,
                             &badArgument);
        ::VariantClear(&result);
        ::SysFreeString(exception.bstrSource);
        ::SysFreeString(exception.bstrDescription);
        ::SysFreeString(exception.bstrHelpFile);
        if (!Acceptable(hr)) {
          char text[160];
          std::snprintf(text, sizeof text, "%s kind %d with %zu arguments: 0x%08lx",
                        entry.name.c_str(), static_cast<int>(entry.kind), arguments.size(),
                        static_cast<unsigned long>(hr));
          refused.push_back(text);
        }
        for (VARIANT& v : arguments) ::VariantClear(&v);
        host.Pump();
      }
    }
    return refused;
  }

  test::TempFolder folder;
  std::string plot;
};

TEST_F(ControlDispatchAbuseTest, OnlyDefinedResultsBeforeAndAfterALoadAndThePlotStillShows) {
  HostedControl host(400, 318);
  ASSERT_TRUE(host.ok());
  DialogCanceller canceller(::GetCurrentThreadId());
  EXPECT_EQ(Abuse(host), std::vector<std::string>{}) << "without a plot";

  auto load = [&] {
    UniqueBstr name(std::wstring(plot.begin(), plot.end()));
    EXPECT_EQ(host.ctl->put_DataFileName(name.get()), S_OK);
    host.Pump();
  };
  load();
  EXPECT_EQ(Abuse(host), std::vector<std::string>{}) << "with a plot";

  // Still a working control: the plot loads again and shows at the fitted view.
  load();
  ASSERT_EQ(host.ctl->put_Rot(0), S_OK);
  ASSERT_EQ(host.ctl->Fit(), S_OK);
  ASSERT_EQ(host.ctl->ReDraw(), S_OK);
  const auto shot = host.Capture();
  int red = 0;
  for (int y = 0; y < 300; ++y)
    for (int x = 0; x < 400; ++x) {
      const std::uint32_t c = shot->PixelColour(HostedControl::kLeft + x, HostedControl::kTop + y);
      red += GetRValue(c) > 200 && GetGValue(c) < 80 && GetBValue(c) < 80;
    }
  EXPECT_GT(red, 1000);
}

}  // namespace
}  // namespace quillon::control_test
