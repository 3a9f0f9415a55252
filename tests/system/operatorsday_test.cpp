// One operator's day with the whole program, as main runs it, from a freshly installed program
// folder and a home of its own: a rig answering on a serial line, a cluster on the loopback, a CW
// keying line, a second PC of the station (the program again, in a process of its own) on the same
// log file and station port, the exports read back, and a second start the next morning.
//
// The program runs its own event loops; the operator's steps run from those loops, each once what
// it needs is on the screen (OperatorScript), so no step waits by the clock.

#include "app/form1.h"
#include "app/frmstationid.h"
#include "app/frmvarneklogo.h"
#include "app/globals.h"
#include "app/program.h"
#include "keying/cwfrm.h"
#include "logging/globals.h"
#include "logging/logstore.h"
#include "logtools/form2.h"
#include "network/frmnetwork.h"
#include "platform/clock.h"
#include "platform/dialogs.h"
#include "platform/endprogram.h"
#include "platform/forms.h"
#include "platform/instances.h"
#include "platform/paths.h"
#include "platform/serialcontrol.h"
#include "rig/rigcontrolfrm.h"
#include "spotting/packetspotfrm.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QListWidget>
#include <QPointer>
#include <QProcess>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include <functional>
#include <iostream>
#include <memory>
#include <optional>

#include "answeringrig.h"
#include "anotherpc.h"
#include "exportreaders.h"
#include "keyedtext.h"
#include "programrun.h"
#include "ptypair.h"
#include "stationviews.h"

