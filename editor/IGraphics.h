#pragma once

// The editor object: created with the plug-in and alive as long as it; the host only
// opens and closes its window. Controls are added by the editor layout.
class IGraphics {
 public:
  IGraphics(int width, int height) : width_(width), height_(height) {}
  virtual ~IGraphics() = default;
  IGraphics(const IGraphics&) = delete;
  IGraphics& operator=(const IGraphics&) = delete;

  int Width() const { return width_; }
  int Height() const { return height_; }

  // Moves every control bound to the parameter, directly or through a sub-control.
  virtual void SetControlsFromParameter(int parameter, double normalized);
  // Pushes a parameter's value to its controls; `value` is plain unless `normalised`.
  virtual void UpdateControlsForParameter(int parameter, double value, bool normalised);
  // Creates the drawing surfaces for the editor's size.
  virtual bool PrepareDraw();

 private:
  int width_;
  int height_;
};
