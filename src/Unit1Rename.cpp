// TForm1's rename editor for the long-name list.
#include "Unit1.h"

void TForm1::ListView2DblClick() {}

void TForm1::Edit2Change() {}

void TForm1::Edit2KeyDown(int, Qt::KeyboardModifiers) {}
