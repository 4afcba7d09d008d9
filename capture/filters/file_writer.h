#pragma once
// A file-writing sink for a multiplexer that writes through IStream on the sink's input pin
// (seeking back to fill in headers and indexes). The file opens when the graph leaves the
// stopped state and stays open, so that what the multiplexer writes while it stops still lands;
// setting a new file name closes it.
#include <windows.h>
#include <dshow.h>

#include <mutex>
#include <string>

#include "capture/filters/local_filter.h"
#include "platform/com_ptr.h"
#include "platform/handles.h"

namespace orvane {

class FileWriter : public LocalFilter, public IFileSinkFilter {
  public:
    static ComPtr<IBaseFilter> Create();

    STDMETHODIMP QueryInterface(REFIID iid, void** out) override {
        return LocalFilter::QueryInterface(iid, out);
    }
    STDMETHODIMP_(ULONG) AddRef() override { return LocalFilter::AddRef(); }
    STDMETHODIMP_(ULONG) Release() override { return LocalFilter::Release(); }

    // IFileSinkFilter
    STDMETHODIMP SetFileName(LPCOLESTR name, const AM_MEDIA_TYPE* type) override;
    STDMETHODIMP GetCurFile(LPOLESTR* name, AM_MEDIA_TYPE* type) override;

    int PinCount() const override { return 1; }
    IPin* PinAt(int) override { return &input_; }

  private:
    class Input : public LocalInputPin, public IStream {
      public:
        Input(FileWriter& writer) : LocalInputPin(writer, L"in"), writer_(writer) {}

        STDMETHODIMP QueryInterface(REFIID iid, void** out) override {
            return LocalInputPin::QueryInterface(iid, out);
        }
        STDMETHODIMP_(ULONG) AddRef() override { return LocalInputPin::AddRef(); }
        STDMETHODIMP_(ULONG) Release() override { return LocalInputPin::Release(); }

        // ISequentialStream / IStream: the open file, at the file's own position.
        STDMETHODIMP Read(void* data, ULONG size, ULONG* read) override;
        STDMETHODIMP Write(const void* data, ULONG size, ULONG* written) override;
        STDMETHODIMP Seek(LARGE_INTEGER move, DWORD origin, ULARGE_INTEGER* position) override;
        STDMETHODIMP SetSize(ULARGE_INTEGER size) override;
        STDMETHODIMP CopyTo(IStream*, ULARGE_INTEGER, ULARGE_INTEGER*, ULARGE_INTEGER*) override {
            return E_NOTIMPL;
        }
        STDMETHODIMP Commit(DWORD) override;
        STDMETHODIMP Revert() override { return E_NOTIMPL; }
        STDMETHODIMP LockRegion(ULARGE_INTEGER, ULARGE_INTEGER, DWORD) override {
            return STG_E_INVALIDFUNCTION;
        }
        STDMETHODIMP UnlockRegion(ULARGE_INTEGER, ULARGE_INTEGER, DWORD) override {
            return STG_E_INVALIDFUNCTION;
        }
        STDMETHODIMP Stat(STATSTG* stat, DWORD flags) override;
        STDMETHODIMP Clone(IStream**) override { return E_NOTIMPL; }

      protected:
        bool Accepts(const AM_MEDIA_TYPE& type) const override;
        // Samples carry their byte position in the file as their start time.
        HRESULT OnReceive(IMediaSample* sample) override;
        HRESULT QueryOther(REFIID iid, void** out) override;
        HRESULT OnEndOfStream() override;

      private:
        FileWriter& writer_;
    };

    FileWriter();
    ~FileWriter() override = default;
    HRESULT QueryOther(REFIID iid, void** out) override;
    HRESULT OnActivate() override;

    Input input_;
    std::mutex fileLock_;  // the handle and the name
    std::wstring name_;
    UniqueHandle file_;
};

}  // namespace orvane
