#include "network/frmnetwork.h"

#include "logging/logstore.h"
#include "network/globals.h"
#include "platform/design.h"
#include "platform/trace.h"

namespace network {

namespace {

using platform::Color;

constexpr int GridColumns = 14;  // "50 M" to "120 G"; bands from 142 G up have no column
constexpr int ColumnsPerBlock = 7;
constexpr Color FreeCellColor = 0x80FF80;
constexpr Color HeaderForeColor = 0xFFFFFF;
constexpr Color HeaderBackColor = 0x000000;

void DesignCell(platform::Label& cell, double left, double top) {
  platform::DesignCaption(cell, QString(), left, top, 1095, 270);
  cell.SetAlignment(platform::AlignCenter);
  cell.SetBorderStyle(1);
  cell.SetBackColor(FreeCellColor);
}

}  // namespace

frmNetwork::frmNetwork() : Form(QStringLiteral("frmNetwork")) {
  SetCaption(QStringLiteral(" Network Status Display"));
  Move(0, 0, 9600, 7200);
  DesignBandGrid();
  platform::DesignCaption(Check1, QStringLiteral("Functions Enabled"), 4200, 2640, 1935, 285);
  Text1.SetMaxLength(10);
  Text1.Move(2400, 2640, 1500, 285);
  Timer1.SetInterval(60000);
  Timer1.SetEnabled(true);
  Timer2.SetInterval(15000);
  Timer2.SetEnabled(false);
  WIRE(Check1, Click);
  WIRE_TIMER(Timer1);
}

// Two blocks of seven columns, the lower block 1200 twips below the upper.
void frmNetwork::DesignBandGrid() {
  for (int column = 0; column < GridColumns; ++column) {
    const double left = 960 + 1200 * (column % ColumnsPerBlock);
    const double blockTop = 1200 * (column / ColumnsPerBlock);
    platform::Label& header = lblBndHdr.Add(column);
    platform::DesignCaption(header, logging::BandNames[column], left, blockTop + 120, 1095, 255);
    header.SetAlignment(platform::AlignCenter);
    header.SetBorderStyle(1);
    header.SetForeColor(HeaderForeColor);
    header.SetBackColor(HeaderBackColor);
    DesignCell(lblBandSSB.Add(column), left, blockTop + 360);
    DesignCell(lblBandCW.Add(column), left, blockTop + 660);
    DesignCell(lblBandDIG.Add(column), left, blockTop + 960);
    lblBandDIG[column].SetVisible(false);
  }
}

void frmNetwork::Timer1_Timer() {
  if (NetworkEnabled != 1) return;
  NOT_BUILT_YET();
}

void frmNetwork::Check1_Click() {
  NetworkEnabled = static_cast<std::uint8_t>(Check1.Value());
  NOT_BUILT_YET();  // listening, closing the sockets, the status text and the focus
  if (NetworkEnabled == 1) {
    Timer2.SetEnabled(true);
    Timer1.SetEnabled(true);
  }
}

}  // namespace network
