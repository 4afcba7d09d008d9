#pragma once
// Clips read through the platform's AVI file library.
#include "media/video_thumbnails.h"

namespace orvane {

class WinAviLibrary : public AviLibrary {
  public:
    ~WinAviLibrary() override;
    void Begin() override;
    void End() override;
    std::unique_ptr<AviClip> Open(const std::u16string& path) override;

  private:
    bool started_ = false;
};

}  // namespace orvane
