#pragma once

#include "platform/color.h"
#include "platform/control.h"

#include <QImage>
#include <QString>

#include <functional>
#include <vector>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;

namespace platform {

class PictureButton;

// Every control below is built as a member of its window: `TextBox txtCall{this, "txtCall"};`
// (or with a frame or picture box as the container: `OptionButton Option1{&Frame1, "Option1"};`),
// and takes its design values in the window's constructor.
// Where each is defined: the text box in textbox.cpp; the label and the frame in labels.cpp; the
// command, option and check buttons in buttons.cpp; the list and combo boxes in lists.cpp; the
// line, the image and the picture box in pictures.cpp; the up-down arrows in updown.cpp.

struct MultiLineTag {};
inline constexpr MultiLineTag MultiLine{};

// Text box, single-line, or multi-line when built with MultiLine. Multi-line text reads and writes
// line breaks as CR LF, and MaxLength counts them so. Typing past MaxLength takes the characters
// just typed back out; text set by code loses its end. A MaxLength set below the text's length
// leaves the text as it is: nothing more can be typed until it is under the limit. MaxLength counts
// UTF-16 units, and every cut keeps whole characters: one of two units (an emoji) that does not
// fit is left out, never halved.
// Text set by code raises Change when it differs from the text shown, and the caret then stands
// at the start.
class TextBox : public Control {
 public:
  TextBox(Container* parent, const QString& name, int index = -1);
  TextBox(Container* parent, const QString& name, MultiLineTag, int index = -1);
  ~TextBox() override;

  QString Text() const;
  void SetText(const QString& text);
  // The length of Text, without reading it: a multi-line box counts each line break as CR LF.
  qsizetype TextLength() const;
  // Multi-line boxes kept as a log: adds text at the end and puts the caret after it, as SelStart
  // at the end and SelText do, then drops the oldest whole lines while the text is longer than
  // keepNewest (0 keeps everything; the last line always stays). It costs what is added and
  // dropped, never the text that stays. Like text set by code, it ends what Undo could take back.
  void AppendText(const QString& text, qsizetype keepNewest = 0);
  int MaxLength() const { return maxLength_; }  // 0: no limit
  void SetMaxLength(int length);
  int SelStart() const;
  void SetSelStart(int start);  // clears the selection, the caret moves there
  int SelLength() const;
  void SetSelLength(int length);  // selects from SelStart
  QString SelText() const;
  void SetSelText(const QString& text);  // replaces the selection
  bool Locked() const { return locked_; }
  void SetLocked(bool locked);
  int Alignment() const { return alignment_; }
  void SetAlignment(int alignment);
  bool IsMultiLine() const { return plain_ != nullptr; }
  void SetBorderStyle(int style);  // 0 none, 1 fixed single
  // Single-line boxes: when set, a paste (Ctrl+V, Shift+Insert, the context menu's Paste, a
  // middle click) is typed instead of inserted, so the key handlers see every pasted character
  // (TypeText): the first line of the text, without control characters, at most 255 of them.
  bool PasteAsTyping() const;
  void SetPasteAsTyping(bool typed);

  void CopyDesignFrom(const Control& source) override;

  std::function<void()> Change;

 protected:
  QPalette::ColorRole BackRole() const override { return QPalette::Base; }
  QPalette::ColorRole ForeRole() const override { return QPalette::Text; }

 private:
  QString FittedText(const QString& text) const;
  void ShowText(const QString& shown);
  void CutTypedExcess();
  void ApplyLineLimit();
  void SetSelection(int start, int length);
  void DropOldestLines(qsizetype keepNewest);

