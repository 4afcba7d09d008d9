// The program's own file writer: when its file opens and closes, and writes through IStream
// from its input pin, as a multiplexer uses it.
#include <gtest/gtest.h>

#include <string>

#include "capture/filters/file_writer.h"
#include "platform/com_ptr.h"

namespace orvane {
namespace {

std::string ReadAll(const wchar_t* path) {
    std::string bytes;
    HANDLE file = CreateFileW(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return "<missing>";
    char buffer[256];
    DWORD read = 0;
    while (ReadFile(file, buffer, sizeof(buffer), &read, nullptr) && read > 0) {
        bytes.append(buffer, read);
    }
    CloseHandle(file);
    return bytes;
}

ComPtr<IStream> StreamOf(IBaseFilter* writer) {
    ComPtr<IEnumPins> pins;
    ComPtr<IPin> pin;
    writer->EnumPins(pins.Put());
    pins->Next(1, pin.Put(), nullptr);
    return pin.As<IStream>(IID_IStream);
}

void Write(IStream* stream, const std::string& text) {
    ULONG written = 0;
    ASSERT_EQ(stream->Write(text.data(), static_cast<ULONG>(text.size()), &written), S_OK);
    ASSERT_EQ(written, text.size());
}

TEST(FileWriter, OpensOnStartKeepsTheFileThroughStopAndClosesOnANewName) {
    ComApartment com;
    const wchar_t first[] = L"C:\\windows\\temp\\writer-first.bin";
    const wchar_t second[] = L"C:\\windows\\temp\\writer-second.bin";
    DeleteFileW(first);
    DeleteFileW(second);
    ComPtr<IBaseFilter> writer = FileWriter::Create();
    ASSERT_TRUE(writer);
    auto sink = writer.As<IFileSinkFilter>(IID_IFileSinkFilter);
    ASSERT_TRUE(sink);
    ComPtr<IStream> stream = StreamOf(writer.Get());
    ASSERT_TRUE(stream);
    EXPECT_FALSE(SUCCEEDED(writer->Pause())) << "no file name, nothing to open";

    ASSERT_EQ(sink->SetFileName(first, nullptr), S_OK);
    ASSERT_EQ(writer->Pause(), S_OK);
    Write(stream.Get(), "HEADER--body");
    ASSERT_EQ(writer->Stop(), S_OK);
    // A multiplexer fills in its header while it stops, after the writer has stopped.
    LARGE_INTEGER start{};
    ASSERT_EQ(stream->Seek(start, STREAM_SEEK_SET, nullptr), S_OK);
    Write(stream.Get(), "header");
    STATSTG stat{};
    ASSERT_EQ(stream->Stat(&stat, STATFLAG_NONAME), S_OK);
    EXPECT_EQ(stat.cbSize.QuadPart, 12u);
    EXPECT_EQ(sink->SetFileName(L"", nullptr), E_INVALIDARG);

    // Running again starts the same file from nothing.
    ASSERT_EQ(writer->Run(0), S_OK);
    Write(stream.Get(), "again");
    ASSERT_EQ(writer->Stop(), S_OK);
    ASSERT_EQ(sink->SetFileName(second, nullptr), S_OK);
    EXPECT_EQ(ReadAll(first), "again") << "closed and complete once the name changes";
    EXPECT_NE(stream->Write("x", 1, nullptr), S_OK) << "no file is open until the next start";
    EXPECT_EQ(ReadAll(second), "<missing>") << "a file is made only when the graph starts";

    LPOLESTR current = nullptr;
    ASSERT_EQ(sink->GetCurFile(&current, nullptr), S_OK);
    EXPECT_EQ(std::wstring(current), second);
    CoTaskMemFree(current);
}

}  // namespace
}  // namespace orvane
