#include "platform/placement.h"

#include "platform/errors.h"

namespace platform {

namespace {

// A negative size is refused, as the controls refuse it.
void RequireSize(double twips) {
  if (twips < 0) InvalidPropertyValue();
}

}  // namespace

void Placement::SetLeft(double twips) {
  left_ = twips;
  ApplyGeometry();
}

void Placement::SetTop(double twips) {
  top_ = twips;
  ApplyGeometry();
}

void Placement::SetWidth(double twips) {
  RequireSize(twips);
  width_ = twips;
  ApplyGeometry();
}

void Placement::SetHeight(double twips) {
  RequireSize(twips);
  height_ = twips;
  ApplyGeometry();
}

void Placement::Move(double left, double top) {
  left_ = left;
  top_ = top;
  ApplyGeometry();
}

void Placement::Move(double left, double top, double width, double height) {
  RequireSize(width);
  RequireSize(height);
  left_ = left;
  top_ = top;
  width_ = width;
  height_ = height;
  ApplyGeometry();
}

}  // namespace platform