namespace {

using app::Form1;
using platform::Instance;
using platform::IsLoaded;

constexpr int kRigPort = 3;
constexpr int kCwPort = 4;
constexpr const char* kThisPc = "localhost";  // the server: the log file is on this PC
constexpr const char* kOtherPc = "Tent2";

Form1& Main() { return Instance<Form1>(); }
QString MainShows() { return Main().Label21.Caption() + u' ' + Main().Label30.Caption(); }

// A click, which brings the window it falls in to the front as it does on a desktop.
void Click(const platform::Control& control) {
  QApplication::setActiveWindow(control.Widget()->window());
  QTest::mouseClick(control.Widget(), Qt::LeftButton);
}
void Choose(platform::Menu& item) { item.Action()->trigger(); }
// A menu item that opens a modal window: chosen from the event loop, so the step that chose it
// returns and the next one finds the window.
void ChooseLater(platform::Menu& item) {
  QTimer::singleShot(0, item.Action(), [action = item.Action()] { action->trigger(); });
}
void ClickItem(platform::ListBox& list, const QString& text) {
  auto* widget = static_cast<QListWidget*>(list.Widget());
  const QList<QListWidgetItem*> found = widget->findItems(text, Qt::MatchExactly);
  ASSERT_EQ(found.size(), 1) << text.toStdString();
  widget->scrollToItem(found.front());
  QTest::mouseClick(widget->viewport(), Qt::LeftButton, {}, widget->visualItemRect(found.front()).center());
}
void Retype(platform::TextBox& box, const QString& text) {
  box.SetFocus();
  QTest::keyClick(box.Widget(), Qt::Key_A, Qt::ControlModifier);
  QTest::keyClick(box.Widget(), Qt::Key_Delete);
  QTest::keyClicks(box.Widget(), text);
}
void TypeContact(const QString& keys) {
  QApplication::setActiveWindow(Main().Widget());
  Main().txtCall.SetFocus();
  ASSERT_TRUE(TypeIntoFocus(keys));
}

// The band map label that shows `prefix` (a spot's label shows its call's prefix), if one does.
platform::Label* BandMapSpot(const QString& prefix) {
  for (int slot : Main().lblDXSpot.Indexes()) {
    platform::Label& label = Main().lblDXSpot[slot];
    if (label.Visible() && label.Caption() == prefix) return &label;
  }
  return nullptr;
}

// What the CW line keyed, read from the RTS levels the program set on its port.
QString KeyedOnPort(const platform::RecordedSerialLines& lines, int port) {
  QString levels;
  for (const platform::RecordedSerialLines::Level& level : lines.Levels()) {
    if (level.port == port && level.line == platform::RecordedSerialLines::Line::Rts) {
      levels += level.raised ? u'1' : u'0';
    }
  }
  return KeyedText(levels);
}

// A cluster's DX line: the spotter, the kHz in columns 16-24, the call from column 27.
QByteArray DxLine(const char* kilohertz, const char* call) {
  return QStringLiteral("DX de Q2ABC:   %1  %2EM73\r\n").arg(kilohertz, 9).arg(call, -13).toLatin1();
}

QByteArray Bytes(const QString& path) {
  QFile file(path);
  EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << path.toStdString();
  return file.readAll();
}

// The files the installation leaves beside the log database.
void InstallBesideTheLog(const QString& folder) {
  for (const char* name : {"BandPlan.txt", "rdCorvane.txt"}) {
    ASSERT_TRUE(QFile::copy(QStringLiteral(CORVANE_SOURCE_DIR "/data/") + name, folder + '/' + name));
  }
}

// The station port this PC listens on as the station's server, once it does.
std::optional<int> ListeningStationPort() {
  if (!IsLoaded<network::frmNetwork>()) return std::nullopt;
  const platform::Winsock& listener = Instance<network::frmNetwork>().tcpWinsock[0];
  if (listener.State() != platform::SocketListening) return std::nullopt;
  return listener.LocalPort();
}

// The other PC of the station: the program in a process of its own, with its own home and
// program folder, logging into this PC's log file through a "\\localhost\share" path.
class OtherPc {
 public:
  OtherPc(const QString& sharedFolder, int stationPort) {
    EXPECT_TRUE(root_.isValid());
    const QDir root(root_.path());
    EXPECT_TRUE(root.mkpath("home/.config"));
    EXPECT_TRUE(root.mkpath("home/Documents"));
    EXPECT_TRUE(root.mkpath("program"));
    platform::CreateLogDatabase(root.filePath("program/Corvane.MDB"));
    InstallBesideTheLog(root.filePath("program"));
    QFile mounts(root.filePath("mounts"));
    EXPECT_TRUE(mounts.open(QIODevice::WriteOnly));
    mounts.write("//localhost/share " + QFile::encodeName(sharedFolder) + " cifs rw 0 0\n");
    mounts.close();
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("HOME", root.filePath("home"));
    environment.insert("XDG_CONFIG_HOME", root.filePath("home/.config"));
    environment.remove("USERPROFILE");
    environment.remove("APPDATA");
    environment.insert("CORVANE_HOST_NAME", kOtherPc);
    environment.insert("CORVANE_STATION_PORT", QString::number(stationPort));
    environment.insert("QT_QPA_PLATFORM", "offscreen");
    process_.setProcessEnvironment(environment);
    process_.setWorkingDirectory(root.filePath("program"));
    // What it logs goes with what it says, shown when the day fails. On this one machine its own
    // listener cannot take the station port that this PC holds: it notes "Address in use", as a
    // PC whose port another program holds does, and goes on as the station's client.
    process_.setProcessChannelMode(QProcess::MergedChannels);
    QObject::connect(&process_, &QProcess::readyReadStandardOutput,
                     [this] { output_ += process_.readAllStandardOutput(); });
    process_.start(QStringLiteral(STATIONPC_PATH),
                   {"K2PQR", "FN31", "\\\\localhost\\share\\Corvane.MDB", root.filePath("mounts")});
  }
  OtherPc(const OtherPc&) = delete;
  OtherPc& operator=(const OtherPc&) = delete;
  ~OtherPc() {
    if (process_.state() == QProcess::NotRunning) return;
    process_.kill();
    process_.waitForFinished(10000);
  }

  void Order(const QByteArray& order) { process_.write(order + '\n'); }
  // A line it printed that starts with `start`; empty while there is none.
  QString Said(const QByteArray& start) const {
    for (const QByteArray& line : output_.split('\n')) {
      if (line.startsWith(start)) return QString::fromUtf8(line);
    }
    return {};
  }
  bool Ended() const { return process_.state() == QProcess::NotRunning; }
  QByteArray Printed() const { return output_; }
  int ExitCode() const { return process_.exitCode(); }

