#pragma once

#include "app/form1.h"
#include "app/frmsplash.h"
#include "app/frmstationid.h"
#include "app/frmvarneklogo.h"
#include "keying/blindfrm.h"
#include "keying/cwfrm.h"
#include "keying/frmcodepractice.h"
#include "keying/frmcwstrings.h"
#include "keying/frmtappler.h"
#include "keying/phonefrm.h"
#include "logtools/form2.h"
#include "logtools/form5.h"
#include "logtools/form6.h"
#include "logtools/frmeditcon.h"
#include "logtools/frmimport.h"
#include "logtools/graphqso.h"
#include "network/frmnetwork.h"
#include "platform/form.h"
#include "platform/instances.h"
#include "rig/frmfrequencytest.h"
#include "rig/frmrigtune.h"
#include "rig/rigcontrolfrm.h"
#include "spotting/frmbandplan.h"
#include "spotting/packetspotfrm.h"
#include "spotting/spotmapwindow.h"

#include <QDirIterator>
#include <QFile>
#include <QRegularExpression>
#include <QString>

#include <functional>
#include <set>
#include <vector>

// Walks over every window of the program: the windows and how each is opened, and the window
// classes the sources declare, so that a walk that misses a window added later says so.

using WindowOpening = std::function<platform::Form&()>;

template <class F>
WindowOpening LoadedWindow() {
  return []() -> platform::Form& { return platform::Instance<F>(); };
}

// The main window's and the start-up window's loads are the whole start-up: they are built as
// designed.
template <class F>
WindowOpening DesignedWindow() {
  return []() -> platform::Form& { return platform::InstanceWithoutLoad<F>(); };
}

// Every window, the main window first and the band-plan viewer last, each opened as the program
// opens it.
inline const std::vector<WindowOpening>& EveryWindow() {
  static const std::vector<WindowOpening> windows = {
      DesignedWindow<app::Form1>(),          DesignedWindow<app::frmSplash>(),
      LoadedWindow<app::frmVarnekLogo>(),    LoadedWindow<app::frmStationID>(),
      LoadedWindow<network::frmNetwork>(),   LoadedWindow<logtools::frmEditCon>(),
      LoadedWindow<logtools::frmImport>(),   LoadedWindow<logtools::Form2>(),
      LoadedWindow<logtools::GraphQSO>(),    LoadedWindow<logtools::Form5>(),
      LoadedWindow<logtools::Form6>(),       LoadedWindow<keying::CWFrm>(),
      LoadedWindow<keying::frmTappler>(),    LoadedWindow<keying::frmCWStrings>(),
      LoadedWindow<keying::frmCodePractice>(), LoadedWindow<keying::PhoneFrm>(),
      LoadedWindow<keying::BlindFrm>(),      LoadedWindow<rig::RigControlfrm>(),
      LoadedWindow<rig::frmRigTune>(),       LoadedWindow<rig::frmFrequencyTest>(),
      LoadedWindow<spotting::PacketSpotfrm>(), LoadedWindow<spotting::SpectrumMap>(),
      LoadedWindow<spotting::frmBandPlan>(),
  };
  return windows;
}

inline std::set<QString> WindowClassesInSources() {
  static const QRegularExpression windowClass(QStringLiteral("class (\\w+) : public platform::Form\\b"));
  std::set<QString> names;
  QDirIterator files(QStringLiteral(CORVANE_SOURCE_DIR "/src"), {QStringLiteral("*.h")}, QDir::Files,
                     QDirIterator::Subdirectories);
  while (files.hasNext()) {
    QFile file(files.next());
    if (!file.open(QIODevice::ReadOnly)) continue;
    auto matches = windowClass.globalMatch(QString::fromUtf8(file.readAll()));
    while (matches.hasNext()) names.insert(matches.next().captured(1));
  }
  return names;
}
