#include "app/folders.h"
#include "app/form1.h"
#include "keying/blindfrm.h"
#include "keying/cwfrm.h"
#include "keying/phonefrm.h"
#include "logtools/form2.h"
#include "logtools/form5.h"
#include "logtools/form6.h"
#include "logtools/graphqso.h"
#include "network/frmnetwork.h"
#include "platform/instances.h"
#include "platform/trace.h"
#include "rig/rigcontrolfrm.h"
#include "spotting/frmbandplan.h"
#include "spotting/packetspotfrm.h"
#include "spotting/spotmapwindow.h"

// The menu items that open the other windows. Tool windows open modeless and stay loaded until
// the main window closes; dialogs open modally and are unloaded once closed, so each opening
// starts from the dialog's design.
namespace app {

namespace {

using platform::Instance;
using platform::Modal;
using platform::ShowModalAndUnload;

// The windows read their files by plain name; one whose folder cannot be made current still opens.
void TrySelectProgramFolder() { platform::SkipOnError(lcApp, &SelectProgramFolder); }

}  // namespace

// The log is reloaded first, so the contacts other PCs logged since the last poll are written too;
// a log that cannot be read is not offered for writing, as the file would go out short of contacts.
void Form1::mnuWriteSumm_Click() {
  if (!WorkList()) return;
  ShowModalAndUnload<logtools::Form2>();
}

// The CW and voice set-ups are modal from their menus; they stay loaded, since they key the
// messages.
void Form1::mnuCWSetup_Click() { Instance<keying::CWFrm>().Show(Modal); }

void Form1::mnuPhoneSetup_Click() { Instance<keying::PhoneFrm>().Show(Modal); }

// Saved and redisplayed whether or not a colour changed, so the grid map shows what is stored.
void Form1::mnuColors_Click() {
  ShowModalAndUnload<logtools::Form6>();
  SavePref();
  mnuopen2();
}

void Form1::mnuRigInterface_Click() {
  TrySelectProgramFolder();
  Instance<rig::RigControlfrm>().Show();
}

void Form1::mnuDXSpotting_Click() {
  SavePref();
  Instance<spotting::PacketSpotfrm>().Show();
}

void Form1::mnuViewSpectrumMap_Click() { ShowModalAndUnload<spotting::SpectrumMap>(); }

void Form1::mnuBlind_Click() { Instance<keying::BlindFrm>().Show(); }

void Form1::mnuPrivileges_Click() {
  TrySelectProgramFolder();
  ShowModalAndUnload<spotting::frmBandPlan>();
}

void Form1::mnuGraph_Click() { ShowModalAndUnload<logtools::GraphQSO>(); }

void Form1::mnuNetwork_Click() { Instance<network::frmNetwork>().Show(); }

void Form1::mnuHelp_Click() { ShowModalAndUnload<logtools::Form5>(); }

}  // namespace app
