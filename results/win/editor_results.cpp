#include "results/win/editor_results.h"

#include <cstring>
#include <memory>

#include "app/messages.h"
#include "editor/geometry/pen_scaling.h"
#include "resources/lang/menu_ids.h"
#include "results/calibrated_tiff.h"
#include "results/rows_file.h"
#include "results/win/main_results.h"
#include "results/win/measurements_dlg.h"
#include "results/win/scale_bar_object.h"

namespace orvane::results {
namespace {

// The Measure menu's command of each tool, in the order of MeasureTool.
constexpr UINT kToolCommands[kToolCount] = {
    ID_MEASURE_CALIBRATION, ID_MEASURE_LINE_ANY,      ID_MEASURE_LINE_STRAIGHT,
    ID_MEASURE_LINE_45,     ID_MEASURE_ANGLE_3POINTS, ID_MEASURE_CIRCLE_3POINTS,
    ID_MEASURE_ARC_3POINTS, ID_MEASURE_ANGLE_4POINTS, ID_MEASURE_CONTINUOUS_LINE,
    ID_MEASURE_POLYGON,     ID_MEASURE_CIRCLE_RADIUS, ID_MEASURE_CIRCLE_DIAMETER,
};

std::string Utf8(const std::wstring& wide) {
    if (wide.empty()) return {};
    const int n = WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()),
                                      nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<size_t>(n > 0 ? n : 0), '\0');
    if (n > 0) {
        WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), out.data(), n,
                            nullptr, nullptr);
    }
    return out;
}

}  // namespace

EditorResults::EditorResults(MediaFiles& files, std::function<std::wstring(int)> text,
                             std::function<std::wstring(UINT)> toolName)
    : files_(files), text_(std::move(text)), toolName_(std::move(toolName)) {}

void EditorResults::Attach(CIvoraImgEdtView& canvas) {
    canvas_ = &canvas;
    canvas.historyListener = this;
    canvas.onPlace = [this](POINT p) { PlaceScaleBar(p); };
}

void EditorResults::Opened(const std::u16string& picture) {
    table_.Open(ReadRowsFile(picture, files_));
}

void EditorResults::Leaving(const std::u16string& picture) {
    const RowsFileUpdate update = PlanRowsFile(picture, table_.Rows());
    if (update.step == RowsFileUpdate::Step::kRemove) {
        // A picture without rows has no rows file (one left from before goes).
        DeleteFileW(reinterpret_cast<const wchar_t*>(update.path.c_str()));
        return;
    }
    WriteRowsFile(update, files_);
}

void EditorResults::Pushed(const CDrawObject* committed) {
    editor::MeasureState state;
    if (committed && committed->MeasuredFigure(state) &&
        IsMeasureKind(static_cast<int32_t>(state.kind))) {
        table_.Commit({RowOfFigure(state)});
    } else {
        table_.Commit();
    }
}

Conversion EditorResults::PictureCalibration(int32_t, int32_t) const {
    Conversion c;
    if (!canvas_) return c;
    c.pixelFactor = canvas_->pixelFactor;
    c.scale = canvas_->scale;
    c.magnification = editor::MeasureMagnification(canvas_->magnifications, false);
    c.unit = static_cast<Unit>(canvas_->properties.unit);
    return c;
}

void EditorResults::PlaceScaleBar(POINT p) {
    if (!canvas_ || !canvas_->PictureLoaded()) return;
    const std::optional<ScaleBar> bar = ChooseScaleBar(
        PictureCalibration(canvas_->ImageWidth(), canvas_->ImageHeight()), canvas_->ImageWidth());
    if (!bar) return;
    LOGFONTW font{};
    static_assert(sizeof font == sizeof canvas_->properties.measureFont);
    std::memcpy(&font, &canvas_->properties.measureFont, sizeof font);
    font.lfHeight = editor::ScaledFontHeight(font.lfHeight, canvas_->NewObjectScale());
    canvas_->PlaceObject(
        std::make_unique<CDrawScaleBar>(*bar, p, font, canvas_->properties.measureColor));
}

TableTexts EditorResults::Texts() const {
    TableTexts t;
    for (size_t i = 0; i < kColumnCount; ++i) {
        t.headers[i] = Utf8(text_(kMsgFirstTableHeader + static_cast<int>(i)));
    }
    t.fullPrecisionSuffix = Utf8(text_(kMsgFullPrecision));
    for (size_t i = 0; i < kToolCount; ++i) t.toolNames[i] = Utf8(toolName_(kToolCommands[i]));
    return t;
}

void EditorResults::ShowMeasurements(HWND owner, const std::u16string& picture) {
    CMeasurementsDlg dlg;
    dlg.title = text_(kMsgMeasurementsTitle);
    dlg.copyText = text_(kMsgCopyTable);
    dlg.exportText = text_(kMsgExportTable);
    dlg.closeText = text_(kMsgCloseTable);
    dlg.failureText = text_(kMsgTableNotWritten);
    dlg.failureCaption = text_(kMsgEditorTitle);
    dlg.copyFailureText = text_(kMsgTableNotCopied);
    dlg.filterName = text_(kMsgTableFilter);
    dlg.texts = Texts();
    dlg.rows.assign(table_.Rows().begin(), table_.Rows().end());
    std::wstring name(reinterpret_cast<const wchar_t*>(picture.c_str()));
    name = name.substr(name.find_last_of(L'\\') + 1);
    dlg.proposedName = name.substr(0, name.find_last_of(L'.')) + L".csv";
    dlg.DoModal(owner);
}

void EditorResults::DecorateCopy(PixelRows& out, int32_t width, int32_t height, double ratio,
                                 const std::vector<StampText>& stamps, const LOGFONTW& font,
                                 COLORREF colour) const {
    if (!ReadResultsSettings().stampBar) return;
    const Conversion copy = SampledConversion(PictureCalibration(width, height), ratio);
    if (const auto bar = StampedBarFor(copy, out, font, stamps))
        PrintScaleBar(out, *bar, font, colour);
}

bool EditorResults::WriteTiff(const std::wstring& path, const PixelRows& out, int32_t width,
                              int32_t height, double ratio) const {
    return WriteCalibratedTiff(path, out,
                               SampledConversion(PictureCalibration(width, height), ratio));
}

}  // namespace orvane::results
