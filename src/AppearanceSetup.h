#pragma once
// What the program needs from the desktop before its first widget: the Japanese gothic
// for the window's font names, and an icon theme for file-type pictures.
void SetUpAppearance();
