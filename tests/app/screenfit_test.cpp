#include "app/form1.h"
#include "app/frmstationid.h"
#include "app/globals.h"
#include "app/modformresize.h"
#include "logging/contactlist.h"
#include "platform/controls.h"
#include "platform/forms.h"
#include "platform/screen.h"
#include "platform/twips.h"

#include <QAbstractButton>
#include <QFontMetrics>
#include <QLabel>
#include <QTableView>
#include <gtest/gtest.h>

#include <climits>
#include <ostream>
#include <string>
#include <vector>

// What the operator reads must be whole on common screens, with each window scaled as its load
// scales it: no caption cut off at its control's edge, no contact-list cell elided.
namespace {

struct ScreenSize {
  int width;
  int height;
};

void PrintTo(const ScreenSize& screen, std::ostream* out) { *out << screen.width << "x" << screen.height; }

const ScreenSize kScreens[] = {{1024, 768}, {1920, 1080}};

void SetScreen(const ScreenSize& screen) {
  platform::Screen::SetSizeForTesting(screen.width * platform::TwipsPerPixel, screen.height * platform::TwipsPerPixel);
}

// A label's words wrap within its width; the lines they take must fit its height, and no word may
// be wider than the label.
bool CaptionFits(const QLabel& label) {
  const QRect room = label.contentsRect();
  const QRect needed = QFontMetrics(label.font())
                           .boundingRect(QRect(0, 0, room.width(), INT_MAX), Qt::TextWordWrap, label.text());
  return needed.width() <= room.width() && needed.height() <= room.height();
}

// The visible captions of the window that are cut off.
std::vector<std::string> CutCaptions(const platform::Form& form) {
  std::vector<std::string> cut;
  for (const platform::Control* control : form.Controls()) {
    if (!control->Visible() || !control->Widget()) continue;
    bool fits = true;
    if (const auto* label = qobject_cast<const QLabel*>(control->Widget())) {
      fits = label->text().isEmpty() || CaptionFits(*label);
    } else if (const auto* button = qobject_cast<const QAbstractButton*>(control->Widget());
               button && control->Kind() != platform::ControlKind::CommandButton) {
      fits = button->sizeHint().width() <= button->width();  // an option or a check box
    }
    if (!fits) cut.push_back(control->Name().toStdString() + "(" + std::to_string(control->Index()) + ")");
  }
  return cut;
}

// The longest texts the main window's message lines hold.
const char* const kLongestMessages[] = {
    "Keyboard CW mode is ON!  Press F12 to exit keyboard CW mode.",
    "Duplicate Unless Rover! WB2XYZ/R FN42 12/31 23:59:59  Rec# 13999",
    "Dupe: WB2XYZ/R FN42 ON 2024/12/31 23:59:59",
    "The second or third character is not numeric!",
};
const char* const kGridSquareCounts =
    "FN42  Total = 99   50 = 23   144 = 34   222 = 11\r\n432 = 12   902 = 10   1.3 = 11   2.3 = 10   3.5 = 10\r\n"
    "5.8 = 10   10 = 10";

class ScreenFit : public ::testing::TestWithParam<ScreenSize> {
 protected:
  void TearDown() override { platform::UnloadAll(); }
};

TEST_P(ScreenFit, MainWindowCaptionsAndMessagesAreWhole) {
  SetScreen(GetParam());
  app::Form1& form = platform::InstanceWithoutLoad<app::Form1>();
  app::ModFormResize::FillScreen(form);
  form.Label21.SetCaption("144 MHz");
  form.lblDupe.SetCaption(kGridSquareCounts);
  for (const char* message : kLongestMessages) {
    SCOPED_TRACE(message);
    form.lblDialog.SetCaption(message);
    EXPECT_EQ(CutCaptions(form), std::vector<std::string>{});
  }
}

// The task-bar layout takes the height of a 40-pixel task bar from every control, but no font size.
TEST_P(ScreenFit, MainWindowCaptionsAreWholeOnTheWorkArea) {
  SetScreen(GetParam());
  platform::Screen::SetWorkAreaForTesting(0, 0, GetParam().width * platform::TwipsPerPixel,
                                          (GetParam().height - 40) * platform::TwipsPerPixel);
  app::Form1& form = platform::InstanceWithoutLoad<app::Form1>();
  app::ModFormResize::FillScreen(form);
  app::FormSize = 100;
  app::TaskBarDisplay = 1;
  form.ResizeForTaskBar();
  form.Label21.SetCaption("144 MHz");
  form.lblDupe.SetCaption(kGridSquareCounts);
  for (const char* message : kLongestMessages) {
    SCOPED_TRACE(message);
    form.lblDialog.SetCaption(message);
    EXPECT_EQ(CutCaptions(form), std::vector<std::string>{});
  }
}

TEST_P(ScreenFit, ContactListCellsAreWhole) {
  SetScreen(GetParam());
  app::Form1& form = platform::InstanceWithoutLoad<app::Form1>();
  app::ModFormResize::FillScreen(form);
  logging::CreateContactListColumns(form);
  form.ListView1.SetRows({{"13999", "WB2XYZ/R", "599", "FN42", "599", "12/31 23:59", "1.3", "FN31", "CW"}});

  auto* table = static_cast<QAbstractItemView*>(form.ListView1.Widget());
  for (int column = 1; column <= form.ListView1.ColumnHeaders.Count(); ++column) {
    const int needed = table->sizeHintForColumn(column - 1);
    EXPECT_LE(needed, platform::TwipsToPixels(form.ListView1.ColumnHeaders(column).Width()))
        << form.ListView1.ColumnHeaders(column).Text().toStdString();
  }
}

TEST_P(ScreenFit, StationSetUpCaptionsAreWhole) {
  SetScreen(GetParam());
  app::LogFilePath = "/home/operator/Varnek Software/Corvane/Corvane.MDB";
  app::frmStationID& dialog = platform::Instance<app::frmStationID>();
  EXPECT_EQ(CutCaptions(dialog), std::vector<std::string>{});
}

INSTANTIATE_TEST_SUITE_P(CommonScreens, ScreenFit, ::testing::ValuesIn(kScreens),
                         [](const auto& info) {
                           return std::to_string(info.param.width) + "x" + std::to_string(info.param.height);
                         });

}  // namespace
