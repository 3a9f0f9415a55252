#pragma once

#include <QString>

#include <vector>

namespace rig {

// The tune panel and the command test window reach the rig window's commands only through here.

// RigControlfrm::ChangeFrequency with a frequency in MHz.
void TuneRigTo(double megahertz);
// RigControlfrm::ChangeMode with a frequency in MHz and a mode name.
void SetRigModeTo(double megahertz, const QString& mode);

// Test seam: while one lives, every request is recorded on its way to the rig window.
class RecordedRigRequests {
 public:
  struct ModeRequest {
    double megahertz;
    QString mode;
  };

  RecordedRigRequests();
  ~RecordedRigRequests();
  RecordedRigRequests(const RecordedRigRequests&) = delete;
  RecordedRigRequests& operator=(const RecordedRigRequests&) = delete;

  const std::vector<double>& Frequencies() const { return frequencies_; }
  const std::vector<ModeRequest>& Modes() const { return modes_; }

 private:
  friend void TuneRigTo(double megahertz);
  friend void SetRigModeTo(double megahertz, const QString& mode);

  std::vector<double> frequencies_;
  std::vector<ModeRequest> modes_;
};

}  // namespace rig
