// A press on the canvas: the object each tool starts, or the next point of the one in progress.
#include <cstring>

#include "editor/geometry/pen_scaling.h"
#include "editor/objects/draw_figures.h"
#include "editor/objects/draw_measure.h"
#include "editor/view/canvas_view.h"

namespace orvane {
namespace {

static_assert(sizeof(LOGFONTW) == sizeof(editor::FontRecord));

}  // namespace

bool MeasureKindOf(int32_t tool, int32_t& kind, int32_t& angleMode) {
    angleMode = 0;
    switch (tool) {
        case 32814:
            kind = 0;
            return true;
        case 32874:
            kind = 1;
            return true;
        case 32875:
            kind = 1;
            angleMode = 90;
            return true;
        case 32876:
            kind = 1;
            angleMode = 45;
            return true;
        case 32801:
            kind = 6;
            return true;
        case 32799:
            kind = 7;
            return true;
        case 32800:
            kind = 8;
            return true;
        case 32802:
            kind = 9;
            return true;
        case 32809:
            kind = 10;
            return true;
        case 32810:
            kind = 11;
            return true;
        case 32811:
            kind = 12;
            return true;
        case 32812:
            kind = 13;
            return true;
        default:
            return false;
    }
}

float CIvoraImgEdtView::PenScale() const {
    return editor::CanvasScale(imageWidth_, imageHeight_, canvasWidth_, canvasHeight_);
}

void CIvoraImgEdtView::PressMeasure(int32_t kind, int32_t angleMode, POINT p) {
    const float s = PenScale();
    auto m = std::make_unique<CDrawMeasure>(kind, RECT{});
    m->angleMode = angleMode;
    m->SetPen(properties.measureColor, editor::ScaledPenWidth(properties.measureWidth, s),
              properties.measureStyle);
    LOGFONTW font{};
    static_assert(sizeof font == sizeof properties.measureFont);
    std::memcpy(&font, &properties.measureFont, sizeof font);
    font.lfHeight = editor::ScaledFontHeight(font.lfHeight, s);
    m->SetFont(font, properties.measureTextColor);
    m->labelFontHeight = font.lfHeight;
    m->unit = properties.unit;
    m->scale = scale;
    m->pixelFactor = pixelFactor;
    m->magnification = editor::MeasureMagnification(magnifications, kind == 0);
    m->SetPoint(kind == 0 || kind == 1 || kind >= 12 ? 0 : 1, p);
    m->pointCount = 1;
    m->labelCount = 0;
    m->polyStage = 0;
    current_ = std::move(m);
    state_.SetGesture(kind == 0 || kind == 1 || kind >= 12 ? 10 : kind >= 10 ? 16 : 11);
}

void CIvoraImgEdtView::PressText(POINT p) {
    if (state_.toolState() == 8 && current_) {
        auto* text = static_cast<CDrawText*>(current_.get());
        if (text->ClassifyPress(p) == editor::PressWhileTyping::kCommitText) {
            text->committed = 1;
            Repaint(true);
            Commit();
        }
        current_.reset();
    }
    auto t = std::make_unique<CDrawText>();
    LOGFONTW font{};
    std::memcpy(&font, &properties.textFont, sizeof font);
    font.lfHeight = editor::ScaledFontHeight(font.lfHeight, PenScale());
    t->SetFont(font, properties.textColor);
    t->committed = 0;
    t->SetPosition(p);
    current_ = std::move(t);
    state_.SetGesture(8);
}

void CIvoraImgEdtView::OnPress(int32_t x, int32_t y) {
    SetCapture(hwnd_.Get());
    if (!pictureLoaded_ || !editor::OnCanvas(x, y, canvasWidth_, canvasHeight_)) return;
    const editor::PicturePoint pp =
        editor::MapToPicture(x, y, imageWidth_, imageHeight_, canvasWidth_, canvasHeight_);
    const POINT p{pp.x, pp.y};
    const int32_t tool = state_.tool();
    // A tool the editor places itself (a scale bar): the press is its point in the picture.
    if (tool == kPlacedTool) {
        if (onPlace) onPlace(p);
        return;
    }
    const int32_t st = state_.toolState();
    const float s = PenScale();
    int32_t kind = 0, angleMode = 0;
    if (tool == 32803 || tool == 32804) {
        if (st == 6 && current_) {
            auto* shape = static_cast<CDrawShape*>(current_.get());
            shape->stage = 2;
            shape->end = p;
            state_.SetGesture(20);
        } else {
            auto shape = std::make_unique<CDrawShape>(
                tool == 32803 ? CDrawShape::kLine : CDrawShape::kArrow, RECT{p.x, p.y, p.x, p.y});
            shape->SetPen(properties.drawColor, editor::ScaledPenWidth(properties.drawWidth, s),
                          properties.drawStyle);
            shape->stage = 1;
            shape->start = p;
            shape->end = p;
            current_ = std::move(shape);
            state_.SetGesture(6);
        }
    } else if (tool == 32805) {
        auto pen = std::make_unique<CDrawPen>();
        pen->SetPen(properties.drawColor, editor::ScaledPenWidth(properties.drawWidth, s),
                    properties.drawStyle);
        pen->AddPoint(p);
        current_ = std::move(pen);
        state_.SetGesture(5);
    } else if (tool == 32806 || tool == 32807) {
        auto shape = std::make_unique<CDrawShape>(
            tool == 32806 ? CDrawShape::kRectangle : CDrawShape::kEllipse,
            RECT{p.x, p.y, p.x, p.y});
        shape->SetPen(properties.drawColor, editor::ScaledPenWidth(properties.drawWidth, s),
                      properties.drawStyle);
        shape->start = p;
        shape->end = p;
        current_ = std::move(shape);
        state_.SetGesture(20);
    } else if (tool == editor::kTextTool) {
        PressText(p);
    } else if (MeasureKindOf(tool, kind, angleMode)) {
        auto* m = static_cast<CDrawMeasure*>(current_.get());
        if (st == 0 || m == nullptr) {
            PressMeasure(kind, angleMode, p);
        } else if (kind == 0) {
            state_.SetGesture(19);
        } else if (kind == 10 || kind == 11) {
            if (st == 17) {
                m->labelCount += 1;
                m->SetLabelPoint(m->labelCount, p);
                if (m->polyStage == 3) {
                    m->polyStage = 4;
                } else {
                    m->polyStage = 5;
                    state_.SetGesture(19);
                }
            } else if (m->polyStage == 0 || m->polyStage == 1) {
                m->pointCount += 1;
                m->SetPoint(m->pointCount, p);
                m->polyStage = 2;
                state_.SetGesture(18);
            } else {
                m->labelCount += 1;
                m->SetLabelPoint(m->labelCount, p);
                m->polyStage = 1;
                state_.SetGesture(16);
            }
        } else {
            // Two-, three- and four-point kinds: points until finished, then the label click.
            const int32_t points = kind == 1 || kind >= 12 ? 2 : kind == 9 ? 4 : 3;
            const int32_t first = kind == 1 || kind >= 12 ? 0 : 1;
            if (st == 17) {
                m->SetPoint(first + m->pointCount, p);
                m->pointCount += 1;
                state_.SetGesture(19);
            } else {
                m->SetPoint(first + m->pointCount, p);
                m->pointCount += 1;
                if (m->pointCount >= points) {
                    m->labelCount =
                        static_cast<int32_t>(static_cast<uint32_t>(m->labelCount) | 0x80000000u);
                    state_.SetGesture(17);
                } else {
                    state_.SetGesture(10 + m->pointCount);
                }
            }
        }
    } else {
        state_.SetGesture(0);
    }
    anchor_ = lastPoint_ = p;
    Repaint(true);
    ShowChanges(false);
}

}  // namespace orvane
