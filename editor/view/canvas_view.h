#pragma once
// The editor's canvas: the opened picture scaled into its frame, the mouse turned into drawing
// and measuring objects, typed text, and the picture's undo history.
#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "editor/objects/draw_object.h"
#include "editor/model/dirty_tiles.h"
#include "editor/objects/stack.h"
#include "editor/rules/canvas_rules.h"
#include "editor/rules/canvas_scale.h"
#include "editor/rules/magnification.h"
#include "editor/rules/window_rules.h"
#include "platform/handles.h"

namespace orvane {

class CIvoraImgEdtView {
  public:
    CIvoraImgEdtView() = default;
    CIvoraImgEdtView(const CIvoraImgEdtView&) = delete;
    CIvoraImgEdtView& operator=(const CIvoraImgEdtView&) = delete;
    ~CIvoraImgEdtView();

    // Creates the canvas as a child filling frame; results of calibrations go to editor.
    bool Create(HWND frame, HWND editor);
    HWND Hwnd() const { return hwnd_.Get(); }

    // Decodes the file with the platform codecs; on failure shows why and answers false, the
    // previous picture then being released.
    bool LoadPicture(const std::wstring& path);
    // Loads a picture already decoded (a 24-bit copy is made); false without one.
    bool LoadBitmap(HBITMAP picture);

    // Commits an object in progress as last drawn, then takes the tool with no gesture.
    void SetTool(int32_t tool);
    // Drops the gesture, or clears the tool when none is in progress.
    void Cancel();
    void Undo();
    void Redo();

    int32_t Tool() const { return state_.tool(); }
    int32_t ToolState() const { return state_.toolState(); }
    int32_t ModifiedCount() const { return state_.modifiedCount(); }
    void ClearModified() { state_.Saved(); }
    bool PictureLoaded() const { return pictureLoaded_; }
    int32_t ImageWidth() const { return imageWidth_; }
    int32_t ImageHeight() const { return imageHeight_; }
    int32_t CanvasWidth() const { return canvasWidth_; }
    int32_t CanvasHeight() const { return canvasHeight_; }
    // The working picture as shown (a 24-bit DIB section selected into Dc()).
    HDC WorkingDc() const { return working_.Dc(); }
    HBITMAP WorkingBitmap() const { return working_.Bitmap(); }
    // Repaints the working picture from the history, with the object in progress or without.
    void Repaint(bool withObject);

    // Settings for new objects.
    editor::EditorProperties properties;
    editor::Magnifications magnifications;
    double scale = 1.0;
    double pixelFactor = 0.355;
    // The caption of the canvas's own messages (a picture that cannot be loaded), in the
    // editor's language.
    std::wstring messageCaption;

    // Posted to the editor when a tool and gesture both end through Cancel.
    static constexpr UINT kToolCleared = WM_APP + 41;

    // The tool whose objects the editor makes: a press calls onPlace with its picture point.
    static constexpr int32_t kPlacedTool = 33300;
    std::function<void(POINT picturePoint)> onPlace;
    // Draws the object into the picture as one committed step of the history.
    void PlaceObject(std::unique_ptr<CDrawObject> object);
    // The pen scale of new objects (pictures larger than the canvas draw thicker).
    float NewObjectScale() const { return PenScale(); }

    // Told of every step of the history: a step pushed (with the object it committed, or none
    // for the picture as loaded), undone or redone.
    class HistoryListener {
      public:
        virtual ~HistoryListener() = default;
        virtual void Pushed(const CDrawObject* committed) = 0;
        virtual void Undone() = 0;
        virtual void Redone() = 0;
    };
    HistoryListener* historyListener = nullptr;

  private:
    static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT Handle(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    void OnPress(int32_t x, int32_t y);
    void OnMove(int32_t x, int32_t y);
    void OnRelease(int32_t x, int32_t y);
    void OnDoubleClick();
    bool OnKey(UINT message, WPARAM key);
    void OnPaint();
    void Commit();
    void PushWorking();
    void FitIntoFrame();
    void PressMeasure(int32_t kind, int32_t angleMode, POINT p);
    void PressText(POINT p);
    HBITMAP Snapshot() const;
    bool TakePicture(HBITMAP picture, int32_t width, int32_t height);
    void Redraw();
    // Invalidates the canvas over the picture areas repainted since the last call; now redraws
    // them at once.
    void ShowChanges(bool now);
    // Makes shown_ the whole working picture scaled to the client area when it is not that yet;
    // false without a picture or memory.
    bool EnsureShown();
    editor::Pixels24 WorkingPixels() const;
    static editor::Pixels24 SectionPixels(HBITMAP section);
    float PenScale() const;

    UniqueWindow hwnd_;
    HWND editor_ = nullptr;
    BitmapSurface working_;
    Stack history_;
    std::unique_ptr<CDrawObject> current_;
    // Where the working picture differs from the history top: the tiles the object was last
    // drawn over; all of it while restoreAll_ (after loading and stepping through the history).
    editor::DirtyTiles drawn_;
    bool restoreAll_ = true;
    editor::DirtyTiles unshown_;  // tiles repainted but not yet brought onto the canvas
    // The canvas as shown: the working picture scaled to the client area, kept up to date over
    // what changes, so that painting is one copy.
    BitmapSurface shown_;
    editor::Pixels24 shownPixels_{};
    editor::Footprints shownColumns_;  // the picture columns under each canvas column
    editor::Footprints shownRows_;
    bool shownValid_ = false;
    editor::CanvasState state_;
    int32_t imageWidth_ = 0;
    int32_t imageHeight_ = 0;
    int32_t canvasWidth_ = 640;
    int32_t canvasHeight_ = 480;
    float fitScale_ = 1.0f;
    POINT anchor_{};
    POINT lastPoint_{};
    bool pictureLoaded_ = false;
};

// The measuring kind and angle mode of a Measure tool; false for other tools.
bool MeasureKindOf(int32_t tool, int32_t& kind, int32_t& angleMode);

}  // namespace orvane