  QLineEdit* line_ = nullptr;
  QPlainTextEdit* plain_ = nullptr;
  int maxLength_ = 0;
  int alignment_ = AlignLeft;
  bool locked_ = false;
  bool cutting_ = false;
  qsizetype shownLength_ = 0;  // multi-line: the text's length after the last change
};

// Label: a caption on the window's surface. "&" marks an access key and is not shown ("&&" shows
// one). Words wrap within the label's width unless AutoSize fits the label to its caption.
// A screen reader reads the caption as the label's name; a label that shows a value is named
// after its own caption label (NameAfter) and gives its caption as its value and text.
class Label : public Control {
 public:
  Label(Container* parent, const QString& name, int index = -1);

  QString Caption() const { return caption_; }
  void SetCaption(const QString& caption);
  int Alignment() const { return alignment_; }
  void SetAlignment(int alignment);
  bool AutoSize() const { return autoSize_; }
  void SetAutoSize(bool autoSize);
  int BorderStyle() const { return borderStyle_; }
  void SetBorderStyle(int style);  // 0 none, 1 fixed single
  int BackStyle() const { return backStyle_; }
  void SetBackStyle(int style);  // 0 transparent, 1 opaque
  bool WordWrap() const { return wordWrap_; }
  void SetWordWrap(bool wrap);
  void SetBackColor(Color color) override;

  void CopyDesignFrom(const Control& source) override;

  std::function<void()> Change;  // raised when the caption changes

 protected:
  bool ConsumesMouse() const override { return true; }
  void ApplyFont() override;

 private:
  QLabel* label() const;
  void FitToCaption();

  QString caption_;
  int alignment_ = AlignLeft;
  int borderStyle_ = 0;
  int backStyle_ = 1;
  bool autoSize_ = false;
  bool wordWrap_ = false;
};

// Command button: Click when pushed by mouse or keyboard, or when code sets Value to true.
// A picture shows centred on the button's face, as large as the face allows with its shape kept,
// so it grows and shrinks with the button when screen scaling sizes it. A picture that should not
// fill the face carries a clear margin of its own.
class CommandButton : public Control {
 public:
  CommandButton(Container* parent, const QString& name, int index = -1);

  QString Caption() const;
  void SetCaption(const QString& caption);
  const QImage& Picture() const;
  void SetPicture(const QImage& picture);  // a null image clears the picture
  void SetValue(bool value);  // true clicks the button
  void CopyDesignFrom(const Control& source) override;

 protected:
  bool ClicksOnMouseRelease() const override { return false; }
  QPalette::ColorRole BackRole() const override { return QPalette::Button; }
  QPalette::ColorRole ForeRole() const override { return QPalette::ButtonText; }
  QString OwnCaptionForName() const override;

 private:
  PictureButton* button() const;
};

// Option button: one selected per container (window, frame or picture box). Click is raised when
// the option becomes selected, by the mouse or by code setting Value to true.
class OptionButton : public Control {
 public:
  OptionButton(Container* parent, const QString& name, int index = -1);

  QString Caption() const;
  void SetCaption(const QString& caption);
  bool Value() const;
  void SetValue(bool value);
  void CopyDesignFrom(const Control& source) override;

 protected:
  bool ClicksOnMouseRelease() const override { return false; }

 private:
  QRadioButton* radio() const;
};

// Check box: Value 0 unchecked, 1 checked, 2 grayed. Click is raised whenever Value changes, by
// the mouse or by code. The mouse toggles between 0 and 1.
class CheckBox : public Control {
 public:
  CheckBox(Container* parent, const QString& name, int index = -1);

  QString Caption() const;
  void SetCaption(const QString& caption);
  int Value() const;
  void SetValue(int value);
  void CopyDesignFrom(const Control& source) override;

 protected:
  bool ClicksOnMouseRelease() const override { return false; }

 private:
  QCheckBox* box() const;
};

// Frame: a captioned box that contains controls; their positions are relative to its corner.
class Frame : public Control, public Container {
 public:
  Frame(Container* parent, const QString& name, int index = -1);

  QString Caption() const;
  void SetCaption(const QString& caption);
  void SetBorderStyle(int style);  // 0 none, 1 fixed single

