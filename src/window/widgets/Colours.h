#pragma once
// Colours are written as 0x00BBGGRR values and turned into RGB here.

#include <QColor>
#include <QPalette>

#include <cstdint>

class QWidget;

[[nodiscard]] inline QColor FromBgr(uint32_t bgr) {
    return QColor(static_cast<int>(bgr & 0xFF), static_cast<int>((bgr >> 8) & 0xFF),
                  static_cast<int>((bgr >> 16) & 0xFF));
}

inline constexpr uint32_t FolderListColour = 15793151;   // cream
inline constexpr uint32_t SplitterColour = 15780518;     // sky blue
inline constexpr uint32_t LongNameListColour = 16638463; // light pink

// Gives widget the colour bgr for role and has it fill its background.
void PaintBackground(QWidget* widget, QPalette::ColorRole role, uint32_t bgr);
