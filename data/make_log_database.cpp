#include "platform/logschema.h"

#include <cstdio>

// Build step: writes the empty log database that stands beside the program.
int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: make_log_database <new database file>\n");
    return 2;
  }
  const std::string reason = platform::WriteLogTable(argv[1]);
  if (!reason.empty()) {
    std::fprintf(stderr, "make_log_database: %s: %s\n", argv[1], reason.c_str());
    return 1;
  }
  return 0;
}
