#include "base/FileStamp.h"

#include <QCryptographicHash>
#include <QFile>
#include <QIODevice>

#include <sys/stat.h>

namespace {

constexpr auto kAlgorithm = QCryptographicHash::Sha1;

// Passes every write on to the device below and sums it on the way.
class ChecksumDevice : public QIODevice {
public:
    explicit ChecksumDevice(QIODevice& below)
        : below_(below)
        , hash_(kAlgorithm)
    {
        open(QIODevice::WriteOnly | QIODevice::Unbuffered);
    }

    QByteArray Result() const { return hash_.result(); }

protected:
    qint64 readData(char*, qint64) override { return -1; }
    qint64 writeData(const char* data, qint64 size) override
    {
        const qint64 written = below_.write(data, size);
        if (written > 0)
            hash_.addData(QByteArrayView(data, written));
        if (written != size)
            setErrorString(below_.errorString());
        return written;
    }

private:
    QIODevice& below_;
    QCryptographicHash hash_;
};

// Size and modification time, or false when there is no such file.
bool StatFile(const QString& path, qint64& size, qint64& modifiedNs)
{
    struct stat info {};
    if (::stat(QFile::encodeName(path).constData(), &info) != 0 || !S_ISREG(info.st_mode))
        return false;
    size = info.st_size;
    modifiedNs = qint64(info.st_mtim.tv_sec) * 1'000'000'000 + info.st_mtim.tv_nsec;
    return true;
}

} // namespace

QByteArray Checksum(QByteArrayView bytes)
{
    return QCryptographicHash::hash(bytes, kAlgorithm);
}

FileStamp StampOf(const QString& path, const QByteArray& checksum)
{
    FileStamp stamp;
    stamp.exists = StatFile(path, stamp.size, stamp.modifiedNs);
    if (stamp.exists)
        stamp.checksum = checksum;
    return stamp;
}

bool IsStillStamped(const QString& path, const FileStamp& stamp)
{
    qint64 size = 0;
    qint64 modifiedNs = 0;
    if (!StatFile(path, size, modifiedNs))
        return !stamp.exists;
    if (!stamp.exists || size != stamp.size || modifiedNs != stamp.modifiedNs)
        return false;
    QFile file(path);
    QCryptographicHash hash(kAlgorithm);
    return file.open(QIODevice::ReadOnly) && hash.addData(&file) && hash.result() == stamp.checksum;
}

std::function<bool(QIODevice&)> Checksummed(const std::function<bool(QIODevice&)>& writer, QByteArray& checksum)
{
    return [writer, &checksum](QIODevice& device) {
        ChecksumDevice summing(device);
        const bool written = writer(summing);
        checksum = summing.Result();
        return written;
    };
}
