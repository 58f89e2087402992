#pragma once

#include <QIODevice>

// A device with room for a number of bytes and no more, like a nearly full
// disk: a write that does not fit fails.
class FullDevice : public QIODevice {
public:
    explicit FullDevice(qint64 room)
        : room_(room)
    {
        open(QIODevice::WriteOnly);
    }

protected:
    qint64 readData(char*, qint64) override { return -1; }
    qint64 writeData(const char*, qint64 size) override
    {
        if (size > room_)
            return -1;
        room_ -= size;
        return size;
    }

private:
    qint64 room_;
};
