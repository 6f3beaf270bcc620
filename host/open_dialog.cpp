#include "host/open_dialog.h"

#include <commdlg.h>

#include <vector>

#include "host/host_texts.h"

namespace quillon::mirandel {

std::optional<std::wstring> RunOpenDialog(HWND owner) {
  std::vector<wchar_t> name(32768, L'\0');
  // The filter is a list of text pairs ending in an empty text.
  const std::wstring filter(kOpenFilter, sizeof kOpenFilter / sizeof(wchar_t));
  OPENFILENAMEW dialog{};
  dialog.lStructSize = sizeof dialog;
  dialog.hwndOwner = owner;
  dialog.lpstrFilter = filter.c_str();
  dialog.nFilterIndex = 1;
  dialog.lpstrFile = name.data();
  dialog.nMaxFile = static_cast<DWORD>(name.size());
  dialog.Flags = OFN_EXPLORER | OFN_HIDEREADONLY | OFN_ENABLESIZING;
  if (!::GetOpenFileNameW(&dialog)) return std::nullopt;
  return std::wstring(name.data());
}

}  // namespace quillon::mirandel
