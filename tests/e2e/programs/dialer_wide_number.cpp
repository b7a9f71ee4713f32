// Corpus: a dialer look-alike that imports InternetDial and has its 0900 number only in UTF-16.
#include "corpus_program.h"

#include <wininet.h>

extern "C" const volatile wchar_t kNumber[] = L"0900 5 123456";

VUR_CORPUS_MAIN(VUR_CORPUS_ITEM(&InternetDial), VUR_CORPUS_ITEM(kNumber))
