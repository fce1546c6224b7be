#include "widgets/MountPoints.h"

#include <algorithm>

#include <QStorageInfo>

QStringList MountPoints() {
    QStringList roots{QStringLiteral("/")};
    for (const QStorageInfo& volume : QStorageInfo::mountedVolumes()) {
        if (volume.isValid() && volume.isReady() && !roots.contains(volume.rootPath())) {
            roots.append(volume.rootPath());
        }
    }
    std::sort(roots.begin() + 1, roots.end());
    return roots;
}

QString MountPointOf(const QString& path) {
    const QStorageInfo volume(path);
    return volume.isValid() && !volume.rootPath().isEmpty() ? volume.rootPath()
                                                            : QStringLiteral("/");
}
