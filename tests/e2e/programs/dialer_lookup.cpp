// Corpus: a dialer look-alike that imports nothing that dials: it names RasDialA for a look-up at run time
// (never made) and carries a satellite number.
#include "corpus_program.h"

extern "C" const volatile char kLibrary[] = "rasapi32.dll";
extern "C" const volatile char kFunction[] = "RasDialA";
extern "C" const volatile char kNumber[] = "+881 6 31234567";

VUR_CORPUS_MAIN(VUR_CORPUS_ITEM(&GetProcAddress), VUR_CORPUS_ITEM(kLibrary), VUR_CORPUS_ITEM(kFunction),
                VUR_CORPUS_ITEM(kNumber))
