// Corpus: a dialer installer: it imports lineMakeCall, names the phonebook and the Run key.
#include "corpus_program.h"

#include <tapi.h>

extern "C" const volatile char kPhonebook[] = "C:\\WINDOWS\\rasphone.pbk";
extern "C" const volatile char kRunKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";

VUR_CORPUS_MAIN(VUR_CORPUS_ITEM(&lineMakeCall), VUR_CORPUS_ITEM(kPhonebook), VUR_CORPUS_ITEM(kRunKey))
