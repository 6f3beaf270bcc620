// The control's answers to the OLE interfaces a container or browser asks for besides
// IQuillonCtl: object safety, class information, error information, property pages, the
// miscellaneous status and the accelerator filter.

#include <gtest/gtest.h>
#include <objsafe.h>

#include "tests/win32/control_host.h"

namespace quillon::control_test {
namespace {

class ControlInterfacesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ::OleInitialize(nullptr);
    ASSERT_EQ(RegisterControl(), S_OK);
    ASSERT_EQ(::CoCreateInstance(CLSID_QuillonCtl, nullptr, CLSCTX_INPROC_SERVER, IID_IQuillonCtl,
                                 reinterpret_cast<void**>(ctl.GetAddressOf())),
              S_OK);
  }
  void TearDown() override {
    ctl.Reset();
    ::OleUninitialize();
  }
  ComPtr<IQuillonCtl> ctl;
};

TEST_F(ControlInterfacesTest, ObjectSafetyTakesBothOptionsOnEveryInterfaceAndNothingElse) {
  ComPtr<IObjectSafety> safety;
  ASSERT_EQ(ctl->QueryInterface(IID_IObjectSafety, reinterpret_cast<void**>(safety.GetAddressOf())),
            S_OK);
  constexpr DWORD kBoth = INTERFACESAFE_FOR_UNTRUSTED_CALLER | INTERFACESAFE_FOR_UNTRUSTED_DATA;
  for (REFIID iid : {IID_IDispatch, IID_IQuillonCtl, IID_IPersistPropertyBag,
                     IID_IPersistStreamInit, IID_IOleObject}) {
    DWORD supported = 0, enabled = 99;
    ASSERT_EQ(safety->GetInterfaceSafetyOptions(iid, &supported, &enabled), S_OK);
    EXPECT_EQ(supported, kBoth);
    EXPECT_EQ(safety->SetInterfaceSafetyOptions(iid, kBoth, kBoth), S_OK);
    ASSERT_EQ(safety->GetInterfaceSafetyOptions(iid, &supported, &enabled), S_OK);
    EXPECT_EQ(enabled, kBoth);
  }
  EXPECT_EQ(safety->SetInterfaceSafetyOptions(IID_IDispatch, INTERFACE_USES_DISPEX,
                                              INTERFACE_USES_DISPEX),
            E_FAIL);
  EXPECT_EQ(safety->SetInterfaceSafetyOptions(IID_IDispatch, kBoth | 0x10, kBoth), E_FAIL);
  DWORD supported = 0, enabled = 0;
  // An interface the object does not have.
  EXPECT_EQ(safety->GetInterfaceSafetyOptions(IID_IClassFactory, &supported, &enabled),
            E_NOINTERFACE);
  EXPECT_EQ(safety->SetInterfaceSafetyOptions(IID_IClassFactory, kBoth, kBoth), E_NOINTERFACE);
}

