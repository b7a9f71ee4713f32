// Corpus: an honest phonebook editor. It imports the RAS phonebook functions and RasDialA, names the
// phonebook and dials an ordinary number; the heuristics must leave it alone.
#include "corpus_program.h"

#include <ras.h>

extern "C" const volatile char kPhonebook[] = "rasphone.pbk";
extern "C" const volatile char kNumber[] = "030 1234567";

VUR_CORPUS_MAIN(VUR_CORPUS_ITEM(&RasCreatePhonebookEntryA), VUR_CORPUS_ITEM(&RasSetEntryPropertiesA),
                VUR_CORPUS_ITEM(&RasDialA), VUR_CORPUS_ITEM(kPhonebook), VUR_CORPUS_ITEM(kNumber))
