#pragma once
// CommandJournal: the optional text log of the view commands and prints, each followed by the
// state it left, so that a session can be inspected or replayed. One file per document load,
// in the temporary folder, while the user's "Record" value is set.
//
// Every line goes through one writer: a failed write or flush gives the file up quietly, and
// all later records of that load write nothing. Viewing never depends on the journal.

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>

#include "control/journal_platform.h"
#include "interact/view_state.h"

namespace quillon {

// Keywords of the commands the control journals itself; the navigation commands name theirs.
inline constexpr std::string_view kJournalPutDataFileName = "PUTDATAFILENAME";
inline constexpr std::string_view kJournalPlot = "PLOT";
inline constexpr std::string_view kJournalPlotView = "PLOTVIEW";
inline constexpr std::string_view kJournalPlotSetup = "PLOTSETUP";
inline constexpr std::string_view kJournalPlotToForm = "PLOTTOFORM";

// A text value is cut to what the control's ANSI path buffer holds, and at a line end, so
// that one value never makes more than one line.
inline constexpr std::size_t kJournalTextLimit = 1023;

// What the printer block shows: the selected printer's stored device mode and the saved print
// scale option.
struct JournalPrinter {
  int orientation = 1;  // 1 portrait, 2 landscape
  int scaleOption = -1;
  std::string printerName;
  std::string formName;
};

// The name prefix of a document's journal: the path after its last "/" (or, with none, its
// last "\"), less the extension from its last ".".
std::string JournalPrefix(std::string_view documentPath);
// The journal's own name beside the temporary file: the extension replaced by "rec".
std::string JournalFileName(std::string_view tempName);

class CommandJournal {
 public:
  explicit CommandJournal(JournalPlatform& platform) : platform_(platform) {}
  ~CommandJournal() { Close(); }
  CommandJournal(const CommandJournal&) = delete;
  CommandJournal& operator=(const CommandJournal&) = delete;

  bool IsOpen() const { return sink_ != nullptr; }

  // A document load: the previous load's journal is closed, and with record set a new file
  // starts with the document path and the drawing size. drawingHeight is the full height, the
  // status bar strip included.
  void OpenAtLoad(bool record, std::string_view documentPath, double viewWidth,
                  double drawingHeight);
  // The end of a paint: the page size in dots, once after creation or a size-change reset.
  void WriteSizesOnce(int kpzXSize, int kpzYSize);
  // Destruction of the control.
  void Close();
  // The reload after a size change: the next journal gets the page size lines again.
  void CloseForNewSize();

  // A command's keyword line.
  void Record(std::string_view keyword);
  // The view-state block with the values as they are: the navigation has already set
  // ViewScale to the scale of the next paint.
  void RecordViewState(const ViewState& view);
  // The view-state block of the control's own records: ViewScale is first set to the scale the
  // next paint derives, as the navigation does. The view is left alone while no file is open.
  void RecordViewState(ViewState& view, const ViewFrame& frame);
  void RecordPrinter(const JournalPrinter& printer);

  // The control's own commands, whole records except where printing comes between.
  void RecordDataFileName(std::string_view path, ViewState& view, const ViewFrame& frame);
  // Before printing, once the dialog was confirmed.
  void RecordPlotStart(bool plotView);
  // After a successful print.
  void RecordPlotDone(ViewState& view, const ViewFrame& frame, const JournalPrinter& printer);
  void RecordPlotSetup(const JournalPrinter& printer);
  // The origin is where the plot was placed on the form.
  void RecordPlotToForm(const JournalPrinter& printer, double xOrigin, double yOrigin);

 private:
  void Line(std::string_view text);
  void Number(std::string_view key, double value);
  void Number(std::string_view key, int value);
  void Text(std::string_view key, std::string_view value);
  void ViewStateLines(const ViewState& view);
  void PrinterLines(const JournalPrinter& printer);
  // Records are flushed whole, so that the file holds every finished command even when the
  // host never closes it.
  void EndRecord();

  JournalPlatform& platform_;
  std::unique_ptr<JournalSink> sink_;
  bool sizesWritten_ = false;
};

}  // namespace quillon
