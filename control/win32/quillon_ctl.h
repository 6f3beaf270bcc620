#pragma once
// QuillonCtl: the plot viewer control. One object answers IQuillonCtl and the OLE control
// interfaces; its methods are defined in one file per interface group (dispatch, OLE object,
// in-place, view object, persistence, window and paint).

#include <objsafe.h>
#include <ocidl.h>
#include <olectl.h>
#include <perhist.h>
#include <windows.h>

#include <atomic>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "base/win32/unique_handle.h"
#include "control/command_journal.h"
#include "control/quillon_h.h"
#include "control/status_line.h"
#include "control/win32/back_buffer.h"
#include "control/win32/com_ptr.h"
#include "control/plot_dialog_rules.h"
#include "control/win32/message_route.h"
#include "control/win32/printer_setup.h"
#include "control/win32/win32_journal_platform.h"
#include "control/win32/rubber_figures.h"
#include "document/win32/win32_document_platform.h"
#include "interact/context_menu.h"
#include "interact/mouse_tools.h"
#include "interact/navigation.h"
#include "render/draw_context.h"
#include "settings/preferences.h"
#include "settings/ruler_units.h"
#include "settings/win32/registry_store.h"

namespace quillon {

// PropertySetFlags bits: which view values the host put since the last load.
enum PropertySetBit : unsigned {
  kDataFileNamePut = 0x01,
  kXOrgPut = 0x02,
  kYOrgPut = 0x04,
  kRotPut = 0x08,
  kViewScalePut = 0x10,
};

// OLEMISC_RECOMPOSEONRESIZE | CANTLINKINSIDE | INSIDEOUT | ACTIVATEWHENVISIBLE |
// SETCLIENTSITEFIRST.
inline constexpr DWORD kMiscStatus = 0x20191;

class QuillonCtl final : public IQuillonCtl,
                         public IPersistStreamInit,
                         public IPersistStorage,
                         public IPersistPropertyBag,
                         public IPersistHistory,
                         public IOleObject,
                         public IOleInPlaceObjectWindowless,
                         public IOleInPlaceActiveObject,
                         public IOleControl,
                         public IViewObjectEx,
                         public IQuickActivate,
                         public IDataObject,
                         public ISpecifyPropertyPages,
                         public IProvideClassInfo2,
                         public ISupportErrorInfo,
                         public IObjectSafety,
                         public IQuillonMessageRoute,
                         private ViewListener {
 public:
  // Answers E_OUTOFMEMORY, or what QueryInterface answers for iid.
  static HRESULT Create(REFIID iid, void** object);

  // IUnknown
  STDMETHODIMP QueryInterface(REFIID iid, void** object) override;
  STDMETHODIMP_(ULONG) AddRef() override;
  STDMETHODIMP_(ULONG) Release() override;

  // IDispatch
  STDMETHODIMP GetTypeInfoCount(UINT* count) override;
  STDMETHODIMP GetTypeInfo(UINT index, LCID lcid, ITypeInfo** info) override;
  STDMETHODIMP GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT count, LCID lcid,
                             DISPID* ids) override;
  STDMETHODIMP Invoke(DISPID id, REFIID iid, LCID lcid, WORD flags, DISPPARAMS* params,
                      VARIANT* result, EXCEPINFO* exception, UINT* argError) override;