TEST_F(ControlInterfacesTest, ClassInformationNamesTheCoclassAndItsInterface) {
  ComPtr<IProvideClassInfo2> info;
  ASSERT_EQ(ctl.As(&info), S_OK);
  ComPtr<ITypeInfo> coclass;
  ASSERT_EQ(info->GetClassInfo(&coclass), S_OK);
  TYPEATTR* attributes = nullptr;
  ASSERT_EQ(coclass->GetTypeAttr(&attributes), S_OK);
  EXPECT_EQ(attributes->typekind, TKIND_COCLASS);
  EXPECT_EQ(attributes->guid, CLSID_QuillonCtl);
  coclass->ReleaseTypeAttr(attributes);
  UniqueBstr name;
  ASSERT_EQ(coclass->GetDocumentation(MEMBERID_NIL, name.put(), nullptr, nullptr, nullptr), S_OK);
  EXPECT_EQ(name.text(), L"QuillonCtl");
  GUID events{};
  EXPECT_EQ(info->GetGUID(GUIDKIND_DEFAULT_SOURCE_DISP_IID, &events), E_FAIL);

  ComPtr<IDispatch> dispatch;
  ASSERT_EQ(ctl.As(&dispatch), S_OK);
  ComPtr<ITypeInfo> interfaceInfo;
  ASSERT_EQ(dispatch->GetTypeInfo(0, 0, &interfaceInfo), S_OK);
  ASSERT_EQ(interfaceInfo->GetTypeAttr(&attributes), S_OK);
  EXPECT_EQ(attributes->guid, IID_IQuillonCtl);
  EXPECT_TRUE(attributes->wTypeFlags & TYPEFLAG_FDUAL);
  interfaceInfo->ReleaseTypeAttr(attributes);
  // Names map to the identifiers of the interface table.
  const wchar_t* names[] = {L"Plot", L"DataFileName", L"ReDraw", L"PlotWithForm", L"KpzResolution"};
  const DISPID expected[] = {0x1, 0x2, 0x10, 0x19, 0x1e};
  for (int i = 0; i < 5; ++i) {
    DISPID id = 0;
    LPOLESTR name = const_cast<LPOLESTR>(names[i]);
    ASSERT_EQ(dispatch->GetIDsOfNames(IID_NULL, &name, 1, 0, &id), S_OK) << i;
    EXPECT_EQ(id, expected[i]) << i;
  }
}

TEST_F(ControlInterfacesTest, ContainerQueriesAnswerAsAControlShould) {
  ComPtr<ISupportErrorInfo> errors;
  ASSERT_EQ(ctl.As(&errors), S_OK);
  EXPECT_EQ(errors->InterfaceSupportsErrorInfo(IID_IQuillonCtl), S_OK);
  EXPECT_EQ(errors->InterfaceSupportsErrorInfo(IID_IOleObject), S_FALSE);

  ComPtr<ISpecifyPropertyPages> pages;
  ASSERT_EQ(ctl.As(&pages), S_OK);
  CAUUID list{7, nullptr};
  EXPECT_EQ(pages->GetPages(&list), S_OK);
  EXPECT_EQ(list.cElems, 0u);

  ComPtr<IOleObject> object;
  ASSERT_EQ(ctl.As(&object), S_OK);
  DWORD status = 0;
  EXPECT_EQ(object->GetMiscStatus(DVASPECT_CONTENT, &status), S_OK);
  EXPECT_EQ(status, 0x20191u);
  CLSID clsid{};
  EXPECT_EQ(object->GetUserClassID(&clsid), S_OK);
  EXPECT_EQ(clsid, CLSID_QuillonCtl);

  ComPtr<IPersist> persist;
  ASSERT_EQ(ctl.As(&persist), S_OK);
  EXPECT_EQ(persist->GetClassID(&clsid), S_OK);
  EXPECT_EQ(clsid, CLSID_QuillonCtl);

  // The accelerator filter lets the container process every key, Esc and Tab included.
  ComPtr<IOleInPlaceActiveObject> active;
  ASSERT_EQ(ctl.As(&active), S_OK);
  for (WPARAM key : {WPARAM{VK_ESCAPE}, WPARAM{VK_TAB}, WPARAM{'A'}}) {
    MSG msg{};
    msg.message = WM_KEYDOWN;
    msg.wParam = key;
    EXPECT_EQ(active->TranslateAccelerator(&msg), S_FALSE) << key;
  }

  // The view is opaque: containers need not paint behind it.
  ComPtr<IViewObjectEx> view;
  ASSERT_EQ(ctl.As(&view), S_OK);
  DWORD viewStatus = 0;
  EXPECT_EQ(view->GetViewStatus(&viewStatus), S_OK);
  EXPECT_TRUE(viewStatus & VIEWSTATUS_OPAQUE);
}

}  // namespace
}  // namespace quillon::control_test
