// Corpus: a dialer look-alike that would talk to the modem itself: a dial command with a premium number.
#include "corpus_program.h"

extern "C" const volatile char kCommand[] = "ATDT0190812345\r";

VUR_CORPUS_MAIN(VUR_CORPUS_ITEM(kCommand))
