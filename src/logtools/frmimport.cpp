#include "logtools/frmimport.h"

namespace logtools {

frmImport::frmImport() : Form(QStringLiteral("frmImport")) {
  SetCaption(QStringLiteral("Append Data or Restore From Backup"));
  Move(0, 0, 7200, 5400);
}

}  // namespace logtools
