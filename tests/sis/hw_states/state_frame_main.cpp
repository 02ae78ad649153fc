// State-table rows through the road in a process of their own, through
// whichever driver library the loader opens (VLX_GL_DRIVER): the tests run it
// with the software-only device's library, since one process holds one
// driver at a time.
//   hw_state_frame BITS_PER_PIXEL ROW...
// For each row writes its vendor field (16 bytes) and the window's pixels,
// 0xAARRGGBB top row first, to its standard output.
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "tests/sis/hw_states/state_road.h"

int main(int argc, char **argv) {
  if (argc < 2) {
    fprintf(stderr, "usage: hw_state_frame BITS_PER_PIXEL ROW...\n");
    return 2;
  }
  if (!hwstates::SetDisplay(atoi(argv[1]))) {
    fprintf(stderr, "hw_state_frame: no display of %s bits\n", argv[1]);
    return 3;
  }
  for (int i = 2; i < argc; i++) {
    const hwstates::StateRow *row = hwstates::FindState(argv[i]);
    if (row == nullptr) {
      fprintf(stderr, "hw_state_frame: no row %s\n", argv[i]);
      return 2;
    }
    std::vector<uint32_t> argb;
    std::string vendor, why;
    if (!hwstates::DrawState(*row, &argb, &vendor, &why)) {
      fprintf(stderr, "hw_state_frame: %s: %s\n", argv[i], why.c_str());
      return 3;
    }
    char field[16] = {};
    strncpy(field, vendor.c_str(), sizeof field - 1);
    if (fwrite(field, sizeof field, 1, stdout) != 1 ||
        fwrite(argb.data(), sizeof argb[0], argb.size(), stdout) != argb.size())
      return 4;
  }
  return fflush(stdout) == 0 ? 0 : 4;
}
