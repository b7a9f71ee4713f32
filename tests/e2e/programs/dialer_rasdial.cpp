// Corpus: a dialer look-alike that imports RasDialA and RasSetEntryPropertiesA and carries a 0190 number.
#include "corpus_program.h"

#include <ras.h>

extern "C" const volatile char kNumber[] = "0190-8123456";

VUR_CORPUS_MAIN(VUR_CORPUS_ITEM(&RasDialA), VUR_CORPUS_ITEM(&RasSetEntryPropertiesA), VUR_CORPUS_ITEM(kNumber))
