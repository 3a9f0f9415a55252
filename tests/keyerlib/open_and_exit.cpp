// A program that opens the keyer device on the port given and ends with the connection open.
#include <cstdio>
#include <cstdlib>

#include "tapplink.h"

int main(int argc, char** argv) {
  if (argc != 2) return 2;
  uint8_t version = 0;
  const int32_t result = tp_open(&version, std::atoi(argv[1]));
  std::printf("tp_open: %d\n", result);
  return result == TP_OK ? 0 : 1;
}
