// The core speaks UTF-8 std::string; Qt speaks QString.
#pragma once

#include <QString>
#include <string>
#include <string_view>

namespace dalvenix::qt {

inline QString to_qstring(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

inline std::string to_std_string(const QString& text) { return text.toUtf8().toStdString(); }

}  // namespace dalvenix::qt
