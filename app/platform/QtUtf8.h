#pragma once

#include <QByteArray>
#include <QString>
#include <string_view>

namespace rowstone::ui {

// Conversions between the widgets' text and the UTF-8 text of the service
// client.

inline QString FromUtf8(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// A view of bytes that must outlive it.
inline std::string_view Utf8View(const QByteArray& bytes) {
    return std::string_view(bytes.constData(), static_cast<size_t>(bytes.size()));
}

} // namespace rowstone::ui
