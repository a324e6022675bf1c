#include "settings/settings_file.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace ardovin {

namespace {

const QLatin1StringView FileName{"settings.cfg"};

// The file holds a few hundred bytes; anything far larger is not a settings file, and
// reading it whole could exhaust memory.
constexpr qint64 MaxFileSize = qint64{16} * 1024 * 1024;

bool EndsWithSeparator(const QString& directory)
{
#ifdef Q_OS_WIN
    return directory.endsWith(u'\\') || directory.endsWith(u'/');
#else
    return directory.endsWith(QDir::separator());
#endif
}

SaveFailure FailureOf(const QFileDevice& file)
{
    const QFileDevice::FileError error =
        file.error() == QFileDevice::NoError ? QFileDevice::WriteError : file.error();
    return {static_cast<int>(error), file.errorString()};
}

// Writes unbuffered and retries short writes: a buffered flush that writes only part of the
// data (a full disk, a file size limit) is not reported as a failure, and the cut-short file
// would be committed in place of the good one. The retry meets the error itself.
bool WriteAll(QFileDevice& file, QByteArrayView bytes)
{
    while (!bytes.isEmpty()) {
        const qint64 written = file.write(bytes.data(), bytes.size());
        if (written <= 0)
            return false;
        bytes = bytes.sliced(written);
    }
    return true;
}

} // namespace

QString SettingsFilePath(const QString& programDirectory)
{
    if (programDirectory.isEmpty())
        return FileName;
    if (EndsWithSeparator(programDirectory))
        return programDirectory + FileName;
    return programDirectory + QDir::separator() + FileName;
}

LoadResult LoadSettingsFile(const QString& path, UserDefaults& store)
{
    QFile file(path);
    if (QFileInfo(path).isDir() || !file.open(QIODevice::ReadOnly))
        return LoadResult::FileUnavailable;
    // Read in pieces: asking for the whole limit at once would reserve all of it, at every
    // start, for a file of a few lines.
    constexpr qint64 Piece = qint64{64} * 1024;
    QByteArray bytes;
    while (bytes.size() <= MaxFileSize) {
        const QByteArray piece = file.read(Piece);
        if (piece.isEmpty())
            break;
        bytes += piece;
    }
    if (file.error() != QFileDevice::NoError || bytes.size() > MaxFileSize)
        return LoadResult::FileUnavailable;
    return ParseSettings(bytes, store);
}

std::optional<SaveFailure> SaveSettingsFile(const QString& path, const UserDefaults& store)
{
    QSaveFile file(path);
    // A folder may refuse new files while settings.cfg itself stays writable (a shared folder
    // whose owner made only the file writable): the file is then rewritten in place.
    file.setDirectWriteFallback(true);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return FailureOf(file);
    if (!WriteAll(file, SettingsFileBytes(store)))
        return FailureOf(file); // the temporary file is discarded, the old one untouched
    if (!file.commit())
        return FailureOf(file);
    return std::nullopt;
}

} // namespace ardovin
