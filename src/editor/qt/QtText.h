// The border between the program's Windows-1252 text and Qt's strings.
#pragma once

#include <QString>

#include <string>

#include "storage/TextCodec.h"

namespace kx {

inline QString QtFromCp1252(const std::string& text) {
    return QString::fromStdString(Utf8FromCp1252(text));
}

inline std::string Cp1252FromQt(const QString& text) {
    return Cp1252FromUtf8(text.toStdString());
}

// File names are the platform's bytes.
inline std::string PathFromQt(const QString& path) {
    return path.toLocal8Bit().toStdString();
}

inline QString QtFromPath(const std::string& path) {
    return QString::fromLocal8Bit(path);
}

} // namespace kx
