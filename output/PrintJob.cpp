// The print job: the work image on one page.
#include "forms/Unit2.h"

void TForm2::Button1Click() {
  // "Print": transforms, temporary file round trip, layout and the page, then Cancel.
}