  // IQuillonCtl
  STDMETHODIMP Plot(LONG PlotView) override;
  STDMETHODIMP get_DataFileName(BSTR* value) override;
  STDMETHODIMP put_DataFileName(BSTR value) override;
  STDMETHODIMP Scale(double scaleFactor) override;
  STDMETHODIMP ScaleDown(double scaleFactor) override;
  STDMETHODIMP Fit() override;
  STDMETHODIMP PanLeft() override;
  STDMETHODIMP PanRight() override;
  STDMETHODIMP PanUp() override;
  STDMETHODIMP PanDown() override;
  STDMETHODIMP RotateLeft() override;
  STDMETHODIMP RotateRight() override;
  STDMETHODIMP get_ViewScale(double* value) override;
  STDMETHODIMP put_ViewScale(double value) override;
  STDMETHODIMP get_xOrg(double* value) override;
  STDMETHODIMP put_xOrg(double value) override;
  STDMETHODIMP get_yOrg(double* value) override;
  STDMETHODIMP put_yOrg(double value) override;
  STDMETHODIMP get_Rot(LONG* value) override;
  STDMETHODIMP put_Rot(LONG value) override;
  STDMETHODIMP ReDraw() override;
  STDMETHODIMP ScaleIt(double scaleFactor) override;
  STDMETHODIMP Copy() override;
  STDMETHODIMP get_PlotSilent(short* value) override;
  STDMETHODIMP put_PlotSilent(short value) override;
  STDMETHODIMP get_PrinterName(BSTR* value) override;
  STDMETHODIMP put_PrinterName(BSTR value) override;
  STDMETHODIMP get_FormName(BSTR* value) override;
  STDMETHODIMP put_FormName(BSTR value) override;
  STDMETHODIMP get_Portrait_Landscape(short* value) override;
  STDMETHODIMP put_Portrait_Landscape(short value) override;
  STDMETHODIMP get_PrintScaleOptions(LONG* value) override;
  STDMETHODIMP put_PrintScaleOptions(LONG value) override;
  STDMETHODIMP PlotWithForm(double xOrg, double yOrg) override;
  STDMETHODIMP PlotToForm() override;
  STDMETHODIMP get_PrintScalePercentage(double* value) override;
  STDMETHODIMP put_PrintScalePercentage(double value) override;
  STDMETHODIMP get_KpzXSize(double* value) override;
  STDMETHODIMP put_KpzXSize(double value) override;
  STDMETHODIMP get_KpzYSize(double* value) override;
  STDMETHODIMP put_KpzYSize(double value) override;
  STDMETHODIMP get_KpzResolution(double* value) override;
  STDMETHODIMP put_KpzResolution(double value) override;

  // IPersist and the persistence interfaces
  STDMETHODIMP GetClassID(CLSID* clsid) override;
  STDMETHODIMP IsDirty() override;
  STDMETHODIMP Load(IStream* stream) override;
  STDMETHODIMP Save(IStream* stream, BOOL clearDirty) override;
  STDMETHODIMP GetSizeMax(ULARGE_INTEGER* size) override;
  STDMETHODIMP InitNew() override;
  STDMETHODIMP InitNew(IStorage* storage) override;
  STDMETHODIMP Load(IStorage* storage) override;
  STDMETHODIMP Save(IStorage* storage, BOOL sameAsLoad) override;
  STDMETHODIMP SaveCompleted(IStorage* storage) override;
  STDMETHODIMP HandsOffStorage() override;
  STDMETHODIMP Load(IPropertyBag* bag, IErrorLog* log) override;
  STDMETHODIMP Save(IPropertyBag* bag, BOOL clearDirty, BOOL saveAll) override;
  STDMETHODIMP LoadHistory(IStream* stream, IBindCtx* context) override;
  STDMETHODIMP SaveHistory(IStream* stream) override;
  STDMETHODIMP SetPositionCookie(DWORD cookie) override;
  STDMETHODIMP GetPositionCookie(DWORD* cookie) override;

  // IOleObject
  STDMETHODIMP SetClientSite(IOleClientSite* site) override;
  STDMETHODIMP GetClientSite(IOleClientSite** site) override;
  STDMETHODIMP SetHostNames(LPCOLESTR app, LPCOLESTR object) override;
  STDMETHODIMP Close(DWORD saveOption) override;
  STDMETHODIMP SetMoniker(DWORD which, IMoniker* moniker) override;
  STDMETHODIMP GetMoniker(DWORD assign, DWORD which, IMoniker** moniker) override;
  STDMETHODIMP InitFromData(IDataObject* data, BOOL creation, DWORD reserved) override;
  STDMETHODIMP GetClipboardData(DWORD reserved, IDataObject** data) override;
  STDMETHODIMP DoVerb(LONG verb, LPMSG msg, IOleClientSite* site, LONG index, HWND parent,
                      LPCRECT pos) override;
  STDMETHODIMP EnumVerbs(IEnumOLEVERB** verbs) override;
  STDMETHODIMP Update() override;
  STDMETHODIMP IsUpToDate() override;
  STDMETHODIMP GetUserClassID(CLSID* clsid) override;
  STDMETHODIMP GetUserType(DWORD form, LPOLESTR* type) override;
  STDMETHODIMP SetExtent(DWORD aspect, SIZEL* size) override;
  STDMETHODIMP GetExtent(DWORD aspect, SIZEL* size) override;
  STDMETHODIMP Advise(IAdviseSink* sink, DWORD* connection) override;
  STDMETHODIMP Unadvise(DWORD connection) override;
  STDMETHODIMP EnumAdvise(IEnumSTATDATA** advise) override;
  STDMETHODIMP GetMiscStatus(DWORD aspect, DWORD* status) override;
  STDMETHODIMP SetColorScheme(LOGPALETTE* palette) override;

