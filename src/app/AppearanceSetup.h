#pragma once
// What the program needs from the desktop before its first widget (an application
// must exist): the Japanese gothic for the window's font names, an icon theme for
// file-type pictures, and Japanese texts for Qt's own dialogs.
void SetUpAppearance();
