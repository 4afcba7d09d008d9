#include "capture/filters/file_writer.h"

#include <cstring>
#include <new>

namespace orvane {

namespace {

// {A35F1AFE-8A11-4A23-A592-3B5BB56E87AE}
constexpr CLSID kClsidFileWriter = {
    0xa35f1afe, 0x8a11, 0x4a23, {0xa5, 0x92, 0x3b, 0x5b, 0xb5, 0x6e, 0x87, 0xae}};

// Paths longer than the platform's extended limit are refused rather than cut.
constexpr size_t kMaxPathUnits = 32767;

HRESULT LastError() {
    return HRESULT_FROM_WIN32(GetLastError());
}

}  // namespace

ComPtr<IBaseFilter> FileWriter::Create() {
    auto* writer = new (std::nothrow) FileWriter();
    return ComPtr<IBaseFilter>::Attach(writer);
}

FileWriter::FileWriter() : LocalFilter(kClsidFileWriter), input_(*this) {}

HRESULT FileWriter::QueryOther(REFIID iid, void** out) {
    if (iid != IID_IFileSinkFilter) return E_NOINTERFACE;
    *out = static_cast<IFileSinkFilter*>(this);
    AddRef();
    return S_OK;
}

HRESULT FileWriter::OnActivate() {
    std::lock_guard<std::mutex> hold(fileLock_);
    if (file_) {
        // Still open from the last run: start the file again from nothing.
        LARGE_INTEGER zero{};
        if (!SetFilePointerEx(file_.Get(), zero, nullptr, FILE_BEGIN) ||
            !SetEndOfFile(file_.Get())) {
            return LastError();
        }
        return S_OK;
    }
    if (name_.empty()) return E_FAIL;
    HANDLE file = CreateFileW(name_.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                              CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return LastError();
    file_.Reset(file);
    return S_OK;
}

STDMETHODIMP FileWriter::SetFileName(LPCOLESTR name, const AM_MEDIA_TYPE*) {
    if (!name) return E_POINTER;
    const size_t length = std::wcslen(name);
    if (length == 0 || length > kMaxPathUnits) return E_INVALIDARG;
    if (State() != State_Stopped) return VFW_E_NOT_STOPPED;
    std::lock_guard<std::mutex> hold(fileLock_);
    file_.Reset();  // closes what was written under the old name
    name_.assign(name, length);
    return S_OK;
}

STDMETHODIMP FileWriter::GetCurFile(LPOLESTR* name, AM_MEDIA_TYPE* type) {
    if (!name) return E_POINTER;
    std::lock_guard<std::mutex> hold(fileLock_);
    *name = nullptr;
    if (type) {
        *type = AM_MEDIA_TYPE{};
        type->majortype = MEDIATYPE_Stream;
    }
    if (name_.empty()) return E_FAIL;
    const size_t bytes = (name_.size() + 1) * sizeof(wchar_t);
    *name = static_cast<LPOLESTR>(CoTaskMemAlloc(bytes));
    if (!*name) return E_OUTOFMEMORY;
    std::memcpy(*name, name_.c_str(), bytes);
    return S_OK;
}

// ---- Input

bool FileWriter::Input::Accepts(const AM_MEDIA_TYPE& type) const {
    return type.majortype == MEDIATYPE_Stream;
}

HRESULT FileWriter::Input::QueryOther(REFIID iid, void** out) {
    if (iid != IID_IStream && iid != IID_ISequentialStream) return E_NOINTERFACE;
    *out = static_cast<IStream*>(this);
    AddRef();
    return S_OK;
}

HRESULT FileWriter::Input::OnReceive(IMediaSample* sample) {
    BYTE* data = nullptr;
    if (FAILED(sample->GetPointer(&data)) || !data) return E_POINTER;
    const long size = sample->GetActualDataLength();
    if (size <= 0) return S_OK;
    REFERENCE_TIME start = 0, stop = 0;
    if (SUCCEEDED(sample->GetTime(&start, &stop))) {
        LARGE_INTEGER at{};
        at.QuadPart = start;
        if (at.QuadPart < 0) return E_INVALIDARG;
        HRESULT hr = Seek(at, STREAM_SEEK_SET, nullptr);
        if (FAILED(hr)) return hr;
    }
    ULONG written = 0;
    return Write(data, static_cast<ULONG>(size), &written);
}

HRESULT FileWriter::Input::OnEndOfStream() {
    writer_.Notify(EC_COMPLETE, S_OK, 0);
    return S_OK;
}

STDMETHODIMP FileWriter::Input::Read(void* data, ULONG size, ULONG* read) {
    if (!data) return STG_E_INVALIDPOINTER;
    std::lock_guard<std::mutex> hold(writer_.fileLock_);
    if (!writer_.file_) return STG_E_REVERTED;
    DWORD done = 0;
    const BOOL ok = ReadFile(writer_.file_.Get(), data, size, &done, nullptr);
    if (read) *read = done;
    if (!ok) return STG_E_READFAULT;
    return done == size ? S_OK : S_FALSE;
}

STDMETHODIMP FileWriter::Input::Write(const void* data, ULONG size, ULONG* written) {
    if (!data) return STG_E_INVALIDPOINTER;
    std::lock_guard<std::mutex> hold(writer_.fileLock_);
    if (written) *written = 0;
    if (!writer_.file_) return STG_E_REVERTED;
    DWORD done = 0;
    const BOOL ok = WriteFile(writer_.file_.Get(), data, size, &done, nullptr);
    if (written) *written = done;
    if (!ok) return GetLastError() == ERROR_DISK_FULL ? STG_E_MEDIUMFULL : STG_E_WRITEFAULT;
    return done == size ? S_OK : STG_E_MEDIUMFULL;
}

STDMETHODIMP FileWriter::Input::Seek(LARGE_INTEGER move, DWORD origin, ULARGE_INTEGER* position) {
    DWORD method = FILE_BEGIN;
    if (origin == STREAM_SEEK_CUR)
        method = FILE_CURRENT;
    else if (origin == STREAM_SEEK_END)
        method = FILE_END;
    else if (origin != STREAM_SEEK_SET)
        return STG_E_INVALIDFUNCTION;
    std::lock_guard<std::mutex> hold(writer_.fileLock_);
    if (!writer_.file_) return STG_E_REVERTED;
    LARGE_INTEGER now{};
    if (!SetFilePointerEx(writer_.file_.Get(), move, &now, method)) return STG_E_SEEKERROR;
    if (position) position->QuadPart = static_cast<ULONGLONG>(now.QuadPart);
    return S_OK;
}

STDMETHODIMP FileWriter::Input::SetSize(ULARGE_INTEGER size) {
    std::lock_guard<std::mutex> hold(writer_.fileLock_);
    if (!writer_.file_) return STG_E_REVERTED;
    HANDLE file = writer_.file_.Get();
    LARGE_INTEGER here{}, zero{}, end{};
    end.QuadPart = static_cast<LONGLONG>(size.QuadPart);
    if (end.QuadPart < 0 || !SetFilePointerEx(file, zero, &here, FILE_CURRENT) ||
        !SetFilePointerEx(file, end, nullptr, FILE_BEGIN) || !SetEndOfFile(file) ||
        !SetFilePointerEx(file, here, nullptr, FILE_BEGIN)) {
        return STG_E_MEDIUMFULL;
    }
    return S_OK;
}

STDMETHODIMP FileWriter::Input::Commit(DWORD) {
    std::lock_guard<std::mutex> hold(writer_.fileLock_);
    if (!writer_.file_) return STG_E_REVERTED;
    return FlushFileBuffers(writer_.file_.Get()) ? S_OK : STG_E_WRITEFAULT;
}

STDMETHODIMP FileWriter::Input::Stat(STATSTG* stat, DWORD) {
    if (!stat) return STG_E_INVALIDPOINTER;
    std::lock_guard<std::mutex> hold(writer_.fileLock_);
    *stat = STATSTG{};
    stat->type = STGTY_STREAM;
    if (!writer_.file_) return STG_E_REVERTED;
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(writer_.file_.Get(), &size)) return STG_E_ACCESSDENIED;
    stat->cbSize.QuadPart = static_cast<ULONGLONG>(size.QuadPart);
    stat->grfMode = STGM_READWRITE;
    return S_OK;
}

}  // namespace orvane