  // IOleWindow, IOleInPlaceObject(Windowless), IOleInPlaceActiveObject
  STDMETHODIMP GetWindow(HWND* window) override;
  STDMETHODIMP ContextSensitiveHelp(BOOL enter) override;
  STDMETHODIMP InPlaceDeactivate() override;
  STDMETHODIMP UIDeactivate() override;
  STDMETHODIMP SetObjectRects(LPCRECT pos, LPCRECT clip) override;
  STDMETHODIMP ReactivateAndUndo() override;
  STDMETHODIMP OnWindowMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result) override;
  STDMETHODIMP GetDropTarget(IDropTarget** target) override;
  STDMETHODIMP TranslateAccelerator(LPMSG msg) override;
  STDMETHODIMP OnFrameWindowActivate(BOOL activate) override;
  STDMETHODIMP OnDocWindowActivate(BOOL activate) override;
  STDMETHODIMP ResizeBorder(LPCRECT border, IOleInPlaceUIWindow* window, BOOL frame) override;
  STDMETHODIMP EnableModeless(BOOL enable) override;

  // IOleControl
  STDMETHODIMP GetControlInfo(CONTROLINFO* info) override;
  STDMETHODIMP OnMnemonic(MSG* msg) override;
  STDMETHODIMP OnAmbientPropertyChange(DISPID id) override;
  STDMETHODIMP FreezeEvents(BOOL freeze) override;

  // IViewObject, IViewObject2, IViewObjectEx
  STDMETHODIMP Draw(DWORD aspect, LONG index, void* aspectInfo, DVTARGETDEVICE* target,
                    HDC targetInfo, HDC draw, LPCRECTL bounds, LPCRECTL windowBounds,
                    BOOL(STDMETHODCALLTYPE* cont)(ULONG_PTR), ULONG_PTR contArg) override;
  STDMETHODIMP GetColorSet(DWORD aspect, LONG index, void* aspectInfo, DVTARGETDEVICE* target,
                           HDC targetInfo, LOGPALETTE** colours) override;
  STDMETHODIMP Freeze(DWORD aspect, LONG index, void* aspectInfo, DWORD* freeze) override;
  STDMETHODIMP Unfreeze(DWORD freeze) override;
  STDMETHODIMP SetAdvise(DWORD aspects, DWORD flags, IAdviseSink* sink) override;
  STDMETHODIMP GetAdvise(DWORD* aspects, DWORD* flags, IAdviseSink** sink) override;
  STDMETHODIMP GetExtent(DWORD aspect, LONG index, DVTARGETDEVICE* target, LPSIZEL size) override;
  STDMETHODIMP GetRect(DWORD aspect, LPRECTL rect) override;
  STDMETHODIMP GetViewStatus(DWORD* status) override;
  STDMETHODIMP QueryHitPoint(DWORD aspect, LPCRECT bounds, POINT location, LONG closeHint,
                             DWORD* hit) override;
  STDMETHODIMP QueryHitRect(DWORD aspect, LPCRECT bounds, LPCRECT location, LONG closeHint,
                            DWORD* hit) override;
  STDMETHODIMP GetNaturalExtent(DWORD aspect, LONG index, DVTARGETDEVICE* target, HDC targetInfo,
                                DVEXTENTINFO* info, LPSIZEL size) override;

  // IQuickActivate
  STDMETHODIMP QuickActivate(QACONTAINER* container, QACONTROL* control) override;
  STDMETHODIMP SetContentExtent(LPSIZEL size) override;
  STDMETHODIMP GetContentExtent(LPSIZEL size) override;

  // IDataObject
  STDMETHODIMP GetData(FORMATETC* format, STGMEDIUM* medium) override;
  STDMETHODIMP GetDataHere(FORMATETC* format, STGMEDIUM* medium) override;
  STDMETHODIMP QueryGetData(FORMATETC* format) override;
  STDMETHODIMP GetCanonicalFormatEtc(FORMATETC* in, FORMATETC* out) override;
  STDMETHODIMP SetData(FORMATETC* format, STGMEDIUM* medium, BOOL release) override;
  STDMETHODIMP EnumFormatEtc(DWORD direction, IEnumFORMATETC** formats) override;
  STDMETHODIMP DAdvise(FORMATETC* format, DWORD flags, IAdviseSink* sink,
                       DWORD* connection) override;
  STDMETHODIMP DUnadvise(DWORD connection) override;
  STDMETHODIMP EnumDAdvise(IEnumSTATDATA** advise) override;

  // ISpecifyPropertyPages, IProvideClassInfo2, ISupportErrorInfo, IObjectSafety
  STDMETHODIMP GetPages(CAUUID* pages) override;
  STDMETHODIMP GetClassInfo(ITypeInfo** info) override;
  STDMETHODIMP GetGUID(DWORD kind, GUID* guid) override;
  STDMETHODIMP InterfaceSupportsErrorInfo(REFIID iid) override;
  STDMETHODIMP GetInterfaceSafetyOptions(REFIID iid, DWORD* supported, DWORD* enabled) override;
  STDMETHODIMP SetInterfaceSafetyOptions(REFIID iid, DWORD mask, DWORD enabled) override;

  // IQuillonMessageRoute
  STDMETHODIMP SetMessageSink(ControlMessageSink sink, void* context) override;
  STDMETHODIMP GetStatusTexts(char* buffer, int size) override;

  // The window procedure's entry for one message.
  LRESULT HandleMessage(HWND window, UINT msg, WPARAM wParam, LPARAM lParam);

  // The measuring units, as the ruler dialog last set them.
  const RulerUnits& rulerUnits() const { return rulerUnits_; }

 private:
  QuillonCtl();
  ~QuillonCtl();

  // ViewListener
  void InvalidateView() override;
  void InvalidateArea(const ViewRect& area, bool erase) override;
  void UpdateView() override;
  bool JournalOpen() const override { return journal_.IsOpen(); }
  void JournalKeyword(std::string_view keyword) override { journal_.Record(keyword); }
  void JournalViewState(const ViewState& view) override { journal_.RecordViewState(view); }
  void ResetZoom() override;
  void ResetRasterCache() override;

  // Error info for scripts; always answers E_FAIL.
  HRESULT Fail(const wchar_t* description);
  HRESULT NotLoaded() { return Fail(L"No plot is loaded."); }
  HRESULT NotBuilt(const wchar_t* what);
  // The gets of the page's size and resolution: a value of the loaded plot, or NotLoaded().
  HRESULT GetPageValue(double* value, double (*read)(const PageMeasure& page));
  ITypeInfo* TypeInfo(REFGUID guid);

  // Window and paint.
  void Paint(HDC target, const RECT& bounds);
  // The shown area on the clipboard: a vector picture at true size and the drawing's pixels.
  void CopyToClipboard();
  UniqueEnhMetaFile DrawTrueSizeMetafile(HDC screen);
  UniqueBitmap DrawViewBitmap(HDC screen);
  // Printing: the printer for a plot (dialog or silent); false when nothing is to be printed.
  bool AcquireForPlot(PlotDialogMode mode, bool dialog);
  // The context menu's Plot Setup: the print dialog alone.
  void PlotSetup();
  // Plot To Form: the printer, the tool armed with the sheet's outline; the placement prints.
  void ArmPlotToForm();
  void MeasureFormOutline();
  void PlaceFormAndPlot(ViewPoint at);
  bool PrintJobNow(const PrintJob& job);
  JournalPrinter PrinterForJournal() const;
  // The view as the window shows it, drawn into a metafile or printer DC within area.
  void DrawViewAsVectors(HDC dc, const RECT& area);
  bool LoadDocument(int bw, int bh);
  void RebuildForNewSize();
  void CloseDocument();
  void ResetControlState();
  void SaveSettings();
  // The print choices of a new document: afresh, then what the user's settings kept.
  void LoadPrintSettings();
  void ShowMessage(const std::string& text);
  bool CreateControlWindow(HWND parent, const RECT& pos);
  void DestroyControlWindow();
  HRESULT InPlaceActivate(LONG verb);
  void FireViewChange();
  std::string AnsiDataFileName() const;

  // The mouse tools (ctl_mouse.cpp). Input is ignored while no plot is loaded.
  LRESULT OnSetCursor(HWND window, WPARAM wParam, LPARAM lParam);
  void OnButtonDown(LPARAM lParam);
  void OnMouseMove(WPARAM wParam, LPARAM lParam);
  void OnButtonUp(LPARAM lParam);
  void OnDoubleClick();
  void OnKey(WPARAM key);
  void OnCancelMode();
  LRESULT OnMouseWheel(HWND window, WPARAM wParam, LPARAM lParam);
  // Runs one input through the tools and does what they answer on the window.
  void RunTools(const std::function<MouseResponse(MouseTools&)>& input);
  // A measuring mode that ended and had shown the hidden strip hides it again.
  void HideForcedStatusBar();
  void ApplyResponse(const MouseResponse& response, std::span<const ViewPoint> figureBefore,
                     bool polygonBefore);
  // Copy the last drawn image and the status strip again, unless the view changed meanwhile.
  void RepaintFromBackBuffer();
  // The measured figure and the measuring rubber line, drawn over a paint.
  void DrawMeasureOverlay(HDC target);
  MeasurePage CurrentMeasurePage() const;
  RubberPens Pens() const { return {bluePen_.get(), redPen_.get()}; }

  // The context menu and its commands (ctl_menu.cpp).
  void OnContextMenu(HWND window, LPARAM lParam);
  MenuState CurrentMenuState() const;
  // False for an id that is no menu command.
  bool RunMenuCommand(int command, const ViewState& viewAtOpen);
  void OnMeasureCommand(MeasureMode mode);
  void OnStatusBarCommand();
  void ShowStatusBar(bool show);
  // Commands whose dialogs and printing come with their own parts of the control: each is the
  // one place that part fills in.
  void OnPlotCommand(LONG plotView);
  void OnPlotSetupCommand();
  void OnPlotToFormCommand();
  // Plot To Form released with the outline at `at`: confirm and plot.
  void OnPlacementStep(ViewPoint at);
  void OnCopyCommand();
  void OnConfigureRulerCommand();
  void OnPreferencesCommand(const ViewState& viewAtOpen);
  void OnHelpCommand();
  void OnAboutCommand();
  // The settings commands of the context menu, each with a modal dialog owned by the active
  // window (ctl_settings.cpp). RunSettingsCommand answers false for another command.
  bool RunSettingsCommand(int command);
  void ConfigureRuler();
  void EditPreferences();
  void ApplyPreferences(const Preferences& prefs);
  void ShowAbout();
  void OpenHelp();

  // Persistence: the named properties through the puts, in their order.
  HRESULT PutProperty(DISPID id, VARIANT& value);
  HRESULT GetProperty(DISPID id, VARIANT& value);
  void SetExtentFromPixels(int width, int height);

  std::atomic<ULONG> refs_{1};

  // Document services and drawing.
  Win32DocumentPlatform platform_;
  std::unique_ptr<DrawContext> context_;
  RegistryStore settings_;
  Win32JournalPlatform journalPlatform_;
  CommandJournal journal_{journalPlatform_};
  PrinterSetup printer_;
  RulerUnits rulerUnits_;
  Preferences preferences_;
  HWND openDialog_ = nullptr;  // the settings dialog open now, ended with the window
  ControlMessageSink sink_ = nullptr;
  void* sinkContext_ = nullptr;

  // The control's state.
  std::wstring dataFileName_ = L" ";
  bool loaded_ = false;
  Navigation nav_;
  unsigned propertySetFlags_ = 0;
  // Made with the control and again whenever its state is reset; it refers to nav_.
  std::optional<MouseTools> mouse_;
  FormOutline formOutline_;
  StatusLine statusLine_;
  bool statusBarVisible_ = true;
  // A measuring mode showed the hidden strip; it hides it again when it ends.
  bool statusBarForced_ = false;
  int fullBufferHeight_ = 400;
  short plotSilent_ = 0;
  // What the next print dialog offers; restored from the user's settings at each load.
  int savedScaleOption_ = 0;
  double savedScalePercentage_ = 0;
  UniquePen bluePen_;
  UniquePen redPen_;
  BackBuffer backBuffer_;
  bool reuseBackBuffer_ = false;
  // The drawing bounds of the last paint, for the copy's frame.
  RECT paintBounds_{0, 0, 0, 0};
  // The view changed since the last draw: the next paint draws the document whatever it was
  // asked.
  bool viewChangePending_ = true;
  bool restoreView_ = false;
  std::string pendingPath_;
  double pendingXOrg_ = 0, pendingYOrg_ = 0, pendingViewScale_ = 0;
  int pendingRot_ = 0;

  // OLE state.
  ComPtr<IOleClientSite> clientSite_;
  ComPtr<IOleInPlaceSite> inPlaceSite_;
  ComPtr<IOleControlSite> controlSite_;
  ComPtr<IOleInPlaceFrame> frame_;
  ComPtr<IOleInPlaceUIWindow> uiWindow_;
  ComPtr<IOleAdviseHolder> oleAdvise_;
  ComPtr<IDataAdviseHolder> dataAdvise_;
  ComPtr<IAdviseSink> viewSink_;
  DWORD viewAdviseFlags_ = 0;
  ComPtr<ITypeInfo> interfaceInfo_;
  ComPtr<ITypeInfo> classInfo_;
  HWND window_ = nullptr;
  bool inPlaceActive_ = false;
  bool uiActive_ = false;
  RECT posRect_{0, 0, 0, 0};
  SIZEL extent_{2 * 2540, 2 * 2540};  // HIMETRIC
  bool dirty_ = false;
  DWORD safety_ = 0;
};

}  // namespace quillon
