#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QString>

#include <chrono>
#include <memory>
#include <utility>
#include <vector>

class QSerialPort;

namespace platform {

// Run-time error numbers of the serial control.
inline constexpr int CommErrorInvalidPort = 8002;       // "Invalid port number"
inline constexpr int CommErrorPortAlreadyOpen = 8005;   // "Port already open"
inline constexpr int CommErrorSetCommState = 8015;      // "Could not set comm state"
inline constexpr int CommErrorPortNotOpen = 8018;       // "Operation valid only when the port is open"

// The serial communications control, as far as the windows that drive a rig, a TNC or a
// keying line use it. Port number n is /dev/ttyS<n-1> unless CORVANE_PORT<n> names another
// device. Text travels as Latin-1: one byte per character, the byte being the character's code
// (a character above 255 goes as "?").
// Writing returns at once; reading takes what has arrived and never waits. Used from the GUI
// thread only.
//
// A failing operation throws RuntimeError with the control's number: an invalid value 380; a
// port number below 1, a device that is missing or no serial port 8002; a port that is open,
// here or in another program (the keyer library), 8005 "Port already open"; a device the user may
// not open 8005 too, described by the device and the remedy, which a box also tells once a
// session for each device; line settings the device refuses 8015; reading or writing a closed
// port 8018. A device that goes away (an adapter pulled out) closes the port.
class SerialControl {
 public:
  SerialControl();
  ~SerialControl();
  SerialControl(const SerialControl&) = delete;
  SerialControl& operator=(const SerialControl&) = delete;

  int CommPort() const { return commPort_; }
  void SetCommPort(int port);  // only while closed

  // "baud,parity,data,stop": parity N, E or O (either case), data bits 7 or 8, stop bits 1 or 2,
  // as "4800,N,8,2". Applied at once while open. A pseudo-terminal has no framing: it keeps
  // 8 data bits without parity whatever it is asked.
  const QString& Settings() const { return settings_; }
  void SetSettings(const QString& settings);

  // 0 none, 1 XON/XOFF, 2 RTS/CTS, 3 RTS/CTS and XON/XOFF. Applied at once while open.
  int Handshaking() const { return handshaking_; }
  void SetHandshaking(int handshaking);

  // The line is raised while the port is open and its switch is on. Linux raises both lines as it
  // opens a tty; the opening lowers a line whose switch is off right after the device is set up by
  // Qt and locked, before anything else. Pseudo-terminals have no modem lines, and RTS/CTS
  // handshaking drives RTS itself: the switch still reads what was asked.
  bool DTREnable() const { return dtrEnable_; }
  void SetDTREnable(bool enabled);
  bool RTSEnable() const { return rtsEnable_; }
  void SetRTSEnable(bool enabled);

  bool PortOpen() const;
  void SetPortOpen(bool open);

  // The most characters one Input takes; 0 takes all.
  int InputLen() const { return inputLen_; }
  void SetInputLen(int length);
  // Bytes received and not yet taken by Input; 0 while closed.
  int InBufferCount();
  // Takes what has been received, InputLen characters at most; empty when nothing waits.
  QString Input();
  // Queues the text for sending and returns; what the device has room for goes out at once.
  void SetOutput(const QString& text);
  // Bytes queued and not yet sent, the device's own queue included; 0 while closed.
  int OutBufferCount();

  // Why the port closed by itself, its device having failed (pulled out, hung up): "/dev/ttyUSB0,
  // the device of serial port 3, failed: Input/output error". Empty until then, and again once
  // the program closes or opens the port.
  const QString& DeviceFailure() const { return deviceFailure_; }

  // Test seams: the lines as asked of the device (a pseudo-terminal cannot report its modem
  // lines; RecordedSerialLines below keeps every level set, in order) and the flow control the
  // open device holds.
  bool DtrRaised() const { return PortOpen() && dtrEnable_; }
  bool RtsRaised() const { return PortOpen() && rtsEnable_; }
  struct FlowControl {
    bool rtsCts = false;
    bool xonXoff = false;
  };
  FlowControl FlowControlForTesting() const;

  // The program's end: DTR and RTS dropped on every open port, and the port closed, its lock file
  // with it. GUI thread.
  static void CloseEveryPort();

 private:
  void Open();
  void NoteOpen();
  void Close();
  void RequireOpen() const;
  void ApplySettings(const QString& settings);
  void ApplyHandshaking(int handshaking);
  void ApplyLines();
  void ApplyDtr();
  void ApplyRts();
  void FlushWhatTheDeviceTakes();
  void TakeArrived();
  void LoseDevice(QSerialPort& device);

  int commPort_ = 1;
  QString settings_ = QStringLiteral("9600,n,8,1");
  int handshaking_ = 0;
  bool dtrEnable_ = false;
  bool rtsEnable_ = false;
  int inputLen_ = 0;
  std::unique_ptr<QSerialPort> port_;  // a fresh one for each opening
  QString deviceFailure_;
};

// Test seam: while one of these lives, every DTR or RTS level set on an open port is noted in
// order, with the port number and the moment (steady clock) the device took it, so a test reads
// a keying line's levels although a pseudo-terminal has none. The device is set as always.
// GUI thread only; one at a time.
class RecordedSerialLines {
 public:
  enum class Line { Dtr, Rts };
  struct Level {
    int port;
    Line line;
    bool raised;
    std::chrono::steady_clock::time_point at;
  };

  RecordedSerialLines();
  ~RecordedSerialLines();
  RecordedSerialLines(const RecordedSerialLines&) = delete;
  RecordedSerialLines& operator=(const RecordedSerialLines&) = delete;

  const std::vector<Level>& Levels() const { return *levels_; }

 private:
  std::shared_ptr<std::vector<Level>> levels_;
};

// Test seam: while one of these lives, every write on an open port is noted in order with the
// port number, its bytes and the moment of the platform clock (clock.h), so a test reads the
// pauses between commands on the fake clock. A write of exactly the bytes given to FailWrite
// throws RuntimeError with that description instead of going out, as a device that refuses one
// write would; the port stays open and the failed write is not noted. GUI thread only; one at a
// time.
class RecordedSerialWrites {
 public:
  struct Write {
    int port;
    QByteArray bytes;
    QDateTime at;
  };
  struct State {
    std::vector<Write> writes;
    std::vector<std::pair<QByteArray, QString>> failures;
  };

  RecordedSerialWrites();
  ~RecordedSerialWrites();
  RecordedSerialWrites(const RecordedSerialWrites&) = delete;
  RecordedSerialWrites& operator=(const RecordedSerialWrites&) = delete;

  void FailWrite(const QByteArray& bytes, const QString& description);
  const std::vector<Write>& Writes() const { return state_->writes; }

 private:
  std::shared_ptr<State> state_;
};

}  // namespace platform
