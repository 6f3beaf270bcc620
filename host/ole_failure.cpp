#include "host/ole_failure.h"

#include <oleauto.h>
#include <wrl/client.h>

#include <cwchar>

namespace quillon::mirandel {
namespace {

std::wstring Trimmed(std::wstring text) {
  while (!text.empty() && (text.back() == L'\n' || text.back() == L'\r' || text.back() == L' '))
    text.pop_back();
  return text;
}

std::wstring TakeBstr(BSTR& text) {
  std::wstring result = text ? std::wstring(text, ::SysStringLen(text)) : std::wstring();
  ::SysFreeString(text);
  text = nullptr;
  return result;
}

}  // namespace

std::wstring SystemMessage(HRESULT status) {
  wchar_t* buffer = nullptr;
  const DWORD length = ::FormatMessageW(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, static_cast<DWORD>(status), 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
  std::wstring text;
  if (length > 0 && buffer != nullptr) text = Trimmed(std::wstring(buffer, length));
  if (buffer != nullptr) ::LocalFree(buffer);
  if (text.empty()) {
    wchar_t code[32];
    std::swprintf(code, 32, L"OLE error %08X", static_cast<unsigned>(status));
    text = code;
  }
  return text;
}

ControlFailure DescribeFailure(HRESULT status, IUnknown* object, REFIID iid) {
  ControlFailure failure{status, {}};
  if (SUCCEEDED(status)) return failure;
  Microsoft::WRL::ComPtr<ISupportErrorInfo> support;
  if (object != nullptr && SUCCEEDED(object->QueryInterface(IID_PPV_ARGS(&support))) &&
      support->InterfaceSupportsErrorInfo(iid) == S_OK) {
    Microsoft::WRL::ComPtr<IErrorInfo> info;
    if (::GetErrorInfo(0, &info) == S_OK && info) {
      BSTR text = nullptr;
      if (SUCCEEDED(info->GetDescription(&text))) failure.description = Trimmed(TakeBstr(text));
    }
  }
  if (failure.description.empty()) failure.description = SystemMessage(status);
  return failure;
}

ControlFailure DescribeException(EXCEPINFO& exception) {
  if (exception.pfnDeferredFillIn != nullptr) exception.pfnDeferredFillIn(&exception);
  ControlFailure failure;
  failure.status =
      exception.scode != 0 ? exception.scode : (exception.wCode != 0 ? DISP_E_EXCEPTION : E_FAIL);
  failure.description = Trimmed(TakeBstr(exception.bstrDescription));
  TakeBstr(exception.bstrSource);
  TakeBstr(exception.bstrHelpFile);
  if (failure.description.empty()) failure.description = SystemMessage(failure.status);
  return failure;
}

}  // namespace quillon::mirandel
