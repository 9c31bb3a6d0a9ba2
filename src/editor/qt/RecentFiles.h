// The list of the 16 most recently used level files, kept in the profile.
#pragma once

#include <QString>
#include <QStringList>

class QSettings;

namespace kx {

inline constexpr int kRecentFileCount = 16;

class CRecentFileList {
public:
    // Section "Recent File List", values "File1" to "File16", the newest first.
    void Read(QSettings& settings);
    void Write(QSettings& settings) const;

    // Moves the file to the top (added if new); the oldest falls off after 16.
    void Add(const QString& path);
    void Remove(const QString& path);
    const QStringList& GetFiles() const { return files; }

    // The menu text of entry index (0-based): "&1 name" to "1&6 name".
    static QString MenuText(int index, const QString& path);

private:
    QStringList files;
};

} // namespace kx
