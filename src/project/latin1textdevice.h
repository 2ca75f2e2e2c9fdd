#ifndef TARVEL_LATIN1TEXTDEVICE_H
#define TARVEL_LATIN1TEXTDEVICE_H

// A stored text read back as the Latin-1 bytes it was made from, converted a
// slice at a time as it is read: the output data kept in a project is
// hundreds of megabytes, and a whole Latin-1 copy of it would be made only to
// be parsed once. Characters beyond Latin-1 read as '?', as QString::toLatin1
// gives them. The text must outlive the device.

#include <QIODevice>
#include <QStringView>

class Latin1TextDevice : public QIODevice
{
    Q_OBJECT

public:
    explicit Latin1TextDevice(QStringView text, QObject* parent = nullptr);

    qint64 size() const override { return m_text.size(); }

protected:
    qint64 readData(char* data, qint64 maxSize) override;
    qint64 writeData(const char*, qint64) override { return -1; }

private:
    QStringView m_text;
};

#endif
