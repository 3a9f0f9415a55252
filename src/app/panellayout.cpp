#include "app/form1.h"
#include "platform/controls.h"

namespace app {

namespace {

// The band-list panel or the grid map in its place: one shows while the other hides.
void ShowPanel(Form1& form, bool bandLists) {
  for (platform::ListBox* list : form.BandLists()) list->SetVisible(bandLists);
  for (platform::Label* label : form.BandNameLabels()) label->SetVisible(bandLists);
  for (platform::Label* label : form.BandCountLabels()) label->SetVisible(bandLists);
  form.Label10.SetVisible(bandLists);
  for (int square = 0; square <= 164; ++square) form.lblGrid(square).SetVisible(!bandLists);
  for (platform::CommandButton* shift : {&form.Command4, &form.Command5, &form.Command6, &form.Command7}) {
    shift->SetVisible(!bandLists);
  }
}

}  // namespace

void Form1::HideBandLists() { ShowPanel(*this, false); }

void Form1::ShowBandLists() { ShowPanel(*this, true); }

// The lists reach down to the label beneath them; a label standing above the lists' top is a
// negative height the lists refuse, for the caller to handle.
void Form1::ResizeBandLists() {
  List1.SetHeight(Label10.Top() - List1.Top());
  for (platform::ListBox* list : BandLists()) list->SetHeight(List1.Height());
}

}  // namespace app
