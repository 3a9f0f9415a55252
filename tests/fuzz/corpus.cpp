#include "corpus.h"

#include <array>

namespace fuzzing {

namespace {

// Numbers at the edges of what readers convert: integer and float limits, overflows, non-numbers.
constexpr std::array<const char*, 26> kExtremeNumbers = {
    "0",          "-0",          "2147483647",  "2147483648",   "-2147483649", "4294967295", "4294967296",
    "32767",      "-32769",      "255",         "256",          "-1",          "1e308",      "1e309",
    "-1e309",     "3.4028236e38", "1e-320",     "NaN",          "inf",         ".",          "-",
    "&HFFFFFFFF", "&H",          "00000000000", "99999999999999999999999999999", "9e99999"};

constexpr std::array<char, 8> kSpecialBytes = {'\r', '\n', '\0', '\xff', ' ', '"', ',', '>'};

// Run lengths around the readers' bounds (line, record, frame and file limits) and short ones.
constexpr std::array<qsizetype, 8> kRunLengths = {2, 17, 255, 1024, 4097, 16385, 65537, 70000};

}  // namespace

int Scaled(int base) {
  bool ok = false;
  const int scale = qEnvironmentVariableIntValue("CORVANE_FUZZ_SCALE", &ok);
  return ok && scale > 0 ? base * scale : base;
}

Corpus::Corpus(std::vector<QByteArray> samples, std::uint64_t seed) : samples_(std::move(samples)), random_(seed) {}

qsizetype Corpus::Between(qsizetype low, qsizetype high) {
  return std::uniform_int_distribution<qsizetype>(low, high)(random_);
}

void Corpus::ForEach(int mutated, const std::function<void(const QByteArray&)>& visit) {
  for (const QByteArray& sample : samples_) {
    for (qsizetype length = 0; length <= sample.size(); ++length) visit(sample.first(length));
  }
  for (int k = 0; k < mutated; ++k) visit(Mutated());
}

QByteArray Corpus::Mutated() {
  if (samples_.empty() || Between(0, 19) == 0) {
    QByteArray bytes(Between(0, 300), Qt::Uninitialized);
    for (char& byte : bytes) byte = static_cast<char>(Between(0, 255));
    return bytes;
  }
  QByteArray input = samples_[Between(0, samples_.size() - 1)];
  for (qsizetype edits = Between(1, 4); edits > 0; --edits) Edit(input);
  return input;
}

void Corpus::Edit(QByteArray& input) {
  const auto place = [&] { return Between(0, input.size()); };
  switch (Between(0, 9)) {
    case 0:
      if (!input.isEmpty()) {
        const qsizetype at = Between(0, input.size() - 1);
        input[at] = static_cast<char>(input[at] ^ (1 << Between(0, 7)));
      }
      break;
    case 1:
      input.truncate(place());
      break;
    case 2:
      input.insert(place(), kSpecialBytes[Between(0, kSpecialBytes.size() - 1)]);
      break;
    case 3: {
      // Long runs are rare: they are what costs time.
      const qsizetype longest = Between(0, 15) == 0 ? kRunLengths.size() - 1 : 2;
      const char byte = Between(0, 1) ? kSpecialBytes[Between(0, kSpecialBytes.size() - 1)]
                                      : static_cast<char>(Between(0x20, 0x7e));
      input.insert(place(), QByteArray(kRunLengths[Between(0, longest)], byte));
      break;
    }
    case 4: {
      // A run of digits becomes an extreme number, or one is put somewhere.
      qsizetype start = -1;
      for (qsizetype k = Between(0, input.size()); k < input.size() && start < 0; ++k) {
        if (input[k] >= '0' && input[k] <= '9') start = k;
      }
      qsizetype end = start;
      while (end >= 0 && end < input.size() && input[end] >= '0' && input[end] <= '9') ++end;
      const QByteArray number(kExtremeNumbers[Between(0, kExtremeNumbers.size() - 1)]);
      if (start >= 0) input.replace(start, end - start, number);
      else input.insert(place(), number);
      break;
    }
    case 5: {
      const QByteArray& other = samples_[Between(0, samples_.size() - 1)];
      const qsizetype from = Between(0, other.size());
      input.insert(place(), other.mid(from, Between(0, other.size() - from)));
      break;
    }
    case 6: {
      const qsizetype from = place();
      input.remove(from, Between(0, input.size() - from));
      break;
    }
    case 7: {
      const qsizetype from = place();
      const QByteArray part = input.mid(from, Between(0, input.size() - from));
      input.insert(place(), part);
      break;
    }
    case 8:
      if (!input.isEmpty()) input[Between(0, input.size() - 1)] = static_cast<char>(Between(0, 255));
      break;
    default:
      input.insert(place(), "\r\n");
      break;
  }
}

std::vector<QByteArray> RandomPieces(const QByteArray& stream, Corpus& corpus) {
  std::vector<QByteArray> pieces;
  for (qsizetype at = 0; at < stream.size();) {
    const qsizetype length = corpus.Between(0, 3) == 0 ? stream.size() - at : corpus.Between(1, 64);
    pieces.push_back(stream.mid(at, length));
    at += length;
  }
  return pieces;
}

}  // namespace fuzzing
