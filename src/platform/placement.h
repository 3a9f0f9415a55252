#pragma once

namespace platform {

// Position and size in twips, as windows and controls were designed. Each setter stores the
// value and lets the owner bring its widget into line.
class Placement {
 public:
  virtual ~Placement() = default;

  double Left() const { return left_; }
  double Top() const { return top_; }
  double Width() const { return width_; }
  double Height() const { return height_; }
  void SetLeft(double twips);
  void SetTop(double twips);
  void SetWidth(double twips);
  void SetHeight(double twips);
  void Move(double left, double top);
  void Move(double left, double top, double width, double height);

 protected:
  Placement(double width, double height) : width_(width), height_(height) {}
  virtual void ApplyGeometry() = 0;

  double left_ = 0, top_ = 0, width_, height_;
};

}  // namespace platform
