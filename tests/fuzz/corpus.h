#pragma once

#include <QByteArray>
#include <QLoggingCategory>
#include <QString>

#include <cstdint>
#include <functional>
#include <random>
#include <vector>

// Inputs for the readers of what comes from files, sockets and serial lines: valid samples, each
// cut at every length, then samples changed by a few random edits (bit flips, cuts, line ends,
// NULs, 0xFF and long runs inserted, numbers replaced by extreme ones, pieces of other samples).
// Every run draws the same inputs: the generator's seed is fixed per reader.
namespace fuzzing {

// The number of mutated inputs a reader gets: base times CORVANE_FUZZ_SCALE (1 when unset).
int Scaled(int base);

class Corpus {
 public:
  Corpus(std::vector<QByteArray> samples, std::uint64_t seed);

  // Calls visit with every sample, every cut of every sample, then `mutated` edited samples and
  // a few purely random inputs among them.
  void ForEach(int mutated, const std::function<void(const QByteArray&)>& visit);

  // The generator, for a reader's own choices (how to split a stream, which value to ask for).
  std::mt19937_64& Random() { return random_; }
  // A number in [low, high].
  qsizetype Between(qsizetype low, qsizetype high);

  // One input: a sample edited one to four times, or random bytes.
  QByteArray Mutated();

 private:
  void Edit(QByteArray& input);

  std::vector<QByteArray> samples_;
  std::mt19937_64 random_;
};

// Splits a stream into random pieces, as a socket or a serial line hands it over.
std::vector<QByteArray> RandomPieces(const QByteArray& stream, Corpus& corpus);

// Readers trace every damaged input they refuse; thousands of traces only slow a run down.
class QuietTraces {
 public:
  QuietTraces() { QLoggingCategory::setFilterRules(QStringLiteral("corvane.*=false")); }
  ~QuietTraces() { QLoggingCategory::setFilterRules(QString()); }
  QuietTraces(const QuietTraces&) = delete;
  QuietTraces& operator=(const QuietTraces&) = delete;
};

// Latin-1 text, one character a byte, as the program's lines and files are read.
inline QString Latin1(const QByteArray& bytes) { return QString::fromLatin1(bytes); }

}  // namespace fuzzing
