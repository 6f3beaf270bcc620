#include "document/document_loader.h"

#include <array>
#include <cstdarg>
#include <cstdio>
#include <new>
#include <utility>

#include "document/byte_reader.h"
#include "document/display_list.h"

namespace quillon {
namespace {

constexpr std::uint32_t kPlainHeaderLength = 664;
constexpr std::uint32_t kWrapperMagic = 0xBABEFACE;

// Formats into the 512-byte message buffer; longer texts are cut at 511 characters.
__attribute__((format(printf, 1, 2))) std::string FormatLoadMessage(const char* format, ...) {
  std::array<char, DocumentLoader::kMaxMessageLength + 1> buffer{};
  va_list args;
  va_start(args, format);
  std::vsnprintf(buffer.data(), buffer.size(), format, args);
  va_end(args);
  return std::string(buffer.data());
}

}  // namespace

bool DocumentLoader::IsHttpPath(const std::string& path) {
  static constexpr char kHttp[] = "http";
  if (path.size() < 4) return false;
  for (std::size_t i = 0; i < 4; ++i) {
    char c = path[i];
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    if (c != kHttp[i]) return false;
  }
  return true;
}

std::string DocumentLoader::SpaceEscapedName(const std::string& name) {
  const std::size_t slash = name.rfind('\\');
  if (slash == std::string::npos) return {};
  std::string result = name.substr(0, slash + 1);
  for (std::size_t i = slash + 1; i < name.size(); ++i) {
    if (name[i] == ' ')
      result += "%20";
    else
      result += name[i];
  }
  return result;
}

void DocumentLoader::ShowControlMessage(const std::string& text) {
  platform_.ShowMessage(text.substr(0, kMaxMessageLength));
}

void DocumentLoader::ShowOnce(const std::string& text) {
  if (messageShown_) return;
  // Set before showing: the modal box pumps messages, and a paint in between must not
  // show a second one.
  messageShown_ = true;
  ShowControlMessage(text);
}

int DocumentLoader::OpenDocument(const std::string& path, double viewWidth, double viewHeight) {
  CloseDocument();

  std::unique_ptr<DocumentHeap> heap = platform_.CreateHeap(kInitialHeapBytes);
  if (!heap) return -1;
  static_assert(alignof(KpzDocument) <= alignof(std::max_align_t));
  void* memory = heap->Allocate(sizeof(KpzDocument));
  if (memory == nullptr) return -1;
  auto* doc = new (memory) KpzDocument();
  doc->documentHeap = heap.get();
  doc->heapOwner = std::move(heap);
  document_ = doc;

  doc->loadViewWidth = viewWidth;
  doc->loadViewHeight = viewHeight;

  // A failed load keeps nothing: no half-made document that later calls could take for
  // a loaded one, and no handle left open until the next close.
  std::string name;
  if (!ObtainLocalName(path, name)) {
    CloseDocument();
    return -1;
  }
  if (!HasAcceptedForm(name)) {
    ShowOnce(FormatLoadMessage("Invalid file : %s", path.c_str()));
    CloseDocument();
    return -1;
  }
  if (MapFile(path, name) != 0) {
    CloseDocument();
    return -1;
  }

  ReadDisplayList(*doc);

  messageShown_ = false;
  return 0;
}

bool DocumentLoader::ObtainLocalName(const std::string& path, std::string& name) {
  if (!IsHttpPath(path)) {
    name = path;
    return true;
  }
  std::string cached;
  switch (platform_.DownloadToCache(path, cached)) {
    case DownloadStatus::Ok:
      // The cache name comes back in a MAX_PATH buffer; anything longer cannot be real.
      if (!cached.empty() && cached.size() <= kMaxNameLength) {
        name = std::move(cached);
        return true;
      }
      [[fallthrough]];
    case DownloadStatus::Failed:
      ShowOnce(FormatLoadMessage("Unable to download KPZ file : %s", path.c_str()));
      return false;
    case DownloadStatus::NoLibrary:
      ShowOnce("Unable to LoadLibrary urlmon.dll");
      return false;
    case DownloadStatus::NoEntryPoint:
      ShowOnce("Unable to GetProcAddress for URLDownloadToCacheFileA");
      return false;
  }
  return false;
}

bool DocumentLoader::HasAcceptedForm(const std::string& name) {
  // A name that does not fit the name buffer is refused at the open step instead.
  if (name.size() > kMaxNameLength) return true;
  std::array<std::uint8_t, 5> lead{};
  const std::optional<std::size_t> got = platform_.ReadLeadingBytes(name, lead);
  if (!got) return true;  // no read/write access: the check is skipped
  // Bytes beyond the end of a short file are not there: such a file matches neither form.
  ByteReader reader(std::span<const std::uint8_t>(lead.data(), *got < lead.size() ? *got : 5));
  const std::uint8_t first = reader.u8_at(0);
  const std::uint32_t length = reader.u32_at(1);
  const bool plain = reader.ok() && first == 0 && length == kPlainHeaderLength;
  ByteReader magicReader(reader.bytes());
  const std::uint32_t magic = magicReader.u32_at(0);
  const bool wrapped = magicReader.ok() && magic == kWrapperMagic;
  return plain || wrapped;
}

int DocumentLoader::MapFile(const std::string& path, const std::string& name) {
  std::unique_ptr<MappedFile> file;
  std::string secondName;
  MapStatus status = MapStatus::OpenFailed;
  // Longer names are not opened: the name buffer cannot hold them, and cutting them would
  // open some other file.
  if (name.size() <= kMaxNameLength) {
    status = platform_.OpenAndMap(name, file);
    if (status == MapStatus::OpenFailed) {
      // Web pages hand over names whose spaces were stored as "%20" on disk.
      secondName = SpaceEscapedName(name);
      if (!secondName.empty()) status = platform_.OpenAndMap(secondName, file);
    }
  }
  switch (status) {
    case MapStatus::Ok:
      break;
    case MapStatus::OpenFailed:
      // Under the once-only rule: every paint retries a missing file.
      ShowOnce(FormatLoadMessage("CreateFile: Error Opening KPZ file : %s [%s]", path.c_str(),
                                 secondName.c_str()));
      return -1;
    case MapStatus::MappingFailed:
      ShowControlMessage(
          FormatLoadMessage("CreateFileMapping: Unable to memory map KPZ file : %s", path.c_str()));
      return -1;
    case MapStatus::ViewFailed:
      ShowControlMessage(FormatLoadMessage(
          "MapViewOfFile: Unable to memory map view of KPZ file : %s", path.c_str()));
      return -1;
  }
  KpzDocument* doc = document_;
  doc->view = file->View();
  doc->fileSize = static_cast<std::uint32_t>(doc->view.size());
  doc->file = std::move(file);
  return 0;
}

void DocumentLoader::CloseDocument() {
  KpzDocument* doc = document_;
  if (doc == nullptr) return;
  document_ = nullptr;
  doc->file.reset();  // unmaps the view, closes the mapping and the file
  doc->view = {};
  // The record lives in its own heap: end its life first, then drop the heap with it.
  std::unique_ptr<DocumentHeap> heap = std::move(doc->heapOwner);
  doc->~KpzDocument();
  heap.reset();
}

}  // namespace quillon
