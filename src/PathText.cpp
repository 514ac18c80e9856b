#include "PathText.h"

QString TextOfBytes(const std::string& bytes) {
    return QString::fromUtf8(bytes);
}

std::string BytesOfText(const QString& text) {
    return text.toUtf8().toStdString();
}
