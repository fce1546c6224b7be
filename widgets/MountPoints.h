#pragma once

#include <QString>
#include <QStringList>

// The root paths of the mounted filesystems the directory chooser offers in place of drive
// letters: "/" first, then the others in path order, each once. Pseudo filesystems are left
// out.
QStringList MountPoints();

// The root path of the filesystem that holds path (an existing absolute path); "/" when it
// cannot be told.
QString MountPointOf(const QString& path);
