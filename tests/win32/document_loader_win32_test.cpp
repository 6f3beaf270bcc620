// The loader over the real Win32 services: private heaps, CreateFile/CreateFileMapping/
// MapViewOfFile, the C runtime's read/write open, urlmon bound at run time.

#include <gtest/gtest.h>
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "base/win32/unique_handle.h"
#include "document/document_loader.h"
#include "document/win32/private_heap.h"
#include "document/win32/urlmon_download.h"
#include "document/win32/win32_document_platform.h"
#include "document/win32/win32_mapped_file.h"
#include "tests/win32/temp_folder.h"

namespace quillon {
namespace {

using test::TempFolder;

std::vector<std::uint8_t> PlainPlot(std::size_t size) {
  std::vector<std::uint8_t> bytes = {0x00, 0x98, 0x02, 0x00, 0x00};
  for (std::size_t i = bytes.size(); i < size; ++i)
    bytes.push_back(static_cast<std::uint8_t>(i * 31 + 7));
  return bytes;
}

// Makes a file that cannot be opened for writing. The read-only attribute does that on
// Windows; Wine run as root lets the owner write anyway, so a reader that denies writers is
// kept open as well (the loader's own open shares reading and still succeeds).
class WriteLock {
 public:
  explicit WriteLock(const std::string& name) {
    ::SetFileAttributesA(name.c_str(), FILE_ATTRIBUTE_READONLY);
    if (std::FILE* f = std::fopen(name.c_str(), "r+b")) {
      std::fclose(f);
      reader_.reset(::CreateFileA(name.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    }
  }

 private:
  UniqueFile reader_;
};

class Win32LoaderTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_FALSE(folder.path().empty()); }
  std::vector<std::string> messages;
  Win32DocumentPlatform platform{[this](const std::string& text) { messages.push_back(text); }};
  DocumentLoader loader{platform};
  TempFolder folder;
};

TEST_F(Win32LoaderTest, ViewHoldsTheFileBytesThroughTheWin32Mapping) {
  const std::vector<std::uint8_t> bytes = PlainPlot(70000);  // more than one page
  const std::string name = folder.Write("plan.kpz", bytes);
  ASSERT_EQ(loader.OpenDocument(name, 800, 600), 0);
  KpzDocument* doc = loader.document();
  ASSERT_EQ(doc->view.size(), bytes.size());
  EXPECT_TRUE(std::equal(doc->view.begin(), doc->view.end(), bytes.begin()));
  EXPECT_EQ(doc->fileSize, 70000u);

  // The mapping really is a view of the file: the OS says so, and the file stays open for
  // readers only.
  MEMORY_BASIC_INFORMATION info{};
  ASSERT_NE(::VirtualQuery(doc->view.data(), &info, sizeof info), 0u);
  EXPECT_EQ(info.Type, static_cast<DWORD>(MEM_MAPPED));
  EXPECT_EQ(info.Protect, static_cast<DWORD>(PAGE_READONLY));
  HANDLE writer = ::CreateFileA(name.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  EXPECT_EQ(writer, INVALID_HANDLE_VALUE);
  if (writer != INVALID_HANDLE_VALUE) ::CloseHandle(writer);

  const void* viewBase = doc->view.data();
  loader.CloseDocument();
  loader.CloseDocument();
  // Closed means unmapped and the file free again.
  ASSERT_NE(::VirtualQuery(viewBase, &info, sizeof info), 0u);
  EXPECT_EQ(info.State, static_cast<DWORD>(MEM_FREE));
  writer = ::CreateFileA(name.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                         FILE_ATTRIBUTE_NORMAL, nullptr);
  EXPECT_NE(writer, INVALID_HANDLE_VALUE);
  if (writer != INVALID_HANDLE_VALUE) ::CloseHandle(writer);
  EXPECT_TRUE(messages.empty());
}

// A plot is mapped whole. A 32-bit program has 2 GB of address space unless it is linked
// large-address-aware, and no 1.5 GB hole is left in those 2 GB once the system's DLLs are in;
// with the flag, 64-bit Windows (and Wine) give it 4 GB. Our programs carry the flag.
TEST_F(Win32LoaderTest, PlotOfOnePointFiveGigabytesIsMappedWhole) {
  const std::string name = folder.Write("huge.kpz", PlainPlot(4096));
  constexpr LONGLONG kSize = 3LL << 29;
  {
    UniqueFile file(::CreateFileA(name.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
    ASSERT_TRUE(file);
    LARGE_INTEGER end{};
    end.QuadPart = kSize;  // the rest reads as zeros and takes no disk on a sparse filesystem
    ASSERT_TRUE(::SetFilePointerEx(file.get(), end, nullptr, FILE_BEGIN));
    ASSERT_TRUE(::SetEndOfFile(file.get()));
  }
  ASSERT_EQ(loader.OpenDocument(name, 800, 600), 0) << (messages.empty() ? "" : messages.front());
  const KpzDocument* doc = loader.document();
  ASSERT_EQ(doc->view.size(), static_cast<std::size_t>(kSize));
  EXPECT_EQ(doc->view[1], 0x98);
  EXPECT_EQ(doc->view[4095], PlainPlot(4096)[4095]);
  EXPECT_EQ(doc->view[static_cast<std::size_t>(kSize) - 1], 0);
  loader.CloseDocument();
}

TEST_F(Win32LoaderTest, DocumentLivesInItsOwnZeroedPrivateHeap) {
  const std::string name = folder.Write("plan.kpz", PlainPlot(64));
  ASSERT_EQ(loader.OpenDocument(name, 1, 1), 0);
  KpzDocument* doc = loader.document();
  auto* heap = dynamic_cast<PrivateHeap*>(doc->documentHeap);
  ASSERT_NE(heap, nullptr);
  EXPECT_NE(heap->handle(), ::GetProcessHeap());
  // The record itself is a block of that heap.
  EXPECT_GT(::HeapSize(heap->handle(), 0, doc), static_cast<SIZE_T>(sizeof(KpzDocument) - 1));
  EXPECT_TRUE(::HeapValidate(heap->handle(), 0, doc));
  auto* block = static_cast<unsigned char*>(heap->Allocate(100000));  // beyond the initial size
  ASSERT_NE(block, nullptr);
  for (int i = 0; i < 100000; ++i) ASSERT_EQ(block[i], 0) << i;
  heap->Free(block);
  EXPECT_TRUE(::HeapValidate(heap->handle(), 0, nullptr));
  loader.CloseDocument();
}

TEST_F(Win32LoaderTest, WrongLengthIsInvalidButReadOnlyFileSkipsTheCheck) {
  const std::string bad = folder.Write("bad.kpz", {0x00, 0x99, 0x02, 0x00, 0x00, 1});
  EXPECT_EQ(loader.OpenDocument(bad, 1, 1), -1);
  EXPECT_EQ(messages, std::vector<std::string>{"Invalid file : " + bad});
  EXPECT_EQ(loader.document(), nullptr);

  const std::string readOnly = folder.Write("ro.kpz", {0x42, 1, 2, 3, 4, 5});
  WriteLock lock(readOnly);
  std::FILE* writer = std::fopen(readOnly.c_str(), "r+b");
  ASSERT_EQ(writer, nullptr);
  ASSERT_EQ(loader.OpenDocument(readOnly, 1, 1), 0);
  EXPECT_EQ(loader.document()->view[0], 0x42);
  EXPECT_EQ(messages.size(), 1u);
}

TEST_F(Win32LoaderTest, EmptyReadOnlyFileFailsAtCreateFileMappingEveryTime) {
  const std::string empty = folder.Write("empty.kpz", {});
  WriteLock lock(empty);
  EXPECT_EQ(loader.OpenDocument(empty, 1, 1), -1);
  EXPECT_EQ(loader.OpenDocument(empty, 1, 1), -1);
  const std::string expected = "CreateFileMapping: Unable to memory map KPZ file : " + empty;
  EXPECT_EQ(messages, (std::vector<std::string>{expected, expected}));
}

TEST_F(Win32LoaderTest, SpacesStoredAsPercent20OpenThroughTheSecondName) {
  folder.Write("site%20plan%20A.kpz", PlainPlot(32));
  const std::string asGiven = folder.path() + "\\site plan A.kpz";
  ASSERT_EQ(loader.OpenDocument(asGiven, 1, 1), 0);
  EXPECT_EQ(loader.document()->view.size(), 32u);

  const std::string missing = folder.path() + "\\no such plan.kpz";
  EXPECT_EQ(loader.OpenDocument(missing, 1, 1), -1);
  EXPECT_EQ(loader.OpenDocument(missing, 1, 1), -1);
  EXPECT_EQ(messages, std::vector<std::string>{"CreateFile: Error Opening KPZ file : " + missing +
                                               " [" + folder.path() + "\\no%20such%20plan.kpz]"});
}

TEST_F(Win32LoaderTest, FtpPathIsOpenedAsALocalNameAndFails) {
  EXPECT_EQ(loader.OpenDocument("ftp://127.0.0.1/plan.kpz", 1, 1), -1);
  EXPECT_EQ(messages, std::vector<std::string>{
                          "CreateFile: Error Opening KPZ file : ftp://127.0.0.1/plan.kpz []"});
}

TEST(Win32MappedFile, HandlesAreReleasedWithTheObject) {
  TempFolder folder;
  const std::string name = folder.Write("x.kpz", PlainPlot(16));
  std::unique_ptr<MappedFile> file;
  ASSERT_EQ(Win32MappedFile::Open(name, file), MapStatus::Ok);
  auto* win32 = static_cast<Win32MappedFile*>(file.get());
  HANDLE mapping = win32->mappingHandle();
  DWORD flags = 0;
  EXPECT_TRUE(::GetHandleInformation(mapping, &flags));
  file.reset();
  EXPECT_FALSE(::GetHandleInformation(mapping, &flags));
  EXPECT_EQ(Win32MappedFile::Open(folder.path() + "\\none.kpz", file), MapStatus::OpenFailed);
  EXPECT_EQ(file, nullptr);
}

TEST(UrlmonDownload, MissingLibraryAndMissingEntryPointAreTold) {
  std::string local;
  EXPECT_EQ(DownloadWithUrlmon("http://127.0.0.1/x", local, "quillon-no-such-library.dll"),
            DownloadStatus::NoLibrary);
  EXPECT_EQ(DownloadWithUrlmon("http://127.0.0.1/x", local, "kernel32.dll"),
            DownloadStatus::NoEntryPoint);
  EXPECT_TRUE(local.empty());
}

}  // namespace
}  // namespace quillon
