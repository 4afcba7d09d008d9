#pragma once
// A media-type record with its own format block, copied in and out of the platform's records.
#include <windows.h>
#include <dshow.h>

namespace orvane {

class MediaType {
  public:
    MediaType() = default;
    MediaType(const MediaType&) = delete;
    MediaType& operator=(const MediaType&) = delete;
    ~MediaType() { Clear(); }

    // Replaces the held type with a deep copy; false when the format block cannot be copied.
    bool Assign(const AM_MEDIA_TYPE& from);
    void Clear();
    // Deep copy into a record the caller frees (format block by CoTaskMemFree).
    HRESULT CopyTo(AM_MEDIA_TYPE* to) const;
    // A task-memory record with a deep copy, as enumerators hand out.
    AM_MEDIA_TYPE* NewCopy() const;

    const AM_MEDIA_TYPE& Get() const { return type_; }
    bool Empty() const { return type_.majortype == GUID{}; }
    // The image size the format block declares, or the fixed sample size, or 0.
    long SampleBytes() const;

  private:
    AM_MEDIA_TYPE type_{};
};

// Frees a media-type record's contents (not the record).
void FreeMediaTypeContents(AM_MEDIA_TYPE& type);
// Deep copy of a record's contents; on failure the target holds no format block.
HRESULT CopyMediaType(const AM_MEDIA_TYPE& from, AM_MEDIA_TYPE* to);

}  // namespace orvane
