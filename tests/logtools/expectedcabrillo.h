#pragma once

#include <QByteArray>

// The Cabrillo file expected of the station W1XYZ of section CT, whose operator enters the same
// details whether a test builds the entry or types them into the window: one text, with the
// values a test sets named.
struct ExpectedCabrillo {
  bool cq = false;  // the CQ layout: no section, its own contest and category lines
  QByteArray claimedScore = "1234";
  QByteArray operators = "W1XYZ";
  QByteArray club;
  QByteArray name = "Ann Operator";
  QByteArray soapbox = "Good conditions on 6";
  QByteArray qsoLines;

  QByteArray Text() const {
    const QByteArray layoutLines = cq ? "CONTEST: CQ-VHF\r\n"
                                        "CALLSIGN: W1XYZ\r\n"
                                        "CATEGORY: SINGLE-OP ALL HIGH   \r\n"
                                        "CATEGORY-ASSISTED: NON-ASSISTED\r\n"
                                      : "ARRL-SECTION: CT\r\n"
                                        "CONTEST: ARRL-VHF-JUN\r\n"
                                        "CALLSIGN: W1XYZ\r\n"
                                        "CATEGORY: SINGLE-OP ALL LOW \r\n";
    return "START-OF-LOG: 2.0\r\n"
           "CREATED-BY: Varnek's Corvane Log 2.5\r\n" +
           layoutLines + "CLAIMED-SCORE: " + claimedScore + "\r\nOPERATORS: " + operators + "\r\nCLUB: " + club +
           "\r\nNAME: " + name +
           "\r\n"
           "ADDRESS: 1 Main St\r\n"
           "ADDRESS: Town, CT 06000\r\n"
           "ADDRESS: (e-mail) ann@example.org\r\n"
           "SOAPBOX: " +
           soapbox +
           "\r\n"
           "SOAPBOX:\r\n"
           "SOAPBOX:\r\n" +
           qsoLines + "END-OF-LOG:\r\n";
  }
};

// The June contest's contacts as both the entry's and the window's tests log them: 144 MHz phone,
// 1.3 GHz CW with its own grid received, and 50 MHz phone from another grid sent.
inline const QByteArray kJuneQsoLines =
    "QSO:   144 PH 2024-06-08 1805 W1XYZ             FN31   K1ABC             FN42    \r\n"
    "QSO:   1.2 CW 2024-06-08 1807 W1XYZ             FN31   W2DEF             FN20    \r\n"
    "QSO:    50 PH 2024-06-09 0705 W1XYZ             FN32   N3GHI             EM99    \r\n";

// The CQ contest's one contact, 50 MHz CW.
inline const QByteArray kCqQsoLine =
    "QSO:    50 CW 2024-07-20 1805 W1XYZ             FN31   K1ABC             FN42    \r\n";
