// Draws the demo character and writes it as a character file:
//   draw_rira OUTPUT.acs
#include <cstdio>
#include <exception>

#include "rira_model.h"
#include "runtime/acs/writer/acs_writer.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: draw_rira OUTPUT.acs\n");
    return 2;
  }
  try {
    rirerazo::acs::WriteCharacterFile(rira::BuildRira(), argv[1]);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "draw_rira: %s\n", e.what());
    return 1;
  }
  return 0;
}
