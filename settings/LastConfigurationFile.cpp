#include "settings/LastConfigurationFile.h"

#include "app/Trace.h"

#include <QFile>
#include <QString>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {
bool ownRegularFile(const struct stat& status)
{
    return S_ISREG(status.st_mode) && status.st_uid == ::geteuid();
}
} // namespace

namespace LastConfigurationFile {

bool isSafeToRead(const QString& path)
{
    const QByteArray name = QFile::encodeName(path);
    // Opened without following a link and without waiting for a FIFO's writer, then checked
    // on the open file itself.
    const int fd = ::open(name.constData(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        if (errno != ENOENT)
            ZTRACE() << "last configuration refused:" << path << std::strerror(errno);
        return false;
    }
    struct stat status = {};
    const bool safe = ::fstat(fd, &status) == 0 && ownRegularFile(status);
    ::close(fd);
    if (!safe)
        ZTRACE() << "last configuration refused:" << path << "is not a regular file of this user";
    return safe;
}

bool prepareForWrite(const QString& path)
{
    const QByteArray name = QFile::encodeName(path);
    struct stat status = {};
    if (::lstat(name.constData(), &status) != 0)
        return errno == ENOENT;
    if (S_ISLNK(status.st_mode)) {
        if (::unlink(name.constData()) == 0) {
            ZTRACE() << "last configuration:" << path << "was a link, replaced";
            return true;
        }
        ZTRACE() << "last configuration refused:" << path << "is a link that cannot be removed";
        return false;
    }
    if (ownRegularFile(status))
        return true;
    ZTRACE() << "last configuration refused:" << path << "is not a regular file of this user";
    return false;
}

} // namespace LastConfigurationFile
