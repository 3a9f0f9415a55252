#include "rig/rigrequests.h"

#include "platform/instances.h"
#include "rig/rigcontrolfrm.h"

namespace rig {

namespace {

RecordedRigRequests* recorder = nullptr;

}  // namespace

void TuneRigTo(double megahertz) {
  if (recorder) recorder->frequencies_.push_back(megahertz);
  platform::Instance<RigControlfrm>().ChangeFrequency(megahertz);
}

void SetRigModeTo(double megahertz, const QString& mode) {
  if (recorder) recorder->modes_.push_back({megahertz, mode});
  QString modeToChangeTo = mode;
  platform::Instance<RigControlfrm>().ChangeMode(megahertz, modeToChangeTo);
}

RecordedRigRequests::RecordedRigRequests() { recorder = this; }

RecordedRigRequests::~RecordedRigRequests() { recorder = nullptr; }

}  // namespace rig