  QWidget* ClientWidget() const override { return Widget(); }
  Form& OwnerForm() const override { return Control::OwnerForm(); }
  void CopyDesignFrom(const Control& source) override;

 protected:
  bool ConsumesMouse() const override { return true; }
};

// List box. Indexes run from 0; ListIndex -1 selects nothing. With Sorted set, AddItem without an
// index puts the item in alphabetical place, letter case ignored. Every item shows its whole text:
// a list narrower than its widest item scrolls sideways. Click is raised when the selection
// changes, by the mouse, the keyboard or code, and when the mouse clicks the item that is already
// selected.
class ListBox : public Control {
 public:
  ListBox(Container* parent, const QString& name, int index = -1);

  void AddItem(const QString& item, int index = -1);
  void RemoveItem(int index);
  void Clear();
  QString List(int index) const;  // "" outside the list, as the control answers
  void SetList(int index, const QString& item);
  int ListCount() const;
  int ListIndex() const;
  void SetListIndex(int index);  // -1 clears the selection
  int NewIndex() const { return newIndex_; }
  bool Sorted() const { return sorted_; }
  void SetSorted(bool sorted) { sorted_ = sorted; }
  std::int32_t ItemData(int index) const;
  void SetItemData(int index, std::int32_t data);
  bool Selected(int index) const;
  void SetSelected(int index, bool selected);
  QString Text() const;  // the selected item's text

  void CopyDesignFrom(const Control& source) override;

 protected:
  bool ClicksOnMouseRelease() const override { return false; }
  QPalette::ColorRole BackRole() const override { return QPalette::Base; }
  QPalette::ColorRole ForeRole() const override { return QPalette::Text; }

 private:
  QListWidget* list() const;
  void RequireIndex(int index) const;

  bool sorted_ = false;
  int newIndex_ = -1;
};

// Combo box. Style 0 is a text box with a drop-down list, 2 a drop-down list only. Click is raised
// when an item is chosen from the list or code sets ListIndex; Change when the text part is edited.
class ComboBox : public Control {
 public:
  ComboBox(Container* parent, const QString& name, int index = -1);

  int Style() const { return style_; }
  void SetStyle(int style);
  QString Text() const;
  void SetText(const QString& text);
  void AddItem(const QString& item, int index = -1);
  void RemoveItem(int index);
  void Clear();
  QString List(int index) const;
  int ListCount() const;
  int ListIndex() const;
  void SetListIndex(int index);
  int NewIndex() const { return newIndex_; }
  bool Sorted() const { return sorted_; }
  void SetSorted(bool sorted) { sorted_ = sorted; }
  std::int32_t ItemData(int index) const;
  void SetItemData(int index, std::int32_t data);
  int SelStart() const;
  void SetSelStart(int start);
  int SelLength() const;
  void SetSelLength(int length);

  void CopyDesignFrom(const Control& source) override;

  std::function<void()> Change;

 protected:
  bool ClicksOnMouseRelease() const override { return false; }
  QPalette::ColorRole BackRole() const override { return QPalette::Base; }
  QPalette::ColorRole ForeRole() const override { return QPalette::Text; }

 private:
  QComboBox* combo() const;
  void RequireIndex(int index) const;

  int style_ = 0;
  bool sorted_ = false;
  int newIndex_ = -1;
  QWidget* watchedEdit_ = nullptr;
};

// Line: from (X1, Y1) to (X2, Y2) in twips on its container, beneath the other controls.
class Line : public Control {
 public:
  Line(Container* parent, const QString& name, int index = -1);

  double X1() const { return x1_; }
  double Y1() const { return y1_; }
  double X2() const { return x2_; }
  double Y2() const { return y2_; }
  void SetX1(double twips);
  void SetY1(double twips);
  void SetX2(double twips);
  void SetY2(double twips);
  void SetEnds(double x1, double y1, double x2, double y2);
  Color BorderColor() const { return borderColor_; }
  void SetBorderColor(Color color);
  int BorderWidth() const { return borderWidth_; }
  void SetBorderWidth(int pixels);
  int BorderStyle() const { return borderStyle_; }
  // Throws RuntimeError 380 for a value other than LineSolid and LineDotted.
  void SetBorderStyle(int style);

