// Script text at the edge where Qt shows it: bytes that are UTF-8 stay so, anything else is
// read as Windows-1252; CR LF line ends become the single line feeds Qt lays out.
#pragma once

#include <QString>
#include <string>
#include <string_view>

#include "core/util/display_text.h"

namespace rirerazo::desktop {

inline QString ToQString(std::string_view bytes) {
  QString text = QString::fromStdString(DisplayTextUtf8(bytes));
  text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  return text;
}

inline std::string ToUtf8(const QString& text) {
  return text.toStdString();
}

}  // namespace rirerazo::desktop
