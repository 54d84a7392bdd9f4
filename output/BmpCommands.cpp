// "BMP Viewer" and "Save as BMP".
#include "forms/Unit2.h"

void TForm2::Button3Click() {
  // "BMP Viewer": writes the viewer file and opens it with the associated program.
}

void TForm2::Button7Click() {
  // "Save as BMP": writes the work image to a file the user chooses.
}
