#pragma once
// Every text the viewer shows, exactly as its users know them.

namespace quillon::mirandel {

inline constexpr wchar_t kAppTitle[] = L"Mirandel";
inline constexpr wchar_t kMainFormClass[] = L"TMainForm";
inline constexpr wchar_t kAboutBoxClass[] = L"TAboutBox";
inline constexpr wchar_t kForm1Class[] = L"TForm1";

inline constexpr wchar_t kMenuFile[] = L"&Archivo";
inline constexpr wchar_t kMenuOpen[] = L"&Abrir\tCtrl+A";
inline constexpr wchar_t kMenuPrintView[] = L"Imprimir &Vista\tCtrl+V";
inline constexpr wchar_t kMenuPrintMap[] = L"Imprimir &Mapa\tCtrl+M";
inline constexpr wchar_t kMenuExit[] = L"&Salir\tCtrl+S";
inline constexpr wchar_t kMenuView[] = L"&Ver";
inline constexpr wchar_t kMenuZoomIn[] = L"&Aumentar\tCtrl+X";
inline constexpr wchar_t kMenuZoomOut[] = L"&Disminuir\tCtrl+Z";
inline constexpr wchar_t kMenuExtent[] = L"&Extensi\u00f3n\tCtrl+E";
inline constexpr wchar_t kMenuAbout[] = L"Acerca de";
inline constexpr wchar_t kFileMenuHint[] = L"File related commands";

inline constexpr wchar_t kHintOpen[] = L"Abrir KPZ";
inline constexpr wchar_t kHintExit[] = L"Salir";
inline constexpr wchar_t kHintPrintView[] = L"Imprimir Vista";
inline constexpr wchar_t kHintPrintMap[] = L"Imprimir Mapa";
inline constexpr wchar_t kHintZoomIn[] = L"Aumentar";
inline constexpr wchar_t kHintZoomOut[] = L"Disminuir";
inline constexpr wchar_t kHintExtent[] = L"Extensi\u00f3n";

inline constexpr wchar_t kOpenFilter[] = L"All files (*.kpz)\0*.kpz\0";
inline constexpr wchar_t kOpenedPrefix[] = L"El Kpz abierto es : ";

inline constexpr wchar_t kAboutCaption[] = L"Acerca de Mirandel";
inline constexpr wchar_t kAboutVersion[] = L"Version 1.0       Febrero de 2000";
inline constexpr wchar_t kAboutPublisher[] = L"Veltramark";
inline constexpr wchar_t kAboutDepartment[] = L"Departamento de Sistemas Cartogr\u00e1ficos";
inline constexpr wchar_t kAboutPlatform[] = L"Windows 95/98";
inline constexpr wchar_t kAboutOk[] = L"OK";
inline constexpr wchar_t kForm1Caption[] = L"Form1";

}  // namespace quillon::mirandel
