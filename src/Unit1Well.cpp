// TForm1's well commands: register, recalculate, clear, delete, sort by column.
#include "Unit1.h"

void TForm1::ToolButton1Click() {}

void TForm1::ToolButton4Click() {}

void TForm1::ToolButton5Click() {}

void TForm1::ListView1KeyDown(int, Qt::KeyboardModifiers) {}

void TForm1::ListView1ColumnClick(int) {}

void TForm1::ListView3ColumnClick(int) {}
