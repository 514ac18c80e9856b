#include "window/PathText.h"

#include "core/text/Utf8.h"

QString TextOfBytes(const std::string& bytes) {
    return QString::fromUtf8(bytes);
}

std::string BytesOfText(const QString& text) {
    return text.toUtf8().toStdString();
}

namespace {

constexpr char16_t FirstEscapedByte = 0xDC80; // the surrogate that stands for byte 0x80

bool IsEscapedByte(QChar c) {
    return c.unicode() >= FirstEscapedByte && c.unicode() <= FirstEscapedByte + 0x7F;
}

} // namespace

QString EditableTextOfBytes(const std::string& bytes) {
    QString text;
    for (size_t pos = 0; pos < bytes.size();) {
        const size_t start = pos;
        const char32_t c = ketrilo::DecodeUtf8At(bytes, pos);
        if (ketrilo::IsStrayByte(c, pos - start))
            text += QChar(static_cast<char16_t>(0xDC00 + static_cast<unsigned char>(bytes[start])));
        else
            text += QString::fromUcs4(&c, 1);
    }
    return text;
}

std::string BytesOfEditableText(const QString& text) {
    std::string bytes;
    qsizetype runStart = 0;
    for (qsizetype i = 0; i <= text.size(); ++i) {
        // A lone escape, not the second half of a pair, stands for its byte.
        const bool escape =
            i < text.size() && IsEscapedByte(text[i]) && (i == 0 || !text[i - 1].isHighSurrogate());
        if (!escape && i < text.size())
            continue;
        bytes += text.mid(runStart, i - runStart).toUtf8().toStdString();
        if (escape)
            bytes += static_cast<char>(text[i].unicode() - 0xDC00);
        runStart = i + 1;
    }
    return bytes;
}