 private:
  QTemporaryDir root_;
  QProcess process_;
  QByteArray output_;
};

class OperatorsDay : public ProgramRun {
 protected:
  void SetUp() override {
    ProgramRun::SetUp();
    InstallBesideTheLog(programFolder.path());
    platform::Clock::SetFake(QDateTime(QDate(2024, 6, 8), QTime(14, 0)), -5);
    qputenv("CORVANE_HOST_NAME", kThisPc);
    qputenv("CORVANE_STATION_PORT", "0");  // any free port; the other PC is told which
    qputenv("CORVANE_PORT4", QByteArray::fromStdString(cwLine.HostEnd()));
  }
  void TearDown() override {
    ProgramRun::TearDown();
    for (const char* name : {"CORVANE_HOST_NAME", "CORVANE_STATION_PORT", "CORVANE_PORT4"}) qunsetenv(name);
  }

  QString DataFile(const QString& name) const { return home.Path() + "/Documents/Varnek Software/Corvane/" + name; }

  peertesting::PtyPair cwLine;
  AnsweringRig rig{kRigPort, RIGRESPONDER_PATH};
  QTcpServer cluster;
  QPointer<QTcpSocket> clusterPeer;
  std::unique_ptr<OtherPc> otherPc;
  std::unique_ptr<platform::RecordedSerialLines> keyingLines;
};

TEST_F(OperatorsDay, ContactsFromTheRigTheClusterAndAnotherPcAreLoggedExportedAndFoundTheNextMorning) {
  ASSERT_TRUE(cluster.listen(QHostAddress::LocalHost, 0));
  rig.Answer("FA;", "FA00144200000;");
  rig.Answer("MD;", "MD3;");  // CW
  const QString adifPath = DataFile("Corvane.adi");
  const QString cabrilloPath = DataFile("W9XYZ.log");

  // ---- The first start: the set-up, then band and mode from the menus.
  dialogs.AnswerMessageBox(platform::MsgBoxResult::Yes);  // "Open existing log?"
  OperatorScript day;
  const int firstEnd = Run(
      day,
      [](app::frmStationID& setUp) {
        QTest::keyClicks(setUp.Text1.Widget(), "w9xyz");
        QTest::keyClicks(setUp.Text5.Widget(), "en52");
      },
      [&] {
        day.When("main window", &MainWindowFree, [&] {
          ASSERT_EQ(dialogs.MessageBoxes().size(), 1u);
          EXPECT_EQ(dialogs.MessageBoxes()[0].title, "Open existing log?");
          EXPECT_EQ(Main().Label2.Caption(), "W9XYZ");
          Choose(Main().mnu160);
          Choose(Main().mnuPhone);
          EXPECT_EQ(MainShows(), "50 MHz PH");
          dialogs.AnswerInputBox("6000");
          Choose(Main().mnuRefreshrate);

          // ---- The rig: polled on its serial line; the main window follows it.
          Choose(Main().mnuRigInterface);
          rig::RigControlfrm& rigWindow = Instance<rig::RigControlfrm>();
          ClickItem(rigWindow.List1, "Kenwood");
          Click(rigWindow.optComm(kRigPort - 1));
          Click(rigWindow.optPollFast);
          Click(rigWindow.Command1);
        });
        const auto onTheRigsBandAndListening = [] { return MainShows() == "144 MHz CW" && ListeningStationPort(); };
        day.When("the main window on the rig's band, the station network on", onTheRigsBandAndListening, [&] {
          otherPc = std::make_unique<OtherPc>(programFolder.path(), *ListeningStationPort());

          // ---- Contacts by keystrokes; the second is a dupe.
          TypeContact("k1abc  fn20\r");
          ASSERT_EQ(RowsOnFile(LogPath()).size(), 1);
          EXPECT_EQ(RowsOnFile(LogPath())[0],
                    QStringList({"K1ABC", "599", "FN20", "599", "EN52", "2024/06/08", "19:00:00", "144 M", "CW"}));
          TypeContact("k1abc  fn20\r");
          const QString dialog = Main().lblDialog.Caption();
          EXPECT_TRUE(dialog.startsWith("Dupe: K1ABC FN20")) << dialog.toStdString();
          EXPECT_EQ(RowsOnFile(LogPath()).size(), 1) << "the dupe is refused";
          EXPECT_EQ(Main().txtCall.Text(), "");

          rig.Answer("FA;", "FA00432100000;");  // the operator turns the dial to 432
        });

        // ---- The cluster: its DX lines reach the band map; a right click takes the call.
        day.When("the main window on 432", [] { return MainShows() == "432 MHz CW"; }, [&] {
          Choose(Main().mnuDXSpotting);
          spotting::PacketSpotfrm& spotting = Instance<spotting::PacketSpotfrm>();
          ClickItem(spotting.List1, "Telnet");
          Click(spotting.OptBand);
          Retype(spotting.txtTelnetHost, "127.0.0.1");
          Retype(spotting.txtTelnetPort, QString::number(cluster.serverPort()));
          Click(spotting.cmdDone);
        });
        day.When("the cluster's caller", [&] { return cluster.hasPendingConnections(); }, [&] {
          clusterPeer = cluster.nextPendingConnection();
          clusterPeer->write(DxLine("432125.0", "K4SPT") + DxLine("432187.5", "W5OUT"));
        });
        day.When("the spots on the band map", [] { return BandMapSpot("K4") && BandMapSpot("W5"); }, [&] {
          QTest::mousePress(BandMapSpot("K4")->Widget(), Qt::RightButton);
          EXPECT_EQ(Main().txtCall.Text(), "K4SPT");
        });
        day.When("the rig tuned to the spot", [&] { return rig.Received().contains("FA00432125000;"); }, [&] {
          Click(Main().txtSec);
          ASSERT_TRUE(TypeIntoFocus("em73\r"));
          ASSERT_EQ(RowsOnFile(LogPath()).size(), 2);
          EXPECT_EQ(RowsOnFile(LogPath())[1].first(), "K4SPT");
          EXPECT_EQ(RowsOnFile(LogPath())[1][7], "432 M");

          // ---- A CW message keyed on the keying line.
          ChooseLater(Main().mnuCWSetup);
        });
        day.When("the CW set-up", &IsUp<keying::CWFrm>, [&] {
          keying::CWFrm& cw = Instance<keying::CWFrm>();
          Retype(cw.Text1, "tu");
          Click(cw.Option1);  // RTS
          Retype(cw.Text10, QString::number(kCwPort));
          Retype(cw.Text11, "20");
          Click(cw.Command1);
        });
        day.When("the main window again", &MainWindowFree, [&] {
          EXPECT_TRUE(Instance<keying::CWFrm>().Comm.PortOpen());
          keyingLines = std::make_unique<platform::RecordedSerialLines>();
          QApplication::setActiveWindow(Main().Widget());
          Main().txtCall.SetFocus();
          QTest::keyClick(QApplication::focusWidget(), Qt::Key_F1);
        });
        day.When("the message keyed", [&] { return KeyedOnPort(*keyingLines, kCwPort) == "TU"; }, [&] {
          // ---- The other PC: on 432 PH, logging into this PC's file on the station network.
          Choose(Main().mnuNetwork);
        });
        day.When("the other PC up", [&] { return !otherPc->Said("ready").isEmpty(); }, [&] {
          for (const char* order : {"band 432 M", "mode PH", "refresh 6000", "network", "log n3ghi em99",
                                    "log w4jkl em80", "await K4SPT", "grid Tent2"}) {
            otherPc->Order(order);
          }
        });
        day.When("the other PC's contacts listed here after the poll",
                 [] { return ListedCalls().contains("N3GHI") && ListedCalls().contains("W4JKL"); },
                 [&] {
                   EXPECT_EQ(otherPc->Said("logged n3ghi"), "logged n3ghi");
                   EXPECT_EQ(otherPc->Said("logged w4jkl"), "logged w4jkl");
                 });
        day.When("ours listed there", [&] { return !otherPc->Said("listed K4SPT").isEmpty(); }, [] {});
        day.When("both PCs in this grid",
                 [] { return NamesInBandGrid().contains(kThisPc) && NamesInBandGrid().contains(kOtherPc); }, [] {});
        day.When("both PCs in the other's grid", [&] { return !otherPc->Said("grid ").isEmpty(); }, [&] {
          const QStringList names = otherPc->Said("grid ").split(u' ');
          EXPECT_TRUE(names.contains(kThisPc) && names.contains(kOtherPc)) << names.join(u' ').toStdString();

          // ---- The exports, read back as another program reads them.
          dialogs.AnswerInputBox("100");
          dialogs.AnswerInputBox("");
          dialogs.AnswerInputBox("SSB");
          dialogs.ChooseFile(adifPath);
          Choose(Main().mnuExportADIF);
          dialogs.ChooseFile(cabrilloPath);
          ChooseLater(Main().mnuWriteSumm);
        });
        day.When("the Cabrillo window", &IsUp<logtools::Form2>, [] {
          Click(Instance<logtools::Form2>().Command4);
          Click(Instance<logtools::Form2>().Command3);
        });
        day.When("the files written", &MainWindowFree, [&] {
          const AdifFile adif = ReadAdif(Bytes(adifPath));
          QStringList adifCalls;
          for (const auto& record : adif.Records) {
            const AdifField* call = FindField(record, "CALL");
            adifCalls << (call ? QString::fromLatin1(call->Value) : QString());
          }
          adifCalls.sort();
          EXPECT_EQ(adifCalls, QStringList({"K1ABC", "K4SPT", "N3GHI", "W4JKL"}));
          const CabrilloFile cabrillo = ReadCabrillo(Bytes(cabrilloPath));
          QStringList cabrilloCalls;
          for (const QStringList& qso : cabrillo.Qsos) cabrilloCalls << qso.value(6);
          cabrilloCalls.sort();
          EXPECT_EQ(cabrilloCalls, QStringList({"K1ABC", "K4SPT", "N3GHI", "W4JKL"}));
          EXPECT_EQ(cabrillo.Value("CALLSIGN"), "W9XYZ");
          EXPECT_EQ(cabrillo.Value("CLAIMED-SCORE"), Main().lblTotScore.Caption());

          otherPc->Order("exit");
        });
        day.When("the other PC gone", [&] { return otherPc->Ended(); }, [&] {
          EXPECT_EQ(otherPc->ExitCode(), 0);
          Exit(Main());
        });
      });
  EXPECT_EQ(firstEnd, 0);
  if (HasFailure() && otherPc) std::cerr << "The other PC printed:\n" << otherPc->Printed().toStdString();
  otherPc.reset();  // ended already, unless a step failed
  ASSERT_FALSE(HasFailure()) << "no next morning after a failed day";
  ASSERT_EQ(RowsOnFile(LogPath()).size(), 4);

  // ---- The next morning: every contact is listed and scored.
  dialogs.AnswerMessageBox(platform::MsgBoxResult::Yes);
  OperatorScript morning;
  const int secondEnd = Run(
      morning,
      [](app::frmStationID& setUp) {
        EXPECT_EQ(setUp.Text1.Text(), "W9XYZ");
        EXPECT_EQ(setUp.Text5.Text(), "EN52");
      },
      [&] {
        morning.When("main window", &MainWindowFree, [&] {
          QStringList calls = ListedCalls();
          calls.sort();
          EXPECT_EQ(calls, QStringList({"K1ABC", "K4SPT", "N3GHI", "W4JKL"}));
          EXPECT_EQ(Main().lblTotCon.Caption(), "4");
          // 144 M: one contact of one point, one grid; 432 M: three of two points, three grids.
          EXPECT_EQ(Main().lblTotSec.Caption(), "7");
          EXPECT_EQ(Main().lblsectogo.Caption(), "4");
          EXPECT_EQ(Main().lblTotScore.Caption(), "28");
          Exit(Main());
        });
      });
  EXPECT_EQ(secondEnd, 0);
  EXPECT_TRUE(morning.Done());
}

}  // namespace
