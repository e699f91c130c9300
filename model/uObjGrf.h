#pragma once

#include "platform/Canvas.h"
#include "platform/Numbers.h"

#include <cassert>
#include <cstdint>

/// The base of every object a model shows on its canvas. The document draws,
/// selects, hit-tests and drags objects through the virtual operations below
/// (declared in this order) without knowing their class.
///
/// Coordinates are 32-bit canvas pixels; a model file can carry any of them, so
/// every computation on them saturates instead of overflowing.
class TObjGrafico {
public:
  TObjGrafico() = default;
  TObjGrafico(const TObjGrafico&) = delete;
  TObjGrafico& operator=(const TObjGrafico&) = delete;
  virtual ~TObjGrafico() = default;

  /// Not owned; null until SetCanvas.
  ::Canvas* Canvas = nullptr;
  std::int32_t X = 0;
  std::int32_t Y = 0;
  std::int32_t HalfWidth = 0;
  std::int32_t HalfHeight = 0;
  bool Selected = false;
  std::int32_t DragOffsetX = 0;
  std::int32_t DragOffsetY = 0;

  void SetCanvas(::Canvas* canvas) { Canvas = canvas; }

  void UseNormalPens();
  void UseErasePens();
  void UseOutlinePens();
  void UseMarkPens();
  void UseAsleepPens();

  virtual void SetPosition(std::int32_t x, std::int32_t y);
  virtual void KeepInside();
  virtual void DrawShape();
  virtual void Draw();
  virtual void Erase();
  virtual void ToggleMark();
  virtual void Select();
  virtual void Deselect();
  virtual void DrawOutline();
  virtual void BeginDrag(std::int32_t x, std::int32_t y);
  virtual void DragTo(std::int32_t x, std::int32_t y);
  virtual void EndDrag();
  virtual bool HitTest(std::int32_t x, std::int32_t y);
  virtual bool SpareQuery();

protected:
  /// Remembers where, relative to the centre, the object was grabbed.
  void RecordGrabPoint(std::int32_t x, std::int32_t y);
  /// Moves the object so that its grab point lies at (x, y).
  void MoveGrabPointTo(std::int32_t x, std::int32_t y);

  /// The canvas every drawing operation paints on; drawing before SetCanvas is
  /// a programming error.
  ::Canvas& Surface() const {
    assert(Canvas && "a model object drew before SetCanvas");
    return *Canvas;
  }
};
