// The list of the 16 most recently used level files, kept in the profile.
#include "RecentFiles.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>

namespace kx {

namespace {

const QString kSection = QStringLiteral("Recent File List");

QString Normalised(const QString& path) {
    return QDir::cleanPath(QFileInfo(path).absoluteFilePath());
}

} // namespace

void CRecentFileList::Read(QSettings& settings) {
    files.clear();
    settings.beginGroup(kSection);
    for (int i = 1; i <= kRecentFileCount; ++i) {
        const QString path = settings.value(QStringLiteral("File%1").arg(i)).toString();
        if (!path.isEmpty() && !files.contains(path)) {
            files << path;
        }
    }
    settings.endGroup();
}

void CRecentFileList::Write(QSettings& settings) const {
    settings.beginGroup(kSection);
    for (int i = 1; i <= kRecentFileCount; ++i) {
        const QString key = QStringLiteral("File%1").arg(i);
        if (i <= files.size()) {
            settings.setValue(key, files[i - 1]);
        } else {
            settings.remove(key);
        }
    }
    settings.endGroup();
}

void CRecentFileList::Add(const QString& path) {
    const QString full = Normalised(path);
    files.removeAll(full);
    files.prepend(full);
    while (files.size() > kRecentFileCount) {
        files.removeLast();
    }
}

void CRecentFileList::Remove(const QString& path) {
    files.removeAll(Normalised(path));
}

QString CRecentFileList::MenuText(int index, const QString& path) {
    const QString number = QString::number(index + 1);
    // The mnemonic is the last digit, as in "&1" ... "&9", "1&0" ... "1&6".
    const QString marked = number.left(number.size() - 1) + QLatin1Char('&') + number.right(1);
    QString shown = QDir::toNativeSeparators(path);
    shown.replace(QLatin1Char('&'), QStringLiteral("&&"));
    return marked + QLatin1Char(' ') + shown;
}

} // namespace kx
