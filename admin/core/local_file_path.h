// The path of a file name as a file dialog gives it, in the file system's
// encoding.
#pragma once

#include <QFile>
#include <QString>
#include <filesystem>

namespace orvane::admin {

inline std::filesystem::path localFilePath(const QString& name) {
  return std::filesystem::path(QFile::encodeName(name).toStdString());
}

}  // namespace orvane::admin
