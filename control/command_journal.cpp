#include "control/command_journal.h"

#include <charconv>
#include <string>

namespace quillon {

std::string JournalPrefix(std::string_view documentPath) {
  std::size_t slash = documentPath.rfind('/');
  if (slash == std::string_view::npos) slash = documentPath.rfind('\\');
  std::string_view base =
      slash == std::string_view::npos ? documentPath : documentPath.substr(slash + 1);
  const std::size_t dot = base.rfind('.');
  if (dot != std::string_view::npos) base = base.substr(0, dot);
  return std::string(base);
}

std::string JournalFileName(std::string_view tempName) {
  // Only a dot of the file's own name counts: a folder may have one too.
  const std::size_t folder = tempName.find_last_of("/\\");
  const std::size_t dot = tempName.rfind('.');
  std::string name(tempName);
  if (dot == std::string_view::npos || (folder != std::string_view::npos && dot < folder)) {
    return name + ".rec";
  }
  return name.substr(0, dot + 1) + "rec";
}

void CommandJournal::OpenAtLoad(bool record, std::string_view documentPath, double viewWidth,
                                double drawingHeight) {
  Close();
  if (!record) return;
  const auto temp = platform_.TempFileName(JournalPrefix(documentPath));
  if (!temp) return;
  sink_ = platform_.Create(JournalFileName(*temp));
  Text("KPZFile=", documentPath);
  Number("XViewSize=", viewWidth);
  Number("YViewSize=", drawingHeight);
  EndRecord();
}

void CommandJournal::WriteSizesOnce(int kpzXSize, int kpzYSize) {
  if (!IsOpen() || sizesWritten_) return;
  sizesWritten_ = true;
  Number("KpzXSize=", kpzXSize);
  Number("KpzYSize=", kpzYSize);
  EndRecord();
}

void CommandJournal::Close() {
  if (sink_) sink_->Close();
  sink_.reset();
}

void CommandJournal::CloseForNewSize() {
  Close();
  sizesWritten_ = false;
}

void CommandJournal::Record(std::string_view keyword) {
  Line(keyword);
  EndRecord();
}

void CommandJournal::RecordViewState(const ViewState& view) {
  ViewStateLines(view);
  EndRecord();
}

void CommandJournal::RecordViewState(ViewState& view, const ViewFrame& frame) {
  if (!IsOpen()) return;
  view.ViewScale = FittedScale(view, frame);
  RecordViewState(view);
}

void CommandJournal::RecordPrinter(const JournalPrinter& printer) {
  PrinterLines(printer);
  EndRecord();
}

void CommandJournal::RecordDataFileName(std::string_view path, ViewState& view,
                                        const ViewFrame& frame) {
  Line(kJournalPutDataFileName);
  Text("KPZFile=", path);
  RecordViewState(view, frame);
}

void CommandJournal::RecordPlotStart(bool plotView) {
  Record(plotView ? kJournalPlotView : kJournalPlot);
}

void CommandJournal::RecordPlotDone(ViewState& view, const ViewFrame& frame,
                                    const JournalPrinter& printer) {
  RecordViewState(view, frame);
  RecordPrinter(printer);
}

void CommandJournal::RecordPlotSetup(const JournalPrinter& printer) {
  Line(kJournalPlotSetup);
  RecordPrinter(printer);
}

void CommandJournal::RecordPlotToForm(const JournalPrinter& printer, double xOrigin,
                                      double yOrigin) {
  Line(kJournalPlotToForm);
  PrinterLines(printer);
  Number("xOrigin=", xOrigin);
  Number("yOrigin=", yOrigin);
  EndRecord();
}

void CommandJournal::Line(std::string_view text) {
  // A file that refused a line is given up without a word: the user is viewing, not keeping
  // a log.
  if (sink_ && !sink_->WriteLine(text)) Close();
}

void CommandJournal::Number(std::string_view key, double value) {
  // "%f" without the C runtime's locale: six decimals and a point whatever the host set.
  // 330 characters hold the longest double in fixed notation.
  char digits[330];
  const auto [end, error] =
      std::to_chars(digits, digits + sizeof digits, value, std::chars_format::fixed, 6);
  if (error != std::errc{}) return;
  Line(std::string(key).append(digits, end));
}

void CommandJournal::Number(std::string_view key, int value) {
  Line(std::string(key) + std::to_string(value));
}

void CommandJournal::Text(std::string_view key, std::string_view value) {
  value = value.substr(0, value.find_first_of("\r\n"));
  value = value.substr(0, kJournalTextLimit);
  Line(std::string(key).append(value));
}

void CommandJournal::ViewStateLines(const ViewState& view) {
  Number("xOrigin=", view.xOrg);
  Number("yOrigin=", view.yOrg);
  Number("ViewScale=", view.ViewScale);
  Number("Rotation=", view.Rot);
}

void CommandJournal::PrinterLines(const JournalPrinter& printer) {
  Number("Portrait_Landscape=", printer.orientation);
  Number("PrintScaleOptions=", printer.scaleOption);
  Text("PrinterName=", printer.printerName);
  Text("FormName=", printer.formName);
}

void CommandJournal::EndRecord() {
  if (sink_ && !sink_->Flush()) Close();
}

}  // namespace quillon
