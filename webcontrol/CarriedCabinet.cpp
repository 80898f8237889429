// The cabinet file FV_CARRIED_CABINET names, assembled into the library's read-only data.
//
// Built without the compiler cache: the cache knows nothing of the file the assembler reads.
#include "webcontrol/CarriedCabinet.h"

#ifndef FV_CARRIED_CABINET
#error "FV_CARRIED_CABINET names the cabinet file to carry"
#endif

asm(".pushsection .rodata.fv_carried_cabinet, \"a\", @progbits\n"
    ".balign 16\n"
    ".hidden fv_carried_cabinet_begin\n"
    ".hidden fv_carried_cabinet_end\n"
    "fv_carried_cabinet_begin:\n"
    ".incbin \"" FV_CARRIED_CABINET
    "\"\n"
    "fv_carried_cabinet_end:\n"
    ".popsection\n");

extern "C" __attribute__((visibility("hidden"))) const unsigned char fv_carried_cabinet_begin[];
extern "C" __attribute__((visibility("hidden"))) const unsigned char fv_carried_cabinet_end[];

std::span<const unsigned char> GetCarriedCabinet() {
  return {fv_carried_cabinet_begin, fv_carried_cabinet_end};
}
