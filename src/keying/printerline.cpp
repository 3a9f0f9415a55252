#include "keying/printerline.h"

#include "platform/errors.h"
#include "platform/numbertext.h"
#include "platform/printerport.h"

#include <limits>

namespace keying {

std::int32_t PrinterControlRegister(const platform::TextBox& baseAddress) {
  const std::int64_t address =
      std::int64_t{platform::WholeOfNumberText(baseAddress.Text())} + platform::PrinterControlOffset;
  if (address > std::numeric_limits<std::int32_t>::max()) throw platform::RuntimeError(QStringLiteral("Overflow"), 6);
  return static_cast<std::int32_t>(address);
}

}  // namespace keying