  static constexpr int LineSolid = 1;
  static constexpr int LineDotted = 3;

  void CopyDesignFrom(const Control& source) override;

 protected:
  void ApplyGeometry() override;

 private:
  friend class LineWidget;
  double x1_ = 0, y1_ = 0, x2_ = 0, y2_ = 0;
  Color borderColor_ = 0;
  int borderWidth_ = 1;
  int borderStyle_ = LineSolid;
};

// Image: shows a picture, at its own size or stretched to the control, and keeps what is drawn
// on it with Line and Box (in twips from its corner) until Cls, through every repaint.
class Image : public Control {
 public:
  Image(Container* parent, const QString& name, int index = -1);

  // A path as the program writes it. A missing file throws RuntimeError 53 "File not found", one
  // that cannot be read as a picture 481 "Invalid picture"; "" clears the picture.
  void SetPicture(const QString& path);
  void SetPicture(const QImage& picture);
  const QImage& Picture() const { return picture_; }
  bool Stretch() const { return stretch_; }
  void SetStretch(bool stretch);
  void Cls();
  void Line(double x1, double y1, double x2, double y2, Color color);
  void Box(double x1, double y1, double x2, double y2, Color color, bool filled = false);
  int DrawWidth() const { return drawWidth_; }
  void SetDrawWidth(int pixels) { drawWidth_ = pixels; }

  void CopyDesignFrom(const Control& source) override;

 protected:
  Image(ControlKind kind, Container* parent, const QString& name, int index);
  bool ConsumesMouse() const override { return true; }

 private:
  friend class DrawingWidget;
  struct Drawing {
    enum Kind { LineTo, Frame, Fill } kind;
    double x1, y1, x2, y2;
    Color color;
    int width;
  };
  void AddDrawing(Drawing drawing);

  QImage picture_;
  bool stretch_ = false;
  int drawWidth_ = 1;
  std::vector<Drawing> drawings_;
};

// Picture box: an image that also contains controls.
class PictureBox : public Image, public Container {
 public:
  PictureBox(Container* parent, const QString& name, int index = -1);

  QWidget* ClientWidget() const override { return Widget(); }
  Form& OwnerForm() const override { return Control::OwnerForm(); }
};

// Up-down arrows. A click on an arrow steps Value by Increment within Min..Max (or round, with
// Wrap), raising Change when Value changed, then UpClick or DownClick.
class UpDown : public Control {
 public:
  UpDown(Container* parent, const QString& name, int index = -1);

  int Value() const { return value_; }
  void SetValue(int value);
  int Min() const { return min_; }
  void SetMin(int min) { min_ = min; }
  int Max() const { return max_; }
  void SetMax(int max) { max_ = max; }
  int Increment() const { return increment_; }
  void SetIncrement(int increment) { increment_ = increment; }
  bool Wrap() const { return wrap_; }
  void SetWrap(bool wrap) { wrap_ = wrap; }
  QWidget* UpArrow() const;
  QWidget* DownArrow() const;
  // Keeps the arrows against the buddy's right edge, as tall as it, wherever the buddy is moved
  // or sized (screen fitting scales the buddy but not the arrows).
  void SetBuddy(Control& buddy);

  void CopyDesignFrom(const Control& source) override;

  std::function<void()> Change;
  std::function<void()> UpClick;
  std::function<void()> DownClick;

 protected:
  bool ClicksOnMouseRelease() const override { return false; }

 private:
  void Step(int direction);
  void StandBeside(const Control& buddy);

  int value_ = 0;
  int min_ = 0;
  int max_ = 10;
  int increment_ = 1;
  bool wrap_ = false;
};

}  // namespace platform
