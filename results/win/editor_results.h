#pragma once
// What the picture editor does with calibrated results: the table of the open picture's
// measurements (kept step for step with its history, stored beside its side file), the
// Measurements window, the scale bar tool, and the scale bar stamp and TIFF form of Save As.
// The editor owns one and dispatches to it.
#include <windows.h>

#include <functional>
#include <string>

#include "editor/view/canvas_view.h"
#include "media/media_files.h"
#include "results/measurement_table.h"
#include "results/table_text.h"
#include "results/win/results_settings.h"
#include "results/win/rows_scale_bar.h"

namespace orvane::results {

class EditorResults : public CIvoraImgEdtView::HistoryListener {
  public:
    // text(n) gives message n in the editor's language; toolName(command) a menu item's text.
    EditorResults(MediaFiles& files, std::function<std::wstring(int)> text,
                  std::function<std::wstring(UINT)> toolName);

    // Hooks the canvas: its history steps and the scale bar tool's presses.
    void Attach(CIvoraImgEdtView& canvas);

    // A picture opened (its rows read back) and left (its rows stored, or their file removed).
    void Opened(const std::u16string& picture);
    void Leaving(const std::u16string& picture);

    // The Measure menu's "Scale bar" press: a bar at the point, in the unit and calibration of
    // new measurements; no bar without a usable magnification.
    void PlaceScaleBar(POINT picturePoint);
    // The Measure menu's "Measurements...".
    void ShowMeasurements(HWND owner, const std::u16string& picture);

    // Save As: the scale bar stamp when chosen, and whether the name asks for a TIFF.
    void DecorateCopy(PixelRows& out, int32_t width, int32_t height, double ratio,
                      const std::vector<StampText>& stamps, const LOGFONTW& font,
                      COLORREF colour) const;
    bool WriteTiff(const std::wstring& path, const PixelRows& out, int32_t width, int32_t height,
                   double ratio) const;

    const MeasurementTable& Table() const { return table_; }

    // HistoryListener.
    void Pushed(const CDrawObject* committed) override;
    void Undone() override { table_.Undo(); }
    void Redone() override { table_.Redo(); }

  private:
    Conversion PictureCalibration(int32_t width, int32_t height) const;
    TableTexts Texts() const;

    MediaFiles& files_;
    std::function<std::wstring(int)> text_;
    std::function<std::wstring(UINT)> toolName_;
    CIvoraImgEdtView* canvas_ = nullptr;
    MeasurementTable table_;
};

}  // namespace orvane::results
