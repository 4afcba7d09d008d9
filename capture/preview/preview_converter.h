#pragma once
// The preview's colour converter where the platform has none: YUY2 frames, and MJPG frames
// decoded through the platform's image codecs, become 32-bit RGB for the GDI video renderer.
// Upstream of it the preview callback still sees the camera's own format.
#include <windows.h>
#include <dshow.h>

#include <cstdint>
#include <memory>

#include "capture/filters/local_filter.h"
#include "capture/filters/local_output_pin.h"
#include "capture/preview/jpeg_frame_decoder.h"
#include "capture/preview/preview_convert.h"
#include "platform/com_ptr.h"

namespace orvane {

class PreviewConverter : public LocalFilter {
  public:
    // A new converter, not yet in a graph.
    static ComPtr<IBaseFilter> Create();
    // Whether the converter takes frames of this type: YUY2 or MJPG video with a video-info
    // format block of a sane size.
    static bool Converts(const AM_MEDIA_TYPE& type);

    int PinCount() const override { return 2; }
    IPin* PinAt(int index) override;

  private:
    class Input : public LocalInputPin {
      public:
        Input(PreviewConverter& owner) : LocalInputPin(owner, L"In"), owner_(owner) {}

      protected:
        IPin* Downstream() const override;
        bool Accepts(const AM_MEDIA_TYPE& type) const override { return Converts(type); }
        HRESULT OnReceive(IMediaSample* sample) override { return owner_.Deliver(sample); }

      private:
        PreviewConverter& owner_;
    };

    class Output : public LocalOutputPin {
      public:
        Output(PreviewConverter& owner) : LocalOutputPin(owner, L"Out"), owner_(owner) {}
        // Adopts a type the renderer attached to a sample; false when it is not one we can fill.
        bool AdoptSampleType(IMediaSample* sample);

      protected:
        bool OfferedType(MediaType& type) const override;
        bool ForwardsSamples() const override { return false; }

      private:
        PreviewConverter& owner_;
    };

    PreviewConverter();
    ~PreviewConverter() override = default;
    HRESULT OnActivate() override;
    void OnDeactivate() override;

    // Converts one frame into a sample of the renderer's allocator and hands it on. A frame
    // that is short, damaged or of another size is dropped.
    HRESULT Deliver(IMediaSample* frame);
    // The layout of an output sample's buffer, by the output's present type.
    bool LayoutOf(IMediaSample* sample, BgrxPicture& picture) const;
    bool DecodeJpeg(const uint8_t* data, size_t length, const BgrxPicture& to);

    Input input_;
    Output output_;
    // The MJPG decoder of the streaming thread that made it; used by that thread only.
    std::unique_ptr<JpegFrameDecoder> jpeg_;
};

}  // namespace orvane
