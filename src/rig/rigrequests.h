#pragma once

#include <QString>

#include <vector>

namespace rig {

// The tune panel and the command test window reach the rig window's commands only through here.

// RigControlfrm::ChangeFrequency with a frequency in MHz.
void TuneRigTo(float megahertz);
// RigControlfrm::ChangeMode with a frequency in MHz and a mode name.
void SetRigModeTo(float megahertz, const QString& mode);

// Test seam: while one lives, every request is recorded on its way to the rig window.
class RecordedRigRequests {
 public:
  struct ModeRequest {
    float megahertz;
    QString mode;
  };

  RecordedRigRequests();
  ~RecordedRigRequests();
  RecordedRigRequests(const RecordedRigRequests&) = delete;
  RecordedRigRequests& operator=(const RecordedRigRequests&) = delete;

  const std::vector<float>& Frequencies() const { return frequencies_; }
  const std::vector<ModeRequest>& Modes() const { return modes_; }

 private:
  friend void TuneRigTo(float megahertz);
  friend void SetRigModeTo(float megahertz, const QString& mode);

  std::vector<float> frequencies_;
  std::vector<ModeRequest> modes_;
};

}  // namespace rig
