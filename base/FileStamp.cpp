#include "base/FileStamp.h"

#include "base/FileAccess.h"

#include <QFile>
#include <QIODevice>

#include <algorithm>
#include <array>
#include <bit>
#include <cerrno>
#include <cstdint>
#include <cstring>

#include <sys/stat.h>
#include <unistd.h>

namespace {

// A checksum at memory speed: xxHash64's four lanes of 64-bit words, each
// mixed by a multiply and a rotation, folded with the length at the end. It
// tells a file's versions apart, which is all a stamp asks of it; SHA-1 took
// longer over a collection of a million Cards than reading it did.
class Summer {
public:
    void Add(const char* data, std::size_t size)
    {
        // Empty bytes may have no address at all.
        if (size == 0)
            return;
        total_ += size;
        if (held_ > 0) {
            const std::size_t taken = std::min(size, kStripe - held_);
            std::memcpy(stripe_.data() + held_, data, taken);
            held_ += taken;
            data += taken;
            size -= taken;
            if (held_ < kStripe)
                return;
            Stripe(stripe_.data());
            held_ = 0;
        }
        for (; size >= kStripe; data += kStripe, size -= kStripe)
            Stripe(data);
        std::memcpy(stripe_.data(), data, size);
        held_ = size;
    }

    QByteArray Result() const
    {
        std::uint64_t hash = kPrime5;
        if (total_ >= kStripe) {
            hash = std::rotl(lanes_[0], 1) + std::rotl(lanes_[1], 7) + std::rotl(lanes_[2], 12)
                + std::rotl(lanes_[3], 18);
            for (const std::uint64_t lane : lanes_)
                hash = (hash ^ Round(0, lane)) * kPrime1 + kPrime4;
        }
        hash += total_;
        const char* at = stripe_.data();
        std::size_t left = held_;
        for (; left >= 8; at += 8, left -= 8)
            hash = std::rotl(hash ^ Round(0, Word<std::uint64_t>(at)), 27) * kPrime1 + kPrime4;
        if (left >= 4) {
            hash = std::rotl(hash ^ (Word<std::uint32_t>(at) * kPrime1), 23) * kPrime2 + kPrime3;
            at += 4;
            left -= 4;
        }
        for (; left > 0; ++at, --left)
            hash = std::rotl(hash ^ (static_cast<unsigned char>(*at) * kPrime5), 11) * kPrime1;
        hash = (hash ^ (hash >> 33)) * kPrime2;
        hash = (hash ^ (hash >> 29)) * kPrime3;
        hash ^= hash >> 32;
        QByteArray result(8, Qt::Uninitialized);
        for (int i = 0; i < 8; ++i)
            result[i] = char(hash >> (56 - 8 * i));
        return result;
    }

private:
    static constexpr std::uint64_t kPrime1 = 11400714785074694791ull;
    static constexpr std::uint64_t kPrime2 = 14029467366897019727ull;
    static constexpr std::uint64_t kPrime3 = 1609587929392839161ull;
    static constexpr std::uint64_t kPrime4 = 9650029242287828579ull;
    static constexpr std::uint64_t kPrime5 = 2870177450012600261ull;
    static constexpr std::size_t kStripe = 32;

    template <typename Unsigned>
    static std::uint64_t Word(const char* at)
    {
        Unsigned word;
        std::memcpy(&word, at, sizeof word);
        return word;
    }

    static std::uint64_t Round(std::uint64_t lane, std::uint64_t word)
    {
        return std::rotl(lane + word * kPrime2, 31) * kPrime1;
    }

    void Stripe(const char* at)
    {
        for (std::size_t i = 0; i < lanes_.size(); ++i)
            lanes_[i] = Round(lanes_[i], Word<std::uint64_t>(at + 8 * i));
    }

    std::array<std::uint64_t, 4> lanes_ = {kPrime1 + kPrime2, kPrime2, 0, 0 - kPrime1};
    std::array<char, kStripe> stripe_{};
    std::size_t held_ = 0;
    std::uint64_t total_ = 0;
};

// Passes every write on to the device below and sums it on the way.
class ChecksumDevice : public QIODevice {
public:
    explicit ChecksumDevice(QIODevice& below)
        : below_(below)
    {
        open(QIODevice::WriteOnly | QIODevice::Unbuffered);
    }

    QByteArray Result() const { return sum_.Result(); }

protected:
    qint64 readData(char*, qint64) override { return -1; }
    qint64 writeData(const char* data, qint64 size) override
    {
        const qint64 written = below_.write(data, size);
        if (written > 0)
            sum_.Add(data, std::size_t(written));
        if (written != size)
            setErrorString(below_.errorString());
        return written;
    }

private:
    QIODevice& below_;
    Summer sum_;
};

qint64 ModifiedNs(const timespec& time)
{
    return qint64(time.tv_sec) * 1'000'000'000 + time.tv_nsec;
}

FileIdentity IdentityOf(const struct stat& info)
{
    FileIdentity identity;
    identity.device = qint64(info.st_dev);
    identity.inode = qint64(info.st_ino);
    identity.changedNs = ModifiedNs(info.st_ctim);
    return identity;
}

// Size and modification time, or false when there is no such file.
bool StatFile(const QString& path, qint64& size, qint64& modifiedNs)
{
    struct stat info {};
    if (::stat(QFile::encodeName(path).constData(), &info) != 0 || !S_ISREG(info.st_mode))
        return false;
    size = info.st_size;
    modifiedNs = ModifiedNs(info.st_mtim);
    return true;
}

} // namespace

QByteArray Checksum(QByteArrayView bytes)
{
    Summer sum;
    sum.Add(bytes.data(), std::size_t(bytes.size()));
    return sum.Result();
}

FileStamp StampOf(const QString& path, const QByteArray& checksum)
{
    FileStamp stamp;
    stamp.exists = StatFile(path, stamp.size, stamp.modifiedNs);
    if (stamp.exists)
        stamp.checksum = checksum;
    return stamp;
}

FileIdentity IdentityOf(const QString& path)
{
    struct stat info {};
    return ::stat(QFile::encodeName(path).constData(), &info) == 0 ? IdentityOf(info) : FileIdentity();
}

bool IsStillStamped(const QString& path, const FileStamp& stamp, FileIdentity* identity)
{
    if (identity != nullptr)
        *identity = FileIdentity();
    qint64 size = 0;
    qint64 modifiedNs = 0;
    if (!StatFile(path, size, modifiedNs))
        return !stamp.exists;
    if (!stamp.exists || size != stamp.size || modifiedNs != stamp.modifiedNs)
        return false;
    const int file = OpenRegularFile(path);
    if (file < 0)
        return false;
    // The file opened is looked at again: another may have taken the
    // path's place since.
    struct stat before {};
    if (::fstat(file, &before) != 0 || before.st_size != stamp.size || ModifiedNs(before.st_mtim) != stamp.modifiedNs) {
        ::close(file);
        return false;
    }
    Summer sum;
    QByteArray buffer(1 << 20, Qt::Uninitialized);
    ssize_t read = 0;
    while ((read = ::read(file, buffer.data(), std::size_t(buffer.size()))) > 0 || (read < 0 && errno == EINTR)) {
        if (read > 0)
            sum.Add(buffer.constData(), std::size_t(read));
    }
    struct stat after {};
    const bool looked = ::fstat(file, &after) == 0;
    ::close(file);
    const bool same = read == 0 && sum.Result() == stamp.checksum;
    if (same && looked && identity != nullptr && IdentityOf(after) == IdentityOf(before))
        *identity = IdentityOf(after);
    return same;
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
